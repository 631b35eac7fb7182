#include "model/CPPDadosNecessidade.h"

template class PPDados<CPPDadosNecessidade, _REG_VARMO_OP_NECESSIDADE>;
