#include "server/cadastros/PPClassesCadastros.h"

#include "server/cadastros/CQVPP_Colecao.h"
#include "server/cadastros/CQVPP_MetasProducao.h"
#include "server/cadastros/CQVPP_MotivoRefugo.h"
#include "server/cadastros/CQVPP_OperacaoProducao.h"
#include "server/cadastros/CQVPP_Processo.h"
#include "server/cadastros/CQVPP_Recursos.h"
#include "server/cadastros/CQVPP_Secao.h"
#include "server/cadastros/CQVPP_TipoOP.h"
#include "server/cadastros/CQVPP_TipoRecurso.h"

HRESULT PPCriaProcesso(REFIID riid, void** ppv) { return PPCriaObjeto<CQVPP_Processo>(riid, ppv); }
HRESULT PPCriaTipoOP(REFIID riid, void** ppv) { return PPCriaObjeto<CQVPP_TipoOP>(riid, ppv); }
HRESULT PPCriaRecursos(REFIID riid, void** ppv) { return PPCriaObjeto<CQVPP_Recursos>(riid, ppv); }
HRESULT PPCriaTipoRecurso(REFIID riid, void** ppv) { return PPCriaObjeto<CQVPP_TipoRecurso>(riid, ppv); }
HRESULT PPCriaOperacaoProducao(REFIID riid, void** ppv) { return PPCriaObjeto<CQVPP_OperacaoProducao>(riid, ppv); }
HRESULT PPCriaMetasProducao(REFIID riid, void** ppv) { return PPCriaObjeto<CQVPP_MetasProducao>(riid, ppv); }
HRESULT PPCriaColecao(REFIID riid, void** ppv) { return PPCriaObjeto<CQVPP_Colecao>(riid, ppv); }
HRESULT PPCriaMotivoRefugo(REFIID riid, void** ppv) { return PPCriaObjeto<CQVPP_MotivoRefugo>(riid, ppv); }
HRESULT PPCriaSecao(REFIID riid, void** ppv) { return PPCriaObjeto<CQVPP_Secao>(riid, ppv); }

PPConsultaMovimentacao PPConsultaMovimentacaoMetasProducao() { return PPConsultaDe<CPPServidorMetasProducao>(); }
