#include "server/PPTabelaClasses.h"

#include "server/CPPObjetoPendente.h"
#include "server/CQVPP_MestrePP.h"
#include "server/cadastros/PPClassesCadastros.h"
#include "server/op/PPClasseOP.h"
#include "server/idl/Varmo.h"

const PPClasseServidor kPPClassesVarmo[kQuantidadeClassesVarmo] = {
    {&kClassesVarmo[0], &PPCriaTipoOP},
    {&kClassesVarmo[1], &PPCriaProcesso},
    {&kClassesVarmo[2], &PPCriaObjetoPendente<IQVPP_FluxoProcesso, IID_IQVPP_FluxoProcesso>},
    {&kClassesVarmo[3], &PPCriaOperacaoProducao},
    {&kClassesVarmo[4], &PPCriaOP},
    {&kClassesVarmo[5], &PPCriaObjetoPendente<IQVPP_FichaTecnica, IID_IQVPP_FichaTecnica>},
    {&kClassesVarmo[6], &PPCriaObjeto<CQVPP_MestrePP>},
    {&kClassesVarmo[7], &PPCriaObjetoPendente<IQVPP_Calendario, IID_IQVPP_Calendario>},
    {&kClassesVarmo[8], &PPCriaSecao},
    {&kClassesVarmo[9], &PPCriaObjetoPendente<IQVPP_Relatorios, IID_IQVPP_Relatorios>},
    {&kClassesVarmo[10], &PPCriaRecursos},
    {&kClassesVarmo[11], &PPCriaObjetoPendente<IQVPP_Manutencao, IID_IQVPP_Manutencao>},
    {&kClassesVarmo[12], &PPCriaObjetoPendente<IQVPP_GestaoManutencao, IID_IQVPP_GestaoManutencao>},
    {&kClassesVarmo[13], &PPCriaColecao},
    {&kClassesVarmo[14], &PPCriaMotivoRefugo},
    {&kClassesVarmo[15], &PPCriaMetasProducao},
    {&kClassesVarmo[16], &PPCriaTipoRecurso},
};

// No library flags: it is neither restricted, nor a control library, nor hidden.
const TypeLibRecord kPPBibliotecaVarmo = {
    LIBID_VarmoLib, kVarmoLibVersaoMaior, kVarmoLibVersaoMenor, kVarmoLibLocale, kVarmoLibDescricao,
    0};
