// A production order (OP) as one tree of data objects: the order header with its process steps
// (CPPDadosOPProcesso) and its items (CPPDadosOPItem, one per product line with its quantities).
// The production-order server exchanges the tree as _REG_VARMO_OPPS and its nested arrays, up to
// seven levels deep (order, process steps, reports, and under each report its movements with
// their accounting entries, its outsourcing returns, its resources with their operations). The
// order key, periodic keys, record numbers, status bytes, day numbers and times are stored and
// returned exactly as set. Pattern and ownership: PPDadosBase.h.
#pragma once

#include "model/CPPDadosOPProcesso.h"
#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

class CPPDadosOPItem : public PPDados<CPPDadosOPItem, _REG_VARMO_OP_ITEMPS> {
 public:
  PP_CAMPO(QuantidadeSaldo, vQuantidadeSaldo)
  PP_CAMPO(QuantidadeProgramada, vQuantidadeProgramada)
  PP_CAMPO(QuantidadeProduzida, vQuantidadeProduzida)
  PP_CAMPO(QuantidadePerdida, vQuantidadePerdida)
  PP_CAMPO(QuantidadeCancelada, vQuantidadeCancelada)
  PP_CAMPO(QuantidadeReplicada, vQuantidadeReplicada)
  PP_CAMPO(PonteiroPedidoNecessidade, lPonteiroPedidoNecessidade)
  PP_CAMPO(PonteiroOPGeradora, lPonteiroOPGeradora)
  PP_CAMPO(ChaveOPReprocessada, ulChaveOPReprocessada)
  PP_CAMPO(ChaveApontamentoOPOrigem, ulChaveApontamentoOPOrigem)
  PP_CAMPO(PonteiroCliente, lPonteiroCliente)
  PP_CAMPO(PosicaoProdutoServico, regPosicaoProdutoServico)
  PP_CAMPO(PonteiroFilial, usPonteiroFilial)
  PP_CAMPO(PonteiroMunicipio, usPonteiroMunicipio)
  PP_CAMPO(DataEntrega, usDataEntrega)
  PP_CAMPO(DataEmissao, usDataEmissao)
  PP_CAMPO(IdxItemPedido, usIdxItemPedido)
  PP_CAMPO(IdxItemOP, usIdxItemOP)
  PP_TEXTO(OrdemCompraCliente, cOrdemCompraCliente)
  PP_CAMPO_COMO(char, TipoItem, cTipoItem)
  PP_CAMPO_COMO(char, IntegradoQuantidade, cIntegradoQuantidade)
  PP_CAMPO_COMO(char, Cancelado, cCancelado)
  PP_CAMPO(EhReprocessoUltProcesso, cEhReprocessoUltProcesso)
  PP_CAMPO(GerouOPQtdLimitada, cGerouOPQtdLimitada)
  PP_CAMPO(TipoProdutoServico, cTipoProdutoServico)
};

class CPPDadosOP : public PPDados<CPPDadosOP, _REG_VARMO_OPPS> {
 public:
  PP_CAMPO(NumeroOP, lNumeroOP)
  PP_CAMPO(ChaveOP, ulChaveOP)
  PP_CAMPO(PonteiroOP, lPonteiroOP)
  PP_CAMPO(PonteiroTipoOP, lPonteiroTipoOP)
  PP_CAMPO(PonteiroFluxoProcesso, lPonteiroFluxoProcesso)
  PP_CAMPO(PonteiroContaContabil, lPonteiroContaContabil)
  PP_CAMPO(PonteiroForEPTETPE, lPonteiroForEPTETPE)
  PP_CAMPO(PonteiroOPGeradora, lPonteiroOPGeradora)
  PP_CAMPO(PonteiroColecao, lPonteiroColecao)
  PP_CAMPO(PonteiroRequisitante, ulPonteiroRequisitante)
  PP_CAMPO(PonteiroDepartamento, ulPonteiroDepartamento)
  PP_CAMPO(ChaveRequisicaoInterna, ulChaveRequisicaoInterna)
  PP_CAMPO(PosicaoProdutoServico, regPosicaoProdutoServico)
  PP_CAMPO(QtdProcessos, usQtdProcessos)
  PP_CAMPO(QtdItens, usQtdItens)
  PP_CAMPO(PonteiroUsuarioEmissao, usPonteiroUsuarioEmissao)
  PP_CAMPO(PonteiroUsuarioGravacao, usPonteiroUsuarioGravacao)
  PP_CAMPO(PonteiroFilial, usPonteiroFilial)
  PP_CAMPO(PonteiroMensagem, usPonteiroMensagem)
  PP_CAMPO(DataEmissao, usDataEmissao)
  PP_CAMPO(HoraEmissao, usHoraEmissao)
  PP_CAMPO(DataPrevisaoInicio, usDataPrevisaoInicio)
  PP_CAMPO(HoraPrevisaoInicio, usHoraPrevisaoInicio)
  PP_CAMPO(DataInicio, usDataInicio)
  PP_CAMPO(HoraInicio, usHoraInicio)
  PP_CAMPO(DataPrevisaoConclusao, usDataPrevisaoConclusao)
  PP_CAMPO(HoraPrevisaoConclusao, usHoraPrevisaoConclusao)
  PP_CAMPO(DataConclusao, usDataConclusao)
  PP_CAMPO(HoraConclusao, usHoraConclusao)
  PP_CAMPO(DataCancelamento, usDataCancelamento)
  PP_CAMPO(HoraCancelamento, usHoraCancelamento)
  PP_CAMPO(DataInterrupcao, usDataInterrupcao)
  PP_CAMPO(HoraInterrupcao, usHoraInterrupcao)
  PP_TEXTO(InfExtra1, szInfExtra1)
  PP_TEXTO(InfExtra2, szInfExtra2)
  PP_TEXTO(InfExtra3, szInfExtra3)
  PP_TEXTO(InfExtra4, szInfExtra4)
  PP_TEXTO(InfExtra5, szInfExtra5)
  PP_TEXTO(Observacao, szObservacao)
  PP_TEXTO(Mensagem, szMensagem)
  PP_TEXTO(NumeroLote, szNumeroLote)
  PP_CAMPO_COMO(char, Situacao, cSituacao)
  PP_CAMPO_COMO(char, QuantidadeCasasDecimaisEstoque, cQuantidadeCasasDecimaisEstoque)
  PP_CAMPO(TipoPerdaInsumo, cTipoPerdaInsumo)
  PP_CAMPO(OPReprocesso, cOPReprocesso)
  PP_CAMPO(ReprocessoConfirmado, cReprocessoConfirmado)
  PP_CAMPO(TodosRecursosDefinidos, cTodosRecursosDefinidos)
  PP_CAMPO(IndustrializacaoParaETPE, cIndustrializacaoParaETPE)
  PP_CAMPO(PossuiItemQtdLimitada, cPossuiItemQtdLimitada)
  PP_CAMPO(FazEntradaDepoisNoES, cFazEntradaDepoisNoES)
  PP_CAMPO(CustearSoProcessoApontado, cCustearSoProcessoApontado)
  PP_CAMPO(TratarInsumoEmbalagem, cTratarInsumoEmbalagem)
  PP_CAMPO(ApontarOcorrenciaRecurso, cApontarOcorrenciaRecurso)
  PP_CAMPO(TipoProdutoServico, cTipoProdutoServico)

  PP_LISTA(Processo, CPPDadosOPProcesso, usQtdProcessos, pregProcessos)
  PP_LISTA(Item, CPPDadosOPItem, usQtdItens, pregItens)
  PP_PARTES(Processo, Item)
};

extern template class PPDados<CPPDadosOPItem, _REG_VARMO_OP_ITEMPS>;
extern template class PPDados<CPPDadosOP, _REG_VARMO_OPPS>;
