// Records of the sales module's order server (IQVFT_Pedido) that the production module reads and
// sends: a sales order, its items and the releases of each item to invoicing or production; the
// programmed-quantity differences, the item release, and the filter and period of the order search.
// They are the sales module's, packed on two bytes like every record of the family. This system
// reads only the fields named here (reserved arrays named after their offset stand for the rest).
//
// The server allocates the order record and every nested array with the COM task allocator; the
// reader frees them all (LiberaRegistroPedidoFT) and then the record. Besides the items and their
// releases, an order and each item carry arrays of the sales module's own that this system never
// reads but must free: a complement block (the order's behind a flag byte, the item's behind its
// pointer alone) and a list of 32-byte details, each with an array of its own at 28.
//
// The sales module fixes the full length of the order record; this system knows it up to the
// detail array, so the record here ends there (2482 bytes) and is never copied whole.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com/currency.h"
#include "server/idl/VarmoRegistrosComuns.h"

#pragma pack(push, 2)

struct tagREG_ITENSPEDIDOPS;
struct tagREG_LIBERACAO_ITENS_PEDIDOPS;

// A detail of an order or of an item: the sales module's, with an array of its own.
struct tagREG_DETALHE_PEDIDOPS {
  uint8_t cReservado0[28];
  uint8_t* pDados;  // null when the detail has none
};
static_assert(sizeof(tagREG_DETALHE_PEDIDOPS) == 32);
static_assert(offsetof(tagREG_DETALHE_PEDIDOPS, pDados) == 28);

// A sales order.
struct tagREG_PEDIDOPS {
  uint8_t cReservado0[468];
  int32_t lPonteiroCliente;
  uint8_t cReservado472[42];
  uint16_t iPonteiroMunicipio;
  uint16_t iPonteiroFilial;
  uint16_t iDataEmissao;  // day number
  uint16_t iDataEntrega;  // day number
  uint16_t iQtdItens;
  uint16_t iQtdDetalhes;
  uint8_t cReservado526[106];
  char szOrdemCompraCliente[52];  // the client's purchase order
  uint8_t cReservado684[1512];
  uint8_t cPossuiComplemento;  // not 0: pComplemento holds the order's complement
  uint8_t cReservado2197[273];
  tagREG_ITENSPEDIDOPS* pregItens;  // count in iQtdItens
  uint8_t* pComplemento;
  tagREG_DETALHE_PEDIDOPS* pregDetalhes;  // count in iQtdDetalhes
};
static_assert(sizeof(tagREG_PEDIDOPS) == 2482);
static_assert(offsetof(tagREG_PEDIDOPS, lPonteiroCliente) == 468);
static_assert(offsetof(tagREG_PEDIDOPS, iPonteiroMunicipio) == 514);
static_assert(offsetof(tagREG_PEDIDOPS, iPonteiroFilial) == 516);
static_assert(offsetof(tagREG_PEDIDOPS, iDataEmissao) == 518);
static_assert(offsetof(tagREG_PEDIDOPS, iDataEntrega) == 520);
static_assert(offsetof(tagREG_PEDIDOPS, iQtdItens) == 522);
static_assert(offsetof(tagREG_PEDIDOPS, iQtdDetalhes) == 524);
static_assert(offsetof(tagREG_PEDIDOPS, szOrdemCompraCliente) == 632);
static_assert(offsetof(tagREG_PEDIDOPS, cPossuiComplemento) == 2196);
static_assert(offsetof(tagREG_PEDIDOPS, pregItens) == 2470);
static_assert(offsetof(tagREG_PEDIDOPS, pComplemento) == 2474);
static_assert(offsetof(tagREG_PEDIDOPS, pregDetalhes) == 2478);

// One item of a sales order. What production still owes the item is vQuantidade less the three
// quantities that it no longer asks for: served, cancelled and already programmed.
struct tagREG_ITENSPEDIDOPS {
  uint8_t cReservado0[48];
  _REG_POSICAO_PRODUTOPS regPosProdutoServico;
  CY vQuantidade;
  uint8_t cReservado66[48];
  CY vQuantidadeAtendida;
  CY vQuantidadeCancelada;
  uint8_t cReservado130[8];
  CY vQuantidadeProgramada;  // quantity already programmed in production
  uint8_t cReservado146[42];
  uint16_t iQtdDetalhes;
  uint16_t iQtdLiberacoes;
  uint8_t cReservado192[6];
  uint16_t iDataEntrega;  // day number
  uint8_t cReservado200[1065];
  uint8_t cEncerrado;  // not 0: production takes no more of the item
  uint8_t cReservado1266[110];
  tagREG_DETALHE_PEDIDOPS* pregDetalhes;             // count in iQtdDetalhes
  tagREG_LIBERACAO_ITENS_PEDIDOPS* pregLiberacoes;  // count in iQtdLiberacoes
  uint8_t* pComplemento;                            // null when the item has none
};
static_assert(sizeof(tagREG_ITENSPEDIDOPS) == 1388);
static_assert(offsetof(tagREG_ITENSPEDIDOPS, regPosProdutoServico) == 48);
static_assert(offsetof(tagREG_ITENSPEDIDOPS, vQuantidade) == 58);
static_assert(offsetof(tagREG_ITENSPEDIDOPS, vQuantidadeAtendida) == 114);
static_assert(offsetof(tagREG_ITENSPEDIDOPS, vQuantidadeCancelada) == 122);
static_assert(offsetof(tagREG_ITENSPEDIDOPS, vQuantidadeProgramada) == 138);
static_assert(offsetof(tagREG_ITENSPEDIDOPS, iQtdDetalhes) == 188);
static_assert(offsetof(tagREG_ITENSPEDIDOPS, iQtdLiberacoes) == 190);
static_assert(offsetof(tagREG_ITENSPEDIDOPS, iDataEntrega) == 198);
static_assert(offsetof(tagREG_ITENSPEDIDOPS, cEncerrado) == 1265);
static_assert(offsetof(tagREG_ITENSPEDIDOPS, pregDetalhes) == 1376);
static_assert(offsetof(tagREG_ITENSPEDIDOPS, pregLiberacoes) == 1380);
static_assert(offsetof(tagREG_ITENSPEDIDOPS, pComplemento) == 1384);

// One release of an item: to invoicing or to a production order.
struct tagREG_LIBERACAO_ITENS_PEDIDOPS {
  CY vQuantidade;
  uint32_t ulChaveFaturamento;
  uint8_t cReservado12[4];
  uint32_t ulChaveOP;  // the production order released for the item
  uint8_t cReservado20[35];
  uint8_t cFaturado;
  uint8_t cReservado56[24];
};
static_assert(sizeof(tagREG_LIBERACAO_ITENS_PEDIDOPS) == 80);
static_assert(offsetof(tagREG_LIBERACAO_ITENS_PEDIDOPS, ulChaveFaturamento) == 8);
static_assert(offsetof(tagREG_LIBERACAO_ITENS_PEDIDOPS, ulChaveOP) == 16);
static_assert(offsetof(tagREG_LIBERACAO_ITENS_PEDIDOPS, cFaturado) == 55);

// A change of an item's programmed quantity: positive when production takes more of the item,
// negative when it gives some back.
struct tagREG_DIFERENCA_QTD_PEDIDOPS {
  CY vQuantidade;
  uint32_t lPonteiroPedido;  // the order's key
  uint16_t usIdxItemPedido;  // the item's place in the order, from 0
  uint8_t cReservado14[10];  // zero
};
static_assert(sizeof(tagREG_DIFERENCA_QTD_PEDIDOPS) == 24);
static_assert(offsetof(tagREG_DIFERENCA_QTD_PEDIDOPS, lPonteiroPedido) == 8);
static_assert(offsetof(tagREG_DIFERENCA_QTD_PEDIDOPS, usIdxItemPedido) == 12);

// A production entry that releases an item to the sales module, or the reversal of one. The
// batch, volume, supplier, client and storage fields describe the entry movement; the sales module
// keeps them with the release.
struct tagREG_LIBERA_ITEM_PEDIDOPS {
  CY vQuantidade;
  uint32_t lPonteiroPedido;  // the order's key
  uint8_t cReservado12[4];   // zero
  uint32_t ulChaveOP;        // the production order that made the quantity
  int32_t lPonteiroLote;
  int32_t lPonteiroVolume;
  int32_t lPonteiroForLote;
  int32_t lPonteiroCliEPTETPE;
  int32_t lPonteiroForEPTETPE;
  uint16_t iPonteiroLocalArmazenagem;
  uint8_t cReservado42[2];
  uint16_t usIdxItemPedido;  // the item's place in the order, from 0
  uint8_t cTipoProducao;
  uint8_t cTipoEstoqueArmazenagem;
  uint8_t cReservado48[2];
  uint8_t cEstorno;  // 1: reverse an earlier release
  uint8_t cReservado51[13];
};
static_assert(sizeof(tagREG_LIBERA_ITEM_PEDIDOPS) == 64);
static_assert(offsetof(tagREG_LIBERA_ITEM_PEDIDOPS, lPonteiroPedido) == 8);
static_assert(offsetof(tagREG_LIBERA_ITEM_PEDIDOPS, ulChaveOP) == 16);
static_assert(offsetof(tagREG_LIBERA_ITEM_PEDIDOPS, lPonteiroForEPTETPE) == 36);
static_assert(offsetof(tagREG_LIBERA_ITEM_PEDIDOPS, iPonteiroLocalArmazenagem) == 40);
static_assert(offsetof(tagREG_LIBERA_ITEM_PEDIDOPS, usIdxItemPedido) == 44);
static_assert(offsetof(tagREG_LIBERA_ITEM_PEDIDOPS, cTipoProducao) == 46);
static_assert(offsetof(tagREG_LIBERA_ITEM_PEDIDOPS, cTipoEstoqueArmazenagem) == 47);
static_assert(offsetof(tagREG_LIBERA_ITEM_PEDIDOPS, cEstorno) == 50);

// The order search's filter. A field at 0 leaves its condition out. The eight state bytes choose
// among the sales module's order states, which the stand-in does not keep.
struct tagREG_FILTRO_PEDIDOPS {
  uint8_t cReservado0[40];
  int32_t lPonteiroProduto;  // orders with an item of this product
  uint8_t cReservado44[4];
  int32_t lPonteiroCliente;
  uint8_t cReservado52[40];
  uint16_t iDataEmissaoInicial;  // day numbers
  uint16_t iDataEmissaoFinal;
  uint8_t cReservado96[4];
  uint16_t iPonteiroItemGrade1;  // with the product: the item's grid items
  uint16_t iPonteiroItemGrade2;
  uint16_t iPonteiroItemGrade3;
  uint8_t cReservado106[172];
  uint8_t cSituacoes[8];
  uint8_t cReservado286[44];
};
static_assert(sizeof(tagREG_FILTRO_PEDIDOPS) == 330);
static_assert(offsetof(tagREG_FILTRO_PEDIDOPS, lPonteiroProduto) == 40);
static_assert(offsetof(tagREG_FILTRO_PEDIDOPS, lPonteiroCliente) == 48);
static_assert(offsetof(tagREG_FILTRO_PEDIDOPS, iDataEmissaoInicial) == 92);
static_assert(offsetof(tagREG_FILTRO_PEDIDOPS, iDataEmissaoFinal) == 94);
static_assert(offsetof(tagREG_FILTRO_PEDIDOPS, iPonteiroItemGrade1) == 100);
static_assert(offsetof(tagREG_FILTRO_PEDIDOPS, iPonteiroItemGrade3) == 104);
static_assert(offsetof(tagREG_FILTRO_PEDIDOPS, cSituacoes) == 278);

// The period of the order search: the production module's open period.
struct tagREG_PERIODO_PEDIDOPS {
  uint16_t iDataInicial;  // day numbers
  uint16_t iDataFinal;
  uint8_t cReservado4[2];
  uint16_t iTipo;  // 1: orders up to the period's last day
  uint8_t cReservado8[8];
};
static_assert(sizeof(tagREG_PERIODO_PEDIDOPS) == 16);
static_assert(offsetof(tagREG_PERIODO_PEDIDOPS, iDataFinal) == 2);
static_assert(offsetof(tagREG_PERIODO_PEDIDOPS, iTipo) == 6);

#pragma pack(pop)

// Frees every array that a read order reaches, in the order that the sales module's reader
// follows: the complement (its flag set to 0), each detail's array and the details, then for each
// item its details' arrays, its details, releases and complement, and the items. Each freed
// pointer is left null and its count 0, so a second call frees nothing; a null array is skipped.
// The record itself stays the caller's (CoTaskMemFree). A null record does nothing.
void LiberaRegistroPedidoFT(tagREG_PEDIDOPS* pedido);
