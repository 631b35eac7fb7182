#include "model/CPPDadosFilial.h"

template class PPDados<CPPDadosFilial, __MIDL___MIDL_itf_Brisel_0000_0003, PPSentido::SoCopiarDe>;
