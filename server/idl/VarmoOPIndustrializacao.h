// Records of outside processing (shipments of inputs to an outside processor, returns from it,
// goods in transit, returns waiting for their invoice) and the inventory records (movements,
// batches, volumes, accounting entries) that production reports carry. All travel through
// IQVPP_OP (VarmoOP.h). The inventory records (_REG_ES_) follow the layout of the inventory
// module's interfaces.
// Layout rules, ownership across a call and the common method pattern: VarmoRegistrosComuns.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com/currency.h"
#include "server/idl/VarmoRegistrosComuns.h"

#pragma pack(push, 2)

struct _REG_PP_REMESSA_INSUMOPS;
struct _REG_ES_CONTABILIZACAOPS;
struct _REG_ES_COMPOSICAO_PRODUTOPS;
struct _REG_ES_MOV_REFERENCIAPS;
struct _REG_ES_GERENCIALPS;
struct _REG_PP_TRANSITO_INDUSTRIALIZADORESPS;
struct _REG_PP_APONTAMENTO_ULT_PROCESSO_RET_INDPS;
struct _REG_PP_TRANSITO_INDUSTRIALIZADOR_OPPS;
struct _REG_PP_APONTAMENTO_RETORNO_NF_PENDENTEPS;

// A shipment of inputs to an outside processor, with its inputs.
struct _REG_PP_REMESSA_INDUSTRIALIZACAOPS {
  uint32_t ulChaveApontamentoOP;
  uint32_t ulChaveOP;
  uint32_t ulChaveRemessa;
  uint32_t ulChaveFaturaRemessa;
  int32_t lPonteiroClassificacao;
  int32_t lPonteiroFornecedor;
  uint16_t usPonteiroHistorico;
  uint16_t usPonteiroCFOP;  // pointer of the fiscal operation code
  uint16_t usPonteiroFilial;
  uint16_t usDataEmissaoRemessa;
  uint16_t usHoraEmissaoRemessa;
  uint16_t usQtdInsumos;
  uint8_t cStatusFaturamento;
  uint8_t cEnviarProdutoFinal;
  uint8_t cFiller[20];
  _REG_PP_REMESSA_INSUMOPS* pregRemessaInsumo;  // count in usQtdInsumos
};
static_assert(sizeof(_REG_PP_REMESSA_INDUSTRIALIZACAOPS) == 62);
static_assert(offsetof(_REG_PP_REMESSA_INDUSTRIALIZACAOPS, pregRemessaInsumo) == 58);

// An inventory batch.
struct _REG_ES_LOTEPS {
  char cNumeroLote[36];
  uint16_t iDataFabricacao;
  uint16_t iDataValidade;
  uint16_t iDataEntrada;
  uint16_t iNumeroDias;
};
static_assert(sizeof(_REG_ES_LOTEPS) == 44);

// One input of a shipment for outside processing.
struct _REG_PP_REMESSA_INSUMOPS {
  _REG_POSICAO_PRODUTOPS regPosicaoProduto;
  _REG_ES_LOTEPS regLoteES;
  CY vQuantidadeTotal;
  CY v8ValorUnitario;
  int32_t lPonteiroLoteES;
  int32_t lPonteiroVolumeES;
  int32_t lPonteiroForLote;
  int32_t lPonteiroForEPTETPE;
  int32_t lPonteiroCliEPTETPE;
  int32_t lPonteiroLocal;
  uint16_t usPonteiroUnidadeMedida;
  uint8_t cTipoEstoque;
  uint8_t cTipoProducao;
  uint8_t cEhProdutoNaoCadastrado;
  uint8_t cEhProdutoFinal;
  uint8_t cQuantidadeCasasDecimaisEstoque;
  char szDescricao[502];
  uint8_t cFiller[23];
};
static_assert(sizeof(_REG_PP_REMESSA_INSUMOPS) == 626);
static_assert(offsetof(_REG_PP_REMESSA_INSUMOPS, regLoteES) == 10);
static_assert(offsetof(_REG_PP_REMESSA_INSUMOPS, vQuantidadeTotal) == 54);
static_assert(offsetof(_REG_PP_REMESSA_INSUMOPS, v8ValorUnitario) == 62);
static_assert(offsetof(_REG_PP_REMESSA_INSUMOPS, lPonteiroLoteES) == 70);
static_assert(offsetof(_REG_PP_REMESSA_INSUMOPS, lPonteiroVolumeES) == 74);
static_assert(offsetof(_REG_PP_REMESSA_INSUMOPS, lPonteiroForLote) == 78);
static_assert(offsetof(_REG_PP_REMESSA_INSUMOPS, lPonteiroForEPTETPE) == 82);
static_assert(offsetof(_REG_PP_REMESSA_INSUMOPS, lPonteiroCliEPTETPE) == 86);
static_assert(offsetof(_REG_PP_REMESSA_INSUMOPS, lPonteiroLocal) == 90);
static_assert(offsetof(_REG_PP_REMESSA_INSUMOPS, usPonteiroUnidadeMedida) == 94);
static_assert(offsetof(_REG_PP_REMESSA_INSUMOPS, cTipoEstoque) == 96);
static_assert(offsetof(_REG_PP_REMESSA_INSUMOPS, cTipoProducao) == 97);
static_assert(offsetof(_REG_PP_REMESSA_INSUMOPS, cEhProdutoNaoCadastrado) == 98);
static_assert(offsetof(_REG_PP_REMESSA_INSUMOPS, cEhProdutoFinal) == 99);
static_assert(offsetof(_REG_PP_REMESSA_INSUMOPS, cQuantidadeCasasDecimaisEstoque) == 100);
static_assert(offsetof(_REG_PP_REMESSA_INSUMOPS, szDescricao) == 101);
static_assert(offsetof(_REG_PP_REMESSA_INSUMOPS, cFiller) == 603);

// The complement of an inventory movement.
struct _REG_ES_COMPLETA_MOVIMENTOPS {
  CY vValorICMS;
  CY vValorIPI;
  CY vPesoBrutoUnitario;
  CY vPesoBrutoTotal;
  CY vPesoLiquidoUnitario;
  CY vPesoLiquidoTotal;
  int32_t lPonteiroEmbalagem;
  uint16_t iPonteiroCFOP;  // pointer of the fiscal operation code
};
static_assert(sizeof(_REG_ES_COMPLETA_MOVIMENTOPS) == 54);

// An inventory volume reference.
struct _REG_ES_VOLUMEPS {
  char cVolume[12];
};
static_assert(sizeof(_REG_ES_VOLUMEPS) == 12);

// An inventory movement with its accounting entries, composition items and references.
struct _REG_ES_MOVIMENTOPS {
  _REG_ES_COMPLETA_MOVIMENTOPS regCompletaMovimentoPS;
  _REG_ES_LOTEPS regLotePS;
  _REG_POSICAO_PRODUTOPS regPosicaoProduto;
  _REG_ES_VOLUMEPS regVolumePS;
  char cDocumento[14];
  CY vQuantidade;
  CY v8ValorUnitario;
  CY vValorTotal;
  CY vValorTotalInsumos;
  CY vValorTotalCustosDireto;
  CY vValorTotalCustosIndireto;
  int32_t lPonteiroComplemento;
  int32_t lPonteiroCompletaMovimento;
  int32_t lPonteiroContabilizacao;
  int32_t lPonteiroComposicao;
  int32_t lPonteiroLote;
  int32_t lPonteiroForLote;
  int32_t lPonteiroForEPTETPE;
  int32_t lPonteiroCliEPTETPE;
  int32_t lPonteiroFornecedorCliente;
  int32_t lPonteiroContaEstoqueCusto;
  int32_t lPonteiroContaProdutoElaboracao;
  int32_t lChaveQuemGerou;
  int32_t lPosicao;
  int32_t lPonteiroMovimentoReferencia;
  int32_t lPonteiroMovRefTransferencia;
  int32_t lPonteiroReferencia;
  int32_t lPonteiroIntegracaoES;
  int32_t lEtiquetasEmitidas;
  int32_t lPonteiroVolume;
  uint32_t lComplementoQuemGerou;
  uint16_t iPonteiroFilial;
  uint16_t iPonteiroLocalArmazenagem;
  uint16_t iPonteiroLocalTransferido;
  uint16_t iPonteiroTipoDocumento;
  uint16_t iPonteiroECF;
  uint16_t iDataMovimento;
  uint16_t iHoraMovimento;
  uint16_t iDataInclusao;
  uint16_t iHoraInclusao;
  uint16_t iDataModificacao;
  uint16_t iUsuarioInclusao;
  uint16_t iUsuarioModificacao;
  uint16_t iModuloQuemGerou;
  uint16_t iDataQuemGerou;
  uint16_t iQuantidadeContabil;
  uint16_t iQtdItensComposicao;
  uint16_t iQtdMovsReferencia;
  uint8_t cTipoMovimento;
  uint8_t cTipoEstoqueArmazenagem;
  uint8_t cTipoEstoqueTransferido;
  uint8_t cEstornado;
  uint8_t cComposicao;
  uint8_t cOrigemDocumento;
  uint8_t cAtivoFixo;
  uint8_t cTipoProducao;
  uint8_t cFormaValorizacao;
  uint8_t cQuemContabilizou;
  uint8_t cValorEntradaProd;
  uint8_t cTipoValor;
  uint8_t cTipoGerencial;
  uint8_t cAjusteAutomatico;
  uint8_t cAjusteComZeramento;
  uint8_t cIntegracaoES;
  _REG_ES_CONTABILIZACAOPS* pregContabil;  // count in iQuantidadeContabil
  _REG_ES_COMPOSICAO_PRODUTOPS* pregComposicao;  // count in iQtdItensComposicao
  _REG_ES_MOV_REFERENCIAPS* pregMovReferencia;  // count in iQtdMovsReferencia
};
static_assert(sizeof(_REG_ES_MOVIMENTOPS) == 324);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, regLotePS) == 54);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, regPosicaoProduto) == 98);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, regVolumePS) == 108);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, cDocumento) == 120);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, vQuantidade) == 134);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, v8ValorUnitario) == 142);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, vValorTotal) == 150);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, vValorTotalInsumos) == 158);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, vValorTotalCustosDireto) == 166);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, vValorTotalCustosIndireto) == 174);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, lPonteiroComplemento) == 182);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, lPonteiroCompletaMovimento) == 186);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, lPonteiroContabilizacao) == 190);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, lPonteiroComposicao) == 194);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, lPonteiroLote) == 198);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, lPonteiroForLote) == 202);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, lPonteiroForEPTETPE) == 206);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, lPonteiroCliEPTETPE) == 210);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, lPonteiroFornecedorCliente) == 214);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, lPonteiroContaEstoqueCusto) == 218);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, lPonteiroContaProdutoElaboracao) == 222);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, lChaveQuemGerou) == 226);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, lPosicao) == 230);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, lPonteiroMovimentoReferencia) == 234);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, lPonteiroMovRefTransferencia) == 238);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, lPonteiroReferencia) == 242);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, lPonteiroIntegracaoES) == 246);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, lEtiquetasEmitidas) == 250);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, lPonteiroVolume) == 254);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, lComplementoQuemGerou) == 258);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, iPonteiroFilial) == 262);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, iPonteiroLocalArmazenagem) == 264);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, iPonteiroLocalTransferido) == 266);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, iPonteiroTipoDocumento) == 268);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, iPonteiroECF) == 270);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, iDataMovimento) == 272);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, iHoraMovimento) == 274);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, iDataInclusao) == 276);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, iHoraInclusao) == 278);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, iDataModificacao) == 280);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, iUsuarioInclusao) == 282);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, iUsuarioModificacao) == 284);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, iModuloQuemGerou) == 286);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, iDataQuemGerou) == 288);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, iQuantidadeContabil) == 290);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, iQtdItensComposicao) == 292);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, iQtdMovsReferencia) == 294);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, cTipoMovimento) == 296);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, cTipoEstoqueArmazenagem) == 297);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, cTipoEstoqueTransferido) == 298);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, cEstornado) == 299);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, cComposicao) == 300);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, cOrigemDocumento) == 301);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, cAtivoFixo) == 302);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, cTipoProducao) == 303);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, cFormaValorizacao) == 304);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, cQuemContabilizou) == 305);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, cValorEntradaProd) == 306);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, cTipoValor) == 307);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, cTipoGerencial) == 308);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, cAjusteAutomatico) == 309);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, cAjusteComZeramento) == 310);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, cIntegracaoES) == 311);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, pregContabil) == 312);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, pregComposicao) == 316);
static_assert(offsetof(_REG_ES_MOVIMENTOPS, pregMovReferencia) == 320);

// One accounting entry of an inventory movement, with its management entries.
struct _REG_ES_CONTABILIZACAOPS {
  CY vValor;
  int32_t lPonteiroGerencial;
  int32_t lPonteiroContaCredito;
  int32_t lPonteiroContaDebito;
  int32_t lPonteiroCompHist;
  int32_t lPonteiroContabilizacao;
  uint16_t iPonteiroHistorico;
  uint16_t iQuantidadeGerencial;
  uint8_t iCampoValor;
  uint8_t cFiller;
  char cCompHistorico[512];
  _REG_ES_GERENCIALPS* pregGerencial;  // count in iQuantidadeGerencial
};
static_assert(sizeof(_REG_ES_CONTABILIZACAOPS) == 550);
static_assert(offsetof(_REG_ES_CONTABILIZACAOPS, pregGerencial) == 546);

// One management-accounting entry.
struct _REG_ES_GERENCIALPS {
  CY vValor;
  int32_t lPonteiroContaContabil;
  int32_t lPonteiroContaGerencial;
};
static_assert(sizeof(_REG_ES_GERENCIALPS) == 16);

// One composition item of an inventory movement.
struct _REG_ES_COMPOSICAO_PRODUTOPS {
  _REG_ES_LOTEPS regLotePS;
  _REG_POSICAO_PRODUTOPS regPosProduto;
  _REG_ES_VOLUMEPS regVolumePS;
  CY vQuantidade;
  CY vQuantidadeTotal;
  int32_t lPonteiroLote;
  int32_t lPonteiroForLote;
  int32_t lPonteiroForEPTETPE;
  int32_t lPonteiroCliEPTETPE;
  int32_t lPonteiroVolume;
  uint16_t iPonteiroLocal;
  uint16_t iPonteiroLocalTransferido;
  uint16_t iPonteiroFilial;
  uint8_t cTipoProducao;
  uint8_t cTipoEstoque;
  uint8_t cCasasDecimais;
  uint8_t cStatus;
};
static_assert(sizeof(_REG_ES_COMPOSICAO_PRODUTOPS) == 112);
static_assert(offsetof(_REG_ES_COMPOSICAO_PRODUTOPS, regVolumePS) == 54);
static_assert(offsetof(_REG_ES_COMPOSICAO_PRODUTOPS, vQuantidade) == 66);
static_assert(offsetof(_REG_ES_COMPOSICAO_PRODUTOPS, vQuantidadeTotal) == 74);
static_assert(offsetof(_REG_ES_COMPOSICAO_PRODUTOPS, lPonteiroLote) == 82);
static_assert(offsetof(_REG_ES_COMPOSICAO_PRODUTOPS, lPonteiroForLote) == 86);
static_assert(offsetof(_REG_ES_COMPOSICAO_PRODUTOPS, lPonteiroForEPTETPE) == 90);
static_assert(offsetof(_REG_ES_COMPOSICAO_PRODUTOPS, lPonteiroCliEPTETPE) == 94);
static_assert(offsetof(_REG_ES_COMPOSICAO_PRODUTOPS, lPonteiroVolume) == 98);
static_assert(offsetof(_REG_ES_COMPOSICAO_PRODUTOPS, iPonteiroLocal) == 102);
static_assert(offsetof(_REG_ES_COMPOSICAO_PRODUTOPS, iPonteiroLocalTransferido) == 104);
static_assert(offsetof(_REG_ES_COMPOSICAO_PRODUTOPS, iPonteiroFilial) == 106);
static_assert(offsetof(_REG_ES_COMPOSICAO_PRODUTOPS, cTipoProducao) == 108);
static_assert(offsetof(_REG_ES_COMPOSICAO_PRODUTOPS, cTipoEstoque) == 109);
static_assert(offsetof(_REG_ES_COMPOSICAO_PRODUTOPS, cCasasDecimais) == 110);
static_assert(offsetof(_REG_ES_COMPOSICAO_PRODUTOPS, cStatus) == 111);

// One reference from an inventory movement to another.
struct _REG_ES_MOV_REFERENCIAPS {
  int32_t lPonteiroMovRef;
};
static_assert(sizeof(_REG_ES_MOV_REFERENCIAPS) == 4);

// A return from outside processing, with its stock movements, the goods in transit per processor,
// the reports of the last process and imported report keys.
struct _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS {
  CY vQuantidadeRetornada;
  CY vQuantidadeRefugo;
  uint32_t lPonteiroRegistroEntrada;
  uint32_t lPonteiroMovimentoRefugo;
  uint32_t ulChaveRetornoNFPendente;
  uint32_t ulPonteiroEncerramentoForcado;
  int32_t lPonteiroMotivoRefugo;
  uint16_t usDataRetorno;
  uint16_t usHoraRetorno;
  uint16_t usDataGravacao;
  uint16_t usHoraGravacao;
  uint16_t usPonteiroUsuarioGravacao;
  uint16_t usQtdMvtoEstoque;
  uint16_t usQtdIndustrializadores;
  uint16_t usQtdApontUltProcesso;
  uint16_t usQtdChaveApontamentoImportado;
  char szComentario[202];
  char szMotivoEncerramentoForcado[502];
  uint8_t cPossuiRefugo;
  uint8_t cEncerramentoForcado;
  uint8_t cGeraTransitoIndustrializacao;
  uint8_t cApontamentoAutomatico;
  uint8_t cFiller[8];
  _REG_ES_MOVIMENTOPS regMovimentoRefugo;
  _REG_ES_MOVIMENTOPS* pregMovimentos;  // count in usQtdMvtoEstoque
  // Count in usQtdIndustrializadores.
  _REG_PP_TRANSITO_INDUSTRIALIZADORESPS* pregIndustrializadores;
  // Count in usQtdApontUltProcesso.
  _REG_PP_APONTAMENTO_ULT_PROCESSO_RET_INDPS* pregApontUltProcesso;
  uint32_t* plistaChaveApontamentoImportado;  // count in usQtdChaveApontamentoImportado
};
static_assert(sizeof(_REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS) == 1110);
static_assert(offsetof(_REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS, regMovimentoRefugo) == 770);
static_assert(offsetof(_REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS, pregMovimentos) == 1094);
static_assert(offsetof(_REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS,
                       pregIndustrializadores) == 1098);
static_assert(offsetof(_REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS,
                       pregApontUltProcesso) == 1102);
static_assert(offsetof(_REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS,
                       plistaChaveApontamentoImportado) == 1106);

// The goods in transit at one outside processor, per order.
struct _REG_PP_TRANSITO_INDUSTRIALIZADORESPS {
  CY vQuantidadeEnviada;
  CY vCustoUnitarioTerceirizacao;
  int32_t lPonteiroIndustrializador;
  int32_t lPonteiroApontGeradoTransito;
  uint16_t usQtdOP;
  uint8_t cIniciarNovaOP;
  uint8_t cFiller[5];
  _REG_PP_TRANSITO_INDUSTRIALIZADOR_OPPS* pregOP;  // count in usQtdOP
};
static_assert(sizeof(_REG_PP_TRANSITO_INDUSTRIALIZADORESPS) == 36);

// The goods of one order in transit at an outside processor.
struct _REG_PP_TRANSITO_INDUSTRIALIZADOR_OPPS {
  CY vQuantidadeApontada;
  uint32_t ulChaveOP;
  uint32_t ulChaveApontamento;
  uint8_t cReutilizarApontamento;
  uint8_t cFiller[5];
};
static_assert(sizeof(_REG_PP_TRANSITO_INDUSTRIALIZADOR_OPPS) == 22);

// One report of the last process created by a return from outside processing.
struct _REG_PP_APONTAMENTO_ULT_PROCESSO_RET_INDPS {
  CY vQuantidade;
  uint16_t usIdxItemOP;
  uint8_t cFiller[6];
};
static_assert(sizeof(_REG_PP_APONTAMENTO_ULT_PROCESSO_RET_INDPS) == 16);

// A list of returns from outside processing.
struct _REG_VARMO_LISTA_RETORNO_IND_EXTPS {
  int32_t lQuantidade;
  _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS* pRegRetornos;  // count in lQuantidade
};
static_assert(sizeof(_REG_VARMO_LISTA_RETORNO_IND_EXTPS) == 8);
static_assert(offsetof(_REG_VARMO_LISTA_RETORNO_IND_EXTPS, pRegRetornos) == 4);

// The report of a return from outside processing (input of GravaApontamentoRetornoIndustrializacao
// and RemoveApontamentoRetornoIndustrializacao).
struct _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS {
  uint32_t ulChaveOP;
  uint32_t ulPonteiroApontamento;
  _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS regRetorno;
};
static_assert(sizeof(_REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS) == 1118);

// A list of returns waiting for their invoice.
struct _REG_PP_LISTA_APONTAMENTO_RETORNO_NF_PENDENTEPS {
  uint32_t ulQuantidade;
  _REG_PP_APONTAMENTO_RETORNO_NF_PENDENTEPS* pregRetornoPendente;  // count in ulQuantidade
};
static_assert(sizeof(_REG_PP_LISTA_APONTAMENTO_RETORNO_NF_PENDENTEPS) == 8);
static_assert(offsetof(_REG_PP_LISTA_APONTAMENTO_RETORNO_NF_PENDENTEPS, pregRetornoPendente) == 4);

// One return from outside processing that waits for its invoice.
struct _REG_PP_APONTAMENTO_RETORNO_NF_PENDENTEPS {
  CY vQuantidadeRetornada;
  uint32_t ulChaveRetornoNFPendente;
  uint32_t ulChaveApontamento;
  uint32_t ulChaveNotaFiscalSaida;
  uint32_t ulChaveOP;
  uint32_t ulChaveRemessaIndustrializacao;
  int32_t lPonteiroProcesso;
  int32_t lPonteiroIndustrializador;
  _REG_POSICAO_PRODUTOPS regPosicaoProdutoServico;
  uint16_t usDataRetorno;
  uint16_t usHoraRetorno;
  uint16_t usDataGravacao;
  uint16_t usHoraGravacao;
  uint8_t cTipoProdutoServico;
  uint8_t cFiller[9];
};
static_assert(sizeof(_REG_PP_APONTAMENTO_RETORNO_NF_PENDENTEPS) == 64);
static_assert(offsetof(_REG_PP_APONTAMENTO_RETORNO_NF_PENDENTEPS, usDataRetorno) == 46);
static_assert(offsetof(_REG_PP_APONTAMENTO_RETORNO_NF_PENDENTEPS, usHoraRetorno) == 48);
static_assert(offsetof(_REG_PP_APONTAMENTO_RETORNO_NF_PENDENTEPS, usDataGravacao) == 50);
static_assert(offsetof(_REG_PP_APONTAMENTO_RETORNO_NF_PENDENTEPS, usHoraGravacao) == 52);
static_assert(offsetof(_REG_PP_APONTAMENTO_RETORNO_NF_PENDENTEPS, cTipoProdutoServico) == 54);
static_assert(offsetof(_REG_PP_APONTAMENTO_RETORNO_NF_PENDENTEPS, cFiller) == 55);

// The link of pending returns to an invoice (input of VincularNFRetorno).
struct _REG_PP_VINCULO_RETORNO_NF_PENDENTEPS {
  uint32_t ulChaveRetornoNFPendente;
  uint32_t ulChaveRegistroEntrada;
};
static_assert(sizeof(_REG_PP_VINCULO_RETORNO_NF_PENDENTEPS) == 8);

// A list of shipments for outside processing.
struct _REG_PP_LISTA_REMESSA_INDUSTRIALIZACAOPS {
  uint32_t ulQtd;
  _REG_PP_REMESSA_INDUSTRIALIZACAOPS* pRegRemessa;  // count in ulQtd
};
static_assert(sizeof(_REG_PP_LISTA_REMESSA_INDUSTRIALIZACAOPS) == 8);
static_assert(offsetof(_REG_PP_LISTA_REMESSA_INDUSTRIALIZACAOPS, pRegRemessa) == 4);

// The filter of BuscaRemessaIndustrializacaoFiltro.
struct _REG_PP_REMESSA_FILTROPS {
  uint32_t ulChaveApontamentoOP;
  uint32_t ulChaveOP;
  uint32_t ulChaveRemessa;
  uint32_t ulChaveFaturaRemessa;
  int32_t lPonteiroClassificacao;
  int32_t lPonteiroFornecedor;
  uint16_t usPonteiroCFOP;  // pointer of the fiscal operation code
  uint16_t usPonteiroFilial;
  uint16_t usDataInicialEmissaoRemessa;
  uint16_t usHoraInicialEmissaoRemessa;
  uint16_t usDataFinalEmissaoRemessa;
  uint16_t usHoraFinalEmissaoRemessa;
  uint8_t cSomenteNaoFaturados;
  uint8_t cFiller[1];
};
static_assert(sizeof(_REG_PP_REMESSA_FILTROPS) == 38);

// One return of the invoicing module applied to a shipment (input of AtualizaRemessaFT).
struct _REG_PP_RETORNO_REMESSA_FTPS {
  uint32_t ulChaveRemessa;
  uint32_t ulChaveFaturaRemessa;
  uint8_t cStatusFaturamento;
  uint8_t cFiller[3];
};
static_assert(sizeof(_REG_PP_RETORNO_REMESSA_FTPS) == 12);

#pragma pack(pop)
