// Records of production reporting (the report of an order process with its resource reports,
// operations, counters, quantities, intervals and details; reporting filters and summaries),
// labels and images of order processes, requirements, order checks and order times. They
// travel through IQVPP_OP (VarmoOP.h) and the reports interface (VarmoRelatorios.h).
// Layout rules, ownership across a call and the common method pattern: VarmoRegistrosComuns.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com/currency.h"
#include "server/idl/VarmoOPIndustrializacao.h"

#pragma pack(push, 2)

struct _REG_PP_APONTAMENTO_RECURSOPS;
struct _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS;
struct _REG_PP_APONTAMENTO_RECURSO_OPERACAO_CONTADORPS;
struct _REG_PP_APONTAMENTO_RECURSO_OPERACAO_QUANTIDADEPS;
struct _REG_PP_APONTAMENTO_RECURSO_OPERACAO_INTERVALOPS;
struct _REG_PP_APONTAMENTO_RECURSO_OPERACAO_DETALHEPS;
struct _REG_PP_OP_ETIQUETA_EMITIDAPS;
struct _REG_PP_RESUMO_APONTAMENTO_RECURSOPS;

// A production report of an order process, with its stock movements, returns from outside
// processing, resource reports and imported report keys.
struct _REG_VARMO_OP_APONTAMENTO {
  CY vQuantidadeApontada;
  CY vQuantidadeBruta;
  CY vQuantidadeTara;
  CY vQuantidadeRefugo;
  CY vQuantidadeReprocessada;
  CY v8CustoTerceirizacao;
  uint32_t lPonteiroOP;
  uint32_t lPonteiroPedidoNecessidade;
  uint32_t lPonteiroApontamento;
  uint32_t lPonteiroNotaFiscalSaida;
  uint32_t ulChaveOPReprocesso;
  uint32_t ulChaveApontamentoOPOrigem;
  uint32_t ulPonteiroEncerramentoForcado;
  int32_t lPonteiroOperacaoProducao;
  int32_t lPonteiroProcesso;
  int32_t lPonteiroSuplementoInfo1;
  int32_t lPonteiroSuplementoInfo2;
  int32_t lPonteiroSuplementoInfo3;
  int32_t lPonteiroMotivoRefugo;
  int32_t lPonteiroIndustrializador;
  uint16_t usDataApontamentoInicio;
  uint16_t usHoraApontamentoInicio;
  uint16_t usDataApontamentoFim;
  uint16_t usHoraApontamentoFim;
  uint16_t usDataGravacao;
  uint16_t usHoraGravacao;
  uint16_t usPonteiroUsuarioGravacao;
  uint16_t usIdxItemPedido;
  uint16_t usQtdMvtoEntrada;
  uint16_t usQtdMvtoEstoque;
  uint16_t usQtdRetornoIndustExt;
  uint16_t usQtdRecursosNaoApontados;
  uint16_t usQtdRecursos;
  uint16_t usQtdChaveApontamentoImportado;
  char szComentario[202];
  char szMotivoEncerramentoForcado[502];
  uint8_t cLiberacaoItemPedido;
  uint8_t cTipoItem;
  uint8_t cTipoOperacao;
  uint8_t cTipoProducao;
  uint8_t cPossuiEntradaPendente;
  uint8_t cPossuiRefugo;
  uint8_t cEncerramentoForcado;
  uint8_t cGerouReprocesso;
  uint8_t cUltimoProcesso;
  uint8_t cExcluido;
  uint8_t cEncerramentoRemIndustrializacao;
  uint8_t cTipoApontamento;
  uint8_t cImportacaoComBaixasPendentes;
  uint8_t cProducaoExterna;
  uint8_t cFiller[4];
  _REG_PP_REMESSA_INDUSTRIALIZACAOPS regRemessaIndustrializacao;
  _REG_ES_MOVIMENTOPS regMovimentoRefugo;
  _REG_ES_MOVIMENTOPS* pregMvtoEntrada;  // count in usQtdMvtoEntrada
  _REG_ES_MOVIMENTOPS* pregMovimentos;  // count in usQtdMvtoEstoque
  // Count in usQtdRetornoIndustExt.
  _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS* pregRetornoIndustrializacao;
  _REG_PP_APONTAMENTO_RECURSOPS* pregRecursosNaoApontados;  // count in usQtdRecursosNaoApontados
  _REG_PP_APONTAMENTO_RECURSOPS* pregRecursos;  // count in usQtdRecursos
  uint32_t* plistaChaveApontamentoImportado;  // count in usQtdChaveApontamentoImportado
};
static_assert(sizeof(_REG_VARMO_OP_APONTAMENTO) == 1264);
static_assert(offsetof(_REG_VARMO_OP_APONTAMENTO, regRemessaIndustrializacao) == 854);
static_assert(offsetof(_REG_VARMO_OP_APONTAMENTO, regMovimentoRefugo) == 916);
static_assert(offsetof(_REG_VARMO_OP_APONTAMENTO, pregMvtoEntrada) == 1240);
static_assert(offsetof(_REG_VARMO_OP_APONTAMENTO, pregMovimentos) == 1244);
static_assert(offsetof(_REG_VARMO_OP_APONTAMENTO, pregRetornoIndustrializacao) == 1248);
static_assert(offsetof(_REG_VARMO_OP_APONTAMENTO, pregRecursosNaoApontados) == 1252);
static_assert(offsetof(_REG_VARMO_OP_APONTAMENTO, pregRecursos) == 1256);
static_assert(offsetof(_REG_VARMO_OP_APONTAMENTO, plistaChaveApontamentoImportado) == 1260);

// The report of one resource within a production report, with its operations.
struct _REG_PP_APONTAMENTO_RECURSOPS {
  CY vCapacidade;
  CY vSetup;
  CY v8Custo;
  CY vPercEficiencia;
  uint32_t lPonteiroCentroCustos;
  int32_t lPonteiroProcesso;
  int32_t lPonteiroRecurso;
  uint16_t usQuantidadeApontamentoOperacao;
  uint8_t cTipo;
  uint8_t cCustoTempoPorUnidade;
  uint8_t cTipoCusto;
  uint8_t cDesconsiderarTempos;
  uint8_t cFiller[2];
  // Count in usQuantidadeApontamentoOperacao.
  _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS* pregOperacoes;
};
static_assert(sizeof(_REG_PP_APONTAMENTO_RECURSOPS) == 56);
static_assert(offsetof(_REG_PP_APONTAMENTO_RECURSOPS, pregOperacoes) == 52);

// One operation reported for a resource, with its counters, quantities, intervals and details.
struct _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS {
  uint32_t ulPonteiroOperacaoProducao;
  uint16_t usDataApontamentoInicial;
  uint16_t usHoraApontamentoInicial;
  uint16_t usDataApontamentoFinal;
  uint16_t usHoraApontamentoFinal;
  uint16_t usQuantApontamentoContador;
  uint16_t usQuantApontamentoQuantidade;
  uint16_t usQuantApontamentoIntervalo;
  uint16_t usQuantApontamentoDetalhe;
  uint8_t cApontaContador;
  uint8_t cApontaQuantidade;
  uint8_t cApontaIntervalo;
  uint8_t cApontaDetalhe;
  uint8_t cTipoOperacaoProducao;
  uint8_t cFiller[7];
  // Count in usQuantApontamentoContador.
  _REG_PP_APONTAMENTO_RECURSO_OPERACAO_CONTADORPS* pregContadores;
  // Count in usQuantApontamentoQuantidade.
  _REG_PP_APONTAMENTO_RECURSO_OPERACAO_QUANTIDADEPS* pregQuantidades;
  // Count in usQuantApontamentoIntervalo.
  _REG_PP_APONTAMENTO_RECURSO_OPERACAO_INTERVALOPS* pregIntervalos;
  // Count in usQuantApontamentoDetalhe.
  _REG_PP_APONTAMENTO_RECURSO_OPERACAO_DETALHEPS* pregDetalhes;
};
static_assert(sizeof(_REG_PP_APONTAMENTO_RECURSO_OPERACAOPS) == 48);
static_assert(offsetof(_REG_PP_APONTAMENTO_RECURSO_OPERACAOPS, pregQuantidades) == 36);
static_assert(offsetof(_REG_PP_APONTAMENTO_RECURSO_OPERACAOPS, pregIntervalos) == 40);
static_assert(offsetof(_REG_PP_APONTAMENTO_RECURSO_OPERACAOPS, pregDetalhes) == 44);

// One counter reading of a reported operation.
struct _REG_PP_APONTAMENTO_RECURSO_OPERACAO_CONTADORPS {
  CY vContadorInicial;
  CY vContadorFinal;
  uint32_t ulPonteiroUnidadeMedida;
  uint16_t usNumeroDigitos;
  uint8_t cUnidadeProdutoServico;
  char szNomeInicial[22];
  char szNomeFinal[22];
  uint8_t cAtualizarContadorRecurso;
  uint8_t cFiller[4];
};
static_assert(sizeof(_REG_PP_APONTAMENTO_RECURSO_OPERACAO_CONTADORPS) == 72);

// One quantity of a reported operation.
struct _REG_PP_APONTAMENTO_RECURSO_OPERACAO_QUANTIDADEPS {
  CY vQuantidade;
  uint32_t ulPonteiroUnidadeMedida;
  char szNome[22];
  uint8_t cUnidadeProdutoServico;
  uint8_t cFiller[5];
};
static_assert(sizeof(_REG_PP_APONTAMENTO_RECURSO_OPERACAO_QUANTIDADEPS) == 40);

// One time interval of a reported operation.
struct _REG_PP_APONTAMENTO_RECURSO_OPERACAO_INTERVALOPS {
  CY vValorInicial;
  CY vValorFinal;
  uint32_t ulPonteiroUnidadeMedida;
  uint16_t usDataInicial;
  uint16_t usDataFinal;
  uint16_t usHoraInicial;
  uint16_t usHoraFinal;
  char szNomeInicial[22];
  char szNomeFinal[22];
  uint8_t cValorData;
  uint8_t cUnidadeProdutoServico;
  uint8_t cFiller[6];
};
static_assert(sizeof(_REG_PP_APONTAMENTO_RECURSO_OPERACAO_INTERVALOPS) == 80);

// One free detail of a reported operation.
struct _REG_PP_APONTAMENTO_RECURSO_OPERACAO_DETALHEPS {
  char szNome[22];
  char szDetalhe[1002];
};
static_assert(sizeof(_REG_PP_APONTAMENTO_RECURSO_OPERACAO_DETALHEPS) == 1024);

// One image of an order process: its file name.
struct _REG_PP_OP_PROCESSO_IMAGEMPS {
  char szNomeArquivo[260];
};
static_assert(sizeof(_REG_PP_OP_PROCESSO_IMAGEMPS) == 260);

// One label of an order process.
struct _REG_PP_OP_PROCESSO_ETIQUETAPS {
  uint32_t ulQuantidadeEmitida;
  uint32_t ulQuantidadeTotal;
  uint16_t usQuantidade;
  char szDescricao[52];
  char szLeiaute[260];
};
static_assert(sizeof(_REG_PP_OP_PROCESSO_ETIQUETAPS) == 322);

// The request of EmitirEtiquetas.
struct _REG_PP_EMITIR_ETIQUETA_OPPS {
  uint32_t ulChaveOP;
  uint32_t ulQtdEtiquetas;
  uint32_t ulTamanhoLoteEtiqueta;
  uint16_t usIdxProcesso;
  uint16_t usIdxEtiqueta;
};
static_assert(sizeof(_REG_PP_EMITIR_ETIQUETA_OPPS) == 16);

// A list of issued labels.
struct _REG_PP_LISTA_ETIQUETA_EMITIDAPS {
  uint32_t ulQuantidade;
  _REG_PP_OP_ETIQUETA_EMITIDAPS* pregEtiquetas;  // count in ulQuantidade
};
static_assert(sizeof(_REG_PP_LISTA_ETIQUETA_EMITIDAPS) == 8);
static_assert(offsetof(_REG_PP_LISTA_ETIQUETA_EMITIDAPS, pregEtiquetas) == 4);

// One issued label.
struct _REG_PP_OP_ETIQUETA_EMITIDAPS {
  uint32_t ulChaveEtiqueta;
  uint32_t ulChaveOP;
  uint32_t ulQtdSolicitada;
  uint32_t ulNrLoteEtiqueta;
  uint32_t ulTamanhoLoteEtiqueta;
  int32_t lPonteiroProcesso;
  uint16_t usIdxProcessoEtiqueta;
  uint16_t usPonteiroUsuario;
  uint16_t usDataEmissao;
  uint16_t usHoraEmissao;
  uint8_t cFiller[8];
};
static_assert(sizeof(_REG_PP_OP_ETIQUETA_EMITIDAPS) == 40);

// A list of production reports.
struct _REG_VARMO_LISTA_OP_APONTAMENTOS {
  int32_t lQuantidade;
  _REG_VARMO_OP_APONTAMENTO* pregApontamentos;  // count in lQuantidade
};
static_assert(sizeof(_REG_VARMO_LISTA_OP_APONTAMENTOS) == 8);
static_assert(offsetof(_REG_VARMO_LISTA_OP_APONTAMENTOS, pregApontamentos) == 4);

// The input of CalcularValorEntrada and CalcularValorRecursosNaoApontados.
struct _REG_VARMO_VALOR_ENTRADA_INPS {
  CY v8PercentualApontado;
  CY vQuantidade;
  uint32_t lChaveOP;
  uint32_t ulChaveOPSolicitante;
  uint32_t lChaveApontamento;
  uint32_t ulChaveOPOrigem;
  int32_t lPonteiroProcesso;
  uint8_t cCalculoES;
  uint8_t cFiller[11];
};
static_assert(sizeof(_REG_VARMO_VALOR_ENTRADA_INPS) == 48);

// The output of CalcularValorEntrada and CalcularValorRecursosNaoApontados.
struct _REG_VARMO_VALOR_ENTRADA_OUTPS {
  CY v8PercentualApontado;
  CY v8ValorCustoDireto;
  CY v8ValorCustoIndireto;
  CY v8ValorCustoInsumos;
};
static_assert(sizeof(_REG_VARMO_VALOR_ENTRADA_OUTPS) == 32);

// A resource and a period (the input of the per-resource period searches).
struct _REG_PP_DISPONIBILIDADE_RECURSOPS {
  uint32_t ulPonteiroRecurso;
  uint16_t usDataInicioPeriodo;
  uint16_t usHoraInicioPeriodo;
  uint16_t usDataFimPeriodo;
  uint16_t usHoraFimPeriodo;
};
static_assert(sizeof(_REG_PP_DISPONIBILIDADE_RECURSOPS) == 12);

// The filter of the resource-report searches and of the resource-report report.
struct _REG_PP_FILTRO_APONTAMENTO_RECURSOPS {
  uint32_t ulPonteiroRecurso;
  uint32_t ulPonteiroTipoRecurso;
  uint32_t ulPonteiroProjeto;
  uint32_t ulPonteiroProcesso;
  uint32_t ulPonteiroOperacaoProducao;
  uint32_t ulPonteiroSuplemento1;
  uint32_t ulPonteiroSuplemento2;
  uint32_t ulPonteiroSuplemento3;
  uint16_t usPonteiroFilial;
  uint16_t usDataApontamentoRecursoInicio;
  uint16_t usDataApontamentoRecursoFim;
  uint8_t cTipoOperacaoProducao;
  uint8_t cFiller[1];
};
static_assert(sizeof(_REG_PP_FILTRO_APONTAMENTO_RECURSOPS) == 40);

// A list of resource-report summaries.
struct _REG_PP_LISTA_RESUMO_APONTAMENTO_RECURSOPS {
  uint32_t ulQuantidade;
  _REG_PP_RESUMO_APONTAMENTO_RECURSOPS* pRegListaPS;  // count in ulQuantidade
};
static_assert(sizeof(_REG_PP_LISTA_RESUMO_APONTAMENTO_RECURSOPS) == 8);
static_assert(offsetof(_REG_PP_LISTA_RESUMO_APONTAMENTO_RECURSOPS, pRegListaPS) == 4);

// A summary of one resource report with its counters, quantities, intervals and details.
struct _REG_PP_RESUMO_APONTAMENTO_RECURSOPS {
  uint32_t ulChaveOP;
  uint32_t ulChaveApontamento;
  uint32_t ulPonteiroTipoRecurso;
  uint32_t ulPonteiroRecurso;
  uint32_t ulPonteiroProjeto;
  uint32_t ulPonteiroProcesso;
  uint32_t ulPonteiroOperacaoProducao;
  uint32_t ulPonteiroSuplementoInfo1;
  uint32_t ulPonteiroSuplementoInfo2;
  uint32_t ulPonteiroSuplementoInfo3;
  uint16_t usPonteiroFilial;
  uint16_t usDataApontamentoInicial;
  uint16_t usHoraApontamentoInicial;
  uint16_t usDataApontamentoFinal;
  uint16_t usHoraApontamentoFinal;
  uint16_t usQuantApontamentoContador;
  uint16_t usQuantApontamentoQuantidade;
  uint16_t usQuantApontamentoIntervalo;
  uint16_t usQuantApontamentoDetalhe;
  uint8_t cTipoOperacaoProducao;
  uint8_t cApontaContador;
  uint8_t cApontaQuantidade;
  uint8_t cApontaIntervalo;
  uint8_t cApontaDetalhe;
  uint8_t cFiller[1];
  // Count in usQuantApontamentoContador.
  _REG_PP_APONTAMENTO_RECURSO_OPERACAO_CONTADORPS* pregContadores;
  // Count in usQuantApontamentoQuantidade.
  _REG_PP_APONTAMENTO_RECURSO_OPERACAO_QUANTIDADEPS* pregQuantidades;
  // Count in usQuantApontamentoIntervalo.
  _REG_PP_APONTAMENTO_RECURSO_OPERACAO_INTERVALOPS* pregIntervalos;
  // Count in usQuantApontamentoDetalhe.
  _REG_PP_APONTAMENTO_RECURSO_OPERACAO_DETALHEPS* pregDetalhes;
};
static_assert(sizeof(_REG_PP_RESUMO_APONTAMENTO_RECURSOPS) == 80);
static_assert(offsetof(_REG_PP_RESUMO_APONTAMENTO_RECURSOPS, pregQuantidades) == 68);
static_assert(offsetof(_REG_PP_RESUMO_APONTAMENTO_RECURSOPS, pregIntervalos) == 72);
static_assert(offsetof(_REG_PP_RESUMO_APONTAMENTO_RECURSOPS, pregDetalhes) == 76);

// The reporting filter (SetFiltroApontamento, BuscaPonteirosApontamento, two reports).
struct _REG_VARMO_FILTRO_APONTAMENTOPS {
  uint32_t ulChaveApontamento;
  uint32_t lChaveOP;
  uint32_t ulChaveOPInicial;
  uint32_t ulChaveOPFinal;
  _REG_POSICAO_PRODUTOPS regPosicaoProdutoServico;
  int32_t lPonteiroProjeto;
  int32_t lPonteiroTipoOP;
  int32_t lPonteiroProcesso;
  int32_t lPonteiroFluxoProcesso;
  int32_t lPonteiroSuplemento1;
  int32_t lPonteiroSuplemento2;
  int32_t lPonteiroSuplemento3;
  int32_t lPonteiroOperacao;
  int32_t lPonteiroMotivoRefugo;
  uint16_t usPonteiroFilial;
  uint16_t usDataInicial;
  uint16_t usDataFinal;
  uint16_t usDataApontamentoInicio;
  uint16_t usDataApontamentoFim;
  uint8_t cProcessoExterno;
  uint8_t cProcessoInterno;
  uint8_t cEntradaPendenteES;
  uint8_t cTipoProdutoServico;
  uint8_t cFiltroProdutoServico;
  uint8_t cFiller[7];
};
static_assert(sizeof(_REG_VARMO_FILTRO_APONTAMENTOPS) == 84);
static_assert(offsetof(_REG_VARMO_FILTRO_APONTAMENTOPS, lPonteiroProjeto) == 26);
static_assert(offsetof(_REG_VARMO_FILTRO_APONTAMENTOPS, lPonteiroTipoOP) == 30);
static_assert(offsetof(_REG_VARMO_FILTRO_APONTAMENTOPS, lPonteiroProcesso) == 34);
static_assert(offsetof(_REG_VARMO_FILTRO_APONTAMENTOPS, lPonteiroFluxoProcesso) == 38);
static_assert(offsetof(_REG_VARMO_FILTRO_APONTAMENTOPS, lPonteiroSuplemento1) == 42);
static_assert(offsetof(_REG_VARMO_FILTRO_APONTAMENTOPS, lPonteiroSuplemento2) == 46);
static_assert(offsetof(_REG_VARMO_FILTRO_APONTAMENTOPS, lPonteiroSuplemento3) == 50);
static_assert(offsetof(_REG_VARMO_FILTRO_APONTAMENTOPS, lPonteiroOperacao) == 54);
static_assert(offsetof(_REG_VARMO_FILTRO_APONTAMENTOPS, lPonteiroMotivoRefugo) == 58);
static_assert(offsetof(_REG_VARMO_FILTRO_APONTAMENTOPS, usPonteiroFilial) == 62);
static_assert(offsetof(_REG_VARMO_FILTRO_APONTAMENTOPS, usDataInicial) == 64);
static_assert(offsetof(_REG_VARMO_FILTRO_APONTAMENTOPS, usDataFinal) == 66);
static_assert(offsetof(_REG_VARMO_FILTRO_APONTAMENTOPS, usDataApontamentoInicio) == 68);
static_assert(offsetof(_REG_VARMO_FILTRO_APONTAMENTOPS, usDataApontamentoFim) == 70);
static_assert(offsetof(_REG_VARMO_FILTRO_APONTAMENTOPS, cProcessoExterno) == 72);
static_assert(offsetof(_REG_VARMO_FILTRO_APONTAMENTOPS, cProcessoInterno) == 73);
static_assert(offsetof(_REG_VARMO_FILTRO_APONTAMENTOPS, cEntradaPendenteES) == 74);
static_assert(offsetof(_REG_VARMO_FILTRO_APONTAMENTOPS, cTipoProdutoServico) == 75);
static_assert(offsetof(_REG_VARMO_FILTRO_APONTAMENTOPS, cFiltroProdutoServico) == 76);
static_assert(offsetof(_REG_VARMO_FILTRO_APONTAMENTOPS, cFiller) == 77);

// A production stock entry (the input of the searches for the producing and consuming orders).
struct _REG_PP_ENTRADA_PRODUCAOPS {
  _REG_ES_LOTEPS regLote;
  _REG_POSICAO_PRODUTOPS regPosicaoProduto;
  uint8_t cConsiderarSomenteIdenticos;
  uint8_t cFiller[1];
};
static_assert(sizeof(_REG_PP_ENTRADA_PRODUCAOPS) == 56);
static_assert(offsetof(_REG_PP_ENTRADA_PRODUCAOPS, cConsiderarSomenteIdenticos) == 54);
static_assert(offsetof(_REG_PP_ENTRADA_PRODUCAOPS, cFiller) == 55);

// The key of an order item and process to report.
struct _REG_PP_KEY_ITEM_APONTAMENTOPS {
  uint32_t ulChaveOP;
  uint32_t ulPonteiroPedidoNecessidade;
  uint32_t ulPonteiroProcesso;
  uint16_t usIdxItemPedido;
  uint8_t cTipoItem;
  uint8_t cFiller[9];
};
static_assert(sizeof(_REG_PP_KEY_ITEM_APONTAMENTOPS) == 24);

// The balance of an order process that can still be reported.
struct _REG_PP_SALDO_PROCESSOPS {
  CY vApontamentoProcessoAnterior;
  CY vApontamentoProcessoAtual;
  CY vApontamentoProcessoPosterior;
  CY vRefugoProcessoAnterior;
  CY vRefugoProcessoAtual;
  CY vRefugoProcessoPosterior;
  CY vQuantidadeProgramada;
  CY vSaldoItemAtual;
  uint32_t ulPonteiroProcessoAnterior;
  uint32_t ulPonteiroProcessoAtual;
  uint32_t ulPonteiroProcessoPosterior;
  uint8_t cPrimeiroProcesso;
  uint8_t cUltimoProcesso;
  uint8_t cSituacaoProcessoAnterior;
  uint8_t cHouveEncerramentoForcado;
};
static_assert(sizeof(_REG_PP_SALDO_PROCESSOPS) == 80);

// A requirement, with the reference to the document that generated it.
struct _REG_VARMO_OP_NECESSIDADE {
  CY vQtdSolicitada;
  CY vQtdProgramada;
  CY vQtdProduzida;
  CY vQtdCancelada;
  CY vQtdRefugo;
  CY vQtdAgrupada;
  uint32_t ulChave;
  int32_t lPonteiroOPGeradora;
  int32_t lPonteiroColecao;
  _QV_DMC_ps RegQuemGerou;
  _REG_POSICAO_PRODUTOPS regPosProduto;
  uint16_t usPonteiroFilial;
  uint16_t usDataEmissao;
  uint16_t usDataCancelamentoManual;
  uint16_t usPonteiroUsuarioEmissao;
  uint16_t usPonteiroUsuarioCancelManual;
  uint8_t cTipoRegistro;
  uint8_t cFiller[9];
};
static_assert(sizeof(_REG_VARMO_OP_NECESSIDADE) == 96);
static_assert(offsetof(_REG_VARMO_OP_NECESSIDADE, regPosProduto) == 66);
static_assert(offsetof(_REG_VARMO_OP_NECESSIDADE, usPonteiroFilial) == 76);
static_assert(offsetof(_REG_VARMO_OP_NECESSIDADE, usDataEmissao) == 78);
static_assert(offsetof(_REG_VARMO_OP_NECESSIDADE, usDataCancelamentoManual) == 80);
static_assert(offsetof(_REG_VARMO_OP_NECESSIDADE, usPonteiroUsuarioEmissao) == 82);
static_assert(offsetof(_REG_VARMO_OP_NECESSIDADE, usPonteiroUsuarioCancelManual) == 84);
static_assert(offsetof(_REG_VARMO_OP_NECESSIDADE, cTipoRegistro) == 86);
static_assert(offsetof(_REG_VARMO_OP_NECESSIDADE, cFiller) == 87);

// The input of FazVerificacao.
struct _REG_PP_OP_VERIFICACAO_INPS {
  uint32_t ulChaveOP;
  uint32_t lPonteiroNotaFiscalSaida;
  uint8_t cTipoVerificacao;
  uint8_t cFiller[23];
};
static_assert(sizeof(_REG_PP_OP_VERIFICACAO_INPS) == 32);

// The output of FazVerificacao.
struct _REG_PP_OP_VERIFICACAO_OUTPS {
  uint8_t cExiste;
  uint8_t cFiller[15];
};
static_assert(sizeof(_REG_PP_OP_VERIFICACAO_OUTPS) == 16);

// A time balance (the output of CalcularSaldoHorasRecursoOP).
struct _REG_PP_OP_TEMPOPS {
  CY vSaldoRecurso;
};
static_assert(sizeof(_REG_PP_OP_TEMPOPS) == 8);

#pragma pack(pop)
