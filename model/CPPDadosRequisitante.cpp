#include "model/CPPDadosRequisitante.h"

template class PPDados<CPPDadosRequisitante, tagREG_REQUERENTEPS, PPSentido::SoCopiarDe>;
