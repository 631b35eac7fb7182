#include "model/CPPDadosRemessaIndustrializacao.h"

template class PPDados<CPPDadosRemessaInsumo, _REG_PP_REMESSA_INSUMOPS>;
template class PPDados<CPPDadosRemessaIndustrializacao, _REG_PP_REMESSA_INDUSTRIALIZACAOPS>;
