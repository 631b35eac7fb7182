// The filter of the required-quantities query of the production-order interface. Pattern:
// PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

class CPPDadosFiltroQtdsNecessarias
    : public PPDados<CPPDadosFiltroQtdsNecessarias, _REG_PP_FILTRO_QTDS_NECESSARIASPS> {
 public:
  PP_CAMPO(PosicaoProduto, regPosicaoProduto)
  PP_CAMPO(PonteiroCliente, lPonteiroCliente)
  PP_CAMPO(PonteiroColecao, lPonteiroColecao)
  PP_CAMPO(DataEmissaoInicial, usDataEmissaoInicial)
  PP_CAMPO(DataEmissaoFinal, usDataEmissaoFinal)
  PP_CAMPO(LerPedidos, cLerPedidos)
  PP_CAMPO(LerNecessidades, cLerNecessidades)
  PP_CAMPO(SepararColecoes, cSepararColecoes)
};

extern template class PPDados<CPPDadosFiltroQtdsNecessarias, _REG_PP_FILTRO_QTDS_NECESSARIASPS>;
