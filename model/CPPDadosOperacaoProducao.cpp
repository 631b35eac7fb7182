#include "model/CPPDadosOperacaoProducao.h"

template class PPDados<CPPDadosOperacaoProducao, _REG_VARMO_OPERACAO_PRODUCAOPS>;
