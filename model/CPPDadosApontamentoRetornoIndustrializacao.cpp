#include "model/CPPDadosApontamentoRetornoIndustrializacao.h"

template class PPDados<CPPDadosApontamentoRetornoIndustrializacao,
                       _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS>;
