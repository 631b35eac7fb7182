#include "model/CPPDadosUnMedida.h"

template class PPDados<CPPDadosUnMedida, _REG_UNIDADES_MEDIDAPS, PPSentido::SoCopiarDe>;
template class PPDados<CPPDadosUnServico, _REG_UNIDADES_MEDIDA_SERVICOSPS, PPSentido::SoCopiarDe>;
