// The COM object of QVPP_OP: the frame (server/CPPObjetoCOM.h) around one order handler, every
// method forwarded unchanged, with the extra arguments the handler's inner callers pass otherwise:
// the writers take the order lock (1); the report and shipment readers open their own files (null).
// Inicializa (the version check, then the session record alone) is the frame's.
//
// FuncaoGenerica serves function 1 alone, whose payload starts with the order key and the process
// pointer (8 bytes): any other number, or a shorter payload, answers 0x80040001 and writes nothing.
//
// The methods whose handler operations are not built yet answer E_NOTIMPL and call nothing.
#pragma once

#include "server/CPPObjetoCOM.h"
#include "server/op/CPPServidorOP.h"

class CQVPP_OP : public CPPObjetoCOM<IQVPP_OP, IID_IQVPP_OP, CPPServidorOP> {
 public:
  static constexpr uint32_t kFuncaoAtualizaSituacao = 1;
  static constexpr int32_t kBytesFuncaoAtualizaSituacao = 8;
  static constexpr uint16_t kLeTudo = 0xFFFF;  // BuscaApontamentos reads every list

  HRESULT Finaliza() override { return Tratador().Finaliza(); }
  HRESULT BuscaQtdsNecessarias(_REG_PP_FILTRO_QTDS_NECESSARIASPS regFiltro,
                               _REG_VARMO_LISTA_QTDS_NECESSARIASPS* pRegPS) override {
    return Tratador().BuscaQtdsNecessarias(regFiltro, pRegPS);
  }
  HRESULT BuscaListaDadoPedido(_REG_VARMO_KEY_ITEM_PEDIDO_OPPS regKey,
                               REG_VARMO_LISTA_DADO_ITEM_PEDIDO_OPPS* pRegPS) override {
    return Tratador().BuscaListaDadoPedido(regKey, pRegPS);
  }
  HRESULT BuscaSaldoItemOP(uint16_t usQtd, _REG_VARMO_SALDO_ITEM_OPPS* pRegPSIn,
                           _REG_VARMO_SALDO_ITEM_OPPS* pRegPSOut) override {
    return Tratador().BuscaSaldoItemOP(usQtd, pRegPSIn, pRegPSOut);
  }
  HRESULT SetFiltro(_REG_VARMO_FILTROPS RegPS) override { return Tratador().SetFiltro(RegPS); }
  HRESULT LimpaFiltro() override { return Tratador().LimpaFiltro(); }
  HRESULT GravaOP(uint32_t lPntrIn, _REG_VARMO_OPPS RegPS, uint32_t* plPntrOut) override {
    return Tratador().GravaOP(lPntrIn, RegPS, plPntrOut, 1);
  }
  HRESULT Cancela(uint32_t ulQtd, uint32_t* plPonteiros) override {
    return Tratador().Cancela(ulQtd, plPonteiros, 1);
  }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROS_ULONGPS* pRegPS) override { return Tratador().BuscaPonteiros(pRegPS); }
  HRESULT BuscaPonteirosPeriodo(uint16_t usDataInicial, uint16_t usDataFinal,
                                _REG_VARMO_PONTEIROS_ULONGPS* pRegPS) override {
    return Tratador().BuscaPonteirosPeriodo(usDataInicial, usDataFinal, pRegPS);
  }
  HRESULT BuscaPonteirosFiltro(_REG_VARMO_FILTROPS RegPS, _REG_VARMO_PONTEIROS_ULONGPS* pRegPS) override {
    return Tratador().BuscaPonteirosFiltro(RegPS, pRegPS);
  }
  HRESULT LePonteiros(uint32_t lQtd, uint32_t* plPntrs, _REG_VARMO_OPPS* pRegPS, uint16_t usTipoLeitura) override {
    return Tratador().LePonteiros(lQtd, plPntrs, pRegPS, usTipoLeitura);
  }
  HRESULT LeCabecalhoOP(uint32_t lPntr, _REG_VARMO_OPPS* pRegPS) override {
    return Tratador().LeCabecalhoOP(lPntr, pRegPS);
  }
  HRESULT LePonteirosSomenteCabecalho(uint32_t lQtd, uint32_t* plPntrs, _REG_VARMO_OPPS* pRegPS) override {
    return Tratador().LePonteirosSomenteCabecalho(lQtd, plPntrs, pRegPS);
  }
  HRESULT LeItensPendentesOP(uint32_t lPntr, REG_VARMO_LISTA_DADO_ITEM_PEDIDO_OPPS* pRegPS) override {
    return Tratador().LeItensPendentesOP(lPntr, pRegPS);
  }
  HRESULT BuscaChavesReplicacao(_REG_VARMO_PONTEIROS_ULONGPS* pRegPS) override {
    return Tratador().BuscaChavesReplicacao(pRegPS);
  }
  HRESULT EmitirEtiquetas(_REG_PP_EMITIR_ETIQUETA_OPPS regEmitirEtiqueta,
                          _REG_PP_LISTA_ETIQUETA_EMITIDAPS* pregListaEtiquetasEmitidas) override {
    return Tratador().EmitirEtiquetas(regEmitirEtiqueta, pregListaEtiquetasEmitidas);
  }
  HRESULT GravaApontamento(_REG_VARMO_OP_APONTAMENTO RegPS, uint32_t* plPntrOut) override {
    return Tratador().GravaApontamento(RegPS, plPntrOut, 1);
  }
  HRESULT LeApontamentosProcesso(uint32_t lPntrOP, int32_t lPntrProcesso,
                                 _REG_VARMO_LISTA_OP_APONTAMENTOS* pRegPS) override {
    return Tratador().LeApontamentosProcesso(lPntrOP, lPntrProcesso, pRegPS);
  }
  HRESULT LeApontamentosProcessoTerceirizado(uint32_t lPntrOP, int32_t lPntrProcesso,
                                             _REG_VARMO_LISTA_OP_APONTAMENTOS* pRegPS) override {
    return Tratador().LeApontamentosProcessoTerceirizado(lPntrOP, lPntrProcesso, pRegPS);
  }
  HRESULT RemoveApontamento(uint32_t ulChave) override { return Tratador().RemoveApontamento(ulChave, 1); }
  HRESULT LeRetornosIndustExterna(uint32_t ulChave, _REG_VARMO_LISTA_RETORNO_IND_EXTPS* pRegPS) override {
    return Tratador().LeRetornosIndustExterna(ulChave, pRegPS);
  }
  HRESULT CalcularValorEntrada(_REG_VARMO_VALOR_ENTRADA_INPS regIn, _REG_VARMO_VALOR_ENTRADA_OUTPS* pRegOut) override {
    return Tratador().CalcularValorEntrada(regIn, pRegOut, nullptr);
  }
  HRESULT CalcularValorRecursosNaoApontados(_REG_VARMO_VALOR_ENTRADA_INPS regIn,
                                            _REG_VARMO_VALOR_ENTRADA_OUTPS* pRegOut) override {
    return Tratador().CalcularValorRecursosNaoApontados(regIn, pRegOut);
  }
  HRESULT BuscaApontamentos(_REG_VARMO_LISTA_OP_APONTAMENTOS* pRegPS) override {
    return Tratador().BuscaApontamentos(pRegPS, nullptr, kLeTudo);
  }
  HRESULT BuscaApontamentosRecursoPeriodo(_REG_PP_DISPONIBILIDADE_RECURSOPS reg,
                                          _REG_VARMO_PONTEIROS_ULONGPS* pRegPS) override {
    return Tratador().BuscaApontamentosRecursoPeriodo(reg, pRegPS);
  }
  HRESULT BuscaApontamentosRecursos(_REG_PP_FILTRO_APONTAMENTO_RECURSOPS regFiltro,
                                    _REG_PP_LISTA_RESUMO_APONTAMENTO_RECURSOPS* pRegPS) override {
    return Tratador().BuscaApontamentosRecursos(regFiltro, pRegPS);
  }
  HRESULT SetFiltroApontamento(_REG_VARMO_FILTRO_APONTAMENTOPS RegPS) override {
    return Tratador().SetFiltroApontamento(RegPS);
  }
  HRESULT LimpaFiltroApontamento() override { return Tratador().LimpaFiltroApontamento(); }
  HRESULT GravaApontamentoRetornoIndustrializacao(_REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS reg,
                                                  uint32_t* pulPntrOut) override {
    return Tratador().GravaApontamentoRetornoIndustrializacao(reg, pulPntrOut, 1);
  }
  HRESULT RemoveApontamentoRetornoIndustrializacao(_REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS reg) override {
    return Tratador().RemoveApontamentoRetornoIndustrializacao(reg, 1);
  }
  HRESULT BuscaOPGeradoraDaEntrada(_REG_PP_ENTRADA_PRODUCAOPS reg, _REG_VARMO_PONTEIROS_ULONGPS* pRegPS) override {
    return Tratador().BuscaOPGeradoraDaEntrada(reg, pRegPS);
  }
  HRESULT BuscaOPConsumidoraInsumo(_REG_PP_ENTRADA_PRODUCAOPS reg, _REG_VARMO_PONTEIROS_ULONGPS* pRegPS) override {
    return Tratador().BuscaOPConsumidoraInsumo(reg, pRegPS);
  }
  HRESULT LeApontamento(uint32_t ulChave, _REG_VARMO_OP_APONTAMENTO* pRegPS, uint16_t usTipoLeitura) override {
    return Tratador().LeApontamento(ulChave, pRegPS, nullptr, usTipoLeitura);
  }
  HRESULT BuscaListaRetornoNFPendente(_REG_PP_LISTA_APONTAMENTO_RETORNO_NF_PENDENTEPS* pRegPS) override {
    return Tratador().BuscaListaRetornoNFPendente(pRegPS);
  }
  HRESULT VincularNFRetorno(_REG_PP_VINCULO_RETORNO_NF_PENDENTEPS reg) override {
    return Tratador().VincularNFRetorno(reg);
  }
  HRESULT BuscaPonteirosApontamento(_REG_VARMO_FILTRO_APONTAMENTOPS regFiltro,
                                    _REG_VARMO_PONTEIROS_ULONGPS* pRegPS) override {
    return Tratador().BuscaPonteirosApontamento(regFiltro, pRegPS, nullptr);
  }
  HRESULT LePonteirosApontamento(uint32_t ulQtd, uint32_t* pulPonteiros, _REG_VARMO_OP_APONTAMENTO* pregApontamentosps,
                                 uint16_t usTipoLeituraApontamento) override {
    return Tratador().LePonteirosApontamento(ulQtd, pulPonteiros, pregApontamentosps, nullptr,
                                             usTipoLeituraApontamento);
  }
  HRESULT GravaEntradasPendentes(_REG_VARMO_OP_APONTAMENTO reg) override {
    return Tratador().GravaEntradasPendentes(reg, nullptr);
  }
  HRESULT BuscaSaldoParaApontamento(_REG_PP_KEY_ITEM_APONTAMENTOPS regKey, _REG_PP_SALDO_PROCESSOPS* pRegPS) override {
    return Tratador().BuscaSaldoParaApontamento(regKey, pRegPS);
  }
  HRESULT BuscaPonteirosNecessidades(_REG_VARMO_PONTEIROS_ULONGPS* pRegPS) override {
    return Tratador().BuscaPonteirosNecessidades(pRegPS);
  }
  HRESULT BuscaPonteirosNecessidadesPeriodo(uint16_t usDataInicial, uint16_t usDataFinal,
                                            _REG_VARMO_PONTEIROS_ULONGPS* pRegPS) override {
    return Tratador().BuscaPonteirosNecessidadesPeriodo(usDataInicial, usDataFinal, pRegPS);
  }
  HRESULT LePonteirosNecessidades(uint32_t ulQtd, uint32_t* pulChaves, _REG_VARMO_OP_NECESSIDADE* pRegPS) override {
    return Tratador().LePonteirosNecessidades(ulQtd, pulChaves, pRegPS);
  }
  HRESULT GravaNecessidade(uint32_t ulChave, _REG_VARMO_OP_NECESSIDADE RegPS, uint32_t* pulChave) override {
    return Tratador().GravaNecessidade(ulChave, RegPS, pulChave, 1);
  }
  HRESULT CancelaNecessidade(uint32_t ulChave) override { return Tratador().CancelaNecessidade(ulChave, 1); }
  HRESULT LeNecessidade(uint32_t ulChave, _REG_VARMO_OP_NECESSIDADE* pRegPS) override {
    return Tratador().LeNecessidade(ulChave, pRegPS);
  }
  HRESULT AgruparNecessidades(_REG_VARMO_PONTEIROS_ULONGPS RegPS, uint32_t* pulChave) override {
    return Tratador().AgruparNecessidades(RegPS, pulChave);
  }
  HRESULT BuscaInfoServidor(_REG_VARMO_INFO_SERVIDORPS* pRegPS) override {
    return Tratador().BuscaInfoServidor(pRegPS);
  }
  HRESULT FazVerificacao(_REG_PP_OP_VERIFICACAO_INPS regIn, _REG_PP_OP_VERIFICACAO_OUTPS* pregOut) override {
    return Tratador().FazVerificacao(regIn, pregOut);
  }
  HRESULT FuncaoGenerica(uint32_t lFuncao, _REG_FUNCAO_GENERICA_VARMO regFuncaoGenericaIn,
                         _REG_FUNCAO_GENERICA_VARMO**) override {
    if (lFuncao != kFuncaoAtualizaSituacao) return kPPFuncaoGenericaAusente;
    if (regFuncaoGenericaIn.lQtdBytes < kBytesFuncaoAtualizaSituacao || !regFuncaoGenericaIn.pListaBytes)
      return kPPFuncaoGenericaAusente;
    return Tratador().FuncaoGenerica(lFuncao, regFuncaoGenericaIn);
  }
  HRESULT CalcularSaldoHorasRecursoOP(uint32_t ulRecurso, uint32_t ulChaveOP,
                                      _REG_PP_OP_TEMPOPS* pvSaldoRecurso) override {
    return Tratador().CalcularSaldoHorasRecursoOP(ulRecurso, ulChaveOP, pvSaldoRecurso);
  }
  HRESULT InterromperOP(uint32_t ulChaveOP, BSTR bsObservacao) override {
    return Tratador().InterromperOP(ulChaveOP, bsObservacao);
  }
  HRESULT BuscaRemessaIndustrializacao(_REG_PP_LISTA_REMESSA_INDUSTRIALIZACAOPS* regOutPS,
                                       uint8_t cTipoLeitura) override {
    return Tratador().BuscaRemessaIndustrializacao(regOutPS, cTipoLeitura);
  }
  HRESULT BuscaRemessaIndustrializacaoFiltro(_REG_PP_LISTA_REMESSA_INDUSTRIALIZACAOPS* regOutPS,
                                             _REG_PP_REMESSA_FILTROPS regFiltro, uint8_t cTipoLeitura) override {
    return Tratador().BuscaRemessaIndustrializacaoFiltro(regOutPS, regFiltro, cTipoLeitura);
  }
  HRESULT LeRemessaIndustrializacao(uint32_t ulChaveRemessa, _REG_PP_REMESSA_INDUSTRIALIZACAOPS* regOutPS,
                                    uint8_t cTipoLeitura) override {
    return Tratador().LeRemessaIndustrializacao(ulChaveRemessa, regOutPS, nullptr, cTipoLeitura);
  }
  HRESULT AtualizaRemessaFT(int32_t lQtd, _REG_PP_RETORNO_REMESSA_FTPS* pregRetornoFTPS) override {
    return Tratador().AtualizaRemessaFT(lQtd, pregRetornoFTPS);
  }
};
