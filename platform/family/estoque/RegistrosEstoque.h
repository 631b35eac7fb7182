// Records of the inventory module's servers (ES) that the production module exchanges and that the
// module's own type library does not define: the product-balance query (its filter, one balance,
// the answer) and a stock location. They are the inventory module's, packed on two bytes like every
// record of the family; this system reads only the fields named here and carries every other byte
// unchanged, so the unnamed bytes stand as reserved arrays. The movement, batch and volume records
// that the type library itself defines stay there (server/idl).
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

// One balance. Its first 52 bytes are the balance key, opened by the product position; the
// production forecasts read the unit value at 96 and, when that one is zero, the one at 104.
struct _REG_ES_SALDOS_PRODUTOSPS {
  _REG_POSICAO_PRODUTOPS regPosicaoProduto;
  uint8_t cDadosEstoque1[86];  // the inventory module's
  CY v8ValorUnitario;
  CY v8ValorUnitarioAlternativo;
  uint8_t cDadosEstoque2[130];  // the inventory module's
};
static_assert(sizeof(_REG_ES_SALDOS_PRODUTOSPS) == 242);
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

#pragma pack(pop)
