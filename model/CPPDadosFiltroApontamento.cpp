#include "model/CPPDadosFiltroApontamento.h"

template class PPDados<CPPDadosFiltroApontamento, _REG_VARMO_FILTRO_APONTAMENTOPS>;
template class PPDados<CPPDadosFiltroApontamentoRecurso, _REG_PP_FILTRO_APONTAMENTO_RECURSOPS>;
