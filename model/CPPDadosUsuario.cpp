#include "model/CPPDadosUsuario.h"

template class PPDados<CPPDadosUsuario, REGUSU_PS, PPSentido::SoCopiarDe>;
