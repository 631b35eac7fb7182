#include "model/CPPDadosOcupacaoFabrica.h"

template class PPDados<CPPDadosOcupacaoFabricaOP, _REG_PP_OCUPACAO_FABRICA_OP_OUTPS>;
template class PPDados<CPPDadosOcupacaoFabricaProcesso, _REG_PP_OCUPACAO_FABRICA_PROCESSO_OUTPS>;
template class PPDados<CPPDadosOcupacaoFabrica, _REG_PP_OCUPACAO_FABRICA_OUTPS>;
