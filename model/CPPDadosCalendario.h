// A production calendar and one date of a calendar (its percentage and kind of day). Pattern:
// PPDadosBase.h.
//
// Clearing is the pattern's, base part included: the base part (TQVBaseParaDados) holds nothing,
// so clearing one of these objects zeroes its record copy and changes nothing else.
#pragma once

#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

class CPPDadosCalendario : public PPDados<CPPDadosCalendario, _REG_PP_CALENDARIOPS> {
 public:
  PP_CAMPO(Posicao, lPosicao)
  PP_TEXTO(Nome, szNome)
};

class CPPDadosDataCalendario : public PPDados<CPPDadosDataCalendario, _REG_PP_DATA_CALENDARIOPS> {
 public:
  PP_CAMPO(Percentual, usPercentual)
  PP_CAMPO(Data, usData)
  PP_CAMPO(TipoData, cTipoData)
};

extern template class PPDados<CPPDadosCalendario, _REG_PP_CALENDARIOPS>;
extern template class PPDados<CPPDadosDataCalendario, _REG_PP_DATA_CALENDARIOPS>;
