#include "model/CPPDadosFluxo.h"

template class PPDados<CPPDadosFluxoProcesso, _REG_VARMO_FLUXO_PROCESSOPS>;
template class PPDados<CPPDadosFluxo, _REG_VARMO_FLUXOPS>;
