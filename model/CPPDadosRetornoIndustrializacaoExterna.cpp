#include "model/CPPDadosRetornoIndustrializacaoExterna.h"

template class PPDados<CPPDadosTransitoIndustrializadorOP, _REG_PP_TRANSITO_INDUSTRIALIZADOR_OPPS>;
template class PPDados<CPPDadosTransitoIndustrializador, _REG_PP_TRANSITO_INDUSTRIALIZADORESPS>;
template class PPDados<CPPDadosApontamentoUltProcessoRetInd,
                       _REG_PP_APONTAMENTO_ULT_PROCESSO_RET_INDPS>;
template class PPDados<CPPDadosRetornoIndustrializacaoExterna,
                       _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS>;
