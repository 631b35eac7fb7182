// The reports interface IQVPP_Relatorios and the detail records of its reports. Every report
// method takes the output file name, the company name printed on the report (bsRazaoSocial in
// the first method, bsNomeEmpresa in the others), the name of the selected report and its
// detail record (the report's parameters and filter, by value), builds the report for the
// session's company and writes the file.
// Layout rules, ownership across a call and the common method pattern: VarmoRegistrosComuns.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com/bstr.h"
#include "platform/com/unknown.h"
#include "server/idl/VarmoOPApontamento.h"

#pragma pack(push, 2)

struct _REG_PP_DET_RELATORIO_CAPACIDADE_PRODUTOPS;

// The detail record of IQVPP_Relatorios::RelatorioNecessidade.
struct _REG_PP_DET_RELATORIO_NECESSIDADEPS {
  _REG_POSICAO_PRODUTOPS regPosicaoProduto;
  uint16_t usPonteiroFilial;
  uint16_t usDataEmissaoInicial;
  uint16_t usDataEmissaoFinal;
  uint8_t cNecessidadePendente;
  uint8_t cNecessidadeProgramada;
  uint8_t cNecessidadeAtendida;
  uint8_t cNecessidadeCancelada;
  uint8_t cNecessidadeAgrupada;
  uint8_t cOrigemNecessidade;
  uint8_t cFiller[4];
};
static_assert(sizeof(_REG_PP_DET_RELATORIO_NECESSIDADEPS) == 26);
static_assert(offsetof(_REG_PP_DET_RELATORIO_NECESSIDADEPS, usPonteiroFilial) == 10);
static_assert(offsetof(_REG_PP_DET_RELATORIO_NECESSIDADEPS, usDataEmissaoInicial) == 12);
static_assert(offsetof(_REG_PP_DET_RELATORIO_NECESSIDADEPS, usDataEmissaoFinal) == 14);
static_assert(offsetof(_REG_PP_DET_RELATORIO_NECESSIDADEPS, cNecessidadePendente) == 16);
static_assert(offsetof(_REG_PP_DET_RELATORIO_NECESSIDADEPS, cNecessidadeProgramada) == 17);
static_assert(offsetof(_REG_PP_DET_RELATORIO_NECESSIDADEPS, cNecessidadeAtendida) == 18);
static_assert(offsetof(_REG_PP_DET_RELATORIO_NECESSIDADEPS, cNecessidadeCancelada) == 19);
static_assert(offsetof(_REG_PP_DET_RELATORIO_NECESSIDADEPS, cNecessidadeAgrupada) == 20);
static_assert(offsetof(_REG_PP_DET_RELATORIO_NECESSIDADEPS, cOrigemNecessidade) == 21);
static_assert(offsetof(_REG_PP_DET_RELATORIO_NECESSIDADEPS, cFiller) == 22);

// The detail record of IQVPP_Relatorios::RelatorioAcompanhamento.
struct _REG_PP_DET_RELATORIO_ACOMPANHAMENTOPS {
  _REG_POSICAO_PRODUTOPS regPosicaoProdutoServico;
  int32_t lPonteiroProjeto;
  int32_t lPonteiroTipoOP;
  int32_t lPonteiroProcesso;
  int32_t lPonteiroFluxoProcesso;
  uint16_t usPonteiroFilial;
  uint16_t usDataEmissaoInicial;
  uint16_t usDataEmissaoFinal;
  uint8_t cOPNaoIniciada;
  uint8_t cOPIniciada;
  uint8_t cOPSuspensa;
  uint8_t cOPInterrompida;
  uint8_t cOPConcluida;
  uint8_t cOPCancelada;
  uint8_t cTipoProdutoServico;
  uint8_t cFiltroProdutos;
  uint8_t cFiltroServicos;
  uint8_t cFiller[9];
};
static_assert(sizeof(_REG_PP_DET_RELATORIO_ACOMPANHAMENTOPS) == 50);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ACOMPANHAMENTOPS, lPonteiroProjeto) == 10);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ACOMPANHAMENTOPS, lPonteiroTipoOP) == 14);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ACOMPANHAMENTOPS, lPonteiroProcesso) == 18);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ACOMPANHAMENTOPS, lPonteiroFluxoProcesso) == 22);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ACOMPANHAMENTOPS, usPonteiroFilial) == 26);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ACOMPANHAMENTOPS, usDataEmissaoInicial) == 28);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ACOMPANHAMENTOPS, usDataEmissaoFinal) == 30);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ACOMPANHAMENTOPS, cOPNaoIniciada) == 32);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ACOMPANHAMENTOPS, cOPIniciada) == 33);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ACOMPANHAMENTOPS, cOPSuspensa) == 34);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ACOMPANHAMENTOPS, cOPInterrompida) == 35);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ACOMPANHAMENTOPS, cOPConcluida) == 36);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ACOMPANHAMENTOPS, cOPCancelada) == 37);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ACOMPANHAMENTOPS, cTipoProdutoServico) == 38);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ACOMPANHAMENTOPS, cFiltroProdutos) == 39);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ACOMPANHAMENTOPS, cFiltroServicos) == 40);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ACOMPANHAMENTOPS, cFiller) == 41);

// The detail record of IQVPP_Relatorios::RelatorioDemandaProducao.
struct _REG_PP_DET_RELATORIO_DEMANDAPS {
  _REG_POSICAO_PRODUTOPS regPosicaoProduto;
  int32_t lPonteiroColecao;
  int32_t lPonteiroCliente;
  uint16_t usDataEmissaoInicial;
  uint16_t usDataEmissaoFinal;
  uint8_t cPedido;
  uint8_t cNecessidade;
  uint8_t cBaseNosInsumos;
  uint8_t cFiller[7];
};
static_assert(sizeof(_REG_PP_DET_RELATORIO_DEMANDAPS) == 32);
static_assert(offsetof(_REG_PP_DET_RELATORIO_DEMANDAPS, lPonteiroColecao) == 10);
static_assert(offsetof(_REG_PP_DET_RELATORIO_DEMANDAPS, lPonteiroCliente) == 14);
static_assert(offsetof(_REG_PP_DET_RELATORIO_DEMANDAPS, usDataEmissaoInicial) == 18);
static_assert(offsetof(_REG_PP_DET_RELATORIO_DEMANDAPS, usDataEmissaoFinal) == 20);
static_assert(offsetof(_REG_PP_DET_RELATORIO_DEMANDAPS, cPedido) == 22);
static_assert(offsetof(_REG_PP_DET_RELATORIO_DEMANDAPS, cNecessidade) == 23);
static_assert(offsetof(_REG_PP_DET_RELATORIO_DEMANDAPS, cBaseNosInsumos) == 24);
static_assert(offsetof(_REG_PP_DET_RELATORIO_DEMANDAPS, cFiller) == 25);

// The detail record of IQVPP_Relatorios::RelatorioProdutoSemFichaTecnica.
struct _REG_PP_DET_RELATORIO_PRODUTO_SEM_FICHAPS {
  _REG_POSICAO_PRODUTOPS regPosicaoProdutoServico;
  uint16_t usPonteiroFilial;
  uint8_t cTipoProdutoServico;
  uint8_t cFiller[7];
};
static_assert(sizeof(_REG_PP_DET_RELATORIO_PRODUTO_SEM_FICHAPS) == 20);
static_assert(offsetof(_REG_PP_DET_RELATORIO_PRODUTO_SEM_FICHAPS, usPonteiroFilial) == 10);
static_assert(offsetof(_REG_PP_DET_RELATORIO_PRODUTO_SEM_FICHAPS, cTipoProdutoServico) == 12);
static_assert(offsetof(_REG_PP_DET_RELATORIO_PRODUTO_SEM_FICHAPS, cFiller) == 13);

// The detail record of IQVPP_Relatorios::RelatorioFichaTecnica.
struct _REG_PP_DET_RELATORIO_FICHA_TECNICAPS {
  int32_t lPonteiroColecao;
  int32_t lPonteiroFluxoProcessos;
  _REG_POSICAO_PRODUTOPS regPosicaoProdutoServico;
  uint16_t usPonteiroFilial;
  uint8_t cRecursivo;
  uint8_t cTipoProdutoServico;
  uint8_t cFiltroProdutoServico;
  uint8_t cFiller[9];
};
static_assert(sizeof(_REG_PP_DET_RELATORIO_FICHA_TECNICAPS) == 32);
static_assert(offsetof(_REG_PP_DET_RELATORIO_FICHA_TECNICAPS, usPonteiroFilial) == 18);
static_assert(offsetof(_REG_PP_DET_RELATORIO_FICHA_TECNICAPS, cRecursivo) == 20);
static_assert(offsetof(_REG_PP_DET_RELATORIO_FICHA_TECNICAPS, cTipoProdutoServico) == 21);
static_assert(offsetof(_REG_PP_DET_RELATORIO_FICHA_TECNICAPS, cFiltroProdutoServico) == 22);
static_assert(offsetof(_REG_PP_DET_RELATORIO_FICHA_TECNICAPS, cFiller) == 23);

// The detail record of IQVPP_Relatorios::RelatorioProgramadoXProduzido.
struct _REG_PP_DET_RELATORIO_PROG_X_PRODPS {
  _REG_POSICAO_PRODUTOPS regPosicaoProdutoServico;
  int32_t lPonteiroTipoOP;
  int32_t lPonteiroFluxoProcesso;
  uint16_t usPonteiroFilial;
  uint16_t usDataEmissaoInicial;
  uint16_t usDataEmissaoFinal;
  uint8_t cApenasOPComDiferenca;
  uint8_t cTipoProdutoServico;
  uint8_t cFiltroProdutos;
  uint8_t cFiltroServicos;
  uint8_t cFiller[8];
};
static_assert(sizeof(_REG_PP_DET_RELATORIO_PROG_X_PRODPS) == 36);
static_assert(offsetof(_REG_PP_DET_RELATORIO_PROG_X_PRODPS, lPonteiroTipoOP) == 10);
static_assert(offsetof(_REG_PP_DET_RELATORIO_PROG_X_PRODPS, lPonteiroFluxoProcesso) == 14);
static_assert(offsetof(_REG_PP_DET_RELATORIO_PROG_X_PRODPS, usPonteiroFilial) == 18);
static_assert(offsetof(_REG_PP_DET_RELATORIO_PROG_X_PRODPS, usDataEmissaoInicial) == 20);
static_assert(offsetof(_REG_PP_DET_RELATORIO_PROG_X_PRODPS, usDataEmissaoFinal) == 22);
static_assert(offsetof(_REG_PP_DET_RELATORIO_PROG_X_PRODPS, cApenasOPComDiferenca) == 24);
static_assert(offsetof(_REG_PP_DET_RELATORIO_PROG_X_PRODPS, cTipoProdutoServico) == 25);
static_assert(offsetof(_REG_PP_DET_RELATORIO_PROG_X_PRODPS, cFiltroProdutos) == 26);
static_assert(offsetof(_REG_PP_DET_RELATORIO_PROG_X_PRODPS, cFiltroServicos) == 27);
static_assert(offsetof(_REG_PP_DET_RELATORIO_PROG_X_PRODPS, cFiller) == 28);

// The detail record of IQVPP_Relatorios::RelatorioPerdas.
struct _REG_PP_DET_RELATORIO_PERDASPS {
  _REG_POSICAO_PRODUTOPS regPosicaoProduto;
  uint32_t ulPonteiroProjeto;
  int32_t lPonteiroTipoOP;
  int32_t lPonteiroFluxoProcesso;
  int32_t lPonteiroProcesso;
  uint16_t usPonteiroFilial;
  uint16_t usDataInicial;
  uint16_t usDataFinal;
  uint8_t cFiller[8];
};
static_assert(sizeof(_REG_PP_DET_RELATORIO_PERDASPS) == 40);
static_assert(offsetof(_REG_PP_DET_RELATORIO_PERDASPS, ulPonteiroProjeto) == 10);
static_assert(offsetof(_REG_PP_DET_RELATORIO_PERDASPS, lPonteiroTipoOP) == 14);
static_assert(offsetof(_REG_PP_DET_RELATORIO_PERDASPS, lPonteiroFluxoProcesso) == 18);
static_assert(offsetof(_REG_PP_DET_RELATORIO_PERDASPS, lPonteiroProcesso) == 22);
static_assert(offsetof(_REG_PP_DET_RELATORIO_PERDASPS, usPonteiroFilial) == 26);
static_assert(offsetof(_REG_PP_DET_RELATORIO_PERDASPS, usDataInicial) == 28);
static_assert(offsetof(_REG_PP_DET_RELATORIO_PERDASPS, usDataFinal) == 30);
static_assert(offsetof(_REG_PP_DET_RELATORIO_PERDASPS, cFiller) == 32);

// The detail record of IQVPP_Relatorios::RelatorioCustoProducao.
struct _REG_PP_DET_RELATORIO_CUSTO_PRODUCAOPS {
  uint32_t lChaveOP;
  _REG_POSICAO_PRODUTOPS regPosicaoProdutoServico;
  int32_t lPonteiroTipoOP;
  int32_t lPonteiroFluxoProcesso;
  uint16_t usPonteiroFilial;
  uint16_t usDataInicial;
  uint16_t usDataFinal;
  uint8_t cTipoProdutoServico;
  uint8_t cFiltroProdutos;
  uint8_t cFiltroServicos;
  uint8_t cFiller[5];
};
static_assert(sizeof(_REG_PP_DET_RELATORIO_CUSTO_PRODUCAOPS) == 36);
static_assert(offsetof(_REG_PP_DET_RELATORIO_CUSTO_PRODUCAOPS, lPonteiroTipoOP) == 14);
static_assert(offsetof(_REG_PP_DET_RELATORIO_CUSTO_PRODUCAOPS, lPonteiroFluxoProcesso) == 18);
static_assert(offsetof(_REG_PP_DET_RELATORIO_CUSTO_PRODUCAOPS, usPonteiroFilial) == 22);
static_assert(offsetof(_REG_PP_DET_RELATORIO_CUSTO_PRODUCAOPS, usDataInicial) == 24);
static_assert(offsetof(_REG_PP_DET_RELATORIO_CUSTO_PRODUCAOPS, usDataFinal) == 26);
static_assert(offsetof(_REG_PP_DET_RELATORIO_CUSTO_PRODUCAOPS, cTipoProdutoServico) == 28);
static_assert(offsetof(_REG_PP_DET_RELATORIO_CUSTO_PRODUCAOPS, cFiltroProdutos) == 29);
static_assert(offsetof(_REG_PP_DET_RELATORIO_CUSTO_PRODUCAOPS, cFiltroServicos) == 30);
static_assert(offsetof(_REG_PP_DET_RELATORIO_CUSTO_PRODUCAOPS, cFiller) == 31);

// The detail record of IQVPP_Relatorios::RelatorioCapacidade.
struct _REG_PP_DET_RELATORIO_CAPACIDADEPS {
  uint16_t usDataInicial;
  uint16_t usDataFinal;
  uint16_t usQtdProdutosServicos;
  uint8_t cFiller[8];
  // Count in usQtdProdutosServicos.
  _REG_PP_DET_RELATORIO_CAPACIDADE_PRODUTOPS* pregProdutosServicos;
};
static_assert(sizeof(_REG_PP_DET_RELATORIO_CAPACIDADEPS) == 18);
static_assert(offsetof(_REG_PP_DET_RELATORIO_CAPACIDADEPS, pregProdutosServicos) == 14);

// One element of _REG_PP_DET_RELATORIO_CAPACIDADEPS::pregProdutosServicos.
struct _REG_PP_DET_RELATORIO_CAPACIDADE_PRODUTOPS {
  int32_t lPonteiroColecao;
  _REG_POSICAO_PRODUTOPS regPosicaoProdutoServico;
  uint8_t cTipoProdutoServico;
  uint8_t cFiller[7];
};
static_assert(sizeof(_REG_PP_DET_RELATORIO_CAPACIDADE_PRODUTOPS) == 22);
static_assert(offsetof(_REG_PP_DET_RELATORIO_CAPACIDADE_PRODUTOPS, cTipoProdutoServico) == 14);
static_assert(offsetof(_REG_PP_DET_RELATORIO_CAPACIDADE_PRODUTOPS, cFiller) == 15);

// The detail record of IQVPP_Relatorios::RelatorioRegistroHoras.
struct _REG_PP_DET_RELATORIO_REGISTRO_HORASPS {
  int32_t lPonteiroFluxo;
  uint16_t usPonteiroFilial;
  uint16_t usMesAnoReferencia;
  uint8_t cFiller[8];
};
static_assert(sizeof(_REG_PP_DET_RELATORIO_REGISTRO_HORASPS) == 16);

// The detail record of IQVPP_Relatorios::RelatorioCapacidadeRecurso.
struct _REG_PP_DET_RELATORIO_CAPACIDADE_RECURSOPS {
  uint32_t lPonteiroSecao;
  int32_t lPonteiroProcesso;
  int32_t lPonteiroRecurso;
  uint16_t usPonteiroFilial;
  uint16_t usDataInicio;
  uint16_t usDataFim;
  uint8_t cFiller[8];
};
static_assert(sizeof(_REG_PP_DET_RELATORIO_CAPACIDADE_RECURSOPS) == 26);

// The detail record of IQVPP_Relatorios::RelatorioGestaoManutencao.
struct _REG_PP_DET_RELATORIO_GESTAO_MANUTENCAOPS {
  int32_t lPonteiroPlanoManutencao;
  int32_t lPonteiroRecurso;
  int32_t lPonteiroRequisitante;
  uint16_t usDataEmissaoInicial;
  uint16_t usDataEmissaoFinal;
  uint16_t usDataExecucaoInicial;
  uint16_t usDataExecucaoFinal;
  uint16_t usPonteiroFilial;
  uint8_t cTipoManutencao;
  uint8_t cSituacaoManutencao;
  uint8_t cFiller[8];
};
static_assert(sizeof(_REG_PP_DET_RELATORIO_GESTAO_MANUTENCAOPS) == 32);

// The detail record of IQVPP_Relatorios::RelatorioCustoProjeto.
struct _REG_PP_DET_RELATORIO_CUSTO_PROJETOPS {
  int32_t lPonteiroColecao;
  uint8_t cFiller[12];
};
static_assert(sizeof(_REG_PP_DET_RELATORIO_CUSTO_PROJETOPS) == 16);

// The detail record of IQVPP_Relatorios::RelatorioResumoIndustrializador.
struct _REG_PP_DET_RELATORIO_RESUMO_INDUSTRIALIZADORPS {
  uint32_t ulChaveOP;
  int32_t lPonteiroProjeto;
  int32_t lPonteiroFornecedor;
  uint16_t usPonteiroFilial;
  uint16_t usDataInicial;
  uint16_t usDataFinal;
  uint8_t cQuebrarPaginaProjeto;
  uint8_t cFiller[13];
};
static_assert(sizeof(_REG_PP_DET_RELATORIO_RESUMO_INDUSTRIALIZADORPS) == 32);

// The detail record of IQVPP_Relatorios::RelatorioInsumoPorOP.
struct _REG_PP_DET_RELATORIO_INSUMO_POR_OPPS {
  _REG_VARMO_PONTEIROS_ULONGPS regListaOP;
  _REG_VARMO_PONTEIROS_ULONGPS regListaProcesso;
  uint8_t cFiller[20];
};
static_assert(sizeof(_REG_PP_DET_RELATORIO_INSUMO_POR_OPPS) == 36);
static_assert(offsetof(_REG_PP_DET_RELATORIO_INSUMO_POR_OPPS, regListaProcesso) == 8);
static_assert(offsetof(_REG_PP_DET_RELATORIO_INSUMO_POR_OPPS, cFiller) == 16);

// The detail record of IQVPP_Relatorios::RelatorioEncerramentoApontamentos.
struct _REG_PP_DET_RELATORIO_ENCERRAMENTO_FORCADOPS {
  uint32_t ulChaveOP;
  uint32_t ulPonteiroProjeto;
  uint32_t ulPonteiroTipoOP;
  uint32_t ulPonteiroFluxo;
  uint32_t ulPonteiroProcesso;
  uint32_t ulPonteiroSecao;
  uint32_t ulPonteiroSupl1;
  uint32_t ulPonteiroSupl2;
  uint32_t ulPonteiroSupl3;
  uint32_t ulPonteiroIndustrializador;
  _REG_POSICAO_PRODUTOPS regPosicaoProdutoServico;
  uint16_t usPonteiroFilial;
  uint16_t usDataInicial;
  uint16_t usDataFinal;
  uint8_t cTipoProdutoServico;
  uint8_t cFiltroProdutos;
  uint8_t cFiltroServicos;
  uint8_t cFiller[17];
};
static_assert(sizeof(_REG_PP_DET_RELATORIO_ENCERRAMENTO_FORCADOPS) == 76);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ENCERRAMENTO_FORCADOPS, usPonteiroFilial) == 50);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ENCERRAMENTO_FORCADOPS, usDataInicial) == 52);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ENCERRAMENTO_FORCADOPS, usDataFinal) == 54);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ENCERRAMENTO_FORCADOPS, cTipoProdutoServico) == 56);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ENCERRAMENTO_FORCADOPS, cFiltroProdutos) == 57);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ENCERRAMENTO_FORCADOPS, cFiltroServicos) == 58);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ENCERRAMENTO_FORCADOPS, cFiller) == 59);

// The detail record of IQVPP_Relatorios::RelatorioAcompanhamentoPedNec.
struct _REG_PP_DET_RELATORIO_ACOMPANHAMENTO_PED_NECPS {
  uint32_t ulPonteiroProjeto;
  uint32_t ulPonteiroTipoOP;
  uint32_t ulPonteiroFluxo;
  _REG_POSICAO_PRODUTOPS regPosicaoProdutoServico;
  uint16_t usPonteiroFilial;
  uint16_t usDataInicial;
  uint16_t usDataFinal;
  uint8_t cTipoProdutoServico;
  uint8_t cFiltroProdutos;
  uint8_t cFiltroServicos;
  uint8_t cFiller[17];
};
static_assert(sizeof(_REG_PP_DET_RELATORIO_ACOMPANHAMENTO_PED_NECPS) == 48);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ACOMPANHAMENTO_PED_NECPS, usPonteiroFilial) == 22);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ACOMPANHAMENTO_PED_NECPS, usDataInicial) == 24);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ACOMPANHAMENTO_PED_NECPS, usDataFinal) == 26);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ACOMPANHAMENTO_PED_NECPS, cTipoProdutoServico) == 28);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ACOMPANHAMENTO_PED_NECPS, cFiltroProdutos) == 29);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ACOMPANHAMENTO_PED_NECPS, cFiltroServicos) == 30);
static_assert(offsetof(_REG_PP_DET_RELATORIO_ACOMPANHAMENTO_PED_NECPS, cFiller) == 31);

#pragma pack(pop)

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// Reports. No Finaliza.
struct IQVPP_Relatorios : IUnknown {
  virtual HRESULT Inicializa(_REG_VARMO_INICIALIZAPS RegPS, uint16_t usVersao) = 0;
  virtual HRESULT RelatorioNecessidade(BSTR bsNomeArquivo, BSTR bsRazaoSocial,
                                       BSTR bsRelatorioSelecionado,
                                       _REG_PP_DET_RELATORIO_NECESSIDADEPS regDetalhamento) = 0;
  virtual HRESULT RelatorioAcompanhamento(
      BSTR bsNomeArquivo, BSTR bsNomeEmpresa, BSTR bsRelatorioSelecionado,
      _REG_PP_DET_RELATORIO_ACOMPANHAMENTOPS regDetalhamento) = 0;
  virtual HRESULT RelatorioDemandaProducao(BSTR bsNomeArquivo, BSTR bsNomeEmpresa,
                                           BSTR bsRelatorioSelecionado,
                                           _REG_PP_DET_RELATORIO_DEMANDAPS regDetalhamento) = 0;
  virtual HRESULT RelatorioProdutoSemFichaTecnica(
      BSTR bsNomeArquivo, BSTR bsNomeEmpresa, BSTR bsRelatorioSelecionado,
      _REG_PP_DET_RELATORIO_PRODUTO_SEM_FICHAPS regDetalhamento) = 0;
  virtual HRESULT RelatorioFichaTecnica(BSTR bsNomeArquivo, BSTR bsNomeEmpresa,
                                        BSTR bsRelatorioSelecionado,
                                        _REG_PP_DET_RELATORIO_FICHA_TECNICAPS regDetalhamento) = 0;
  virtual HRESULT RelatorioProgramadoXProduzido(
      BSTR bsNomeArquivo, BSTR bsNomeEmpresa, BSTR bsRelatorioSelecionado,
      _REG_PP_DET_RELATORIO_PROG_X_PRODPS regDetalhamento) = 0;
  virtual HRESULT RelatorioApontamentoInterno(BSTR bsNomeArquivo, BSTR bsNomeEmpresa,
                                              BSTR bsRelatorioSelecionado,
                                              _REG_VARMO_FILTRO_APONTAMENTOPS regDetalhamento) = 0;
  virtual HRESULT RelatorioApontamentoExterno(BSTR bsNomeArquivo, BSTR bsNomeEmpresa,
                                              BSTR bsRelatorioSelecionado,
                                              _REG_VARMO_FILTRO_APONTAMENTOPS regDetalhamento) = 0;
  virtual HRESULT RelatorioPerdas(BSTR bsNomeArquivo, BSTR bsNomeEmpresa,
                                  BSTR bsRelatorioSelecionado,
                                  _REG_PP_DET_RELATORIO_PERDASPS regDetalhamento) = 0;
  virtual HRESULT RelatorioCustoProducao(
      BSTR bsNomeArquivo, BSTR bsNomeEmpresa, BSTR bsRelatorioSelecionado,
      _REG_PP_DET_RELATORIO_CUSTO_PRODUCAOPS regDetalhamento) = 0;
  virtual HRESULT RelatorioCapacidade(BSTR bsNomeArquivo, BSTR bsNomeEmpresa,
                                      BSTR bsRelatorioSelecionado,
                                      _REG_PP_DET_RELATORIO_CAPACIDADEPS regDetalhamento) = 0;
  virtual HRESULT RelatorioRegistroHoras(
      BSTR bsNomeArquivo, BSTR bsNomeEmpresa, BSTR bsRelatorioSelecionado,
      _REG_PP_DET_RELATORIO_REGISTRO_HORASPS regDetalhamento) = 0;
  virtual HRESULT RelatorioCapacidadeRecurso(
      BSTR bsNomeArquivo, BSTR bsNomeEmpresa, BSTR bsRelatorioSelecionado,
      _REG_PP_DET_RELATORIO_CAPACIDADE_RECURSOPS regDetalhamento) = 0;
  virtual HRESULT RelatorioGestaoManutencao(
      BSTR bsNomeArquivo, BSTR bsNomeEmpresa, BSTR bsRelatorioSelecionado,
      _REG_PP_DET_RELATORIO_GESTAO_MANUTENCAOPS regDetalhamento) = 0;
  virtual HRESULT RelatorioCustoProjeto(BSTR bsNomeArquivo, BSTR bsNomeEmpresa,
                                        BSTR bsRelatorioSelecionado,
                                        _REG_PP_DET_RELATORIO_CUSTO_PROJETOPS regDetalhamento) = 0;
  virtual HRESULT RelatorioResumoIndustrializador(
      BSTR bsNomeArquivo, BSTR bsNomeEmpresa, BSTR bsRelatorioSelecionado,
      _REG_PP_DET_RELATORIO_RESUMO_INDUSTRIALIZADORPS regDetalhamento) = 0;
  virtual HRESULT RelatorioInsumoPorOP(BSTR bsNomeArquivo, BSTR bsNomeEmpresa,
                                       BSTR bsRelatorioSelecionado,
                                       _REG_PP_DET_RELATORIO_INSUMO_POR_OPPS regDetalhamento) = 0;
  virtual HRESULT RelatorioEncerramentoApontamentos(
      BSTR bsNomeArquivo, BSTR bsNomeEmpresa, BSTR bsRelatorioSelecionado,
      _REG_PP_DET_RELATORIO_ENCERRAMENTO_FORCADOPS regDetalhamento) = 0;
  virtual HRESULT RelatorioAcompanhamentoPedNec(
      BSTR bsNomeArquivo, BSTR bsNomeEmpresa, BSTR bsRelatorioSelecionado,
      _REG_PP_DET_RELATORIO_ACOMPANHAMENTO_PED_NECPS regDetalhamento) = 0;
  virtual HRESULT RelatorioApontamentoRecurso(
      BSTR bsNomeArquivo, BSTR bsNomeEmpresa, BSTR bsRelatorioSelecionado,
      _REG_PP_FILTRO_APONTAMENTO_RECURSOPS regDetalhamento) = 0;
  virtual HRESULT FuncaoGenerica(uint32_t lFuncao, _REG_FUNCAO_GENERICA_VARMO regFuncaoGenericaIn,
                                 _REG_FUNCAO_GENERICA_VARMO** regFuncaoGenericaOut) = 0;
};

#pragma GCC diagnostic pop
