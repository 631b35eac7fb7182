// Records of the inventory module's servers (ES) that the production module exchanges and that the
// module's own type library does not define: the product-balance query (its filter, one balance,
// the answer), the balance of a product position (its key and its answer), the reservations of an
// order, a stock location, a storage group, the inventory master and a branch's accounting grids.
// They are the inventory module's, packed on two bytes like every record of the family; this
// system reads only the fields named here and carries every other byte unchanged, so the unnamed
// bytes stand as reserved arrays. The movement, batch and volume records that the type library
// itself defines stay there (server/idl).
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com/currency.h"
#include "server/idl/VarmoRegistrosComuns.h"

#pragma pack(push, 2)

// The filter of the balance query.
struct _REG_ES_FILTRO_SALDOS_PRODUTOPS {
  uint16_t iFilial;  // branch (record number)
  uint16_t iDataFinal;  // balance date (day number)
  uint16_t iTotalizacao;  // totalling mode of the inventory module
  int32_t lConsolGrades;  // consolidate the grid variants of a product
  uint16_t iNivelDetalhe;  // level of detail of the answer
  uint8_t cReservado[16];  // the inventory module's
  int32_t lDescontarPreBaixas;  // deduct pre-issued quantities
};
static_assert(sizeof(_REG_ES_FILTRO_SALDOS_PRODUTOPS) == 32);
static_assert(offsetof(_REG_ES_FILTRO_SALDOS_PRODUTOPS, lConsolGrades) == 6);
static_assert(offsetof(_REG_ES_FILTRO_SALDOS_PRODUTOPS, iNivelDetalhe) == 10);
static_assert(offsetof(_REG_ES_FILTRO_SALDOS_PRODUTOPS, cReservado) == 12);
static_assert(offsetof(_REG_ES_FILTRO_SALDOS_PRODUTOPS, lDescontarPreBaixas) == 28);

// The key of a balance, and the request of the balance of a product position: the position and
// the branch always; in a request every further field that is 0 stands for any value.
struct _REG_ES_CHAVE_SALDOPS {
  _REG_POSICAO_PRODUTOPS regPosicaoProduto;
  uint16_t iPonteiroFilial;
  uint16_t iPonteiroLocalArmazenagem;
  uint8_t cTipoEstoque;
  uint8_t cReservado15;
  int32_t lPonteiroLote;
  int32_t lPonteiroForLote;
  int32_t lPonteiroForEPTETPE;
  int32_t lPonteiroCliEPTETPE;
  int32_t lPonteiroVolume;
  uint8_t cReservado36[16];  // the inventory module's
};
static_assert(sizeof(_REG_ES_CHAVE_SALDOPS) == 52);
static_assert(offsetof(_REG_ES_CHAVE_SALDOPS, iPonteiroFilial) == 10);
static_assert(offsetof(_REG_ES_CHAVE_SALDOPS, iPonteiroLocalArmazenagem) == 12);
static_assert(offsetof(_REG_ES_CHAVE_SALDOPS, cTipoEstoque) == 14);
static_assert(offsetof(_REG_ES_CHAVE_SALDOPS, lPonteiroLote) == 16);
static_assert(offsetof(_REG_ES_CHAVE_SALDOPS, lPonteiroVolume) == 32);

// The balance of a product position: what the balances matching a request add up to, by stock
// type, and what the orders hold reserved of it. The requirement rules read the balances of stock
// types 0 and 2 (at 18 and 26), the requirement report the one of type 2 and the reserved quantity
// (at 26 and 202).
struct _REG_ES_SALDO_POSICAOPS {
  _REG_POSICAO_PRODUTOPS regPosicaoProduto;
  uint16_t iPonteiroFilial;
  uint8_t cReservado12[6];  // the inventory module's
  CY vSaldoTipoEstoque0;
  CY vSaldoTipoEstoque2;
  CY vSaldoTipoEstoque[8];  // every stock type 0..7
  uint8_t cReservado98[104];  // the inventory module's
  CY vQuantidadeReservada;
  uint8_t cReservado210[66];  // the inventory module's
};
static_assert(sizeof(_REG_ES_SALDO_POSICAOPS) == 276);
static_assert(offsetof(_REG_ES_SALDO_POSICAOPS, iPonteiroFilial) == 10);
static_assert(offsetof(_REG_ES_SALDO_POSICAOPS, vSaldoTipoEstoque0) == 18);
static_assert(offsetof(_REG_ES_SALDO_POSICAOPS, vSaldoTipoEstoque2) == 26);
static_assert(offsetof(_REG_ES_SALDO_POSICAOPS, vSaldoTipoEstoque) == 34);
static_assert(offsetof(_REG_ES_SALDO_POSICAOPS, vQuantidadeReservada) == 202);

// One balance: its key, its quantity, and the unit values that the production forecasts read at
// 96 and, when that one is zero, at 104 (with the 144-byte block from 96 shown by the requirement
// report).
struct _REG_ES_SALDOS_PRODUTOSPS {
  _REG_POSICAO_PRODUTOPS regPosicaoProduto;
  uint8_t cChaveSaldo[42];  // the rest of the balance key (_REG_ES_CHAVE_SALDOPS from byte 10)
  CY vQuantidade;
  uint8_t cDadosEstoque1[36];  // the inventory module's
  CY v8ValorUnitario;
  CY v8ValorUnitarioAlternativo;
  uint8_t cDadosEstoque2[130];  // the inventory module's
};
static_assert(sizeof(_REG_ES_SALDOS_PRODUTOSPS) == 242);
static_assert(offsetof(_REG_ES_SALDOS_PRODUTOSPS, vQuantidade) == 52);
static_assert(offsetof(_REG_ES_SALDOS_PRODUTOSPS, v8ValorUnitario) == 96);
static_assert(offsetof(_REG_ES_SALDOS_PRODUTOSPS, v8ValorUnitarioAlternativo) == 104);

// The answer of the balance query.
struct _REG_ES_LISTA_SALDOS_PRODUTOSPS {
  int32_t lQuantidade;
  _REG_ES_SALDOS_PRODUTOSPS* pregSaldos;  // count in lQuantidade
};
static_assert(sizeof(_REG_ES_LISTA_SALDOS_PRODUTOSPS) == 8);
static_assert(offsetof(_REG_ES_LISTA_SALDOS_PRODUTOSPS, pregSaldos) == 4);

// A stock location (local de armazenagem). Texts are zero-terminated in their arrays.
struct _REG_ES_LOCAISPS {
  char szCodigo[12];
  char szNome[52];
  char szClassificacao[30];
  uint8_t cTipo;
  uint8_t cConsumoProprio;
  uint8_t cExpedicao;
  uint8_t cEPT;
  uint8_t cETPE;
  uint8_t cInativo;
  uint8_t cLocalExclusivo;
  uint8_t cReservado101[5];  // the inventory module's
  int32_t lPonteiroContaEstoque;  // ledger account of the stock
  int32_t lPonteiroContaCusto;  // ledger account of the cost
  int32_t lPosicao;  // the location's record number
  uint8_t cReservado118[30];  // the inventory module's
};
static_assert(sizeof(_REG_ES_LOCAISPS) == 148);
static_assert(offsetof(_REG_ES_LOCAISPS, szNome) == 12);
static_assert(offsetof(_REG_ES_LOCAISPS, szClassificacao) == 64);
static_assert(offsetof(_REG_ES_LOCAISPS, cTipo) == 94);
static_assert(offsetof(_REG_ES_LOCAISPS, cConsumoProprio) == 95);
static_assert(offsetof(_REG_ES_LOCAISPS, cLocalExclusivo) == 100);
static_assert(offsetof(_REG_ES_LOCAISPS, lPonteiroContaEstoque) == 106);
static_assert(offsetof(_REG_ES_LOCAISPS, lPonteiroContaCusto) == 110);
static_assert(offsetof(_REG_ES_LOCAISPS, lPosicao) == 114);

// One reservation of an order's input.
struct _REG_ES_RESERVAPS {
  _REG_POSICAO_PRODUTOPS regPosicaoProduto;
  CY vQuantidade;
  int32_t lPonteiroLote;
  int32_t lPonteiroForLote;
  int32_t lReservado26;
  int32_t lPonteiroVolume;
  int32_t lPonteiroForEPTETPE;
  int32_t lPonteiroCliEPTETPE;
  uint16_t iPonteiroLocalArmazenagem;
  uint16_t iReservado44;
  uint16_t iIndiceProcesso;  // the process's place in the order
  uint16_t iReservado48;
  uint8_t cTipoProducao;
  uint8_t cTipoEstoque;
  uint16_t iReservado52;
};
static_assert(sizeof(_REG_ES_RESERVAPS) == 54);
static_assert(offsetof(_REG_ES_RESERVAPS, vQuantidade) == 10);
static_assert(offsetof(_REG_ES_RESERVAPS, lPonteiroLote) == 18);
static_assert(offsetof(_REG_ES_RESERVAPS, lPonteiroForLote) == 22);
static_assert(offsetof(_REG_ES_RESERVAPS, lPonteiroVolume) == 30);
static_assert(offsetof(_REG_ES_RESERVAPS, lPonteiroForEPTETPE) == 34);
static_assert(offsetof(_REG_ES_RESERVAPS, lPonteiroCliEPTETPE) == 38);
static_assert(offsetof(_REG_ES_RESERVAPS, iPonteiroLocalArmazenagem) == 42);
static_assert(offsetof(_REG_ES_RESERVAPS, iIndiceProcesso) == 46);
static_assert(offsetof(_REG_ES_RESERVAPS, cTipoProducao) == 50);
static_assert(offsetof(_REG_ES_RESERVAPS, cTipoEstoque) == 51);

// The inventory master settings; the valuation of entries reads its method at 84.
struct _REG_ES_MESTREPS {
  uint8_t cReservado0[84];  // the inventory module's
  uint8_t cFormaValorizacao;
  uint8_t cReservado85[19];  // the inventory module's
};
static_assert(sizeof(_REG_ES_MESTREPS) == 104);
static_assert(offsetof(_REG_ES_MESTREPS, cFormaValorizacao) == 84);

// A branch's accounting grids: one grid code per kind of movement, at 2 .. 32.
struct _REG_ES_GRADES_CONTABILIZACAOPS {
  uint16_t iPonteiroFilial;
  uint16_t iGrade[16];
};
static_assert(sizeof(_REG_ES_GRADES_CONTABILIZACAOPS) == 34);

// A storage group, found by the classification of its locations (the text before its first ".").
struct _REG_ES_GRUPO_ARMAZENAGEMPS {
  int32_t lPosicao;
  uint16_t iPonteiroFilial;  // the group's branch
  char szCodigo[30];
};
static_assert(sizeof(_REG_ES_GRUPO_ARMAZENAGEMPS) == 36);
static_assert(offsetof(_REG_ES_GRUPO_ARMAZENAGEMPS, iPonteiroFilial) == 4);

#pragma pack(pop)
