// A batch of the inventory module (ES): number, manufacturing, expiry and entry dates and number
// of days. Pattern: PPDadosBase.h.
#pragma once

#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

class CPPDadosLoteES : public PPDados<CPPDadosLoteES, _REG_ES_LOTEPS> {
 public:
  PP_TEXTO(NumeroLote, cNumeroLote)
  PP_CAMPO(DataFabricacao, iDataFabricacao)
  PP_CAMPO(DataValidade, iDataValidade)
  PP_CAMPO(DataEntrada, iDataEntrada)
  PP_CAMPO(NumeroDias, iNumeroDias)
};

extern template class PPDados<CPPDadosLoteES, _REG_ES_LOTEPS>;
