// The product-balance query of the inventory module (ES): its filter, one balance and the list of
// balances that the query answers. The three records belong to the inventory module's interface
// (platform/family/estoque); this system reads only what is named below and carries every other
// byte unchanged. A balance and the answer only arrive from the server: they have CopiarDe and no
// CopiarPara, and the answer's arrays are freed with LiberaArraysDoServidor. Pattern:
// PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "platform/family/estoque/RegistrosEstoque.h"

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
