// Resources and their counters, maintenance plans, maintenance records and resource types with
// the operations they report: their records and the interfaces IQVPP_Recursos,
// IQVPP_Manutencao, IQVPP_GestaoManutencao and IQVPP_TipoRecurso.
// Layout rules, ownership across a call and the common method pattern: VarmoRegistrosComuns.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com/bstr.h"
#include "platform/com/currency.h"
#include "platform/com/unknown.h"
#include "server/idl/VarmoOPApontamento.h"
#include "server/idl/VarmoTipoOPProcessos.h"

#pragma pack(push, 2)

struct _REG_PP_PLANO_MANUTENCAO_COMPONENTEPS;
struct _REG_PP_MANUTENCAO_COMPONENTEPS;
struct _REG_PP_TIPO_RECURSO_OPERACAOPS;
struct _REG_PP_TIPO_RECURSO_CONTADORPS;
struct _REG_PP_TIPO_RECURSO_QUANTIDADEPS;
struct _REG_PP_TIPO_RECURSO_INTERVALOPS;
struct _REG_PP_TIPO_RECURSO_DETALHEPS;

// A resource with its settings.
struct _REG_PP_RECURSOPS {
  CY vCapacidade;
  CY vSetup;
  CY vContadorAtual;
  CY vPercEficiencia;
  CY v8Custo;
  uint32_t lPonteiroCentroCustos;
  uint32_t lPonteiroSecao;
  uint32_t ulPonteiroUnidadeMedidaContador;
  uint32_t ulPonteiroTipoRecurso;
  int32_t lPosicaoRecurso;
  uint16_t usPonteiroFilial;
  uint16_t usNumeroDigitosContador;
  char szCodigo[12];
  char szDescricao[52];
  char szNomeContadorInicial[22];
  char szNomeContadorFinal[22];
  char szDetalhe[512];
  uint8_t cAtivo;  // 1 = active
  uint8_t cTipo;
  uint8_t cCustoTempoPorUnidade;
  uint8_t cTipoCusto;
  uint8_t cUnidadeProdutoServico;
  uint8_t cPossuiContador;
  uint8_t cFiller[6];
};
static_assert(sizeof(_REG_PP_RECURSOPS) == 696);

// The filter of the resources interface.
struct _REG_PP_FILTRO_RECURSOPS {
  uint32_t ulPonteiroTipoRecurso;
  uint32_t lPonteiroSecao;
  int32_t lPonteiroProcesso;
  int32_t lPonteiroRecurso;
  uint16_t usPonteiroFilial;
  uint8_t cNaoVerificarFiliaisAtivas;
  uint8_t cTipo;
  uint8_t cAtivo;  // 1 = active
  uint8_t cFiller[1];
};
static_assert(sizeof(_REG_PP_FILTRO_RECURSOPS) == 22);

// One manual change of a resource counter.
struct _REG_PP_RECURSO_HISTORICO_CONTADORPS {
  CY vContadorAnterior;
  CY vContadorGravado;
  uint32_t ulContadorHistorico;
  uint32_t ulPonteiroRecurso;
  uint32_t ulPonteiroUsuarioGravacao;
  uint16_t usDataGravacao;
  uint16_t usHoraGravacao;
  char szMotivo[202];
  uint8_t cFiller[2];
};
static_assert(sizeof(_REG_PP_RECURSO_HISTORICO_CONTADORPS) == 236);

// A list of manual counter changes.
struct _REG_PP_LISTA_RECURSO_HISTORICO_CONTADORPS {
  uint32_t ulQuantidade;
  _REG_PP_RECURSO_HISTORICO_CONTADORPS* pregLista;  // count in ulQuantidade
};
static_assert(sizeof(_REG_PP_LISTA_RECURSO_HISTORICO_CONTADORPS) == 8);
static_assert(offsetof(_REG_PP_LISTA_RECURSO_HISTORICO_CONTADORPS, pregLista) == 4);

// A counter update of a resource (the input of AtualizaContador).
struct _REG_PP_ATUALIZA_CONTADOR_RECURSOPS {
  CY vContador;
};
static_assert(sizeof(_REG_PP_ATUALIZA_CONTADOR_RECURSOPS) == 8);

// A maintenance plan with its components and its scheduled maintenance.
struct _REG_PP_PLANO_MANUTENCAOPS {
  CY vTempoPrevisto;
  CY vContadorUltimaManutencao;
  CY vContadorCicloManutencao;
  int32_t lPosicao;
  int32_t lPonteiroRecurso;
  uint16_t usDataInicio;
  uint16_t usDataUltimaManutencao;
  uint16_t usDataProximaManutencao;
  uint16_t usNroParaPeriodoManutencao;
  uint16_t usQuantComponentes;
  uint16_t usQuantManutProgramada;
  uint16_t usQuantManutCorretiva;
  char szCodigo[12];
  char szDescricao[52];
  char szDetalhamento[502];
  uint8_t cTipoPeriodicidade;
  uint8_t cControleManutencao;
  uint8_t cAtivo;  // 1 = active
  uint8_t cFiller[1];
  _REG_PP_PLANO_MANUTENCAO_COMPONENTEPS* pregComponentes;  // count in usQuantComponentes
  // Count in usQuantManutProgramada.
  _REG_PP_PLANO_MANUTENCAO_PROGRAMACAOPS* pregManutencaoProgramada;
};
static_assert(sizeof(_REG_PP_PLANO_MANUTENCAOPS) == 624);
static_assert(offsetof(_REG_PP_PLANO_MANUTENCAOPS, pregManutencaoProgramada) == 620);

// One component of a maintenance plan.
struct _REG_PP_PLANO_MANUTENCAO_COMPONENTEPS {
  CY vQuantidade;
  _REG_POSICAO_PRODUTOPS regProdutoServico;
  char szComplemento[502];
  uint8_t cTipoProdutoServico;
  uint8_t cFiller[5];
};
static_assert(sizeof(_REG_PP_PLANO_MANUTENCAO_COMPONENTEPS) == 526);
static_assert(offsetof(_REG_PP_PLANO_MANUTENCAO_COMPONENTEPS, szComplemento) == 18);
static_assert(offsetof(_REG_PP_PLANO_MANUTENCAO_COMPONENTEPS, cTipoProdutoServico) == 520);
static_assert(offsetof(_REG_PP_PLANO_MANUTENCAO_COMPONENTEPS, cFiller) == 521);

// The filter of the maintenance-plan interface.
struct _REG_PP_FILTRO_PLANO_MANUTENCAOPS {
  int32_t lPonteiroPlanoManutencao;
  int32_t lPonteiroRecurso;
  uint8_t cAtivo;  // 1 = active
  uint8_t cFiller[1];
};
static_assert(sizeof(_REG_PP_FILTRO_PLANO_MANUTENCAOPS) == 10);

// The input of AtualizaPlanoManutencao.
struct _REG_PP_ATUALIZA_PLANO_MANUTENCAOPS {
  int32_t lPosicao;
  CY vContadorUltimaManutencao;
  uint16_t usDataUltimaManutencao;
  uint8_t cFiller[2];
};
static_assert(sizeof(_REG_PP_ATUALIZA_PLANO_MANUTENCAOPS) == 16);
static_assert(offsetof(_REG_PP_ATUALIZA_PLANO_MANUTENCAOPS, vContadorUltimaManutencao) == 4);
static_assert(offsetof(_REG_PP_ATUALIZA_PLANO_MANUTENCAOPS, usDataUltimaManutencao) == 12);
static_assert(offsetof(_REG_PP_ATUALIZA_PLANO_MANUTENCAOPS, cFiller) == 14);

// A list of maintenance plans.
struct _REG_PP_LISTA_PLANO_MANUTENCAOPS {
  uint16_t usQuantidade;
  _REG_PP_PLANO_MANUTENCAOPS* pregListaManutencao;  // count in usQuantidade
};
static_assert(sizeof(_REG_PP_LISTA_PLANO_MANUTENCAOPS) == 6);
static_assert(offsetof(_REG_PP_LISTA_PLANO_MANUTENCAOPS, pregListaManutencao) == 2);

// A maintenance record (a maintenance carried out or scheduled) with its components.
struct _REG_PP_MANUTENCAOPS {
  CY vTempoPrevisto;
  CY vContadorEncerramento;
  uint32_t ulChave;
  int32_t lPonteiroRecurso;
  int32_t lPonteiroPlano;
  int32_t lPonteiroRequisitante;
  int32_t lPonteiroPrimeiroComponente;
  uint16_t usHoraEmissao;
  uint16_t usHoraInicio;
  uint16_t usHoraFim;
  uint16_t usDataEmissao;
  uint16_t usDataInicio;
  uint16_t usDataFim;
  uint16_t usQtdComponentes;
  uint16_t usUsuarioGravacao;
  uint16_t usUsuarioEmissao;
  char szDescricao[52];
  char szComplemento[502];
  uint8_t cTipoManutencao;
  uint8_t cSituacao;
  uint8_t cExcluido;
  uint8_t cFiller[1];
  _REG_PP_MANUTENCAO_COMPONENTEPS* pregComponentes;  // count in usQtdComponentes
};
static_assert(sizeof(_REG_PP_MANUTENCAOPS) == 616);
static_assert(offsetof(_REG_PP_MANUTENCAOPS, pregComponentes) == 612);

// One component of a maintenance record.
// Its fields end on an odd byte: the packing adds one trailing pad byte.
struct _REG_PP_MANUTENCAO_COMPONENTEPS {
  _REG_POSICAO_PRODUTOPS regProdutoServico;
  CY vQtdRequisitada;
  CY vQtdAtendida;
  CY vQtdConsumida;
  uint32_t ulChaveRequisicaoInterna;
  uint16_t usIdxRequisicaoInterna;
  char szComplemento[502];
  uint8_t cTipoProdutoServico;
  uint8_t cSituacaoRI;
  uint8_t cTipoRI;
  uint8_t cFiller[10];
};
static_assert(sizeof(_REG_PP_MANUTENCAO_COMPONENTEPS) == 556);
static_assert(offsetof(_REG_PP_MANUTENCAO_COMPONENTEPS, vQtdRequisitada) == 10);
static_assert(offsetof(_REG_PP_MANUTENCAO_COMPONENTEPS, vQtdAtendida) == 18);
static_assert(offsetof(_REG_PP_MANUTENCAO_COMPONENTEPS, vQtdConsumida) == 26);
static_assert(offsetof(_REG_PP_MANUTENCAO_COMPONENTEPS, ulChaveRequisicaoInterna) == 34);
static_assert(offsetof(_REG_PP_MANUTENCAO_COMPONENTEPS, usIdxRequisicaoInterna) == 38);
static_assert(offsetof(_REG_PP_MANUTENCAO_COMPONENTEPS, szComplemento) == 40);
static_assert(offsetof(_REG_PP_MANUTENCAO_COMPONENTEPS, cTipoProdutoServico) == 542);
static_assert(offsetof(_REG_PP_MANUTENCAO_COMPONENTEPS, cSituacaoRI) == 543);
static_assert(offsetof(_REG_PP_MANUTENCAO_COMPONENTEPS, cTipoRI) == 544);
static_assert(offsetof(_REG_PP_MANUTENCAO_COMPONENTEPS, cFiller) == 545);

// The filter of the maintenance-record interface.
// Its fields end on an odd byte: the packing adds one trailing pad byte.
struct _REG_PP_FILTRO_GESTAO_MANUTENCAOPS {
  uint32_t ulChaveInicial;
  uint32_t ulChaveFinal;
  int32_t lPonteiroPlanoManutencao;
  int32_t lPonteiroRecurso;
  int32_t lPonteiroRequisitante;
  uint16_t usDataEmissaoInicial;
  uint16_t usDataEmissaoFinal;
  uint16_t usDataExecucaoInicial;
  uint16_t usDataExecucaoFinal;
  uint16_t usHoraExecucaoInicial;
  uint16_t usHoraExecucaoFinal;
  uint16_t usPonteiroFilial;
  uint8_t cSituacaoManutencao;
  uint8_t cTipoManutencao;
  uint8_t cExisteNoPeriodo;
};
static_assert(sizeof(_REG_PP_FILTRO_GESTAO_MANUTENCAOPS) == 38);

// A resource type with its operations.
struct _REG_PP_TIPO_RECURSOPS {
  uint32_t ulPosicao;
  uint16_t usQuantOperacaoRecurso;
  char szCodigo[12];
  char szDescricao[52];
  char szDetalhamento[502];
  uint8_t cTipo;
  uint8_t cDetalharApontamento;
  uint8_t cInativo;  // 1 = inactive
  uint8_t cFiller[13];
  _REG_PP_TIPO_RECURSO_OPERACAOPS* pregOperacoes;  // count in usQuantOperacaoRecurso
};
static_assert(sizeof(_REG_PP_TIPO_RECURSOPS) == 592);
static_assert(offsetof(_REG_PP_TIPO_RECURSOPS, pregOperacoes) == 588);

// One operation of a resource type with what it reports: counters, quantities, intervals and
// details.
struct _REG_PP_TIPO_RECURSO_OPERACAOPS {
  uint32_t ulPonteiroOperacaoProducao;
  uint32_t ulPonteiroApontaContador;
  uint32_t ulPonteiroApontaQuantidade;
  uint32_t ulPonteiroApontaIntervalo;
  uint32_t ulPonteiroApontaDetalhe;
  uint16_t usQuantApontaContador;
  uint16_t usQuantApontaQuantidade;
  uint16_t usQuantApontaIntervalo;
  uint16_t usQuantApontaDetalhe;
  uint8_t cApontaContador;
  uint8_t cApontaQuantidade;
  uint8_t cApontaIntervalo;
  uint8_t cApontaDetalhe;
  _REG_PP_TIPO_RECURSO_CONTADORPS* pregContadores;  // count in usQuantApontaContador
  _REG_PP_TIPO_RECURSO_QUANTIDADEPS* pregQuantidades;  // count in usQuantApontaQuantidade
  _REG_PP_TIPO_RECURSO_INTERVALOPS* pregIntervalos;  // count in usQuantApontaIntervalo
  _REG_PP_TIPO_RECURSO_DETALHEPS* pregDetalhes;  // count in usQuantApontaDetalhe
};
static_assert(sizeof(_REG_PP_TIPO_RECURSO_OPERACAOPS) == 48);
static_assert(offsetof(_REG_PP_TIPO_RECURSO_OPERACAOPS, pregQuantidades) == 36);
static_assert(offsetof(_REG_PP_TIPO_RECURSO_OPERACAOPS, pregIntervalos) == 40);
static_assert(offsetof(_REG_PP_TIPO_RECURSO_OPERACAOPS, pregDetalhes) == 44);

// One counter that an operation of a resource type reports.
struct _REG_PP_TIPO_RECURSO_CONTADORPS {
  uint32_t ulPonteiroUnidadeMedida;
  uint16_t usNumeroDigitos;
  char szNomeInicial[22];
  char szNomeFinal[22];
  uint8_t cObrigatorio;
  uint8_t cAtualizarContadorRecurso;
  uint8_t cSugerirContadorInicial;
  uint8_t cPodeInicialIgualFinal;
  uint8_t cUnidadeProdutoServico;
  uint8_t cFiller[9];
};
static_assert(sizeof(_REG_PP_TIPO_RECURSO_CONTADORPS) == 64);

// One quantity that an operation of a resource type reports.
struct _REG_PP_TIPO_RECURSO_QUANTIDADEPS {
  uint32_t ulPonteiroUnidadeMedida;
  char szNome[22];
  uint8_t cObrigatorio;
  uint8_t cUnidadeProdutoServico;
  uint8_t cFiller[4];
};
static_assert(sizeof(_REG_PP_TIPO_RECURSO_QUANTIDADEPS) == 32);

// One interval that an operation of a resource type reports.
struct _REG_PP_TIPO_RECURSO_INTERVALOPS {
  uint32_t ulPonteiroUnidadeMedida;
  char szNomeInicial[22];
  char szNomeFinal[22];
  uint8_t cObrigatorio;
  uint8_t cValorData;
  uint8_t cUnidadeProdutoServico;
  uint8_t cFiller[3];
};
static_assert(sizeof(_REG_PP_TIPO_RECURSO_INTERVALOPS) == 54);

// One detail that an operation of a resource type reports.
struct _REG_PP_TIPO_RECURSO_DETALHEPS {
  uint16_t usMaxCaracteres;
  uint16_t usMinCaracteres;
  char szNome[22];
  uint8_t cObrigatorio;
  uint8_t cFiller[5];
};
static_assert(sizeof(_REG_PP_TIPO_RECURSO_DETALHEPS) == 32);

// A list of resource types.
struct _REG_PP_LISTA_TIPO_RECURSOPS {
  uint32_t ulQtd;
  _REG_PP_TIPO_RECURSOPS* pregLista;  // count in ulQtd
};
static_assert(sizeof(_REG_PP_LISTA_TIPO_RECURSOPS) == 8);
static_assert(offsetof(_REG_PP_LISTA_TIPO_RECURSOPS, pregLista) == 4);

// The filter of the resource-types interface.
// Its fields end on an odd byte: the packing adds one trailing pad byte.
struct _REG_PP_FILTRO_TIPO_RECURSOPS {
  uint32_t ulPonteiroOperacaoProducao;
  uint8_t cTipo;
  uint8_t cAtivo;  // 1 = active
  uint8_t cInativo;  // 1 = inactive
};
static_assert(sizeof(_REG_PP_FILTRO_TIPO_RECURSOPS) == 8);

#pragma pack(pop)

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// Resources and their counters. FuncaoGenerica answers success and writes nothing: its output must
// not be read.
struct IQVPP_Recursos : IUnknown {
  virtual HRESULT Inicializa(_REG_VARMO_INICIALIZAPS RegPS, uint16_t usVersao) = 0;
  virtual HRESULT Finaliza() = 0;
  virtual HRESULT Existe(BSTR bsCodigo, int32_t* plPntrOut, uint8_t cUtilizaFiltro) = 0;
  // Tells whether a resource has been used in production data.
  virtual HRESULT VerificaMovimentoRecurso(int32_t lPonteiroRecursoIN,
                                           uint8_t* pcHouveMovimentoOUT) = 0;
  virtual HRESULT Remove(int32_t lPntrIn) = 0;
  virtual HRESULT Grava(int32_t lPntrIn, _REG_PP_RECURSOPS regInPS, int32_t* plPntrOut) = 0;
  virtual HRESULT Le(int32_t lPntr, _REG_PP_RECURSOPS* pRegRetornado, uint8_t cTipoLeitura) = 0;
  virtual HRESULT LePonteiros(int32_t lQtd, int32_t* plPonteiros, _REG_PP_RECURSOPS* pRegRetornoPS,
                              uint8_t cTipoLeitura) = 0;
  virtual HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS* pRegRetornado) = 0;
  virtual HRESULT SetFiltro(_REG_PP_FILTRO_RECURSOPS regFiltrops) = 0;
  virtual HRESULT LimpaFiltro() = 0;
  // Changes a resource counter by hand.
  virtual HRESULT AlteraManualContadorRecurso(_REG_PP_RECURSO_HISTORICO_CONTADORPS RegPS) = 0;
  // Returns the history of manual counter changes of a resource.
  virtual HRESULT BuscaHistoricoAlteracaoManualContador(
      uint32_t ulPonteiroRecurso, _REG_PP_LISTA_RECURSO_HISTORICO_CONTADORPS* pListaps) = 0;
  // Updates a resource counter.
  virtual HRESULT AtualizaContador(uint32_t ulPonteiroRecurso,
                                   _REG_PP_ATUALIZA_CONTADOR_RECURSOPS regAtualizacaops) = 0;
  virtual HRESULT FuncaoGenerica(uint32_t lFuncao, _REG_FUNCAO_GENERICA_VARMO regFuncaoGenericaIn,
                                 _REG_FUNCAO_GENERICA_VARMO** pRegFuncaoGenericaOut) = 0;
};

// Maintenance plans of resources.
struct IQVPP_Manutencao : IUnknown {
  virtual HRESULT Inicializa(_REG_VARMO_INICIALIZAPS regInicializaPS, uint16_t usVersao) = 0;
  virtual HRESULT Finaliza() = 0;
  // Writes several maintenance plans.
  virtual HRESULT GravaListaPlanoManutencao(int32_t lPonteiroRecurso, uint16_t usQuant,
                                            _REG_PP_PLANO_MANUTENCAOPS* pregManutencaoPS) = 0;
  virtual HRESULT Grava(int32_t lPntrIn, _REG_PP_PLANO_MANUTENCAOPS regManutencaoPS,
                        int32_t* plPntrOut) = 0;
  // Removes a maintenance plan; cSohConsistencia asks for the removal check alone.
  virtual HRESULT Remove(int32_t lPntrIn, uint8_t cSohConsistencia) = 0;
  virtual HRESULT Existe(BSTR bsCodigo, int32_t* plPntrOut, uint8_t cUtilizaFiltro) = 0;
  virtual HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS* pRegPonteirosPS) = 0;
  virtual HRESULT LePonteiros(int32_t lQtd, int32_t* plPonteiros,
                              _REG_PP_PLANO_MANUTENCAOPS* pregMantencaoPS,
                              uint8_t cTipoLeitura) = 0;
  virtual HRESULT Le(int32_t lPntrIn, _REG_PP_PLANO_MANUTENCAOPS* pregMantencaoPS,
                     uint8_t cTipoLeitura) = 0;
  virtual HRESULT SetFiltro(_REG_PP_FILTRO_PLANO_MANUTENCAOPS regFiltrops) = 0;
  virtual HRESULT LimpaFiltro() = 0;
  // Updates a maintenance plan.
  virtual HRESULT AtualizaPlanoManutencao(_REG_PP_ATUALIZA_PLANO_MANUTENCAOPS RegPS) = 0;
  // Returns the maintenance plans that pass a plan filter, with their nested data.
  virtual HRESULT BuscaListaPlanoManutencao(_REG_PP_FILTRO_PLANO_MANUTENCAOPS regFiltro,
                                            _REG_PP_LISTA_PLANO_MANUTENCAOPS* pRegListaPS,
                                            uint8_t cTipoLeitura) = 0;
  virtual HRESULT FuncaoGenerica(uint32_t lFuncao, _REG_FUNCAO_GENERICA_VARMO regFuncaoGenericaIn,
                                 _REG_FUNCAO_GENERICA_VARMO** pRegFuncaoGenericaOut) = 0;
};

// Maintenance records (carried out or scheduled), addressed by keys of period files. Existe has no
// filter switch.
struct IQVPP_GestaoManutencao : IUnknown {
  virtual HRESULT Inicializa(_REG_VARMO_INICIALIZAPS RegPS, uint16_t usVersao) = 0;
  virtual HRESULT Finaliza() = 0;
  virtual HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROS_ULONGPS* pRegPS) = 0;
  // Returns the keys of the records of a date range.
  virtual HRESULT BuscaPonteirosPeriodo(uint16_t usDataInicial, uint16_t usDataFinal,
                                        _REG_VARMO_PONTEIROS_ULONGPS* pRegPS) = 0;
  // Returns the keys of the maintenance records of one resource in a period.
  virtual HRESULT BuscaPonteirosPeriodoRecurso(
      _REG_PP_DISPONIBILIDADE_RECURSOPS regDisponibilidadeRecursoPS,
      _REG_VARMO_PONTEIROS_ULONGPS* pRegPonteirosManutencoes) = 0;
  virtual HRESULT LePonteiros(int32_t lQtd, uint32_t* plPntrs, _REG_PP_MANUTENCAOPS* pRegPS,
                              uint16_t usTipoLeitura) = 0;
  virtual HRESULT Grava(uint32_t lPntrIn, _REG_PP_MANUTENCAOPS RegPS, uint32_t* plPntrOut) = 0;
  virtual HRESULT Remove(uint32_t lPntrIn) = 0;
  virtual HRESULT SetFiltro(_REG_PP_FILTRO_GESTAO_MANUTENCAOPS RegPS) = 0;
  virtual HRESULT LimpaFiltro() = 0;
  virtual HRESULT Existe(BSTR bsChave, uint32_t* plPntr) = 0;
  virtual HRESULT FuncaoGenerica(uint32_t lFuncao, _REG_FUNCAO_GENERICA_VARMO regFuncaoGenericaIn,
                                 _REG_FUNCAO_GENERICA_VARMO** regFuncaoGenericaOut) = 0;
};

// Resource types with their operations and what each operation reports.
struct IQVPP_TipoRecurso : IUnknown {
  virtual HRESULT Inicializa(_REG_VARMO_INICIALIZAPS regInicializaPS, uint16_t usVersao) = 0;
  virtual HRESULT Finaliza() = 0;
  // Writes a resource type (input pointer 0: a new one) and returns its pointer.
  virtual HRESULT Grava(uint32_t ulPonteiro, _REG_PP_TIPO_RECURSOPS regTipoRecursops,
                        uint32_t* pulPonteiroOut) = 0;
  virtual HRESULT Remove(uint32_t ulPonteiro) = 0;
  virtual HRESULT LePonteiros(uint32_t ulQtd, uint32_t* pulPonteiros,
                              _REG_PP_TIPO_RECURSOPS* pregTipoRecursops,
                              uint16_t usTipoLeitura) = 0;
  // Returns the records that pass the stored filter, with their nested data.
  virtual HRESULT BuscaRegistros(_REG_PP_LISTA_TIPO_RECURSOPS* pListaTipoRecursops,
                                 uint16_t usTipoLeitura) = 0;
  virtual HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROS_ULONGPS* pListaPonteirosps) = 0;
  virtual HRESULT SetFiltro(_REG_PP_FILTRO_TIPO_RECURSOPS regFiltrops) = 0;
  virtual HRESULT LimpaFiltro() = 0;
  virtual HRESULT Existe(BSTR bsCodigo, uint32_t* pulPosicao, uint8_t cUtilizaFiltro) = 0;
  virtual HRESULT FuncaoGenerica(uint32_t lFuncao, _REG_FUNCAO_GENERICA_VARMO regFuncaoGenericaIn,
                                 _REG_FUNCAO_GENERICA_VARMO** regFuncaoGenericaOut) = 0;
};

#pragma GCC diagnostic pop
