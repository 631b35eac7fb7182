// One line of the required-quantities query: balance to produce, orders, requirements, stock and
// complement of one product. Pattern: PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

class CPPDadosQtdsNecessarias
    : public PPDados<CPPDadosQtdsNecessarias, _REG_VARMO_QTDS_NECESSARIASPS> {
 public:
  PP_CAMPO(PosicaoProduto, regPosicaoProduto)
  PP_CAMPO(PonteiroColecao, lPonteiroColecao)
  PP_CAMPO(Filial, usFilial)
  PP_CAMPO(SaldoProduzir, vSaldoProduzir)
  PP_CAMPO(SaldoProduzirComQuebra, vSaldoProduzirComQuebra)
  PP_CAMPO(QuantidadePedidos, vQuantidadePedidos)
  PP_CAMPO(QuantidadeNecessidadeProducao, vQuantidadeNecessidadeProducao)
  PP_CAMPO(QuantidadeEstoque, vQuantidadeEstoque)
  PP_CAMPO(QuantidadeComplemento, vQuantidadeComplemento)
};

extern template class PPDados<CPPDadosQtdsNecessarias, _REG_VARMO_QTDS_NECESSARIASPS>;
