#include "model/CPPDadosApontamentoRecurso.h"

template class PPDados<CPPDadosApontamentoRecursoOperacaoContador,
                       _REG_PP_APONTAMENTO_RECURSO_OPERACAO_CONTADORPS>;
template class PPDados<CPPDadosApontamentoRecursoOperacaoQuantidade,
                       _REG_PP_APONTAMENTO_RECURSO_OPERACAO_QUANTIDADEPS>;
template class PPDados<CPPDadosApontamentoRecursoOperacaoIntervalo,
                       _REG_PP_APONTAMENTO_RECURSO_OPERACAO_INTERVALOPS>;
template class PPDados<CPPDadosApontamentoRecursoOperacaoDetalhe,
                       _REG_PP_APONTAMENTO_RECURSO_OPERACAO_DETALHEPS>;
template class PPDados<CPPDadosApontamentoRecursoOperacao, _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS>;
template class PPDados<CPPDadosApontamentoRecurso, _REG_PP_APONTAMENTO_RECURSOPS>;
template class PPDados<CPPDadosResumoApontamentoRecurso, _REG_PP_RESUMO_APONTAMENTO_RECURSOPS>;
