// The two query filters of the production reports: reports of orders (CPPDadosFiltroApontamento)
// and reports of resources (CPPDadosFiltroApontamentoRecurso). Pattern: PPDadosBase.h.
//
// The order filter has no accessor for six fields of its record (ulChaveOPInicial,
// ulChaveOPFinal, lPonteiroProjeto, lPonteiroOperacao, lPonteiroMotivoRefugo, cEntradaPendenteES):
// they live in the record copy all the same, so CopiarDe takes them in, CopiarPara gives them back
// and copies carry them; a caller that needs them sets them in the record before CopiarDe.
#pragma once

#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

class CPPDadosFiltroApontamento
    : public PPDados<CPPDadosFiltroApontamento, _REG_VARMO_FILTRO_APONTAMENTOPS> {
 public:
  PP_CAMPO(ChaveApontamento, ulChaveApontamento)
  PP_CAMPO(ChaveOP, lChaveOP)
  PP_CAMPO(PosicaoProdutoServico, regPosicaoProdutoServico)
  PP_CAMPO(PonteiroTipoOP, lPonteiroTipoOP)
  PP_CAMPO(PonteiroProcesso, lPonteiroProcesso)
  PP_CAMPO(PonteiroFluxoProcesso, lPonteiroFluxoProcesso)
  PP_CAMPO(PonteiroSuplemento1, lPonteiroSuplemento1)
  PP_CAMPO(PonteiroSuplemento2, lPonteiroSuplemento2)
  PP_CAMPO(PonteiroSuplemento3, lPonteiroSuplemento3)
  PP_CAMPO(PonteiroFilial, usPonteiroFilial)
  PP_CAMPO(DataInicial, usDataInicial)
  PP_CAMPO(DataFinal, usDataFinal)
  PP_CAMPO(DataApontamentoInicio, usDataApontamentoInicio)
  PP_CAMPO(DataApontamentoFim, usDataApontamentoFim)
  PP_CAMPO_COMO(char, ProcessoExterno, cProcessoExterno)
  PP_CAMPO_COMO(char, ProcessoInterno, cProcessoInterno)
  PP_CAMPO(TipoProdutoServico, cTipoProdutoServico)
  PP_CAMPO(FiltroProdutoServico, cFiltroProdutoServico)
};

class CPPDadosFiltroApontamentoRecurso
    : public PPDados<CPPDadosFiltroApontamentoRecurso, _REG_PP_FILTRO_APONTAMENTO_RECURSOPS> {
 public:
  PP_CAMPO(PonteiroRecurso, ulPonteiroRecurso)
  PP_CAMPO(PonteiroTipoRecurso, ulPonteiroTipoRecurso)
  PP_CAMPO(PonteiroProjeto, ulPonteiroProjeto)
  PP_CAMPO(PonteiroProcesso, ulPonteiroProcesso)
  PP_CAMPO(PonteiroOperacaoProducao, ulPonteiroOperacaoProducao)
  PP_CAMPO(PonteiroSuplemento1, ulPonteiroSuplemento1)
  PP_CAMPO(PonteiroSuplemento2, ulPonteiroSuplemento2)
  PP_CAMPO(PonteiroSuplemento3, ulPonteiroSuplemento3)
  PP_CAMPO(PonteiroFilial, usPonteiroFilial)
  PP_CAMPO(DataApontamentoRecursoInicio, usDataApontamentoRecursoInicio)
  PP_CAMPO(DataApontamentoRecursoFim, usDataApontamentoRecursoFim)
  PP_CAMPO(TipoOperacaoProducao, cTipoOperacaoProducao)
};

extern template class PPDados<CPPDadosFiltroApontamento, _REG_VARMO_FILTRO_APONTAMENTOPS>;
extern template class PPDados<CPPDadosFiltroApontamentoRecurso,
                              _REG_PP_FILTRO_APONTAMENTO_RECURSOPS>;
