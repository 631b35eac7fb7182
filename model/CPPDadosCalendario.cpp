#include "model/CPPDadosCalendario.h"

template class PPDados<CPPDadosCalendario, _REG_PP_CALENDARIOPS>;
template class PPDados<CPPDadosDataCalendario, _REG_PP_DATA_CALENDARIOPS>;
