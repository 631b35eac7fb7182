#include "model/CPPDadosPonteirosULONG.h"

template class PPDados<CPPDadosPonteirosULONG, _REG_VARMO_PONTEIROS_ULONGPS>;
