#include "model/CPPDadosMunicipio.h"

template class PPDados<CPPDadosMunicipio, _REG_MUNICIPIO_PS, PPSentido::SoCopiarDe>;
