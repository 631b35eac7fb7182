// The production-targets handler behind QVPP_MetasProducao: per branch, month, project and product
// or service, the quantity meant to be produced, beside the quantities scheduled, produced and
// cancelled that the orders give. One period file per month ("PPMP<MMAA>.DAT", 128-byte records,
// record 0 the zero header, records appended and only marked removed; key (record << 12) | month),
// opened per call through CPPArquivosMetasProducao and closed before the call returns.
//
// Unlike the other master-data handlers it stands on the master cache (its session and hub).
// Writers take entity lock 14; the calculation takes 29 (the order family) first and then 14,
// the order in which reporting, which holds 29, reaches 14 through ApontarMetaProducao.
//
// Reading with kLeAcumulados fills the year-to-date quantities (from a map of the month last asked,
// kept until another month is read or Finaliza; writes do not refresh it) and the percentages
// against the working days of the industrial calendar.
//
// The helpers of the private section marked "shared" serve the calculation, posting and
// replication of CPPServidorMetasProducaoCalculo.cpp too: the disk record and its conversions,
// the key comparison, the session check, the open-period check, the file set with the lock, the
// month's file and the search of a live target by key.
//
// One object serves one thread at a time; the map and the filter are the object's own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "access/CPPBufferDados.h"
#include "foundation/CQVArqMarca.h"
#include "rules/CPPCalendarioIndustrial.h"
#include "server/CPPArquivosSubclasses.h"
#include "server/CPPHistorico.h"
#include "server/PPTextosStatus.h"
#include "server/idl/VarmoColecaoMetas.h"
#include "server/idl/VarmoRegistrosComuns.h"
#include "server/op/PPCodigosOP.h"

// Message numbers of the targets (1589, 1591, 1649 and the locks: PPCodigosOP.h).
constexpr uint32_t kPPErroMetaNaoPassaFiltro = 1735;  // removed, or outside the filter: the lists skip it
constexpr uint32_t kPPErroMetaDuplicada = 1736;       // another live target of the month has the key
constexpr uint32_t kPPErroMetaSemOrigem = 1737;       // nothing to replicate

#pragma pack(push, 1)
// A record of "PPMP<MMAA>.DAT". Quantities are CY (copy them through .int64: the fields are packed).
struct PPRegistroMetaProducao {
  CY vQuantPretendida;
  CY vQuantProgramada;
  CY vQuantProduzida;
  CY vQuantCancelada;
  uint32_t ulPonteiroProjeto;
  _REG_POSICAO_PRODUTOPS regPosicaoProdutoServico;
  uint32_t ulPonteiroFilial;
  uint16_t usMesAno;
  uint32_t ulPonteiroUsuario;  // the session's 16-bit user, zero-extended
  uint16_t usDataInclusao;
  uint16_t usDataAlteracao;
  uint8_t cRemovido;  // 0 live, 1 removed
  uint8_t cTipoProdutoServico;  // 'P' product, 'S' service
  uint8_t cZero[66];
};
#pragma pack(pop)
static_assert(sizeof(PPRegistroMetaProducao) == 128);
static_assert(offsetof(PPRegistroMetaProducao, vQuantProgramada) == 8);
static_assert(offsetof(PPRegistroMetaProducao, vQuantProduzida) == 16);
static_assert(offsetof(PPRegistroMetaProducao, vQuantCancelada) == 24);
static_assert(offsetof(PPRegistroMetaProducao, ulPonteiroProjeto) == 32);
static_assert(offsetof(PPRegistroMetaProducao, regPosicaoProdutoServico) == 36);
static_assert(offsetof(PPRegistroMetaProducao, ulPonteiroFilial) == 46);
static_assert(offsetof(PPRegistroMetaProducao, usMesAno) == 50);
static_assert(offsetof(PPRegistroMetaProducao, ulPonteiroUsuario) == 52);
static_assert(offsetof(PPRegistroMetaProducao, usDataInclusao) == 56);
static_assert(offsetof(PPRegistroMetaProducao, usDataAlteracao) == 58);
static_assert(offsetof(PPRegistroMetaProducao, cRemovido) == 60);
static_assert(offsetof(PPRegistroMetaProducao, cTipoProdutoServico) == 61);
static_assert(offsetof(PPRegistroMetaProducao, cZero) == 62);

// The target key in the accumulation maps (PPMapaBuffer): every field but the filler.
template <>
struct PPChaveMapa<_REG_PP_KEY_META_PRODUCAOPS> {
  static uint32_t Hash(const _REG_PP_KEY_META_PRODUCAOPS& c) {
    const _REG_POSICAO_PRODUTOPS posicao = c.regPosicaoProdutoServico;
    uint32_t hash = PPChaveMapa<_REG_POSICAO_PRODUTOPS>::Hash(posicao);
    hash = hash * 31u + c.ulPonteiroFilial;
    hash = hash * 31u + c.ulPonteiroProjeto;
    hash = hash * 31u + c.usMesAno;
    return hash * 31u + c.cTipoProdutoServico;
  }
  static bool Igual(const _REG_PP_KEY_META_PRODUCAOPS& a, const _REG_PP_KEY_META_PRODUCAOPS& b) {
    const _REG_POSICAO_PRODUTOPS posicaoA = a.regPosicaoProdutoServico;
    const _REG_POSICAO_PRODUTOPS posicaoB = b.regPosicaoProdutoServico;
    return a.ulPonteiroFilial == b.ulPonteiroFilial && a.usMesAno == b.usMesAno &&
           a.ulPonteiroProjeto == b.ulPonteiroProjeto && a.cTipoProdutoServico == b.cTipoProdutoServico &&
           PPChaveMapa<_REG_POSICAO_PRODUTOPS>::Igual(posicaoA, posicaoB);
  }
};

class CPPServidorMetasProducao : public CPPBufferDados {
 public:
  CPPServidorMetasProducao() = default;
  ~CPPServidorMetasProducao() override;

  // ---- Session, reading and lists (CPPServidorMetasProducao.cpp) ----------------------------------
  // bCOM: the hub's master-settings server must be obtainable, and the history client is opened.
  // A second Inicializa finalises first; on failure the handler stays uninitialised.
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS regPS, bool bCOM);
  int32_t Finaliza() override;
  HRESULT Grava(uint32_t ulChave, _REG_PP_META_PRODUCAOPS regPS, uint32_t* pulChave);
  HRESULT Remove(uint32_t ulChave);
  HRESULT LePonteiros(uint32_t ulQtd, const uint32_t* pulChaves, _REG_PP_META_PRODUCAOPS* pRegPS, uint16_t usTipoLeitura);
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROS_ULONGPS* pRegPS);
  HRESULT BuscaRegistros(_LISTA_REG_PP_META_PRODUCAOPS* pLista, uint16_t usTipoLeitura);
  HRESULT SetFiltro(_REG_PP_FILTRO_META_PRODUCAOPS regFiltro);
  HRESULT LimpaFiltro();
  const _REG_PP_FILTRO_META_PRODUCAOPS& GetFiltro() const { return m_regFiltro; }
  HRESULT BuscaDadoParaGrafico(_REG_PP_FILTRO_META_PRODUCAOPS regFiltro, _LISTA_REG_PP_META_PRODUCAOPS* pLista);
  // The product-usage check of the master settings' handler (not on the interface): its slot of
  // PPMovimentacaoProduto.h is PPConsultaMovimentacaoMetasProducao (PPClassesCadastros.h).
  HRESULT ProdutoTeveMovimentacao(uint32_t lPonteiroProduto, int32_t* bTeve, uint16_t* iNivelGradeEmUso);
  // Read kind bit: the accumulated quantities and the percentages.
  static constexpr uint16_t kLeAcumulados = 0x8000;

  // ---- Calculation, posting and replication (CPPServidorMetasProducaoCalculo.cpp) -----------------
  HRESULT CalcularMetasProducao(_REG_PP_FILTRO_CALCULO_META_PRODUCAOPS regFiltro);
  HRESULT ApontarMetaProducao(_REG_PP_META_PRODUCAOPS regPS);
  HRESULT ReplicarMetasProducao(_REG_PP_REPLICAR_META_PRODUCAOPS regPS);

 private:
  using Arquivos = CPPArquivosMetasProducao;
  using MapaMetas = PPMapaBuffer<_REG_PP_KEY_META_PRODUCAOPS, _REG_PP_META_PRODUCAOPS>;

  // ---- Shared helpers (CPPServidorMetasProducao.cpp) ---------------------------------------------
  // The disk record as a COM record: the stored fields and the key; ulChaveMetaProducao, the
  // accumulated quantities and the percentages zero.
  static _REG_PP_META_PRODUCAOPS DiscoParaMeta(const PPRegistroMetaProducao& disco);
  // The COM record's stored fields and key as a disk record, the rest (removed flag too) zero.
  static PPRegistroMetaProducao MetaParaDisco(const _REG_PP_META_PRODUCAOPS& meta);
  static _REG_PP_KEY_META_PRODUCAOPS ChaveDoDisco(const PPRegistroMetaProducao& disco);
  // All key fields equal (the filler aside).
  static bool MesmaChave(const _REG_PP_KEY_META_PRODUCAOPS& a, const _REG_PP_KEY_META_PRODUCAOPS& b) {
    return PPChaveMapa<_REG_PP_KEY_META_PRODUCAOPS>::Igual(a, b);
  }
  // 1585 before Inicializa.
  HRESULT VerificaInicializado() const;
  // The months of the master record's open period (lower to upper period date).
  HRESULT PeriodoAberto(uint16_t* pusInicio, uint16_t* pusFim);
  // 1649 when the month lies outside the open period.
  HRESULT VerificaMesAberto(uint16_t usMesAno);
  // The file set prepared with the session; with `marca`, entity lock 14 taken (held by the
  // caller's object until it returns). No file opens here.
  HRESULT AbreArquivos(Arquivos& arquivos, CQVArqMarca* marca);
  // The range of months of a calculation or chart filter: the start when inside the open period,
  // else the open start; the end when between that start and the open end, else the open end.
  HRESULT FaixaMeses(uint16_t usInicio, uint16_t usFim, uint16_t* pusInicio, uint16_t* pusFim);
  // The month's file in mode 'L' or 'G'. bCria: a missing month is created (empty); otherwise it
  // gives 16021, as a record past the end does, and nothing is created.
  static HRESULT AbreMes(Arquivos& arquivos, uint16_t usMesAno, char cModo, bool bCria);
  // Every live record (from 1, in order) of the open month's file to visita(record, disco) until it
  // answers false; a read failure ends the walk and is returned.
  template <class Visita>
  static HRESULT PercorreMetas(CPPArqEx& arquivo, Visita visita) {
    uint32_t quantidade = 0;
    if (HRESULT hr = QuantidadeRegistros(arquivo, &quantidade)) return hr;
    PPRegistroMetaProducao disco;
    for (uint32_t registro = 1; registro <= quantidade; ++registro) {
      if (int erro = arquivo.Le(registro, &disco)) return PPErroHResultMotor(erro);
      if (disco.cRemovido != 0) continue;
      if (!visita(registro, disco)) break;
    }
    return S_OK;
  }
  // The first live record from 1 whose key equals `chave`, skipping record `ulIgnorar` (0: none);
  // *pulRegistro 0 when there is none. *pDisco receives the record found.
  static HRESULT ProcuraMeta(CPPArqEx& arquivo, const _REG_PP_KEY_META_PRODUCAOPS& chave, uint32_t ulIgnorar,
                             uint32_t* pulRegistro, PPRegistroMetaProducao* pDisco);
  // The number of records after the header of the open month's file.
  static HRESULT QuantidadeRegistros(CPPArqEx& arquivo, uint32_t* pulQuantidade);
  // The history line of Grava and Remove.
  void GravaHistorico(char cOperacao, const PPRegistroMetaProducao& disco);

  // ---- Reading (CPPServidorMetasProducao.cpp) ----------------------------------------------------
  // The target reader: one key into *pMeta, with the filter given; the month's file is selected
  // in the caller's set (kept open for the next key of the month).
  HRESULT LeMeta(Arquivos& arquivos, uint32_t ulChave, uint16_t usTipoLeitura, const _REG_PP_FILTRO_META_PRODUCAOPS& filtro,
                 _REG_PP_META_PRODUCAOPS* pMeta);
  static bool PassaFiltro(const _REG_PP_FILTRO_META_PRODUCAOPS& filtro, uint32_t ulChave,
                          const PPRegistroMetaProducao& disco);
  // The year-to-date sums up to the month (keys with month 0).
  HRESULT AcumulaAno(uint16_t usMesAno);
  // The accumulated quantities and the eight percentages of a target just read.
  HRESULT CalculaAcumulados(_REG_PP_META_PRODUCAOPS* pMeta);
  // Every live target of the open period that passes the filter, in order.
  HRESULT BuscaMetas(uint16_t usTipoLeitura, std::vector<_REG_PP_META_PRODUCAOPS>* pMetas);
  static HRESULT EntregaLista(const std::vector<_REG_PP_META_PRODUCAOPS>& metas, _LISTA_REG_PP_META_PRODUCAOPS* pLista);

  CPPHistorico m_historico;
  MapaMetas m_acumulado;             // year-to-date sums, keys with month 0
  uint16_t m_usMesAnoAcumulado = 0;  // the month whose year-to-date sums m_acumulado holds; 0: none
  _REG_PP_FILTRO_META_PRODUCAOPS m_regFiltro{};
  CPPCalendarioIndustrial m_calendario;

  // ---- (CPPServidorMetasProducaoCalculo.cpp) ------------------------------------------------------
  // One sum of the calculation over the live target of its key (intended quantity, user and dates
  // kept), or appended as a new target with intended quantity 0.
  HRESULT GravaSoma(Arquivos& arquivos, const _REG_PP_META_PRODUCAOPS& soma);
  // The replication's writes under lock 14: the destination month's matching targets removed, the
  // origin's copied; *pCopias receives each target appended (one per key).
  HRESULT CopiaMetas(const _REG_PP_KEY_META_PRODUCAOPS& origem, const _REG_PP_KEY_META_PRODUCAOPS& destino,
                     std::vector<PPRegistroMetaProducao>* pCopias);
  // The live targets of the origin month that match the origin key on month, branch and project.
  HRESULT ColetaMetas(Arquivos& arquivos, const _REG_PP_KEY_META_PRODUCAOPS& origem,
                      std::vector<PPRegistroMetaProducao>* pColetadas);
  // Appends the copy, or adds its intended quantity to the live target of its key.
  HRESULT AcrescentaCopia(CPPArqEx& arquivo, const PPRegistroMetaProducao& copia,
                          std::vector<PPRegistroMetaProducao>* pCopias);
};
