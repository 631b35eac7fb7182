#include "model/CPPDadosNotaFiscalRE.h"

template class PPDados<CPPDadosNotaFiscalRE, tagREG_ENTRADA_LIGHTPS, PPSentido::SoCopiarDe>;
