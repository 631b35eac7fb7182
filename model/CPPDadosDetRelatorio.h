// The request details of the module's reports: one class per detail record of the reports
// interface (the selection of one report: period, branch, product or service, order type, flow,
// project and the report's own flags). A caller fills a request field by field and produces the
// record with CopiarPara; each report handler of the server reads the record it receives with
// CopiarDe and the selection through the getters. Every class has a Get/Set pair per record field
// except the fillers; the capacity request holds its products as a list (ProdutoServico), and the
// input-by-order request holds its orders and processes as two embedded number lists (ListaOP,
// ListaProcesso) instead of field accessors. Pattern and ownership: PPDadosBase.h.
#pragma once

#include "model/CPPDadosPonteirosULONG.h"
#include "model/PPDadosBase.h"
#include "server/idl/Varmo.h"

class CPPDadosDetRelatorioNecessidade
    : public PPDados<CPPDadosDetRelatorioNecessidade, _REG_PP_DET_RELATORIO_NECESSIDADEPS> {
 public:
  PP_CAMPO(PosicaoProduto, regPosicaoProduto)
  PP_CAMPO(PonteiroFilial, usPonteiroFilial)
  PP_CAMPO(DataEmissaoInicial, usDataEmissaoInicial)
  PP_CAMPO(DataEmissaoFinal, usDataEmissaoFinal)
  PP_CAMPO_COMO(char, NecessidadePendente, cNecessidadePendente)
  PP_CAMPO_COMO(char, NecessidadeProgramada, cNecessidadeProgramada)
  PP_CAMPO_COMO(char, NecessidadeAtendida, cNecessidadeAtendida)
  PP_CAMPO_COMO(char, NecessidadeCancelada, cNecessidadeCancelada)
  PP_CAMPO_COMO(char, NecessidadeAgrupada, cNecessidadeAgrupada)
  PP_CAMPO(OrigemNecessidade, cOrigemNecessidade)
};

class CPPDadosDetRelatorioAcompanhamento
    : public PPDados<CPPDadosDetRelatorioAcompanhamento, _REG_PP_DET_RELATORIO_ACOMPANHAMENTOPS> {
 public:
  PP_CAMPO(PosicaoProdutoServico, regPosicaoProdutoServico)
  PP_CAMPO(PonteiroProjeto, lPonteiroProjeto)
  PP_CAMPO(PonteiroTipoOP, lPonteiroTipoOP)
  PP_CAMPO(PonteiroProcesso, lPonteiroProcesso)
  PP_CAMPO(PonteiroFluxoProcesso, lPonteiroFluxoProcesso)
  PP_CAMPO(PonteiroFilial, usPonteiroFilial)
  PP_CAMPO(DataEmissaoInicial, usDataEmissaoInicial)
  PP_CAMPO(DataEmissaoFinal, usDataEmissaoFinal)
  PP_CAMPO(OPNaoIniciada, cOPNaoIniciada)
  PP_CAMPO(OPIniciada, cOPIniciada)
  PP_CAMPO(OPSuspensa, cOPSuspensa)
  PP_CAMPO(OPInterrompida, cOPInterrompida)
  PP_CAMPO(OPConcluida, cOPConcluida)
  PP_CAMPO(OPCancelada, cOPCancelada)
  PP_CAMPO(TipoProdutoServico, cTipoProdutoServico)
  PP_CAMPO(FiltroProdutos, cFiltroProdutos)
  PP_CAMPO(FiltroServicos, cFiltroServicos)
};

class CPPDadosDetRelatorioDemanda
    : public PPDados<CPPDadosDetRelatorioDemanda, _REG_PP_DET_RELATORIO_DEMANDAPS> {
 public:
  PP_CAMPO(PosicaoProduto, regPosicaoProduto)
  PP_CAMPO(PonteiroColecao, lPonteiroColecao)
  PP_CAMPO(PonteiroCliente, lPonteiroCliente)
  PP_CAMPO(DataEmissaoInicial, usDataEmissaoInicial)
  PP_CAMPO(DataEmissaoFinal, usDataEmissaoFinal)
  PP_CAMPO_COMO(char, Pedido, cPedido)
  PP_CAMPO_COMO(char, Necessidade, cNecessidade)
  PP_CAMPO(BaseNosInsumos, cBaseNosInsumos)
};

class CPPDadosDetRelatorioProdutoSemFicha
    : public PPDados<CPPDadosDetRelatorioProdutoSemFicha,
                     _REG_PP_DET_RELATORIO_PRODUTO_SEM_FICHAPS> {
 public:
  PP_CAMPO(PosicaoProdutoServico, regPosicaoProdutoServico)
  PP_CAMPO(PonteiroFilial, usPonteiroFilial)
  PP_CAMPO(TipoProdutoServico, cTipoProdutoServico)
};

class CPPDadosDetRelatorioFichaTecnica
    : public PPDados<CPPDadosDetRelatorioFichaTecnica, _REG_PP_DET_RELATORIO_FICHA_TECNICAPS> {
 public:
  PP_CAMPO(PonteiroColecao, lPonteiroColecao)
  PP_CAMPO(PonteiroFluxoProcessos, lPonteiroFluxoProcessos)
  PP_CAMPO(PosicaoProdutoServico, regPosicaoProdutoServico)
  PP_CAMPO(PonteiroFilial, usPonteiroFilial)
  PP_CAMPO(Recursivo, cRecursivo)
  PP_CAMPO(TipoProdutoServico, cTipoProdutoServico)
  PP_CAMPO(FiltroProdutoServico, cFiltroProdutoServico)
};

class CPPDadosDetRelatorioProgramadoXProduzido
    : public PPDados<CPPDadosDetRelatorioProgramadoXProduzido,
                     _REG_PP_DET_RELATORIO_PROG_X_PRODPS> {
 public:
  PP_CAMPO(PosicaoProdutoServico, regPosicaoProdutoServico)
  PP_CAMPO(PonteiroTipoOP, lPonteiroTipoOP)
  PP_CAMPO(PonteiroFluxoProcesso, lPonteiroFluxoProcesso)
  PP_CAMPO(PonteiroFilial, usPonteiroFilial)
  PP_CAMPO(DataEmissaoInicial, usDataEmissaoInicial)
  PP_CAMPO(DataEmissaoFinal, usDataEmissaoFinal)
  PP_CAMPO_COMO(char, ApenasOPComDiferenca, cApenasOPComDiferenca)
  PP_CAMPO(TipoProdutoServico, cTipoProdutoServico)
  PP_CAMPO(FiltroProdutos, cFiltroProdutos)
  PP_CAMPO(FiltroServicos, cFiltroServicos)
};

class CPPDadosDetRelatorioPerdas
    : public PPDados<CPPDadosDetRelatorioPerdas, _REG_PP_DET_RELATORIO_PERDASPS> {
 public:
  PP_CAMPO(PosicaoProduto, regPosicaoProduto)
  PP_CAMPO(PonteiroProjeto, ulPonteiroProjeto)
  PP_CAMPO(PonteiroTipoOP, lPonteiroTipoOP)
  PP_CAMPO(PonteiroFluxoProcesso, lPonteiroFluxoProcesso)
  PP_CAMPO(PonteiroProcesso, lPonteiroProcesso)
  PP_CAMPO(PonteiroFilial, usPonteiroFilial)
  PP_CAMPO(DataInicial, usDataInicial)
  PP_CAMPO(DataFinal, usDataFinal)
};

class CPPDadosDetRelatorioCustoProducao
    : public PPDados<CPPDadosDetRelatorioCustoProducao, _REG_PP_DET_RELATORIO_CUSTO_PRODUCAOPS> {
 public:
  PP_CAMPO(ChaveOP, lChaveOP)
  PP_CAMPO(PosicaoProdutoServico, regPosicaoProdutoServico)
  PP_CAMPO(PonteiroTipoOP, lPonteiroTipoOP)
  PP_CAMPO(PonteiroFluxoProcesso, lPonteiroFluxoProcesso)
  PP_CAMPO(PonteiroFilial, usPonteiroFilial)
  PP_CAMPO(DataInicial, usDataInicial)
  PP_CAMPO(DataFinal, usDataFinal)
  PP_CAMPO(TipoProdutoServico, cTipoProdutoServico)
  PP_CAMPO(FiltroProdutos, cFiltroProdutos)
  PP_CAMPO(FiltroServicos, cFiltroServicos)
};

class CPPDadosDetRelatorioCapacidadeProduto
    : public PPDados<CPPDadosDetRelatorioCapacidadeProduto,
                     _REG_PP_DET_RELATORIO_CAPACIDADE_PRODUTOPS> {
 public:
  PP_CAMPO(PonteiroColecao, lPonteiroColecao)
  PP_CAMPO(PosicaoProdutoServico, regPosicaoProdutoServico)
  PP_CAMPO(TipoProdutoServico, cTipoProdutoServico)
};

class CPPDadosDetRelatorioCapacidade
    : public PPDados<CPPDadosDetRelatorioCapacidade, _REG_PP_DET_RELATORIO_CAPACIDADEPS> {
 public:
  PP_CAMPO(DataInicial, usDataInicial)
  PP_CAMPO(DataFinal, usDataFinal)
  PP_CAMPO(QtdProdutosServicos, usQtdProdutosServicos)
  PP_LISTA(ProdutoServico, CPPDadosDetRelatorioCapacidadeProduto, usQtdProdutosServicos,
           pregProdutosServicos)
  PP_PARTES(ProdutoServico)
};

class CPPDadosDetRelatorioRegistroHoras
    : public PPDados<CPPDadosDetRelatorioRegistroHoras, _REG_PP_DET_RELATORIO_REGISTRO_HORASPS> {
 public:
  PP_CAMPO(PonteiroFluxo, lPonteiroFluxo)
  PP_CAMPO(PonteiroFilial, usPonteiroFilial)
  PP_CAMPO(MesAnoReferencia, usMesAnoReferencia)
};

class CPPDadosDetRelatorioCapacidadeRecursos
    : public PPDados<CPPDadosDetRelatorioCapacidadeRecursos,
                     _REG_PP_DET_RELATORIO_CAPACIDADE_RECURSOPS> {
 public:
  PP_CAMPO(PonteiroSecao, lPonteiroSecao)
  PP_CAMPO(PonteiroProcesso, lPonteiroProcesso)
  PP_CAMPO(PonteiroRecurso, lPonteiroRecurso)
  PP_CAMPO(PonteiroFilial, usPonteiroFilial)
  PP_CAMPO(DataInicio, usDataInicio)
  PP_CAMPO(DataFim, usDataFim)
};

class CPPDadosDetRelatorioGestaoManutencao
    : public PPDados<CPPDadosDetRelatorioGestaoManutencao,
                     _REG_PP_DET_RELATORIO_GESTAO_MANUTENCAOPS> {
 public:
  PP_CAMPO(PonteiroPlanoManutencao, lPonteiroPlanoManutencao)
  PP_CAMPO(PonteiroRecurso, lPonteiroRecurso)
  PP_CAMPO(PonteiroRequisitante, lPonteiroRequisitante)
  PP_CAMPO(DataEmissaoInicial, usDataEmissaoInicial)
  PP_CAMPO(DataEmissaoFinal, usDataEmissaoFinal)
  PP_CAMPO(DataExecucaoInicial, usDataExecucaoInicial)
  PP_CAMPO(DataExecucaoFinal, usDataExecucaoFinal)
  PP_CAMPO(PonteiroFilial, usPonteiroFilial)
  PP_CAMPO(TipoManutencao, cTipoManutencao)
  PP_CAMPO(SituacaoManutencao, cSituacaoManutencao)
};

class CPPDadosDetRelatorioCustoProjeto
    : public PPDados<CPPDadosDetRelatorioCustoProjeto, _REG_PP_DET_RELATORIO_CUSTO_PROJETOPS> {
 public:
  PP_CAMPO(PonteiroColecao, lPonteiroColecao)
};

class CPPDadosDetRelatorioResumoIndustrializador
    : public PPDados<CPPDadosDetRelatorioResumoIndustrializador,
                     _REG_PP_DET_RELATORIO_RESUMO_INDUSTRIALIZADORPS> {
 public:
  PP_CAMPO(ChaveOP, ulChaveOP)
  PP_CAMPO(PonteiroProjeto, lPonteiroProjeto)
  PP_CAMPO(PonteiroFornecedor, lPonteiroFornecedor)
  PP_CAMPO(PonteiroFilial, usPonteiroFilial)
  PP_CAMPO(DataInicial, usDataInicial)
  PP_CAMPO(DataFinal, usDataFinal)
  PP_CAMPO(QuebrarPaginaProjeto, cQuebrarPaginaProjeto)
};

class CPPDadosDetRelatorioInsumoPorOP
    : public PPDados<CPPDadosDetRelatorioInsumoPorOP, _REG_PP_DET_RELATORIO_INSUMO_POR_OPPS> {
 public:
  PP_EMBUTIDO(ListaOP, CPPDadosPonteirosULONG, regListaOP)
  PP_EMBUTIDO(ListaProcesso, CPPDadosPonteirosULONG, regListaProcesso)
  PP_PARTES(ListaOP, ListaProcesso)
};

class CPPDadosDetRelatorioEncerramentoForcado
    : public PPDados<CPPDadosDetRelatorioEncerramentoForcado,
                     _REG_PP_DET_RELATORIO_ENCERRAMENTO_FORCADOPS> {
 public:
  PP_CAMPO(ChaveOP, ulChaveOP)
  PP_CAMPO(PonteiroProjeto, ulPonteiroProjeto)
  PP_CAMPO(PonteiroTipoOP, ulPonteiroTipoOP)
  PP_CAMPO(PonteiroFluxo, ulPonteiroFluxo)
  PP_CAMPO(PonteiroProcesso, ulPonteiroProcesso)
  PP_CAMPO(PonteiroSecao, ulPonteiroSecao)
  PP_CAMPO(PonteiroSupl1, ulPonteiroSupl1)
  PP_CAMPO(PonteiroSupl2, ulPonteiroSupl2)
  PP_CAMPO(PonteiroSupl3, ulPonteiroSupl3)
  PP_CAMPO(PonteiroIndustrializador, ulPonteiroIndustrializador)
  PP_CAMPO(PosicaoProdutoServico, regPosicaoProdutoServico)
  PP_CAMPO(PonteiroFilial, usPonteiroFilial)
  PP_CAMPO(DataInicial, usDataInicial)
  PP_CAMPO(DataFinal, usDataFinal)
  PP_CAMPO(TipoProdutoServico, cTipoProdutoServico)
  PP_CAMPO(FiltroProdutos, cFiltroProdutos)
  PP_CAMPO(FiltroServicos, cFiltroServicos)
};

class CPPDadosDetRelatorioAcompanhamentoPedNec
    : public PPDados<CPPDadosDetRelatorioAcompanhamentoPedNec,
                     _REG_PP_DET_RELATORIO_ACOMPANHAMENTO_PED_NECPS> {
 public:
  PP_CAMPO(PonteiroProjeto, ulPonteiroProjeto)
  PP_CAMPO(PonteiroTipoOP, ulPonteiroTipoOP)
  PP_CAMPO(PonteiroFluxo, ulPonteiroFluxo)
  PP_CAMPO(PosicaoProdutoServico, regPosicaoProdutoServico)
  PP_CAMPO(PonteiroFilial, usPonteiroFilial)
  PP_CAMPO(DataInicial, usDataInicial)
  PP_CAMPO(DataFinal, usDataFinal)
  PP_CAMPO(TipoProdutoServico, cTipoProdutoServico)
  PP_CAMPO(FiltroProdutos, cFiltroProdutos)
  PP_CAMPO(FiltroServicos, cFiltroServicos)
};

extern template class PPDados<CPPDadosDetRelatorioNecessidade, _REG_PP_DET_RELATORIO_NECESSIDADEPS>;
extern template class PPDados<CPPDadosDetRelatorioAcompanhamento,
                              _REG_PP_DET_RELATORIO_ACOMPANHAMENTOPS>;
extern template class PPDados<CPPDadosDetRelatorioDemanda, _REG_PP_DET_RELATORIO_DEMANDAPS>;
extern template class PPDados<CPPDadosDetRelatorioProdutoSemFicha,
                              _REG_PP_DET_RELATORIO_PRODUTO_SEM_FICHAPS>;
extern template class PPDados<CPPDadosDetRelatorioFichaTecnica,
                              _REG_PP_DET_RELATORIO_FICHA_TECNICAPS>;
extern template class PPDados<CPPDadosDetRelatorioProgramadoXProduzido,
                              _REG_PP_DET_RELATORIO_PROG_X_PRODPS>;
extern template class PPDados<CPPDadosDetRelatorioPerdas, _REG_PP_DET_RELATORIO_PERDASPS>;
extern template class PPDados<CPPDadosDetRelatorioCustoProducao,
                              _REG_PP_DET_RELATORIO_CUSTO_PRODUCAOPS>;
extern template class PPDados<CPPDadosDetRelatorioCapacidadeProduto,
                              _REG_PP_DET_RELATORIO_CAPACIDADE_PRODUTOPS>;
extern template class PPDados<CPPDadosDetRelatorioCapacidade, _REG_PP_DET_RELATORIO_CAPACIDADEPS>;
extern template class PPDados<CPPDadosDetRelatorioRegistroHoras,
                              _REG_PP_DET_RELATORIO_REGISTRO_HORASPS>;
extern template class PPDados<CPPDadosDetRelatorioCapacidadeRecursos,
                              _REG_PP_DET_RELATORIO_CAPACIDADE_RECURSOPS>;
extern template class PPDados<CPPDadosDetRelatorioGestaoManutencao,
                              _REG_PP_DET_RELATORIO_GESTAO_MANUTENCAOPS>;
extern template class PPDados<CPPDadosDetRelatorioCustoProjeto,
                              _REG_PP_DET_RELATORIO_CUSTO_PROJETOPS>;
extern template class PPDados<CPPDadosDetRelatorioResumoIndustrializador,
                              _REG_PP_DET_RELATORIO_RESUMO_INDUSTRIALIZADORPS>;
extern template class PPDados<CPPDadosDetRelatorioInsumoPorOP,
                              _REG_PP_DET_RELATORIO_INSUMO_POR_OPPS>;
extern template class PPDados<CPPDadosDetRelatorioEncerramentoForcado,
                              _REG_PP_DET_RELATORIO_ENCERRAMENTO_FORCADOPS>;
extern template class PPDados<CPPDadosDetRelatorioAcompanhamentoPedNec,
                              _REG_PP_DET_RELATORIO_ACOMPANHAMENTO_PED_NECPS>;
