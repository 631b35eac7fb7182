#include "model/CPPDadosColecao.h"

template class PPDados<CPPDadosColecao, _REG_PP_COLECAOPS>;
