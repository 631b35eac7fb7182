#include "model/CPPDadosPlanoDF.h"

template class PPDados<CPPDadosPlanoDF, _RegContaPS, PPSentido::SoCopiarDe>;
