#include "model/CPPDadosEtiquetaEmitida.h"

template class PPDados<CPPDadosEtiquetaEmitida, _REG_PP_OP_ETIQUETA_EMITIDAPS>;
