#include "model/CPPDadosCategoria.h"

template class PPDados<CPPDadosCategoria, _REG_CATEGORIAS_PS, PPSentido::SoCopiarDe>;
