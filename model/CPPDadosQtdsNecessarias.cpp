#include "model/CPPDadosQtdsNecessarias.h"

template class PPDados<CPPDadosQtdsNecessarias, _REG_VARMO_QTDS_NECESSARIASPS>;
