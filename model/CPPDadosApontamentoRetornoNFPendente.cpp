#include "model/CPPDadosApontamentoRetornoNFPendente.h"

template class PPDados<CPPDadosApontamentoRetornoNFPendente,
                       _REG_PP_APONTAMENTO_RETORNO_NF_PENDENTEPS>;
