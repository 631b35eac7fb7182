#include "model/CPPDadosMotivoRefugo.h"

template class PPDados<CPPDadosMotivoRefugo, _REG_PP_MOTIVO_REFUGOPS>;
