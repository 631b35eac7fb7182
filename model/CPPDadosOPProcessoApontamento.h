// A production report (apontamento) of one process step of a production order: quantities, times,
// costs, who reported it, the entry and stock movements it caused, the outsourcing returns it
// covers, the resources not reported and those reported with their operations, and the keys of
// imported reports. It is the element of the two report lists of a process step
// (CPPDadosOPProcesso). Pattern and ownership: PPDadosBase.h.
//
// Two embedded objects are the only truth for their sub-records: the scrap movement
// (regMovimentoRefugo) and the shipment for outside processing (regRemessaIndustrializacao).
// IdxTolerancia is kept beside the record and never travels in it: clearing (hence construction,
// assignment and CopiarDe) sets it to -1, copies carry it. The two movement lists (MvtoEntrada,
// Movimento) and the two resource lists (RecursoNaoApontado, Recurso) hold the same element classes
// and are never mixed.
#pragma once

#include "model/CPPDadosApontamentoRecurso.h"
#include "model/CPPDadosOPMovimento.h"
#include "model/CPPDadosRemessaIndustrializacao.h"
#include "model/CPPDadosRetornoIndustrializacaoExterna.h"
#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

class CPPDadosOPProcessoApontamento
    : public PPDados<CPPDadosOPProcessoApontamento, _REG_VARMO_OP_APONTAMENTO> {
 public:
  PP_CAMPO(QuantidadeApontada, vQuantidadeApontada)
  PP_CAMPO(QuantidadeBruta, vQuantidadeBruta)
  PP_CAMPO(QuantidadeTara, vQuantidadeTara)
  PP_CAMPO(QuantidadeRefugo, vQuantidadeRefugo)
  PP_CAMPO(QuantidadeReprocessada, vQuantidadeReprocessada)
  PP_CAMPO(v8CustoTerceirizacao, v8CustoTerceirizacao)
  PP_CAMPO(PonteiroOP, lPonteiroOP)
  PP_CAMPO(PonteiroPedidoNecessidade, lPonteiroPedidoNecessidade)
  PP_CAMPO(PonteiroApontamento, lPonteiroApontamento)
  PP_CAMPO(PonteiroNotaFiscalSaida, lPonteiroNotaFiscalSaida)
  PP_CAMPO(ChaveOPReprocesso, ulChaveOPReprocesso)
  PP_CAMPO(ChaveApontamentoOPOrigem, ulChaveApontamentoOPOrigem)
  PP_CAMPO(PonteiroEncerramentoForcado, ulPonteiroEncerramentoForcado)
  PP_CAMPO(PonteiroOperacaoProducao, lPonteiroOperacaoProducao)
  PP_CAMPO(PonteiroProcesso, lPonteiroProcesso)
  PP_CAMPO(PonteiroSuplementoInfo1, lPonteiroSuplementoInfo1)
  PP_CAMPO(PonteiroSuplementoInfo2, lPonteiroSuplementoInfo2)
  PP_CAMPO(PonteiroSuplementoInfo3, lPonteiroSuplementoInfo3)
  PP_CAMPO(PonteiroMotivoRefugo, lPonteiroMotivoRefugo)
  PP_CAMPO(PonteiroIndustrializador, lPonteiroIndustrializador)
  PP_CAMPO(DataApontamentoInicio, usDataApontamentoInicio)
  PP_CAMPO(HoraApontamentoInicio, usHoraApontamentoInicio)
  PP_CAMPO(DataApontamentoFim, usDataApontamentoFim)
  PP_CAMPO(HoraApontamentoFim, usHoraApontamentoFim)
  PP_CAMPO(DataGravacao, usDataGravacao)
  PP_CAMPO(HoraGravacao, usHoraGravacao)
  PP_CAMPO(PonteiroUsuarioGravacao, usPonteiroUsuarioGravacao)
  PP_CAMPO(IdxItemPedido, usIdxItemPedido)
  PP_CAMPO(QtdMvtoEntrada, usQtdMvtoEntrada)
  PP_CAMPO(QtdMvtoEstoque, usQtdMvtoEstoque)
  PP_CAMPO(QtdRetornoIndustExt, usQtdRetornoIndustExt)
  PP_CAMPO(QtdRecursosNaoApontados, usQtdRecursosNaoApontados)
  PP_CAMPO(QtdRecursos, usQtdRecursos)
  PP_TEXTO(Comentario, szComentario)
  PP_TEXTO(MotivoEncerramentoForcado, szMotivoEncerramentoForcado)
  PP_CAMPO_COMO(char, LiberacaoItemPedido, cLiberacaoItemPedido)
  PP_CAMPO_COMO(char, TipoItem, cTipoItem)
  PP_CAMPO_COMO(char, TipoOperacao, cTipoOperacao)
  PP_CAMPO_COMO(char, TipoProducao, cTipoProducao)
  PP_CAMPO_COMO(char, PossuiEntradaPendente, cPossuiEntradaPendente)
  PP_CAMPO_COMO(char, PossuiRefugo, cPossuiRefugo)
  PP_CAMPO_COMO(char, EncerramentoForcado, cEncerramentoForcado)
  PP_CAMPO_COMO(char, GerouReprocesso, cGerouReprocesso)
  PP_CAMPO_COMO(char, UltimoProcesso, cUltimoProcesso)
  PP_CAMPO(Excluido, cExcluido)
  PP_CAMPO(EncerramentoRemIndustrializacao, cEncerramentoRemIndustrializacao)
  PP_CAMPO(TipoApontamento, cTipoApontamento)
  PP_CAMPO(ImportacaoComBaixasPendentes, cImportacaoComBaixasPendentes)
  PP_CAMPO(ProducaoExterna, cProducaoExterna)

  PP_EMBUTIDO(MovimentoRefugo, CPPDadosOPMovimento, regMovimentoRefugo)
  PP_EMBUTIDO(RemessaIndustrializacao, CPPDadosRemessaIndustrializacao,
              regRemessaIndustrializacao)
  PP_VALOR(int, IdxTolerancia, -1)
  PP_LISTA(MvtoEntrada, CPPDadosOPMovimento, usQtdMvtoEntrada, pregMvtoEntrada)
  PP_LISTA(Movimento, CPPDadosOPMovimento, usQtdMvtoEstoque, pregMovimentos)
  PP_LISTA(RetornoIndustrializacao, CPPDadosRetornoIndustrializacaoExterna,
           usQtdRetornoIndustExt, pregRetornoIndustrializacao)
  PP_LISTA(RecursoNaoApontado, CPPDadosApontamentoRecurso, usQtdRecursosNaoApontados,
           pregRecursosNaoApontados)
  PP_LISTA(Recurso, CPPDadosApontamentoRecurso, usQtdRecursos, pregRecursos)
  PP_LISTA(ChaveApontamentoImportado, uint32_t, usQtdChaveApontamentoImportado,
           plistaChaveApontamentoImportado)
  PP_PARTES(MovimentoRefugo, RemessaIndustrializacao, IdxTolerancia, MvtoEntrada, Movimento,
            RetornoIndustrializacao, RecursoNaoApontado, Recurso, ChaveApontamentoImportado)
};

extern template class PPDados<CPPDadosOPProcessoApontamento, _REG_VARMO_OP_APONTAMENTO>;
