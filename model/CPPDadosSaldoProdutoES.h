// The product-balance query of the inventory module (ES): its filter, one balance and the list of
// balances that the query answers. The three records belong to the inventory module's interface;
// this system reads only what is named below and carries every other byte unchanged. A balance
// and the answer only arrive from the server: they have CopiarDe and no CopiarPara, and the
// answer's arrays are freed with LiberaArraysDoServidor. Pattern: PPDadosBase.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

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

#pragma pack(pop)

// The filter, built through its setters; bytes 12 to 27 stay zero unless CopiarDe brings them.
class CPPDadosFiltroSaldoProdutoES
    : public PPDados<CPPDadosFiltroSaldoProdutoES, _REG_ES_FILTRO_SALDOS_PRODUTOPS> {
 public:
  PP_CAMPO(Filial, iFilial)
  PP_CAMPO(DataFinal, iDataFinal)
  PP_CAMPO(Totalizacao, iTotalizacao)
  PP_CAMPO(ConsolGrades, lConsolGrades)
  PP_CAMPO(NivelDetalhe, iNivelDetalhe)
  PP_CAMPO(DescontarPreBaixas, lDescontarPreBaixas)
};

// One balance, exposed only whole.
class CPPDadosSaldoProdutoES
    : public PPDados<CPPDadosSaldoProdutoES, _REG_ES_SALDOS_PRODUTOSPS, PPSentido::SoCopiarDe> {
 public:
  _REG_ES_SALDOS_PRODUTOSPS GetSaldoProduto() const { return registro_; }
  void SetSaldoProduto(_REG_ES_SALDOS_PRODUTOSPS saldo) { registro_ = saldo; }
};

// The balances of one query. A count of 0 or below, or a null array, gives an empty list.
class CPPDadosListaSaldosProdutosES
    : public PPDados<CPPDadosListaSaldosProdutosES, _REG_ES_LISTA_SALDOS_PRODUTOSPS,
                     PPSentido::SoCopiarDe> {
 public:
  PP_LISTA(SaldosProdutos, CPPDadosSaldoProdutoES, lQuantidade, pregSaldos)
  PP_PARTES(SaldosProdutos)
};

extern template class PPDados<CPPDadosFiltroSaldoProdutoES, _REG_ES_FILTRO_SALDOS_PRODUTOPS>;
extern template class PPDados<CPPDadosSaldoProdutoES, _REG_ES_SALDOS_PRODUTOSPS,
                              PPSentido::SoCopiarDe>;
extern template class PPDados<CPPDadosListaSaldosProdutosES, _REG_ES_LISTA_SALDOS_PRODUTOSPS,
                              PPSentido::SoCopiarDe>;
