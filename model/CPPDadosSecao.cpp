#include "model/CPPDadosSecao.h"

template class PPDados<CPPDadosSecao, _REG_PP_SECAOPS>;
