#include "model/CPPDadosLocalES.h"

template class PPDados<CPPDadosLocalES, _REG_ES_LOCAISPS, PPSentido::SoCopiarDe>;
