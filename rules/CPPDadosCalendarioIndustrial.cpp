#include "rules/CPPDadosCalendarioIndustrial.h"

template class PPDados<CPPDadosCalendarioIndustrialData, _REG_PP_DATA_CALENDARIOPS>;
template class PPDados<CPPDadosCalendarioIndustrialMesAno, PPValoresCalendarioIndustrialMesAno,
                       PPSentido::Nenhum>;
template class PPDados<CPPDadosCalendarioIndustrial, PPValoresCalendarioIndustrial, PPSentido::Nenhum>;
template class PPDados<CPPDadosCalendarioIndustrialFiltro, PPValoresCalendarioIndustrialFiltro,
                       PPSentido::Nenhum>;
template class PPDados<CPPDadosCalendarioIndustrialResposta, PPValoresCalendarioIndustrialResposta,
                       PPSentido::Nenhum>;
