#include "model/CPPDadosNotaFiscalFT.h"

template class PPDados<CPPDadosNotaFiscalFT, tagREG_NOTA_LIGHTPS, PPSentido::SoCopiarDe>;
