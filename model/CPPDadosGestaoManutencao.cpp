#include "model/CPPDadosGestaoManutencao.h"

template class PPDados<CPPDadosGestaoManutencaoComponente, _REG_PP_MANUTENCAO_COMPONENTEPS>;
template class PPDados<CPPDadosGestaoManutencao, _REG_PP_MANUTENCAOPS>;
