#include "model/CPPDadosMestre.h"

template class PPDados<CPPDadosMestre, _REG_VARMO_MESTRE>;
template class PPDados<CPPDadosMestreInfApontExternoFilial,
                       _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS>;
