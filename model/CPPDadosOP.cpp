#include "model/CPPDadosOP.h"

template class PPDados<CPPDadosOPItem, _REG_VARMO_OP_ITEMPS>;
template class PPDados<CPPDadosOP, _REG_VARMO_OPPS>;
