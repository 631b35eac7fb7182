// A production calendar and one date of a calendar (its percentage and kind of day). Pattern:
// PPDadosBase.h.
//
// The original clearing of these two classes skipped the base part's clearing; that part holds
// nothing here (TQVBaseParaDados), so clearing through the pattern is the same.
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
