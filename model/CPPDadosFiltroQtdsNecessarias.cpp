#include "model/CPPDadosFiltroQtdsNecessarias.h"

template class PPDados<CPPDadosFiltroQtdsNecessarias, _REG_PP_FILTRO_QTDS_NECESSARIASPS>;
