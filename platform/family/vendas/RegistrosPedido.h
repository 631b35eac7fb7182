// Records of the sales module's order server (IQVFT_Pedido) that the production module reads: a
// sales order, its items and the releases of each item to invoicing or production. They are the
// sales module's, packed on two bytes like every record of the family. This system reads only the
// fields named here (reserved arrays named after their offset stand for the rest); the server
// allocates the order record and every nested array with the COM task allocator.
//
// The sales module fixes the full length of the order record; this system knows it only up to the
// item array, so the record here ends there (2474 bytes) and is never copied whole.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com/currency.h"
#include "server/idl/VarmoRegistrosComuns.h"

#pragma pack(push, 2)

struct tagREG_ITENSPEDIDOPS;
struct tagREG_LIBERACAO_ITENS_PEDIDOPS;

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
  uint8_t cReservado524[1946];
  tagREG_ITENSPEDIDOPS* pregItens;  // count in iQtdItens
};
static_assert(sizeof(tagREG_PEDIDOPS) == 2474);
static_assert(offsetof(tagREG_PEDIDOPS, lPonteiroCliente) == 468);
static_assert(offsetof(tagREG_PEDIDOPS, iPonteiroMunicipio) == 514);
static_assert(offsetof(tagREG_PEDIDOPS, iPonteiroFilial) == 516);
static_assert(offsetof(tagREG_PEDIDOPS, iDataEmissao) == 518);
static_assert(offsetof(tagREG_PEDIDOPS, iDataEntrega) == 520);
static_assert(offsetof(tagREG_PEDIDOPS, iQtdItens) == 522);
static_assert(offsetof(tagREG_PEDIDOPS, pregItens) == 2470);

// One item of a sales order.
struct tagREG_ITENSPEDIDOPS {
  uint8_t cReservado0[48];
  _REG_POSICAO_PRODUTOPS regPosProdutoServico;
  CY vQuantidade;
  uint8_t cReservado66[72];
  CY vQuantidadeProgramada;  // quantity already programmed in production
  uint8_t cReservado146[44];
  uint16_t iQtdLiberacoes;
  uint8_t cReservado192[6];
  uint16_t iDataEntrega;  // day number
  uint8_t cReservado200[1180];
  tagREG_LIBERACAO_ITENS_PEDIDOPS* pregLiberacoes;  // count in iQtdLiberacoes
  uint8_t cReservado1384[4];
};
static_assert(sizeof(tagREG_ITENSPEDIDOPS) == 1388);
static_assert(offsetof(tagREG_ITENSPEDIDOPS, regPosProdutoServico) == 48);
static_assert(offsetof(tagREG_ITENSPEDIDOPS, vQuantidade) == 58);
static_assert(offsetof(tagREG_ITENSPEDIDOPS, vQuantidadeProgramada) == 138);
static_assert(offsetof(tagREG_ITENSPEDIDOPS, iQtdLiberacoes) == 190);
static_assert(offsetof(tagREG_ITENSPEDIDOPS, iDataEntrega) == 198);
static_assert(offsetof(tagREG_ITENSPEDIDOPS, pregLiberacoes) == 1380);

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

#pragma pack(pop)
