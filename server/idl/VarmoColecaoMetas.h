// Collections (projects), scrap reasons and production targets: their records and the
// interfaces IQVPP_Colecao, IQVPP_MotivoRefugo and IQVPP_MetasProducao.
// Layout rules, ownership across a call and the common method pattern: VarmoRegistrosComuns.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com/bstr.h"
#include "platform/com/currency.h"
#include "platform/com/unknown.h"
#include "server/idl/VarmoRegistrosComuns.h"

#pragma pack(push, 2)

// A collection.
struct _REG_PP_COLECAOPS {
  int32_t lPosicao;
  char szCodigo[12];
  char szDescricao[52];
  uint8_t cSituacao;
  uint8_t cFiller[15];
};
static_assert(sizeof(_REG_PP_COLECAOPS) == 84);

// The filter of the collections interface.
struct _REG_PP_FILTRO_COLECAOPS {
  uint8_t cSituacao;
  uint8_t cFiller[5];
};
static_assert(sizeof(_REG_PP_FILTRO_COLECAOPS) == 6);

// A scrap reason.
struct _REG_PP_MOTIVO_REFUGOPS {
  int32_t lPosicao;
  char szCodigo[12];
  char szDescricao[52];
  uint8_t cAtivo;  // 'A' = active
  uint8_t cFiller[15];
};
static_assert(sizeof(_REG_PP_MOTIVO_REFUGOPS) == 84);

// The filter of the scrap-reasons interface.
struct _REG_PP_FILTRO_MOTIVO_REFUGOPS {
  uint8_t cAtivo;  // 'A': only the active reasons; any other value: all
  uint8_t cFiller[5];
};
static_assert(sizeof(_REG_PP_FILTRO_MOTIVO_REFUGOPS) == 6);

// The key of a production target.
struct _REG_PP_KEY_META_PRODUCAOPS {
  uint32_t ulPonteiroFilial;
  uint16_t usMesAno;
  uint32_t ulPonteiroProjeto;
  _REG_POSICAO_PRODUTOPS regPosicaoProdutoServico;
  uint8_t cTipoProdutoServico;
  uint8_t cFiller[1];
};
static_assert(sizeof(_REG_PP_KEY_META_PRODUCAOPS) == 22);
static_assert(offsetof(_REG_PP_KEY_META_PRODUCAOPS, ulPonteiroProjeto) == 6);
static_assert(offsetof(_REG_PP_KEY_META_PRODUCAOPS, regPosicaoProdutoServico) == 10);
static_assert(offsetof(_REG_PP_KEY_META_PRODUCAOPS, cTipoProdutoServico) == 20);
static_assert(offsetof(_REG_PP_KEY_META_PRODUCAOPS, cFiller) == 21);

// A production target.
struct _REG_PP_META_PRODUCAOPS {
  uint32_t ulChaveMetaProducao;
  _REG_PP_KEY_META_PRODUCAOPS regKey;
  CY vQuantPretendida;
  CY vQuantProgramada;
  CY vQuantProduzida;
  CY vQuantCancelada;
  CY vQuantPretendidaAcumulada;
  CY vQuantProgramadaAcumulada;
  CY vQuantProduzidaAcumulada;
  CY vQuantCanceladaAcumulada;
  uint16_t usPercPretendida;
  uint16_t usPercProgramada;
  uint16_t usPercProduzida;
  uint16_t usPercCancelada;
  uint16_t usPercPretendidaAcumulada;
  uint16_t usPercProgramadaAcumulada;
  uint16_t usPercProduzidaAcumulada;
  uint16_t usPercCanceladaAcumulada;
  uint32_t ulPonteiroUsuario;
  uint16_t usDataInclusao;
  uint16_t usDataAlteracao;
};
static_assert(sizeof(_REG_PP_META_PRODUCAOPS) == 114);
static_assert(offsetof(_REG_PP_META_PRODUCAOPS, vQuantPretendida) == 26);
static_assert(offsetof(_REG_PP_META_PRODUCAOPS, vQuantProgramada) == 34);
static_assert(offsetof(_REG_PP_META_PRODUCAOPS, vQuantProduzida) == 42);
static_assert(offsetof(_REG_PP_META_PRODUCAOPS, vQuantCancelada) == 50);
static_assert(offsetof(_REG_PP_META_PRODUCAOPS, vQuantPretendidaAcumulada) == 58);
static_assert(offsetof(_REG_PP_META_PRODUCAOPS, vQuantProgramadaAcumulada) == 66);
static_assert(offsetof(_REG_PP_META_PRODUCAOPS, vQuantProduzidaAcumulada) == 74);
static_assert(offsetof(_REG_PP_META_PRODUCAOPS, vQuantCanceladaAcumulada) == 82);
static_assert(offsetof(_REG_PP_META_PRODUCAOPS, usPercPretendida) == 90);
static_assert(offsetof(_REG_PP_META_PRODUCAOPS, usPercProgramada) == 92);
static_assert(offsetof(_REG_PP_META_PRODUCAOPS, usPercProduzida) == 94);
static_assert(offsetof(_REG_PP_META_PRODUCAOPS, usPercCancelada) == 96);
static_assert(offsetof(_REG_PP_META_PRODUCAOPS, usPercPretendidaAcumulada) == 98);
static_assert(offsetof(_REG_PP_META_PRODUCAOPS, usPercProgramadaAcumulada) == 100);
static_assert(offsetof(_REG_PP_META_PRODUCAOPS, usPercProduzidaAcumulada) == 102);
static_assert(offsetof(_REG_PP_META_PRODUCAOPS, usPercCanceladaAcumulada) == 104);
static_assert(offsetof(_REG_PP_META_PRODUCAOPS, ulPonteiroUsuario) == 106);
static_assert(offsetof(_REG_PP_META_PRODUCAOPS, usDataInclusao) == 110);
static_assert(offsetof(_REG_PP_META_PRODUCAOPS, usDataAlteracao) == 112);

// A list of production targets.
struct _LISTA_REG_PP_META_PRODUCAOPS {
  uint32_t ulQtd;
  _REG_PP_META_PRODUCAOPS* pregLista;  // count in ulQtd
};
static_assert(sizeof(_LISTA_REG_PP_META_PRODUCAOPS) == 8);
static_assert(offsetof(_LISTA_REG_PP_META_PRODUCAOPS, pregLista) == 4);

// The filter of the production-targets interface.
struct _REG_PP_FILTRO_META_PRODUCAOPS {
  uint32_t ulChaveMetaProducao;
  uint32_t ulPonteiroProjeto;
  _REG_POSICAO_PRODUTOPS regPosicaoProdutoServico;
  uint32_t ulPonteiroFilial;
  uint16_t usMesAnoInicio;
  uint16_t usMesAnoFim;
  uint8_t cTipoProdutoServico;
  uint8_t cFiltroProdutoServico;
};
static_assert(sizeof(_REG_PP_FILTRO_META_PRODUCAOPS) == 28);
static_assert(offsetof(_REG_PP_FILTRO_META_PRODUCAOPS, ulPonteiroFilial) == 18);
static_assert(offsetof(_REG_PP_FILTRO_META_PRODUCAOPS, usMesAnoInicio) == 22);
static_assert(offsetof(_REG_PP_FILTRO_META_PRODUCAOPS, usMesAnoFim) == 24);
static_assert(offsetof(_REG_PP_FILTRO_META_PRODUCAOPS, cTipoProdutoServico) == 26);
static_assert(offsetof(_REG_PP_FILTRO_META_PRODUCAOPS, cFiltroProdutoServico) == 27);

// The input of CalcularMetasProducao.
struct _REG_PP_FILTRO_CALCULO_META_PRODUCAOPS {
  uint16_t usMesAnoInicio;
  uint16_t usMesAnoFim;
  uint32_t ulPonteiroFilial;
  uint32_t ulPonteiroProjeto;
  _REG_POSICAO_PRODUTOPS regPosicaoProdutoServico;
  uint8_t cTipoProdutoServico;
  uint8_t cFiller[1];
};
static_assert(sizeof(_REG_PP_FILTRO_CALCULO_META_PRODUCAOPS) == 24);
static_assert(offsetof(_REG_PP_FILTRO_CALCULO_META_PRODUCAOPS, cTipoProdutoServico) == 22);
static_assert(offsetof(_REG_PP_FILTRO_CALCULO_META_PRODUCAOPS, cFiller) == 23);

// The input of ReplicarMetasProducao.
struct _REG_PP_REPLICAR_META_PRODUCAOPS {
  _REG_PP_KEY_META_PRODUCAOPS regKeyOrigem;
  _REG_PP_KEY_META_PRODUCAOPS regKeyDestino;
};
static_assert(sizeof(_REG_PP_REPLICAR_META_PRODUCAOPS) == 44);
static_assert(offsetof(_REG_PP_REPLICAR_META_PRODUCAOPS, regKeyDestino) == 22);

#pragma pack(pop)

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// Collections (projects).
struct IQVPP_Colecao : IUnknown {
  virtual HRESULT Inicializa(_REG_VARMO_INICIALIZAPS RegPS, uint16_t usVersao) = 0;
  virtual HRESULT Finaliza() = 0;
  virtual HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS* pRegPonteirosPS) = 0;
  virtual HRESULT LePonteiros(int32_t lQtd, int32_t* plPonteiros,
                              _REG_PP_COLECAOPS* pregColecaoPS) = 0;
  virtual HRESULT Le(int32_t lPosicao, _REG_PP_COLECAOPS* pregColecaoPS) = 0;
  virtual HRESULT Grava(int32_t lPosicao, _REG_PP_COLECAOPS regColecaoPS,
                        int32_t* plPosicaoOut) = 0;
  virtual HRESULT Remove(int32_t lPosicao) = 0;
  virtual HRESULT Existe(BSTR bsChave, int32_t* plPosicao, uint8_t cUtilizaFiltro) = 0;
  virtual HRESULT SetFiltro(_REG_PP_FILTRO_COLECAOPS regFiltrops) = 0;
  virtual HRESULT LimpaFiltro() = 0;
  virtual HRESULT FuncaoGenerica(uint32_t lFuncao, _REG_FUNCAO_GENERICA_VARMO regFuncaoGenericaIn,
                                 _REG_FUNCAO_GENERICA_VARMO** regFuncaoGenericaOut) = 0;
};

// Scrap reasons.
struct IQVPP_MotivoRefugo : IUnknown {
  virtual HRESULT Inicializa(_REG_VARMO_INICIALIZAPS RegPS, uint16_t usVersao) = 0;
  virtual HRESULT Finaliza() = 0;
  virtual HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS* pRegPonteirosPS) = 0;
  virtual HRESULT Le(int32_t lPosicao, _REG_PP_MOTIVO_REFUGOPS* pregMotivoRefugoPS) = 0;
  virtual HRESULT LePonteiros(int32_t lQtd, int32_t* plPonteiros,
                              _REG_PP_MOTIVO_REFUGOPS* pregMotivoRefugoPS) = 0;
  virtual HRESULT Grava(int32_t lPosicao, _REG_PP_MOTIVO_REFUGOPS regMotivoRefugoPS,
                        int32_t* plPosicaoOut) = 0;
  virtual HRESULT Remove(int32_t lPosicao) = 0;
  virtual HRESULT Existe(BSTR bsChave, int32_t* plPosicao, uint8_t cUtilizaFiltro) = 0;
  virtual HRESULT SetFiltro(_REG_PP_FILTRO_MOTIVO_REFUGOPS regFiltrops) = 0;
  virtual HRESULT LimpaFiltro() = 0;
  virtual HRESULT FuncaoGenerica(uint32_t lFuncao, _REG_FUNCAO_GENERICA_VARMO regFuncaoGenericaIn,
                                 _REG_FUNCAO_GENERICA_VARMO** regFuncaoGenericaOut) = 0;
};

// Production targets, addressed by keys.
struct IQVPP_MetasProducao : IUnknown {
  virtual HRESULT Inicializa(_REG_VARMO_INICIALIZAPS regInicializaPS, uint16_t usVersao) = 0;
  virtual HRESULT Finaliza() = 0;
  // Writes a target (input key 0: a new one) and returns its key.
  virtual HRESULT Grava(uint32_t ulChave, _REG_PP_META_PRODUCAOPS regMetaProducaops,
                        uint32_t* pulChave) = 0;
  virtual HRESULT Remove(uint32_t ulChave) = 0;
  virtual HRESULT LePonteiros(uint32_t ulQtd, uint32_t* pulChaves,
                              _REG_PP_META_PRODUCAOPS* pregMetasProducaops,
                              uint16_t usTipoLeitura) = 0;
  virtual HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROS_ULONGPS* pListaChavesps) = 0;
  // Returns the records that pass the stored filter, with their nested data.
  virtual HRESULT BuscaRegistros(_LISTA_REG_PP_META_PRODUCAOPS* pListaMetasProducaops,
                                 uint16_t usTipoLeitura) = 0;
  // Returns the records that pass the given filter.
  virtual HRESULT BuscaRegistrosFiltrado(_REG_PP_FILTRO_META_PRODUCAOPS regFiltrops,
                                         _LISTA_REG_PP_META_PRODUCAOPS* pListaMetasProducaops,
                                         uint16_t usTipoLeitura) = 0;
  virtual HRESULT SetFiltro(_REG_PP_FILTRO_META_PRODUCAOPS regFiltrops) = 0;
  virtual HRESULT LimpaFiltro() = 0;
  // Computes the production targets for a filter.
  virtual HRESULT CalcularMetasProducao(_REG_PP_FILTRO_CALCULO_META_PRODUCAOPS regFiltrops) = 0;
  // Posts a production quantity against the production targets.
  virtual HRESULT ApontarMetaProducao(_REG_PP_META_PRODUCAOPS regMetaProducaops) = 0;
  // Copies production targets to other periods.
  virtual HRESULT ReplicarMetasProducao(
      _REG_PP_REPLICAR_META_PRODUCAOPS regReplicarMetasProducaops) = 0;
  // Returns the target records for a chart.
  virtual HRESULT BuscaDadoParaGrafico(_REG_PP_FILTRO_META_PRODUCAOPS regFiltrops,
                                       _LISTA_REG_PP_META_PRODUCAOPS* pListaMetasProducaops) = 0;
  virtual HRESULT FuncaoGenerica(uint32_t lFuncao, _REG_FUNCAO_GENERICA_VARMO regFuncaoGenericaIn,
                                 _REG_FUNCAO_GENERICA_VARMO** regFuncaoGenericaOut) = 0;
};

#pragma GCC diagnostic pop
