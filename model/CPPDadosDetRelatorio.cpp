#include "model/CPPDadosDetRelatorio.h"

template class PPDados<CPPDadosDetRelatorioNecessidade, _REG_PP_DET_RELATORIO_NECESSIDADEPS>;
template class PPDados<CPPDadosDetRelatorioAcompanhamento, _REG_PP_DET_RELATORIO_ACOMPANHAMENTOPS>;
template class PPDados<CPPDadosDetRelatorioDemanda, _REG_PP_DET_RELATORIO_DEMANDAPS>;
template class PPDados<CPPDadosDetRelatorioProdutoSemFicha,
                       _REG_PP_DET_RELATORIO_PRODUTO_SEM_FICHAPS>;
template class PPDados<CPPDadosDetRelatorioFichaTecnica, _REG_PP_DET_RELATORIO_FICHA_TECNICAPS>;
template class PPDados<CPPDadosDetRelatorioProgramadoXProduzido,
                       _REG_PP_DET_RELATORIO_PROG_X_PRODPS>;
template class PPDados<CPPDadosDetRelatorioPerdas, _REG_PP_DET_RELATORIO_PERDASPS>;
template class PPDados<CPPDadosDetRelatorioCustoProducao, _REG_PP_DET_RELATORIO_CUSTO_PRODUCAOPS>;
template class PPDados<CPPDadosDetRelatorioCapacidadeProduto,
                       _REG_PP_DET_RELATORIO_CAPACIDADE_PRODUTOPS>;
template class PPDados<CPPDadosDetRelatorioCapacidade, _REG_PP_DET_RELATORIO_CAPACIDADEPS>;
template class PPDados<CPPDadosDetRelatorioRegistroHoras, _REG_PP_DET_RELATORIO_REGISTRO_HORASPS>;
template class PPDados<CPPDadosDetRelatorioCapacidadeRecursos,
                       _REG_PP_DET_RELATORIO_CAPACIDADE_RECURSOPS>;
template class PPDados<CPPDadosDetRelatorioGestaoManutencao,
                       _REG_PP_DET_RELATORIO_GESTAO_MANUTENCAOPS>;
template class PPDados<CPPDadosDetRelatorioCustoProjeto, _REG_PP_DET_RELATORIO_CUSTO_PROJETOPS>;
template class PPDados<CPPDadosDetRelatorioResumoIndustrializador,
                       _REG_PP_DET_RELATORIO_RESUMO_INDUSTRIALIZADORPS>;
template class PPDados<CPPDadosDetRelatorioInsumoPorOP, _REG_PP_DET_RELATORIO_INSUMO_POR_OPPS>;
template class PPDados<CPPDadosDetRelatorioEncerramentoForcado,
                       _REG_PP_DET_RELATORIO_ENCERRAMENTO_FORCADOPS>;
template class PPDados<CPPDadosDetRelatorioAcompanhamentoPedNec,
                       _REG_PP_DET_RELATORIO_ACOMPANHAMENTO_PED_NECPS>;
