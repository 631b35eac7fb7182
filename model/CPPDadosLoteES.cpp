#include "model/CPPDadosLoteES.h"

template class PPDados<CPPDadosLoteES, _REG_ES_LOTEPS>;
