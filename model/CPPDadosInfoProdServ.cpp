#include "model/CPPDadosInfoProdServ.h"

template class PPDados<CPPDadosInfoProdServ, PPValoresInfoProdServ, PPSentido::Nenhum>;
