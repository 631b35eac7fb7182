#include "model/CPPDadosOPProcessoApontamento.h"

template class PPDados<CPPDadosOPProcessoApontamento, _REG_VARMO_OP_APONTAMENTO>;
