#include "model/CPPDadosProcesso.h"

template class PPDados<CPPDadosProcessoRecurso, _REG_PP_PROCESSO_RECURSOPS>;
template class PPDados<CPPDadosProcesso, _REG_VARMO_PROCESSOPS>;
