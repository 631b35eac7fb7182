// Technical sheets (per product, the processes with their products, tolerances, images and
// labels; suggestions and the production forecast), the module's master settings with the
// per-branch outside-reporting settings and the data version, industrial calendars and
// sections: their records and the interfaces IQVPP_FichaTecnica, IQVPP_MestrePP,
// IQVPP_Calendario and IQVPP_Secao.
// Layout rules, ownership across a call and the common method pattern: VarmoRegistrosComuns.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com/bstr.h"
#include "platform/com/currency.h"
#include "platform/com/unknown.h"
#include "server/idl/VarmoRegistrosComuns.h"

#pragma pack(push, 2)

struct _REG_VARMO_PROCESSO_FICHA_TECNICAPS;
struct _REG_VARMO_PRODUTO_FICHA_TECNICAPS;
struct _REG_VARMO_TOLERANCIA_PARA_APONTAMENTOPS;
struct _REG_PP_IMAGEM_FICHA_TECNICAPS;
struct _REG_PP_ETIQUETA_FICHA_TECNICAPS;
struct _REG_PP_GRADE_PRODUTO_FICHAPS;
struct _REG_PP_PREV_PRODUCAO_PRODUTOPS;
struct _REG_PP_PONTEIROS_OPESCOLHAPS;

// A technical sheet (routing) of a product with its processes.
struct _REG_VARMO_FICHA_TECNICAPS {
  int32_t lPosicao;
  int32_t lPonteiroColecao;
  _REG_POSICAO_PRODUTOPS regPosicaoProdutoServico;
  int32_t lPonteiroFluxoProcesso;
  uint16_t usPonteiroFilial;
  uint16_t usQuantidadeProcessos;
  uint16_t usDataGravacao;
  uint8_t cAtivo;  // 1 = active
  uint8_t cQuantidadeCasasDecimaisEstoque;
  uint8_t cTipoProdutoServico;
  uint8_t cFiller[11];
  _REG_VARMO_PROCESSO_FICHA_TECNICAPS* pregProcessos;  // count in usQuantidadeProcessos
};
static_assert(sizeof(_REG_VARMO_FICHA_TECNICAPS) == 46);
static_assert(offsetof(_REG_VARMO_FICHA_TECNICAPS, lPonteiroFluxoProcesso) == 18);
static_assert(offsetof(_REG_VARMO_FICHA_TECNICAPS, usPonteiroFilial) == 22);
static_assert(offsetof(_REG_VARMO_FICHA_TECNICAPS, usQuantidadeProcessos) == 24);
static_assert(offsetof(_REG_VARMO_FICHA_TECNICAPS, usDataGravacao) == 26);
static_assert(offsetof(_REG_VARMO_FICHA_TECNICAPS, cAtivo) == 28);
static_assert(offsetof(_REG_VARMO_FICHA_TECNICAPS, cQuantidadeCasasDecimaisEstoque) == 29);
static_assert(offsetof(_REG_VARMO_FICHA_TECNICAPS, cTipoProdutoServico) == 30);
static_assert(offsetof(_REG_VARMO_FICHA_TECNICAPS, cFiller) == 31);
static_assert(offsetof(_REG_VARMO_FICHA_TECNICAPS, pregProcessos) == 42);

// One process of a technical sheet with its products, tolerances, images and labels.
struct _REG_VARMO_PROCESSO_FICHA_TECNICAPS {
  CY v8CustoIndependenteProcesso;
  CY v8CustoProcesso;
  CY v8CustoProcessoTerceirizacao;
  CY v8TempoPadraoMinPorUnidade;
  CY vCapacidadeProdutiva;
  int32_t lPonteiroProcesso;
  uint16_t usPercentualQuebra;
  uint16_t usPercCalcDiminuiQuant;
  uint16_t usPercCalcAtendeQuant;
  uint16_t usQuantidadeProdutos;
  uint16_t usQuantidadeTolerancia;
  uint16_t usQtdImagens;
  uint16_t usQtdEtiquetas;
  char szDetalhe[514];
  uint8_t cRecebeApontamento;
  uint8_t cApontarPesoBruto;
  uint8_t cCustoPorApontamento;
  uint8_t cFiller[11];
  _REG_VARMO_PRODUTO_FICHA_TECNICAPS* pregProdutos;  // count in usQuantidadeProdutos
  _REG_VARMO_TOLERANCIA_PARA_APONTAMENTOPS* pregTolerancias;  // count in usQuantidadeTolerancia
  _REG_PP_IMAGEM_FICHA_TECNICAPS* pregImagens;  // count in usQtdImagens
  _REG_PP_ETIQUETA_FICHA_TECNICAPS* pregEtiquetas;  // count in usQtdEtiquetas
};
static_assert(sizeof(_REG_VARMO_PROCESSO_FICHA_TECNICAPS) == 602);
static_assert(offsetof(_REG_VARMO_PROCESSO_FICHA_TECNICAPS, pregProdutos) == 586);
static_assert(offsetof(_REG_VARMO_PROCESSO_FICHA_TECNICAPS, pregTolerancias) == 590);
static_assert(offsetof(_REG_VARMO_PROCESSO_FICHA_TECNICAPS, pregImagens) == 594);
static_assert(offsetof(_REG_VARMO_PROCESSO_FICHA_TECNICAPS, pregEtiquetas) == 598);

// One product (input or output) of a technical-sheet process, with its grid rows.
struct _REG_VARMO_PRODUTO_FICHA_TECNICAPS {
  CY vQuantidade;
  CY vQtdComQuebra;
  CY v8ValorUnitario;
  _REG_POSICAO_PRODUTOPS regPosicaoProduto;
  uint16_t usPonteiroLocalEstocagem;
  uint16_t usPercentualQuebra;
  uint16_t usPonteiroGradeProduto;
  uint16_t usQuantidadeGradeProduto;
  uint8_t cPermiteAlterar;
  uint8_t cFiller[13];
  _REG_PP_GRADE_PRODUTO_FICHAPS* pregGradeProduto;  // count in usQuantidadeGradeProduto
};
static_assert(sizeof(_REG_VARMO_PRODUTO_FICHA_TECNICAPS) == 60);
static_assert(offsetof(_REG_VARMO_PRODUTO_FICHA_TECNICAPS, usPonteiroLocalEstocagem) == 34);
static_assert(offsetof(_REG_VARMO_PRODUTO_FICHA_TECNICAPS, usPercentualQuebra) == 36);
static_assert(offsetof(_REG_VARMO_PRODUTO_FICHA_TECNICAPS, usPonteiroGradeProduto) == 38);
static_assert(offsetof(_REG_VARMO_PRODUTO_FICHA_TECNICAPS, usQuantidadeGradeProduto) == 40);
static_assert(offsetof(_REG_VARMO_PRODUTO_FICHA_TECNICAPS, cPermiteAlterar) == 42);
static_assert(offsetof(_REG_VARMO_PRODUTO_FICHA_TECNICAPS, cFiller) == 43);
static_assert(offsetof(_REG_VARMO_PRODUTO_FICHA_TECNICAPS, pregGradeProduto) == 56);

// One grid row of a technical-sheet product.
struct _REG_PP_GRADE_PRODUTO_FICHAPS {
  CY vQuantidade;
  uint16_t usPonteiroItemGradeProduto;
  uint16_t usPonteiroGradeInsumo;
  uint16_t usPonteiroItemGradeInsumo;
  uint8_t cFiller[14];
};
static_assert(sizeof(_REG_PP_GRADE_PRODUTO_FICHAPS) == 28);

// One reporting tolerance of a technical-sheet process.
struct _REG_VARMO_TOLERANCIA_PARA_APONTAMENTOPS {
  CY vQtdMinima;
  CY vQtdMaxima;
  char szDescricao[54];
};
static_assert(sizeof(_REG_VARMO_TOLERANCIA_PARA_APONTAMENTOPS) == 70);

// One image of a technical-sheet process.
struct _REG_PP_IMAGEM_FICHA_TECNICAPS {
  char szNomeInterno[260];
  char szNomeExterno[260];
  char szPathLocal[260];
  uint8_t cImagemExportacaoOP;
  uint8_t cFiller[5];
};
static_assert(sizeof(_REG_PP_IMAGEM_FICHA_TECNICAPS) == 786);

// One label of a technical-sheet process.
struct _REG_PP_ETIQUETA_FICHA_TECNICAPS {
  uint16_t usQuantidade;
  char szDescricao[52];
  char szLeiaute[260];
  uint8_t cFiller[10];
};
static_assert(sizeof(_REG_PP_ETIQUETA_FICHA_TECNICAPS) == 324);

// The key of a technical sheet: product and grid position, collection, process flow, branch and
// product-or-service kind.
struct _REG_VARMO_KEY_FICHA_TECNICAPS {
  _REG_POSICAO_PRODUTOPS regPosicaoProdutoServico;
  int32_t lPonteiroColecao;
  int32_t lPonteiroFluxoProcesso;
  uint16_t usPonteiroFilial;
  uint8_t cUtilizarFormaRecursiva;
  uint8_t cTipoProdutoServico;
  uint8_t cFiller[4];
};
static_assert(sizeof(_REG_VARMO_KEY_FICHA_TECNICAPS) == 26);
static_assert(offsetof(_REG_VARMO_KEY_FICHA_TECNICAPS, lPonteiroColecao) == 10);
static_assert(offsetof(_REG_VARMO_KEY_FICHA_TECNICAPS, lPonteiroFluxoProcesso) == 14);
static_assert(offsetof(_REG_VARMO_KEY_FICHA_TECNICAPS, usPonteiroFilial) == 18);
static_assert(offsetof(_REG_VARMO_KEY_FICHA_TECNICAPS, cUtilizarFormaRecursiva) == 20);
static_assert(offsetof(_REG_VARMO_KEY_FICHA_TECNICAPS, cTipoProdutoServico) == 21);
static_assert(offsetof(_REG_VARMO_KEY_FICHA_TECNICAPS, cFiller) == 22);

// The input of the production forecast: products and chosen orders.
struct _REG_PP_PREV_PRODUCAO_INPS {
  int32_t lQtdOP;
  uint16_t usPonteiroFilial;
  uint16_t usDataInicio;
  uint16_t usQuantidadeProdutos;
  _REG_PP_PREV_PRODUCAO_PRODUTOPS* pregProdutosServicos;  // count in usQuantidadeProdutos
  _REG_PP_PONTEIROS_OPESCOLHAPS* pregItens;  // count in lQtdOP
};
static_assert(sizeof(_REG_PP_PREV_PRODUCAO_INPS) == 18);
static_assert(offsetof(_REG_PP_PREV_PRODUCAO_INPS, pregProdutosServicos) == 10);
static_assert(offsetof(_REG_PP_PREV_PRODUCAO_INPS, pregItens) == 14);

// One product of the production forecast.
struct _REG_PP_PREV_PRODUCAO_PRODUTOPS {
  CY vQuantidade;
  int32_t lPonteiroColecao;
  int32_t lPonteiroFluxo;
  _REG_POSICAO_PRODUTOPS regPosicaoProdutoServico;
  uint8_t cTipoProdutoServico;
  uint8_t cFiller[1];
};
static_assert(sizeof(_REG_PP_PREV_PRODUCAO_PRODUTOPS) == 28);
static_assert(offsetof(_REG_PP_PREV_PRODUCAO_PRODUTOPS, cTipoProdutoServico) == 26);
static_assert(offsetof(_REG_PP_PREV_PRODUCAO_PRODUTOPS, cFiller) == 27);

// One chosen order of the production forecast: its key and an exclusion switch.
struct _REG_PP_PONTEIROS_OPESCOLHAPS {
  uint32_t ulChaveOP;
  uint8_t cExcluido;
  uint8_t cFiller;
};
static_assert(sizeof(_REG_PP_PONTEIROS_OPESCOLHAPS) == 6);

// The output of the production forecast.
struct _REG_PP_PREV_PRODUCAO_OUTPS {
  int32_t lQtdOP;
  uint16_t usDataFinal;
  uint16_t usNumeroDias;
  _REG_PP_PONTEIROS_OPESCOLHAPS* pregItens;  // count in lQtdOP
};
static_assert(sizeof(_REG_PP_PREV_PRODUCAO_OUTPS) == 12);

// The master settings of the production module (one per company).
struct _REG_VARMO_MESTRE {
  uint16_t iVersaoSistema;
  uint16_t iQuantidadeTerminais;
  uint16_t iSecaoUso;
  uint16_t iCodigoCliente;
  uint16_t iCodigoClienteEscritorio;
  int32_t lPonteiroCodigoBarras;
  int32_t lPonteiroInfApontExternoFilial;  // pointer of the outside-reporting setting of a branch
  uint32_t ulPonteiroCalendarioPadrao;
  uint32_t ulPonteiroTabelaPrecoVendaProduto;
  uint32_t ulPonteiroTabelaPrecoVendaServico;
  uint16_t usDataInferiorPeriodo;
  uint16_t usDataSuperiorPeriodo;
  uint16_t usDataVisualizacao;
  uint16_t usMesAnoImplantacao;
  uint16_t usQtdInfApontExternoFilial;
  uint8_t cPermiteInsercaoManualNecessidade;
  uint8_t cPermiteCancelarNecessidadeAutomatica;
  uint8_t cGerarNecessidadeAutomatica;
  uint8_t cPermiteItemOPComplemento;
  uint8_t cFormacaoCustoProduto;
  uint8_t cDigitosDataRelatorio;
  uint8_t cUsaDataVisualizacao;
  uint8_t cLiberarItemPedido;
  uint8_t cTipoPerdaInsumo;
  uint8_t cObrigaInfSupl1;
  uint8_t cObrigaInfSupl2;
  uint8_t cObrigaInfSupl3;
  uint8_t cPossuiInfSupl1;
  uint8_t cPossuiInfSupl2;
  uint8_t cPossuiInfSupl3;
  uint8_t cObrigaNumeroLote;
  uint8_t cSohApontarAposDefinirRecursos;
  uint8_t cSomenteApontarOPComRecursos;
  uint8_t cPermiteAlterarRecursoNoApontamento;
  uint8_t cConsiderarLoteReposicao;
  uint8_t cSolicitarFaturamentoApontamentoExterno;
  uint8_t cImprimirProcessoPagSeparada;
  uint8_t cUtilizarColecaoProjeto;
  uint8_t cUtilizarEtiquetaProcesso;
  uint8_t cPermitirCancelRemessaIndustrializacao;
  uint8_t cPermitirRetornosSemNF;
  uint8_t cExigirMensagemNoEncerramentoForcado;
  uint8_t cImprimirEtiquetaProcessoFinal;
  uint8_t cEmitirRInaOP;
  uint8_t cNaoExecutarPreBaixaNaOP;
  uint8_t cUtilizaCalendarioProducaoComoPadrao;
  uint8_t cUsarVlrUnitFichaTecnicaEmPrevisoes;
  uint8_t cCustearSoProcessoApontado;
  uint8_t cTratarInsumoEmbalagem;
  uint8_t cConsiderarComplementoNaDemanda;
  uint8_t cFiller[5];
};
static_assert(sizeof(_REG_VARMO_MESTRE) == 80);
static_assert(offsetof(_REG_VARMO_MESTRE, lPonteiroCodigoBarras) == 10);
static_assert(offsetof(_REG_VARMO_MESTRE, lPonteiroInfApontExternoFilial) == 14);
static_assert(offsetof(_REG_VARMO_MESTRE, ulPonteiroCalendarioPadrao) == 18);
static_assert(offsetof(_REG_VARMO_MESTRE, ulPonteiroTabelaPrecoVendaProduto) == 22);
static_assert(offsetof(_REG_VARMO_MESTRE, ulPonteiroTabelaPrecoVendaServico) == 26);
static_assert(offsetof(_REG_VARMO_MESTRE, usDataInferiorPeriodo) == 30);
static_assert(offsetof(_REG_VARMO_MESTRE, usDataSuperiorPeriodo) == 32);
static_assert(offsetof(_REG_VARMO_MESTRE, usDataVisualizacao) == 34);
static_assert(offsetof(_REG_VARMO_MESTRE, usMesAnoImplantacao) == 36);
static_assert(offsetof(_REG_VARMO_MESTRE, usQtdInfApontExternoFilial) == 38);
static_assert(offsetof(_REG_VARMO_MESTRE, cPermiteInsercaoManualNecessidade) == 40);
static_assert(offsetof(_REG_VARMO_MESTRE, cPermiteCancelarNecessidadeAutomatica) == 41);
static_assert(offsetof(_REG_VARMO_MESTRE, cGerarNecessidadeAutomatica) == 42);
static_assert(offsetof(_REG_VARMO_MESTRE, cPermiteItemOPComplemento) == 43);
static_assert(offsetof(_REG_VARMO_MESTRE, cFormacaoCustoProduto) == 44);
static_assert(offsetof(_REG_VARMO_MESTRE, cDigitosDataRelatorio) == 45);
static_assert(offsetof(_REG_VARMO_MESTRE, cUsaDataVisualizacao) == 46);
static_assert(offsetof(_REG_VARMO_MESTRE, cLiberarItemPedido) == 47);
static_assert(offsetof(_REG_VARMO_MESTRE, cTipoPerdaInsumo) == 48);
static_assert(offsetof(_REG_VARMO_MESTRE, cObrigaInfSupl1) == 49);
static_assert(offsetof(_REG_VARMO_MESTRE, cObrigaInfSupl2) == 50);
static_assert(offsetof(_REG_VARMO_MESTRE, cObrigaInfSupl3) == 51);
static_assert(offsetof(_REG_VARMO_MESTRE, cPossuiInfSupl1) == 52);
static_assert(offsetof(_REG_VARMO_MESTRE, cPossuiInfSupl2) == 53);
static_assert(offsetof(_REG_VARMO_MESTRE, cPossuiInfSupl3) == 54);
static_assert(offsetof(_REG_VARMO_MESTRE, cObrigaNumeroLote) == 55);
static_assert(offsetof(_REG_VARMO_MESTRE, cSohApontarAposDefinirRecursos) == 56);
static_assert(offsetof(_REG_VARMO_MESTRE, cSomenteApontarOPComRecursos) == 57);
static_assert(offsetof(_REG_VARMO_MESTRE, cPermiteAlterarRecursoNoApontamento) == 58);
static_assert(offsetof(_REG_VARMO_MESTRE, cConsiderarLoteReposicao) == 59);
static_assert(offsetof(_REG_VARMO_MESTRE, cSolicitarFaturamentoApontamentoExterno) == 60);
static_assert(offsetof(_REG_VARMO_MESTRE, cImprimirProcessoPagSeparada) == 61);
static_assert(offsetof(_REG_VARMO_MESTRE, cUtilizarColecaoProjeto) == 62);
static_assert(offsetof(_REG_VARMO_MESTRE, cUtilizarEtiquetaProcesso) == 63);
static_assert(offsetof(_REG_VARMO_MESTRE, cPermitirCancelRemessaIndustrializacao) == 64);
static_assert(offsetof(_REG_VARMO_MESTRE, cPermitirRetornosSemNF) == 65);
static_assert(offsetof(_REG_VARMO_MESTRE, cExigirMensagemNoEncerramentoForcado) == 66);
static_assert(offsetof(_REG_VARMO_MESTRE, cImprimirEtiquetaProcessoFinal) == 67);
static_assert(offsetof(_REG_VARMO_MESTRE, cEmitirRInaOP) == 68);
static_assert(offsetof(_REG_VARMO_MESTRE, cNaoExecutarPreBaixaNaOP) == 69);
static_assert(offsetof(_REG_VARMO_MESTRE, cUtilizaCalendarioProducaoComoPadrao) == 70);
static_assert(offsetof(_REG_VARMO_MESTRE, cUsarVlrUnitFichaTecnicaEmPrevisoes) == 71);
static_assert(offsetof(_REG_VARMO_MESTRE, cCustearSoProcessoApontado) == 72);
static_assert(offsetof(_REG_VARMO_MESTRE, cTratarInsumoEmbalagem) == 73);
static_assert(offsetof(_REG_VARMO_MESTRE, cConsiderarComplementoNaDemanda) == 74);
static_assert(offsetof(_REG_VARMO_MESTRE, cFiller) == 75);

// The outside-reporting settings of one branch.
struct _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS {
  int32_t lSFAEPonteiroClassificacao;
  uint16_t usPonteiroFilial;
  uint16_t usSFAEPonteiroCFOPRemessaInterna;
  uint16_t usSFAEPonteiroCFOPRemessaExterna;
  uint16_t usSFAEPonteiroHistorico;
  uint8_t cFiller[10];
};
static_assert(sizeof(_REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS) == 22);

// A list of per-branch outside-reporting settings.
struct _REG_PP_LISTA_MESTRE_INF_APONT_EXTERNO_FILIALPS {
  uint16_t usQtdInfApontExternoFilial;
  _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS* pregLista;  // count in usQtdInfApontExternoFilial
};
static_assert(sizeof(_REG_PP_LISTA_MESTRE_INF_APONT_EXTERNO_FILIALPS) == 6);
static_assert(offsetof(_REG_PP_LISTA_MESTRE_INF_APONT_EXTERNO_FILIALPS, pregLista) == 2);

// The data version record: one version per data group, the family version, the creation date and
// the date of the last conversion.
struct _REG_PP_VERSAOPS {
  uint16_t usVersaoMestre;
  uint16_t usVersaoTipoOP;
  uint16_t usVersaoProcesso;
  uint16_t usVersaoFluxoProcesso;
  uint16_t usVersaoOperacaoProducao;
  uint16_t usVersaoFichaTecnica;
  uint16_t usVersaoOrdemProducao;
  uint16_t usVersaoCalendario;
  uint16_t usVersaoSecao;
  uint16_t usVersaoRecurso;
  uint16_t usVersaoPlanoManutencao;
  uint16_t usVersaoGestaoManutencao;
  uint16_t usVersaoColecao;
  uint16_t usVersaoMotivoRefugo;
  uint16_t usVersaoMetasProducao;
  uint16_t usVersaoTipoRecurso;
  uint16_t usVersaoOrvel;
  uint16_t usDataCriacao;
  uint16_t usDataUltimaConversao;
};
static_assert(sizeof(_REG_PP_VERSAOPS) == 38);

// An industrial calendar.
struct _REG_PP_CALENDARIOPS {
  uint32_t lPosicao;
  char szNome[34];
};
static_assert(sizeof(_REG_PP_CALENDARIOPS) == 38);

// One date of a calendar with its day type; the same 6-byte layout as the record of the
// calendar-dates data file.
// Its fields end on an odd byte: the packing adds one trailing pad byte.
struct _REG_PP_DATA_CALENDARIOPS {
  uint16_t usPercentual;
  uint16_t usData;
  uint8_t cTipoData;
};
static_assert(sizeof(_REG_PP_DATA_CALENDARIOPS) == 6);

// A change applied to many dates of a calendar (the input of GravaAlteracaoMultipla).
struct _REG_PP_ALTERACAO_MULTIPLA_CALENDARIO {
  uint32_t ulPonteiroCalendario;
  uint16_t usDataInicio;
  uint16_t usDataFim;
  uint16_t usPercentual;
  uint8_t cDomingo;
  uint8_t cSegundaFeira;
  uint8_t cTercaFeira;
  uint8_t cQuartaFeira;
  uint8_t cQuintaFeira;
  uint8_t cSextaFeira;
  uint8_t cSabado;
  uint8_t cTipoData;
};
static_assert(sizeof(_REG_PP_ALTERACAO_MULTIPLA_CALENDARIO) == 18);

// A section.
struct _REG_PP_SECAOPS {
  uint32_t lPosicao;
  uint32_t lPonteiroCalendario;
  char szCodigo[14];
  char szDescricao[54];
  uint8_t cFiller[10];
};
static_assert(sizeof(_REG_PP_SECAOPS) == 86);

#pragma pack(pop)

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// Technical sheets. Existe takes a key record instead of a code and has no filter switch. A success
// code other than 0 exists here: 0x00040000 | 1617, a routing sheet without processes.
struct IQVPP_FichaTecnica : IUnknown {
  virtual HRESULT Inicializa(_REG_VARMO_INICIALIZAPS RegPS, uint16_t usVersao) = 0;
  virtual HRESULT Finaliza() = 0;
  virtual HRESULT SetFiltro(_REG_VARMO_FILTROPS RegPS) = 0;
  virtual HRESULT LimpaFiltro() = 0;
  virtual HRESULT Grava(int32_t lPntrIn, _REG_VARMO_FICHA_TECNICAPS RegPS, int32_t* plPntrOut) = 0;
  // Writes the images of the technical sheet lPntrIn.
  virtual HRESULT GravaImagens(int32_t lPntrIn, _REG_VARMO_FICHA_TECNICAPS RegPS) = 0;
  virtual HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS* pRegPS) = 0;
  virtual HRESULT LePonteiros(int32_t lQtd, int32_t* plPntrs,
                              _REG_VARMO_FICHA_TECNICAPS* pRegPS) = 0;
  virtual HRESULT Existe(_REG_VARMO_KEY_FICHA_TECNICAPS RegPS, int32_t* plPntr) = 0;
  virtual HRESULT Remove(int32_t lPntrIn) = 0;
  // Finds the technical sheet of a product key and reads it.
  virtual HRESULT BuscaFichaProduto(_REG_VARMO_KEY_FICHA_TECNICAPS regKeyPS,
                                    _REG_VARMO_FICHA_TECNICAPS* pRegPS) = 0;
  // Suggests a technical sheet for a product key.
  virtual HRESULT SugerirFichaTecnica(_REG_VARMO_KEY_FICHA_TECNICAPS regKeyPS,
                                      _REG_VARMO_FICHA_TECNICAPS* pRegPS) = 0;
  // Computes the production forecast for the given products and orders.
  virtual HRESULT CalculaPrevisaoDeProducao(_REG_PP_PREV_PRODUCAO_INPS regIn,
                                            _REG_PP_PREV_PRODUCAO_OUTPS* pregOut) = 0;
  virtual HRESULT FuncaoGenerica(uint32_t lFuncao, _REG_FUNCAO_GENERICA_VARMO regFuncaoGenericaIn,
                                 _REG_FUNCAO_GENERICA_VARMO** regFuncaoGenericaOut) = 0;
};

// The master settings of the module (one record per company). No Finaliza.
struct IQVPP_MestrePP : IUnknown {
  virtual HRESULT Inicializa(_REG_VARMO_INICIALIZAPS RegPS, uint16_t usVersao) = 0;
  // Writes the master-settings record (one per company).
  virtual HRESULT Grava(_REG_VARMO_MESTRE RegPS) = 0;
  // Writes the per-branch settings for outside reporting.
  virtual HRESULT GravaInfApontExternoFiliais(
      uint16_t usQtd, _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS* pregInfApontExternoFiliaisPS,
      int32_t* plPntrOut) = 0;
  // Reads the master-settings record.
  virtual HRESULT Le(_REG_VARMO_MESTRE* pRegPS) = 0;
  // Reads the outside-reporting settings of all branches.
  virtual HRESULT LeListaInfApontExternoFiliais(
      _REG_PP_LISTA_MESTRE_INF_APONT_EXTERNO_FILIALPS* pRegListaPS) = 0;
  // Reads the data version record.
  virtual HRESULT LeVersao(_REG_PP_VERSAOPS* pregVersao) = 0;
  // Returns the server's current date and time.
  virtual HRESULT BuscaInfoServidor(_REG_VARMO_INFO_SERVIDORPS* pRegPS) = 0;
  // Tells whether a product has been used in production data, and the grid level in use.
  virtual HRESULT ProdutoTeveMovimentacao(uint32_t lPonteiroProduto, int32_t* bTeve,
                                          uint16_t* iNivelGradeEmUso) = 0;
  // Reads the outside-reporting settings of one branch.
  virtual HRESULT LeInfApontExternoFiliais(uint16_t usPntrFilial,
                                           _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS* pRegPS) = 0;
  virtual HRESULT FuncaoGenerica(uint32_t lFuncao, _REG_FUNCAO_GENERICA_VARMO regFuncaoGenericaIn,
                                 _REG_FUNCAO_GENERICA_VARMO** regFuncaoGenericaOut) = 0;
};

// Industrial calendars and their dates.
struct IQVPP_Calendario : IUnknown {
  virtual HRESULT Inicializa(_REG_VARMO_INICIALIZAPS RegPS, uint16_t usVersao) = 0;
  virtual HRESULT Finaliza() = 0;
  // Returns the pointers of the calendars.
  virtual HRESULT BuscaPonteirosCalendario(_REG_VARMO_PONTEIROS_ULONGPS* pRegPS) = 0;
  // Reads the calendars of a list of pointers.
  virtual HRESULT LePonteirosCalendario(int32_t lQtd, uint32_t* plPntrs,
                                        _REG_PP_CALENDARIOPS* pRegPS) = 0;
  virtual HRESULT Le(uint32_t lPntr, _REG_PP_CALENDARIOPS* pRegPS) = 0;
  // Returns, for a calendar and a month (usMesAno), a number of dates (pusQuantidade) and a
  // date-record pointer (plPntrData).
  virtual HRESULT BuscaQtdDiasCalendario(uint32_t lPntrCalendario, uint16_t usMesAno,
                                         uint16_t* pusQuantidade, uint32_t* plPntrData) = 0;
  // Reads usQtd date records of a calendar into a caller array of usQtd records.
  virtual HRESULT LeDatasCalendario(uint32_t lPntrIn, uint16_t usQtd,
                                    _REG_PP_DATA_CALENDARIOPS* pRegPS) = 0;
  // Writes a calendar.
  virtual HRESULT GravaCalendario(uint32_t lPntrIn, _REG_PP_CALENDARIOPS RegPS,
                                  uint32_t* plPntrOut) = 0;
  // Writes usQtd date records of a calendar for a month (usMesAno) from a caller array.
  virtual HRESULT GravaDatasCalendario(uint32_t lPntrCalendario, uint16_t usMesAno, uint16_t usQtd,
                                       _REG_PP_DATA_CALENDARIOPS* pRegPS) = 0;
  // Writes a change that applies to many dates of a calendar at once.
  virtual HRESULT GravaAlteracaoMultipla(
      _REG_PP_ALTERACAO_MULTIPLA_CALENDARIO regAlteracaoMultiplaPS) = 0;
  virtual HRESULT FuncaoGenerica(uint32_t lFuncao, _REG_FUNCAO_GENERICA_VARMO regFuncaoGenericaIn,
                                 _REG_FUNCAO_GENERICA_VARMO** regFuncaoGenericaOut) = 0;
};

// Sections. No filter; Existe returns the pointer unsigned and ignores cUtilizaFiltro.
struct IQVPP_Secao : IUnknown {
  virtual HRESULT Inicializa(_REG_VARMO_INICIALIZAPS RegPS, uint16_t usVersao) = 0;
  virtual HRESULT Finaliza() = 0;
  virtual HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROS_ULONGPS* pRegPS) = 0;
  virtual HRESULT LePonteiros(int32_t lQtd, uint32_t* plPntrs, _REG_PP_SECAOPS* pRegPS) = 0;
  virtual HRESULT Grava(uint32_t lPntrIn, _REG_PP_SECAOPS RegPS, uint32_t* plPntrOut) = 0;
  virtual HRESULT Le(uint32_t lPntr, _REG_PP_SECAOPS* pRegPS) = 0;
  virtual HRESULT Existe(BSTR bsCodigo, uint32_t* plPntr, uint8_t cUtilizaFiltro) = 0;
  virtual HRESULT Remove(uint32_t lPntr) = 0;
  virtual HRESULT FuncaoGenerica(uint32_t lFuncao, _REG_FUNCAO_GENERICA_VARMO regFuncaoGenericaIn,
                                 _REG_FUNCAO_GENERICA_VARMO** regFuncaoGenericaOut) = 0;
};

#pragma GCC diagnostic pop
