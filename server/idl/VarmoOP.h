// The production-order interface IQVPP_OP and the records of orders, order items, order
// processes with their inputs and resources, customer-order links and required quantities.
// Orders, reports and requirements are addressed by keys of period files (record number and
// month in one unsigned 32-bit value), which the list methods return in
// _REG_VARMO_PONTEIROS_ULONGPS.
// Layout rules, ownership across a call and the common method pattern: VarmoRegistrosComuns.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com/bstr.h"
#include "platform/com/currency.h"
#include "platform/com/unknown.h"
#include "server/idl/VarmoOPApontamento.h"

#pragma pack(push, 2)

struct _REG_VARMO_QTDS_NECESSARIASPS;
struct _REG_VARMO_OP_ITEMPS;
struct _REG_VARMO_OP_PROCESSOPS;
struct _REG_VARMO_OP_PROCESSO_INSUMOPS;
struct _REG_PP_OP_RECURSOPS;

// The filter of BuscaQtdsNecessarias.
struct _REG_PP_FILTRO_QTDS_NECESSARIASPS {
  _REG_POSICAO_PRODUTOPS regPosicaoProduto;
  int32_t lPonteiroCliente;
  int32_t lPonteiroColecao;
  uint16_t usDataEmissaoInicial;
  uint16_t usDataEmissaoFinal;
  uint8_t cLerPedidos;
  uint8_t cLerNecessidades;
  uint8_t cSepararColecoes;
  uint8_t cFiller[7];
};
static_assert(sizeof(_REG_PP_FILTRO_QTDS_NECESSARIASPS) == 32);
static_assert(offsetof(_REG_PP_FILTRO_QTDS_NECESSARIASPS, lPonteiroCliente) == 10);
static_assert(offsetof(_REG_PP_FILTRO_QTDS_NECESSARIASPS, lPonteiroColecao) == 14);
static_assert(offsetof(_REG_PP_FILTRO_QTDS_NECESSARIASPS, usDataEmissaoInicial) == 18);
static_assert(offsetof(_REG_PP_FILTRO_QTDS_NECESSARIASPS, usDataEmissaoFinal) == 20);
static_assert(offsetof(_REG_PP_FILTRO_QTDS_NECESSARIASPS, cLerPedidos) == 22);
static_assert(offsetof(_REG_PP_FILTRO_QTDS_NECESSARIASPS, cLerNecessidades) == 23);
static_assert(offsetof(_REG_PP_FILTRO_QTDS_NECESSARIASPS, cSepararColecoes) == 24);
static_assert(offsetof(_REG_PP_FILTRO_QTDS_NECESSARIASPS, cFiller) == 25);

// A list of required quantities.
struct _REG_VARMO_LISTA_QTDS_NECESSARIASPS {
  int32_t lQuantidade;
  _REG_VARMO_QTDS_NECESSARIASPS* pRegQtdsNecessarias;  // count in lQuantidade
};
static_assert(sizeof(_REG_VARMO_LISTA_QTDS_NECESSARIASPS) == 8);
static_assert(offsetof(_REG_VARMO_LISTA_QTDS_NECESSARIASPS, pRegQtdsNecessarias) == 4);

// One required quantity of a product or service.
struct _REG_VARMO_QTDS_NECESSARIASPS {
  _REG_POSICAO_PRODUTOPS regPosicaoProduto;
  int32_t lPonteiroColecao;
  uint16_t usFilial;
  CY vSaldoProduzir;
  CY vSaldoProduzirComQuebra;
  CY vQuantidadePedidos;
  CY vQuantidadeNecessidadeProducao;
  CY vQuantidadeEstoque;
  CY vQuantidadeComplemento;
};
static_assert(sizeof(_REG_VARMO_QTDS_NECESSARIASPS) == 64);
static_assert(offsetof(_REG_VARMO_QTDS_NECESSARIASPS, lPonteiroColecao) == 10);
static_assert(offsetof(_REG_VARMO_QTDS_NECESSARIASPS, usFilial) == 14);
static_assert(offsetof(_REG_VARMO_QTDS_NECESSARIASPS, vSaldoProduzir) == 16);
static_assert(offsetof(_REG_VARMO_QTDS_NECESSARIASPS, vSaldoProduzirComQuebra) == 24);
static_assert(offsetof(_REG_VARMO_QTDS_NECESSARIASPS, vQuantidadePedidos) == 32);
static_assert(offsetof(_REG_VARMO_QTDS_NECESSARIASPS, vQuantidadeNecessidadeProducao) == 40);
static_assert(offsetof(_REG_VARMO_QTDS_NECESSARIASPS, vQuantidadeEstoque) == 48);
static_assert(offsetof(_REG_VARMO_QTDS_NECESSARIASPS, vQuantidadeComplemento) == 56);

// The key of a customer-order item.
// Its fields end on an odd byte: the packing adds one trailing pad byte.
struct _REG_VARMO_KEY_ITEM_PEDIDO_OPPS {
  _REG_POSICAO_PRODUTOPS regPosicaoProdutoServico;
  int32_t lPonteiroColecao;
  int32_t lPonteiroForEPTETPE;
  uint16_t usPonteiroFilial;
  uint8_t cTipoProdutoServico;
};
static_assert(sizeof(_REG_VARMO_KEY_ITEM_PEDIDO_OPPS) == 22);
static_assert(offsetof(_REG_VARMO_KEY_ITEM_PEDIDO_OPPS, lPonteiroColecao) == 10);
static_assert(offsetof(_REG_VARMO_KEY_ITEM_PEDIDO_OPPS, lPonteiroForEPTETPE) == 14);
static_assert(offsetof(_REG_VARMO_KEY_ITEM_PEDIDO_OPPS, usPonteiroFilial) == 18);
static_assert(offsetof(_REG_VARMO_KEY_ITEM_PEDIDO_OPPS, cTipoProdutoServico) == 20);

// A list of order items (its name has no leading underscore).
struct REG_VARMO_LISTA_DADO_ITEM_PEDIDO_OPPS {
  int32_t lQuantidade;
  _REG_VARMO_OP_ITEMPS* pRegDadoItemPedidoOP;  // count in lQuantidade
};
static_assert(sizeof(REG_VARMO_LISTA_DADO_ITEM_PEDIDO_OPPS) == 8);
static_assert(offsetof(REG_VARMO_LISTA_DADO_ITEM_PEDIDO_OPPS, pRegDadoItemPedidoOP) == 4);

// One item of a production order.
struct _REG_VARMO_OP_ITEMPS {
  CY vQuantidadeSaldo;
  CY vQuantidadeProgramada;
  CY vQuantidadeProduzida;
  CY vQuantidadePerdida;
  CY vQuantidadeCancelada;
  CY vQuantidadeReplicada;
  uint32_t lPonteiroPedidoNecessidade;
  uint32_t lPonteiroOPGeradora;
  uint32_t ulChaveOPReprocessada;
  uint32_t ulChaveApontamentoOPOrigem;
  int32_t lPonteiroCliente;
  _REG_POSICAO_PRODUTOPS regPosicaoProdutoServico;
  uint16_t usPonteiroFilial;
  uint16_t usPonteiroMunicipio;
  uint16_t usDataEntrega;
  uint16_t usDataEmissao;
  uint16_t usIdxItemPedido;
  uint16_t usIdxItemOP;
  char cOrdemCompraCliente[52];
  uint8_t cTipoItem;
  uint8_t cIntegradoQuantidade;
  uint8_t cCancelado;
  uint8_t cEhReprocessoUltProcesso;
  uint8_t cGerouOPQtdLimitada;
  uint8_t cTipoProdutoServico;
  uint8_t cFiller[6];
};
static_assert(sizeof(_REG_VARMO_OP_ITEMPS) == 154);
static_assert(offsetof(_REG_VARMO_OP_ITEMPS, usPonteiroFilial) == 78);
static_assert(offsetof(_REG_VARMO_OP_ITEMPS, usPonteiroMunicipio) == 80);
static_assert(offsetof(_REG_VARMO_OP_ITEMPS, usDataEntrega) == 82);
static_assert(offsetof(_REG_VARMO_OP_ITEMPS, usDataEmissao) == 84);
static_assert(offsetof(_REG_VARMO_OP_ITEMPS, usIdxItemPedido) == 86);
static_assert(offsetof(_REG_VARMO_OP_ITEMPS, usIdxItemOP) == 88);
static_assert(offsetof(_REG_VARMO_OP_ITEMPS, cOrdemCompraCliente) == 90);
static_assert(offsetof(_REG_VARMO_OP_ITEMPS, cTipoItem) == 142);
static_assert(offsetof(_REG_VARMO_OP_ITEMPS, cIntegradoQuantidade) == 143);
static_assert(offsetof(_REG_VARMO_OP_ITEMPS, cCancelado) == 144);
static_assert(offsetof(_REG_VARMO_OP_ITEMPS, cEhReprocessoUltProcesso) == 145);
static_assert(offsetof(_REG_VARMO_OP_ITEMPS, cGerouOPQtdLimitada) == 146);
static_assert(offsetof(_REG_VARMO_OP_ITEMPS, cTipoProdutoServico) == 147);
static_assert(offsetof(_REG_VARMO_OP_ITEMPS, cFiller) == 148);

// The open balance of one order item (input and output of BuscaSaldoItemOP).
struct _REG_VARMO_SALDO_ITEM_OPPS {
  CY vQuantidade;
  uint32_t lPonteiroPedidoNecessidade;
  uint16_t usIdxItemPedido;
  uint8_t cTipoItem;
  uint8_t cFiller[1];
};
static_assert(sizeof(_REG_VARMO_SALDO_ITEM_OPPS) == 16);

// A production order: numbers and keys, references, dates and times of its life, five
// extra-information texts, remark, message, batch, state and switches, and its processes and items.
struct _REG_VARMO_OPPS {
  uint32_t lNumeroOP;
  uint32_t ulChaveOP;
  int32_t lPonteiroOP;
  int32_t lPonteiroTipoOP;
  int32_t lPonteiroFluxoProcesso;
  int32_t lPonteiroContaContabil;
  int32_t lPonteiroForEPTETPE;
  int32_t lPonteiroOPGeradora;
  int32_t lPonteiroColecao;
  uint32_t ulPonteiroRequisitante;
  uint32_t ulPonteiroDepartamento;
  uint32_t ulChaveRequisicaoInterna;
  _REG_POSICAO_PRODUTOPS regPosicaoProdutoServico;
  uint16_t usQtdProcessos;
  uint16_t usQtdItens;
  uint16_t usPonteiroUsuarioEmissao;
  uint16_t usPonteiroUsuarioGravacao;
  uint16_t usPonteiroFilial;
  uint16_t usPonteiroMensagem;
  uint16_t usDataEmissao;
  uint16_t usHoraEmissao;
  uint16_t usDataPrevisaoInicio;
  uint16_t usHoraPrevisaoInicio;
  uint16_t usDataInicio;
  uint16_t usHoraInicio;
  uint16_t usDataPrevisaoConclusao;
  uint16_t usHoraPrevisaoConclusao;
  uint16_t usDataConclusao;
  uint16_t usHoraConclusao;
  uint16_t usDataCancelamento;
  uint16_t usHoraCancelamento;
  uint16_t usDataInterrupcao;
  uint16_t usHoraInterrupcao;
  char szInfExtra1[82];
  char szInfExtra2[82];
  char szInfExtra3[82];
  char szInfExtra4[82];
  char szInfExtra5[82];
  char szObservacao[512];
  char szMensagem[502];
  char szNumeroLote[36];
  uint8_t cSituacao;
  uint8_t cQuantidadeCasasDecimaisEstoque;
  uint8_t cTipoPerdaInsumo;
  uint8_t cOPReprocesso;
  uint8_t cReprocessoConfirmado;
  uint8_t cTodosRecursosDefinidos;
  uint8_t cIndustrializacaoParaETPE;
  uint8_t cPossuiItemQtdLimitada;
  uint8_t cFazEntradaDepoisNoES;
  uint8_t cCustearSoProcessoApontado;
  uint8_t cTratarInsumoEmbalagem;
  uint8_t cApontarOcorrenciaRecurso;
  uint8_t cTipoProdutoServico;
  uint8_t cFiller[7];
  _REG_VARMO_OP_PROCESSOPS* pregProcessos;  // count in usQtdProcessos
  _REG_VARMO_OP_ITEMPS* pregItens;  // count in usQtdItens
};
static_assert(sizeof(_REG_VARMO_OPPS) == 1586);
static_assert(offsetof(_REG_VARMO_OPPS, usQtdProcessos) == 58);
static_assert(offsetof(_REG_VARMO_OPPS, usQtdItens) == 60);
static_assert(offsetof(_REG_VARMO_OPPS, usPonteiroUsuarioEmissao) == 62);
static_assert(offsetof(_REG_VARMO_OPPS, usPonteiroUsuarioGravacao) == 64);
static_assert(offsetof(_REG_VARMO_OPPS, usPonteiroFilial) == 66);
static_assert(offsetof(_REG_VARMO_OPPS, usPonteiroMensagem) == 68);
static_assert(offsetof(_REG_VARMO_OPPS, usDataEmissao) == 70);
static_assert(offsetof(_REG_VARMO_OPPS, usHoraEmissao) == 72);
static_assert(offsetof(_REG_VARMO_OPPS, usDataPrevisaoInicio) == 74);
static_assert(offsetof(_REG_VARMO_OPPS, usHoraPrevisaoInicio) == 76);
static_assert(offsetof(_REG_VARMO_OPPS, usDataInicio) == 78);
static_assert(offsetof(_REG_VARMO_OPPS, usHoraInicio) == 80);
static_assert(offsetof(_REG_VARMO_OPPS, usDataPrevisaoConclusao) == 82);
static_assert(offsetof(_REG_VARMO_OPPS, usHoraPrevisaoConclusao) == 84);
static_assert(offsetof(_REG_VARMO_OPPS, usDataConclusao) == 86);
static_assert(offsetof(_REG_VARMO_OPPS, usHoraConclusao) == 88);
static_assert(offsetof(_REG_VARMO_OPPS, usDataCancelamento) == 90);
static_assert(offsetof(_REG_VARMO_OPPS, usHoraCancelamento) == 92);
static_assert(offsetof(_REG_VARMO_OPPS, usDataInterrupcao) == 94);
static_assert(offsetof(_REG_VARMO_OPPS, usHoraInterrupcao) == 96);
static_assert(offsetof(_REG_VARMO_OPPS, szInfExtra1) == 98);
static_assert(offsetof(_REG_VARMO_OPPS, szInfExtra2) == 180);
static_assert(offsetof(_REG_VARMO_OPPS, szInfExtra3) == 262);
static_assert(offsetof(_REG_VARMO_OPPS, szInfExtra4) == 344);
static_assert(offsetof(_REG_VARMO_OPPS, szInfExtra5) == 426);
static_assert(offsetof(_REG_VARMO_OPPS, szObservacao) == 508);
static_assert(offsetof(_REG_VARMO_OPPS, szMensagem) == 1020);
static_assert(offsetof(_REG_VARMO_OPPS, szNumeroLote) == 1522);
static_assert(offsetof(_REG_VARMO_OPPS, cSituacao) == 1558);
static_assert(offsetof(_REG_VARMO_OPPS, cQuantidadeCasasDecimaisEstoque) == 1559);
static_assert(offsetof(_REG_VARMO_OPPS, cTipoPerdaInsumo) == 1560);
static_assert(offsetof(_REG_VARMO_OPPS, cOPReprocesso) == 1561);
static_assert(offsetof(_REG_VARMO_OPPS, cReprocessoConfirmado) == 1562);
static_assert(offsetof(_REG_VARMO_OPPS, cTodosRecursosDefinidos) == 1563);
static_assert(offsetof(_REG_VARMO_OPPS, cIndustrializacaoParaETPE) == 1564);
static_assert(offsetof(_REG_VARMO_OPPS, cPossuiItemQtdLimitada) == 1565);
static_assert(offsetof(_REG_VARMO_OPPS, cFazEntradaDepoisNoES) == 1566);
static_assert(offsetof(_REG_VARMO_OPPS, cCustearSoProcessoApontado) == 1567);
static_assert(offsetof(_REG_VARMO_OPPS, cTratarInsumoEmbalagem) == 1568);
static_assert(offsetof(_REG_VARMO_OPPS, cApontarOcorrenciaRecurso) == 1569);
static_assert(offsetof(_REG_VARMO_OPPS, cTipoProdutoServico) == 1570);
static_assert(offsetof(_REG_VARMO_OPPS, cFiller) == 1571);
static_assert(offsetof(_REG_VARMO_OPPS, pregProcessos) == 1578);
static_assert(offsetof(_REG_VARMO_OPPS, pregItens) == 1582);

// One process of a production order with its inputs, resources, reports (simple and full), images
// and labels.
struct _REG_VARMO_OP_PROCESSOPS {
  CY v8CustoIndireto;
  CY v8CustoDireto;
  CY v8CustoTerceirizacao;
  CY v8TempoPadraoMinPorUnidade;
  CY vCapacidadeProdutiva;
  int32_t lPonteiroProcesso;
  uint16_t usQuantidadeInsumos;
  uint16_t usQuantidadeRecursos;
  uint16_t usQuantidadeApontamentosSimples;
  uint16_t usQuantidadeApontamentos;
  uint16_t usQtdImagens;
  uint16_t usQtdEtiquetas;
  uint16_t usMenorDataInicio;
  uint16_t usMenorHoraInicio;
  uint16_t usMaiorDataFim;
  uint16_t usMaiorHoraFim;
  uint16_t usPercentualQuebra;
  char szDetalhe[514];
  uint8_t cRecebeApontamento;
  uint8_t cApontarPesoBruto;
  uint8_t cCustoPorApontamento;
  uint8_t cSituacao;
  uint8_t cFiller[10];
  _REG_VARMO_OP_PROCESSO_INSUMOPS* pregInsumos;  // count in usQuantidadeInsumos
  _REG_PP_OP_RECURSOPS* pregRecursos;  // count in usQuantidadeRecursos
  _REG_VARMO_OP_APONTAMENTO* pregApontamentosSimples;  // count in usQuantidadeApontamentosSimples
  _REG_VARMO_OP_APONTAMENTO* pregApontamentos;  // count in usQuantidadeApontamentos
  _REG_PP_OP_PROCESSO_IMAGEMPS* pregImagens;  // count in usQtdImagens
  _REG_PP_OP_PROCESSO_ETIQUETAPS* pregEtiquetas;  // count in usQtdEtiquetas
};
static_assert(sizeof(_REG_VARMO_OP_PROCESSOPS) == 618);
static_assert(offsetof(_REG_VARMO_OP_PROCESSOPS, pregInsumos) == 594);
static_assert(offsetof(_REG_VARMO_OP_PROCESSOPS, pregRecursos) == 598);
static_assert(offsetof(_REG_VARMO_OP_PROCESSOPS, pregApontamentosSimples) == 602);
static_assert(offsetof(_REG_VARMO_OP_PROCESSOPS, pregApontamentos) == 606);
static_assert(offsetof(_REG_VARMO_OP_PROCESSOPS, pregImagens) == 610);
static_assert(offsetof(_REG_VARMO_OP_PROCESSOPS, pregEtiquetas) == 614);

// One input (material) of an order process.
struct _REG_VARMO_OP_PROCESSO_INSUMOPS {
  CY vQuantidadeUnitaria;
  CY vQuantidadeTotal;
  CY vQuantUnitariaComQuebra;
  CY vQuantTotalComQuebra;
  CY v8ValorUnitario;
  int32_t lPonteiroNecessidade;
  int32_t lPonteiroLote;
  int32_t lPonteiroVolumeES;
  int32_t lPonteiroForLote;
  int32_t lPonteiroForEPTETPE;
  int32_t lPonteiroCliEPTETPE;
  _REG_POSICAO_PRODUTOPS regPosicaoProduto;
  uint16_t usPonteiroLocalEstocagem;
  uint16_t usPercentualQuebra;
  uint8_t cPermiteAlterar;
  uint8_t cCancelado;
  uint8_t cCasasDecimais;
  uint8_t cTipoProducao;
  uint8_t cTipoEstoque;
  uint8_t cEhEmbalagem;
  uint8_t cFiller[10];
};
static_assert(sizeof(_REG_VARMO_OP_PROCESSO_INSUMOPS) == 94);
static_assert(offsetof(_REG_VARMO_OP_PROCESSO_INSUMOPS, usPonteiroLocalEstocagem) == 74);
static_assert(offsetof(_REG_VARMO_OP_PROCESSO_INSUMOPS, usPercentualQuebra) == 76);
static_assert(offsetof(_REG_VARMO_OP_PROCESSO_INSUMOPS, cPermiteAlterar) == 78);
static_assert(offsetof(_REG_VARMO_OP_PROCESSO_INSUMOPS, cCancelado) == 79);
static_assert(offsetof(_REG_VARMO_OP_PROCESSO_INSUMOPS, cCasasDecimais) == 80);
static_assert(offsetof(_REG_VARMO_OP_PROCESSO_INSUMOPS, cTipoProducao) == 81);
static_assert(offsetof(_REG_VARMO_OP_PROCESSO_INSUMOPS, cTipoEstoque) == 82);
static_assert(offsetof(_REG_VARMO_OP_PROCESSO_INSUMOPS, cEhEmbalagem) == 83);
static_assert(offsetof(_REG_VARMO_OP_PROCESSO_INSUMOPS, cFiller) == 84);

// One resource of an order process.
struct _REG_PP_OP_RECURSOPS {
  CY vCapacidade;
  CY vSetup;
  CY v8Custo;
  CY vPercEficiencia;
  int32_t lPonteiroRecurso;
  uint8_t cDesconsiderarTempos;
  uint8_t cCustoTempoPorUnidade;
  uint8_t cTipoCusto;
  uint8_t cTipo;
  uint8_t cFiller[6];
};
static_assert(sizeof(_REG_PP_OP_RECURSOPS) == 46);

#pragma pack(pop)

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// Production orders, their reports, requirements and outside processing. FuncaoGenerica
// (implemented for lFuncao 1) is not the last method here: six methods follow it.
struct IQVPP_OP : IUnknown {
  virtual HRESULT Inicializa(_REG_VARMO_INICIALIZAPS RegPS, uint16_t usVersao) = 0;
  virtual HRESULT Finaliza() = 0;
  // Returns the quantities required by the orders that pass a requirement filter.
  virtual HRESULT BuscaQtdsNecessarias(_REG_PP_FILTRO_QTDS_NECESSARIASPS regFiltroQtdNecessarias,
                                       _REG_VARMO_LISTA_QTDS_NECESSARIASPS* pRegPS) = 0;
  // Returns the order items that come from one customer-order item.
  virtual HRESULT BuscaListaDadoPedido(_REG_VARMO_KEY_ITEM_PEDIDO_OPPS regKeyPS,
                                       REG_VARMO_LISTA_DADO_ITEM_PEDIDO_OPPS* pRegListaPS) = 0;
  // Returns the open balance of each given order item.
  virtual HRESULT BuscaSaldoItemOP(uint16_t usQtd, _REG_VARMO_SALDO_ITEM_OPPS* pRegPSIn,
                                   _REG_VARMO_SALDO_ITEM_OPPS* pRegPSOut) = 0;
  virtual HRESULT SetFiltro(_REG_VARMO_FILTROPS RegPS) = 0;
  virtual HRESULT LimpaFiltro() = 0;
  // Writes an order (input key 0: a new order) and returns its key.
  virtual HRESULT GravaOP(uint32_t lPntrIn, _REG_VARMO_OPPS RegPS, uint32_t* plPntrOut) = 0;
  // Cancels the orders of a list of ulQtd keys.
  virtual HRESULT Cancela(uint32_t ulQtd, uint32_t* plPonteiros) = 0;
  // Returns the keys of the orders that pass the stored filter.
  virtual HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROS_ULONGPS* pRegPS) = 0;
  // Returns the keys of the records of a date range.
  virtual HRESULT BuscaPonteirosPeriodo(uint16_t usDataInicial, uint16_t usDataFinal,
                                        _REG_VARMO_PONTEIROS_ULONGPS* pRegPS) = 0;
  // Returns the keys of the orders that pass the given filter.
  virtual HRESULT BuscaPonteirosFiltro(_REG_VARMO_FILTROPS RegPS,
                                       _REG_VARMO_PONTEIROS_ULONGPS* pRegPS) = 0;
  // Reads the orders of a list of keys into the caller array.
  virtual HRESULT LePonteiros(uint32_t lQtd, uint32_t* plPntrs, _REG_VARMO_OPPS* pRegPS,
                              uint16_t usTipoLeitura) = 0;
  // Reads the header of one order (without nested arrays).
  virtual HRESULT LeCabecalhoOP(uint32_t lPntr, _REG_VARMO_OPPS* pRegPS) = 0;
  // Reads the headers only of the orders of a list of keys.
  virtual HRESULT LePonteirosSomenteCabecalho(uint32_t lQtd, uint32_t* plPntrs,
                                              _REG_VARMO_OPPS* pRegPS) = 0;
  // Reads the pending items of an order.
  virtual HRESULT LeItensPendentesOP(uint32_t lPntr,
                                     REG_VARMO_LISTA_DADO_ITEM_PEDIDO_OPPS* pRegPS) = 0;
  // Returns the keys of the orders to replicate.
  virtual HRESULT BuscaChavesReplicacao(_REG_VARMO_PONTEIROS_ULONGPS* pRegPS) = 0;
  // Issues labels for an order and returns the labels issued.
  virtual HRESULT EmitirEtiquetas(_REG_PP_EMITIR_ETIQUETA_OPPS regEmitirEtiqueta,
                                  _REG_PP_LISTA_ETIQUETA_EMITIDAPS* pregListaEtiquetasEmitidas) = 0;
  // Writes a production report and returns its key.
  virtual HRESULT GravaApontamento(_REG_VARMO_OP_APONTAMENTO RegPS, uint32_t* plPntrOut) = 0;
  // Reads the reports of one order process.
  virtual HRESULT LeApontamentosProcesso(uint32_t lPntrOP, int32_t lPntrProcesso,
                                         _REG_VARMO_LISTA_OP_APONTAMENTOS* pRegPS) = 0;
  // Reads the reports of one outsourced order process.
  virtual HRESULT LeApontamentosProcessoTerceirizado(uint32_t lPntrOP, int32_t lPntrProcesso,
                                                     _REG_VARMO_LISTA_OP_APONTAMENTOS* pRegPS) = 0;
  // Removes a production report.
  virtual HRESULT RemoveApontamento(uint32_t lPntr) = 0;
  // Reads the returns from outside processing of one production report.
  virtual HRESULT LeRetornosIndustExterna(uint32_t lPntrApontamento,
                                          _REG_VARMO_LISTA_RETORNO_IND_EXTPS* pRegPS) = 0;
  // Computes the value of a production entry.
  virtual HRESULT CalcularValorEntrada(_REG_VARMO_VALOR_ENTRADA_INPS regInPS,
                                       _REG_VARMO_VALOR_ENTRADA_OUTPS* pregOutPS) = 0;
  // Computes the value of the resources not reported.
  virtual HRESULT CalcularValorRecursosNaoApontados(_REG_VARMO_VALOR_ENTRADA_INPS regInPS,
                                                    _REG_VARMO_VALOR_ENTRADA_OUTPS* pregOutPS) = 0;
  // Returns a list of production reports.
  virtual HRESULT BuscaApontamentos(_REG_VARMO_LISTA_OP_APONTAMENTOS* pRegPS) = 0;
  // Returns the keys of the reports of one resource in a period.
  virtual HRESULT BuscaApontamentosRecursoPeriodo(
      _REG_PP_DISPONIBILIDADE_RECURSOPS regDisponibilidadeRecursoPS,
      _REG_VARMO_PONTEIROS_ULONGPS* pRegPonteirosPS) = 0;
  // Returns resource-report summaries that pass a resource-report filter.
  virtual HRESULT BuscaApontamentosRecursos(
      _REG_PP_FILTRO_APONTAMENTO_RECURSOPS regFiltrops,
      _REG_PP_LISTA_RESUMO_APONTAMENTO_RECURSOPS* pregLista) = 0;
  // Stores a reporting filter in the object.
  virtual HRESULT SetFiltroApontamento(_REG_VARMO_FILTRO_APONTAMENTOPS RegPS) = 0;
  // Clears the stored reporting filter.
  virtual HRESULT LimpaFiltroApontamento() = 0;
  // Writes a report of a return from outside processing.
  virtual HRESULT GravaApontamentoRetornoIndustrializacao(
      _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS RegPS, uint32_t* pulPntrOut) = 0;
  // Removes a report of a return from outside processing.
  virtual HRESULT RemoveApontamentoRetornoIndustrializacao(
      _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS RegPS) = 0;
  // Returns the orders that produced a stock entry.
  virtual HRESULT BuscaOPGeradoraDaEntrada(_REG_PP_ENTRADA_PRODUCAOPS regEntradaPS,
                                           _REG_VARMO_PONTEIROS_ULONGPS* pregPonteiros) = 0;
  // Returns the orders that consumed the input of a stock entry.
  virtual HRESULT BuscaOPConsumidoraInsumo(_REG_PP_ENTRADA_PRODUCAOPS regEntradaPS,
                                           _REG_VARMO_PONTEIROS_ULONGPS* pregPonteiros) = 0;
  // Reads one production report by key.
  virtual HRESULT LeApontamento(uint32_t ulChave, _REG_VARMO_OP_APONTAMENTO* pRegPS,
                                uint16_t usTipoLeitura) = 0;
  // Returns the returns for outside processing that still wait for their invoice.
  virtual HRESULT BuscaListaRetornoNFPendente(
      _REG_PP_LISTA_APONTAMENTO_RETORNO_NF_PENDENTEPS* pregListaRetornoPendentePS) = 0;
  // Links returns from outside processing to their invoice.
  virtual HRESULT VincularNFRetorno(
      _REG_PP_VINCULO_RETORNO_NF_PENDENTEPS regVinculoNFRetornops) = 0;
  // Returns the keys of the reports that pass a reporting filter.
  virtual HRESULT BuscaPonteirosApontamento(_REG_VARMO_FILTRO_APONTAMENTOPS regFiltrops,
                                            _REG_VARMO_PONTEIROS_ULONGPS* pregListaPonteirosps) = 0;
  // Reads the reports of a list of keys.
  virtual HRESULT LePonteirosApontamento(uint32_t ulQtd, uint32_t* pulPonteiros,
                                         _REG_VARMO_OP_APONTAMENTO* pregApontamentosps,
                                         uint16_t usTipoLeituraApontamento) = 0;
  // Writes the pending stock entries of a production report.
  virtual HRESULT GravaEntradasPendentes(_REG_VARMO_OP_APONTAMENTO regApontamentops) = 0;
  // Returns the balance of a process that can still be reported.
  virtual HRESULT BuscaSaldoParaApontamento(_REG_PP_KEY_ITEM_APONTAMENTOPS regKeyItemApontamentops,
                                            _REG_PP_SALDO_PROCESSOPS* pregSaldops) = 0;
  // Returns the keys of the requirements that pass the stored filter.
  virtual HRESULT BuscaPonteirosNecessidades(_REG_VARMO_PONTEIROS_ULONGPS* pRegPS) = 0;
  // Returns the keys of the requirements of a date range.
  virtual HRESULT BuscaPonteirosNecessidadesPeriodo(uint16_t usDataInicial, uint16_t usDataFinal,
                                                    _REG_VARMO_PONTEIROS_ULONGPS* pRegPS) = 0;
  // Reads the requirements of a list of keys.
  virtual HRESULT LePonteirosNecessidades(uint32_t lQtd, uint32_t* plPntrs,
                                          _REG_VARMO_OP_NECESSIDADE* pRegPS) = 0;
  // Writes a requirement (input key 0: a new one) and returns its key.
  virtual HRESULT GravaNecessidade(uint32_t lPntrIn, _REG_VARMO_OP_NECESSIDADE RegPS,
                                   uint32_t* plPntrOut) = 0;
  // Cancels a requirement.
  virtual HRESULT CancelaNecessidade(uint32_t lPntr) = 0;
  // Reads one requirement.
  virtual HRESULT LeNecessidade(uint32_t lPntr, _REG_VARMO_OP_NECESSIDADE* pRegPS) = 0;
  // Groups the listed requirements into one and returns the pointer of the grouping requirement.
  virtual HRESULT AgruparNecessidades(_REG_VARMO_PONTEIROS_ULONGPS regPonteirosps,
                                      uint32_t* plPntrOut) = 0;
  // Returns the server's current date and time.
  virtual HRESULT BuscaInfoServidor(_REG_VARMO_INFO_SERVIDORPS* pRegPS) = 0;
  // Runs a check on an order and returns its result.
  virtual HRESULT FazVerificacao(_REG_PP_OP_VERIFICACAO_INPS regIn,
                                 _REG_PP_OP_VERIFICACAO_OUTPS* pregOut) = 0;
  virtual HRESULT FuncaoGenerica(uint32_t lFuncao, _REG_FUNCAO_GENERICA_VARMO regFuncaoGenericaIn,
                                 _REG_FUNCAO_GENERICA_VARMO** regFuncaoGenericaOut) = 0;
  // Computes the hours still to be worked by one resource on one order.
  virtual HRESULT CalcularSaldoHorasRecursoOP(uint32_t ulRecurso, uint32_t ulChaveOP,
                                              _REG_PP_OP_TEMPOPS* pvSaldoRecurso) = 0;
  // Interrupts an order with a remark.
  virtual HRESULT InterromperOP(uint32_t ulChaveOP, BSTR bsObservacao) = 0;
  // Returns the shipments for outside processing.
  virtual HRESULT BuscaRemessaIndustrializacao(_REG_PP_LISTA_REMESSA_INDUSTRIALIZACAOPS* regOutPS,
                                               uint8_t cTipoLeitura) = 0;
  // Returns the shipments for outside processing that pass a shipment filter.
  virtual HRESULT BuscaRemessaIndustrializacaoFiltro(
      _REG_PP_LISTA_REMESSA_INDUSTRIALIZACAOPS* regOutPS, _REG_PP_REMESSA_FILTROPS regFiltro,
      uint8_t cTipoLeitura) = 0;
  // Reads one shipment for outside processing.
  virtual HRESULT LeRemessaIndustrializacao(uint32_t ulChaveRemessa,
                                            _REG_PP_REMESSA_INDUSTRIALIZACAOPS* regOutPS,
                                            uint8_t cTipoLeitura) = 0;
  // Updates shipments for outside processing from lQtd returns of the invoicing module.
  virtual HRESULT AtualizaRemessaFT(int32_t lQtd,
                                    _REG_PP_RETORNO_REMESSA_FTPS* pregRetornoFTPS) = 0;
};

#pragma GCC diagnostic pop
