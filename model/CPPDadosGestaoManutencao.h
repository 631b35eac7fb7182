// A maintenance order (gestão de manutenção): its resource, plan and requester, issue, start and
// end dates and times, type and situation, the counter reading at closing, and the products and
// services it requisitions (Componente), each with the quantities requisitioned, served and
// consumed and the internal requisition that serves it. The order's deletion flag has no accessor;
// it travels in the record copy. Pattern and ownership: PPDadosBase.h.
#pragma once

#include "model/CPPDadosPlanoManutencao.h"
#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

class CPPDadosGestaoManutencaoComponente
    : public PPDados<CPPDadosGestaoManutencaoComponente, _REG_PP_MANUTENCAO_COMPONENTEPS> {
 public:
  PP_CAMPO(ProdutoServico, regProdutoServico)
  PP_CAMPO(QtdRequisitada, vQtdRequisitada)
  PP_CAMPO(QtdAtendida, vQtdAtendida)
  PP_CAMPO(QtdConsumida, vQtdConsumida)
  PP_CAMPO(ChaveRequisicaoInterna, ulChaveRequisicaoInterna)
  PP_CAMPO(IdxRequisicaoInterna, usIdxRequisicaoInterna)
  PP_TEXTO(Complemento, szComplemento)
  PP_CAMPO(TipoProdutoServico, cTipoProdutoServico)
  PP_CAMPO(SituacaoRI, cSituacaoRI)
  PP_CAMPO(TipoRI, cTipoRI)

  // Takes the product or service, its quantity (as the requisitioned one), complement and kind
  // from a component of the plan. Nothing is cleared first: the served and consumed quantities and
  // the requisition's key, index, situation and kind keep their values.
  void CopiaComponentePlano(const CPPDadosPlanoManutencaoComponente& componente) {
    SetProdutoServico(componente.GetProdutoServico());
    SetQtdRequisitada(componente.GetQuantidade());
    SetComplemento(componente.GetComplemento());
    SetTipoProdutoServico(componente.GetTipoProdutoServico());
  }
};

class CPPDadosGestaoManutencao : public PPDados<CPPDadosGestaoManutencao, _REG_PP_MANUTENCAOPS> {
 public:
  PP_CAMPO(TempoPrevisto, vTempoPrevisto)
  PP_CAMPO(ContadorEncerramento, vContadorEncerramento)
  PP_CAMPO(Chave, ulChave)
  PP_CAMPO(PonteiroRecurso, lPonteiroRecurso)
  PP_CAMPO(PonteiroPlano, lPonteiroPlano)
  PP_CAMPO(PonteiroRequisitante, lPonteiroRequisitante)
  PP_CAMPO(PonteiroPrimeiroComponente, lPonteiroPrimeiroComponente)
  PP_CAMPO(HoraEmissao, usHoraEmissao)
  PP_CAMPO(HoraInicio, usHoraInicio)
  PP_CAMPO(HoraFim, usHoraFim)
  PP_CAMPO(DataEmissao, usDataEmissao)
  PP_CAMPO(DataInicio, usDataInicio)
  PP_CAMPO(DataFim, usDataFim)
  PP_CAMPO(QtdComponentes, usQtdComponentes)
  PP_CAMPO(UsuarioGravacao, usUsuarioGravacao)
  PP_CAMPO(UsuarioEmissao, usUsuarioEmissao)
  PP_TEXTO(Descricao, szDescricao)
  PP_TEXTO(Complemento, szComplemento)
  PP_CAMPO(TipoManutencao, cTipoManutencao)
  PP_CAMPO(Situacao, cSituacao)

  PP_LISTA(Componente, CPPDadosGestaoManutencaoComponente, usQtdComponentes, pregComponentes)
  PP_PARTES(Componente)
};

extern template class PPDados<CPPDadosGestaoManutencaoComponente, _REG_PP_MANUTENCAO_COMPONENTEPS>;
extern template class PPDados<CPPDadosGestaoManutencao, _REG_PP_MANUTENCAOPS>;
