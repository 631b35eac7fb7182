// Order types, production processes with their resources, process flows and production
// operations: their records and the interfaces IQVPP_TipoOP, IQVPP_Processo,
// IQVPP_FluxoProcesso and IQVPP_OperacaoProducao.
// Layout rules, ownership across a call and the common method pattern: VarmoRegistrosComuns.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com/bstr.h"
#include "platform/com/currency.h"
#include "platform/com/unknown.h"
#include "server/idl/VarmoRegistrosComuns.h"

#pragma pack(push, 2)

struct _REG_VARMO_TIPO_OP_USUARIOPS;
struct _REG_VARMO_PERMISSAO_USUARIO_OPPS;
struct _REG_PP_PROCESSO_RECURSOPS;
struct _REG_PP_PLANO_MANUTENCAO_PROGRAMACAOPS;
struct _REG_VARMO_FLUXO_PROCESSOPS;

// An order type: code, description, last order number, five extra-information texts with their
// mandatory switches, behaviour switches, and its users.
struct _REG_VARMO_TIPO_OPPS {
  uint32_t lUltimaOP;
  int32_t lPosicao;
  int32_t lPonteiroContaContabil;
  uint16_t usQtdUsuarios;
  char szCodigo[12];
  char szDescricao[52];
  char szInfExtra1[26];
  char szInfExtra2[26];
  char szInfExtra3[26];
  char szInfExtra4[26];
  char szInfExtra5[26];
  uint8_t cObrigaInfExtra1;
  uint8_t cObrigaInfExtra2;
  uint8_t cObrigaInfExtra3;
  uint8_t cObrigaInfExtra4;
  uint8_t cObrigaInfExtra5;
  uint8_t cMultiGradesFichasTecnicas;
  uint8_t cFazEntradaDepoisNoES;
  uint8_t cApontarOcorrenciaRecurso;
  uint8_t cSugerirDataApontamentoConformeFicha;
  uint8_t cSugerirSaldoNaQuantidadeApontada;
  uint8_t cOPGerada;
  uint8_t cAtivo;  // 1 = active
  uint8_t cFiller[6];
  _REG_VARMO_TIPO_OP_USUARIOPS* pregTipoOPUsuario;  // count in usQtdUsuarios
};
static_assert(sizeof(_REG_VARMO_TIPO_OPPS) == 230);
static_assert(offsetof(_REG_VARMO_TIPO_OPPS, pregTipoOPUsuario) == 226);

// One user of an order type with the switches for maintenance, cancelling and interrupting its
// orders.
struct _REG_VARMO_TIPO_OP_USUARIOPS {
  uint16_t usUsuario;
  uint8_t cManutencao;
  uint8_t cCancelamento;
  uint8_t cInterrupcao;
  uint8_t cFiller[5];
};
static_assert(sizeof(_REG_VARMO_TIPO_OP_USUARIOPS) == 10);

// A list of per-order-type permissions of the current user.
struct _REG_LISTA_PERMISSOES_USUARIO_OPPS {
  int32_t lQuantidade;
  _REG_VARMO_PERMISSAO_USUARIO_OPPS* pRegPermissoes;  // count in lQuantidade
};
static_assert(sizeof(_REG_LISTA_PERMISSOES_USUARIO_OPPS) == 8);
static_assert(offsetof(_REG_LISTA_PERMISSOES_USUARIO_OPPS, pRegPermissoes) == 4);

// The permissions of the current user on one order type (maintenance, cancelling, interrupting).
// Its fields end on an odd byte: the packing adds one trailing pad byte.
struct _REG_VARMO_PERMISSAO_USUARIO_OPPS {
  int32_t lPonteiroTipoOP;
  uint8_t cManutencao;
  uint8_t cCancelamento;
  uint8_t cInterrupcao;
};
static_assert(sizeof(_REG_VARMO_PERMISSAO_USUARIO_OPPS) == 8);

// A production process with its resources.
struct _REG_VARMO_PROCESSOPS {
  CY v8CustoProcesso;
  CY vCapacidadeDia;
  uint32_t lPonteiroSecao;
  int32_t lPosicao;
  uint16_t usQtdRecursos;
  char szCodigo[12];
  char szDescricao[52];
  char szObservacao[502];
  uint8_t cAtivo;  // 1 = active
  uint8_t cCustoPorApontamento;
  uint8_t cFiller[8];
  _REG_PP_PROCESSO_RECURSOPS* pregRecursos;  // count in usQtdRecursos
};
static_assert(sizeof(_REG_VARMO_PROCESSOPS) == 606);
static_assert(offsetof(_REG_VARMO_PROCESSOPS, pregRecursos) == 602);

// One resource of a process, with the resource's scheduled stops.
struct _REG_PP_PROCESSO_RECURSOPS {
  int32_t lPonteiroRecurso;
  uint16_t usQtdParadas;
  uint8_t cSomarCapacidadeDisponivel;
  uint8_t cFiller[5];
  _REG_PP_PLANO_MANUTENCAO_PROGRAMACAOPS* pregParadas;  // count in usQtdParadas
};
static_assert(sizeof(_REG_PP_PROCESSO_RECURSOPS) == 16);
static_assert(offsetof(_REG_PP_PROCESSO_RECURSOPS, pregParadas) == 12);

// One scheduled maintenance stop of a resource: its date and its expected time.
struct _REG_PP_PLANO_MANUTENCAO_PROGRAMACAOPS {
  CY vTempoPrevisto;
  uint16_t usDataManutencao;
};
static_assert(sizeof(_REG_PP_PLANO_MANUTENCAO_PROGRAMACAOPS) == 10);

// A process flow: code, description and its ordered processes.
struct _REG_VARMO_FLUXOPS {
  int32_t lPosicao;
  int32_t lPonteiroTipoOP;
  uint16_t usQtdProcessos;
  char szCodigo[12];
  char szDescricao[52];
  uint8_t cAtivo;  // 1 = active
  uint8_t cFiller[9];
  _REG_VARMO_FLUXO_PROCESSOPS* pregProcessos;  // count in usQtdProcessos
};
static_assert(sizeof(_REG_VARMO_FLUXOPS) == 88);
static_assert(offsetof(_REG_VARMO_FLUXOPS, pregProcessos) == 84);

// One process of a flow, in flow order.
struct _REG_VARMO_FLUXO_PROCESSOPS {
  int32_t lPonteiroProcesso;
  uint8_t cRecebeApontamento;
  uint8_t cFiller[7];
};
static_assert(sizeof(_REG_VARMO_FLUXO_PROCESSOPS) == 12);

// The filter of the production-operations interface.
struct _REG_PP_FILTRO_OPERACAO_PRODUCAOPS {
  uint32_t ulPonteiroTipoRecurso;
  uint8_t cTipoOperacao;
  uint8_t cVisualizarEmApontamentoOP;
  uint8_t cVisualizarEmApontamentoRecurso;
  uint8_t cAtivo;  // 1 = active
  uint8_t cFiller[4];
};
static_assert(sizeof(_REG_PP_FILTRO_OPERACAO_PRODUCAOPS) == 12);

// A production operation.
struct _REG_VARMO_OPERACAO_PRODUCAOPS {
  int32_t lPosicao;
  char szCodigo[12];
  char szDescricao[52];
  uint8_t cTipoOperacao;
  uint8_t cVisualizarEmApontamentoOP;
  uint8_t cVisualizarEmApontamentoRecurso;
  uint8_t cAtivo;  // 1 = active
  uint8_t cFiller[8];
};
static_assert(sizeof(_REG_VARMO_OPERACAO_PRODUCAOPS) == 80);

#pragma pack(pop)

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// Order types, with the next order number of each and the current user's permissions.
struct IQVPP_TipoOP : IUnknown {
  virtual HRESULT Inicializa(_REG_VARMO_INICIALIZAPS RegPS, uint16_t usVersao) = 0;
  virtual HRESULT Finaliza() = 0;
  virtual HRESULT Le(int32_t lPntr, _REG_VARMO_TIPO_OPPS* pRegPS, uint8_t cTipoLeitura) = 0;
  virtual HRESULT Grava(int32_t lPntrIn, _REG_VARMO_TIPO_OPPS RegPS, int32_t* plPntrOut) = 0;
  virtual HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS* pRegPS) = 0;
  virtual HRESULT LePonteiros(int32_t lQtd, int32_t* plPonteiros, _REG_VARMO_TIPO_OPPS* pRegPS,
                              uint8_t cTipoLeitura) = 0;
  virtual HRESULT SetFiltro(_REG_VARMO_FILTROPS RegPS) = 0;
  virtual HRESULT LimpaFiltro() = 0;
  virtual HRESULT Existe(BSTR bsCodigo, int32_t* plPntr, uint8_t cUtilizaFiltro) = 0;
  virtual HRESULT Remove(int32_t lPntr) = 0;
  // Takes the next order number of an order type.
  virtual HRESULT IncrementaOP(int32_t lPntr, uint32_t* plNroOP) = 0;
  // Returns the current user's permissions per order type.
  virtual HRESULT BuscaListaPermissoes(_REG_LISTA_PERMISSOES_USUARIO_OPPS* pRegPS) = 0;
  virtual HRESULT FuncaoGenerica(uint32_t lFuncao, _REG_FUNCAO_GENERICA_VARMO regFuncaoGenericaIn,
                                 _REG_FUNCAO_GENERICA_VARMO** regFuncaoGenericaOut) = 0;
};

// Production processes with their resources and scheduled stops.
struct IQVPP_Processo : IUnknown {
  virtual HRESULT Inicializa(_REG_VARMO_INICIALIZAPS RegPS, uint16_t usVersao) = 0;
  virtual HRESULT Finaliza() = 0;
  virtual HRESULT Grava(int32_t lPntrIn, _REG_VARMO_PROCESSOPS RegPS, int32_t* plPntrOut) = 0;
  virtual HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS* pRegPS) = 0;
  virtual HRESULT LePonteiros(int32_t lQtd, int32_t* plPntrs, _REG_VARMO_PROCESSOPS* pRegPS,
                              uint8_t cTipoLeitura) = 0;
  virtual HRESULT Existe(BSTR bsCodigo, int32_t* plPntr, uint8_t cUtilizaFiltro) = 0;
  virtual HRESULT Remove(int32_t lPntrIn) = 0;
  virtual HRESULT SetFiltro(_REG_VARMO_FILTROPS RegPS) = 0;
  virtual HRESULT LimpaFiltro() = 0;
  virtual HRESULT Le(int32_t lPntr, _REG_VARMO_PROCESSOPS* pRegPS, uint8_t cTipoLeitura) = 0;
  virtual HRESULT FuncaoGenerica(uint32_t lFuncao, _REG_FUNCAO_GENERICA_VARMO regFuncaoGenericaIn,
                                 _REG_FUNCAO_GENERICA_VARMO** regFuncaoGenericaOut) = 0;
};

// Process flows: ordered lists of processes.
struct IQVPP_FluxoProcesso : IUnknown {
  virtual HRESULT Inicializa(_REG_VARMO_INICIALIZAPS RegPS, uint16_t usVersao) = 0;
  virtual HRESULT Finaliza() = 0;
  // Writes a flow: input pointer 0 appends, otherwise rewrites.
  virtual HRESULT GravaFluxo(int32_t lPntrIn, _REG_VARMO_FLUXOPS RegPS, int32_t* plPntrOut) = 0;
  // Returns the pointers of the flows that pass the filter.
  virtual HRESULT BuscaPntrsFluxo(_REG_VARMO_PONTEIROSPS* pRegPS) = 0;
  // Reads the flows of a list of pointers into the caller array.
  virtual HRESULT LePntrsFluxo(int32_t lQtd, int32_t* plPntrs, _REG_VARMO_FLUXOPS* pRegPS) = 0;
  virtual HRESULT SetFiltro(_REG_VARMO_FILTROPS RegPS) = 0;
  virtual HRESULT LimpaFiltro() = 0;
  // Finds a flow by its code and returns its pointer.
  virtual HRESULT ExisteFluxo(BSTR bsCodigo, int32_t* plPntr, uint8_t cUtilizaFiltro) = 0;
  // Removes a flow.
  virtual HRESULT RemoveFluxo(int32_t lPntrIn) = 0;
  // Returns the pointers of the valid processes.
  virtual HRESULT BuscaPntrsProcessosValidos(_REG_VARMO_PONTEIROSPS* pRegPS) = 0;
  virtual HRESULT Le(int32_t lPntr, _REG_VARMO_FLUXOPS* pRegPS) = 0;
  virtual HRESULT FuncaoGenerica(uint32_t lFuncao, _REG_FUNCAO_GENERICA_VARMO regFuncaoGenericaIn,
                                 _REG_FUNCAO_GENERICA_VARMO** regFuncaoGenericaOut) = 0;
};

// Production operations, each with a free detail text.
struct IQVPP_OperacaoProducao : IUnknown {
  virtual HRESULT Inicializa(_REG_VARMO_INICIALIZAPS RegPS, uint16_t usVersao) = 0;
  virtual HRESULT Finaliza() = 0;
  virtual HRESULT SetFiltro(_REG_PP_FILTRO_OPERACAO_PRODUCAOPS RegPS) = 0;
  virtual HRESULT LimpaFiltro() = 0;
  virtual HRESULT Grava(int32_t lPntrIn, _REG_VARMO_OPERACAO_PRODUCAOPS RegPS,
                        int32_t* plPntrOut) = 0;
  virtual HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS* pRegPS) = 0;
  virtual HRESULT LePonteiros(int32_t lQtd, int32_t* plPntrs,
                              _REG_VARMO_OPERACAO_PRODUCAOPS* pRegPS) = 0;
  virtual HRESULT Existe(BSTR bsCodigo, int32_t* plPntr, uint8_t cUtilizaFiltro) = 0;
  virtual HRESULT Remove(int32_t lPntrIn) = 0;
  virtual HRESULT Le(int32_t lPntr, _REG_VARMO_OPERACAO_PRODUCAOPS* pRegPS) = 0;
  // Writes the detail text of a record.
  virtual HRESULT GravaDetalhe(int32_t lPntr, BSTR bsDetalhe) = 0;
  // Reads the detail text of a record.
  virtual HRESULT LeDetalhe(int32_t lPntr, BSTR* pbsDetalhe) = 0;
  virtual HRESULT FuncaoGenerica(uint32_t lFuncao, _REG_FUNCAO_GENERICA_VARMO regFuncaoGenericaIn,
                                 _REG_FUNCAO_GENERICA_VARMO** regFuncaoGenericaOut) = 0;
};

#pragma GCC diagnostic pop
