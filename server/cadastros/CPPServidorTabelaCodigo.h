// The frame of the two small code tables, collections (projects) and scrap reasons: a file of
// 128-byte records (code, description, one state byte, the removed mark), a 6-byte filter on the
// state byte, a lock and a history text. Each table is a declaration over
// CPPServidorTabelaCodigoDe: its COM record, its filter, its filter test and its usage check.
//
// The tables live on the base-system library's initialiser (CQVInicializador), which keeps the
// session and calls OnInicializa (the data directory, 975 without one) and OnFinaliza (path and
// filter emptied); apart from it they follow the master-data frame (CPPServidorCadastro.h) and
// use its record routines, with these departures, on which clients rely:
// - Existe searches an empty code like any other.
// - LePonteiros answers 0 for a count <= 0 and delivers removed records like live ones.
// - Grava does not refuse a negative position: the engine's read error answers it.
// - Remove marks again, with a second 'E' line, a record that is removed already.
// Remove refuses a position <= 0 with 1587 before anything opens: position 0 is the zero header,
// and marking it would append a removed record of zeros.
//
// Grava and Remove hold the table's lock from before the first read to after the last write; reads
// take none. One thread at a time; no in-process lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "platform/com/bstr.h"
#include "platform/family/kelmar/CQVInicializador.h"
#include "server/CPPHistorico.h"
#include "server/cadastros/CPPServidorCadastro.h"
#include "server/idl/VarmoRegistrosComuns.h"

#pragma pack(push, 1)
// A record of "PPCOLCAO.DAT" or "PPMOTREF.DAT". Texts are fixed-width, without terminator when full.
struct PPRegistroTabelaCodigo {
  char szCodigo[10];
  char szDescricao[50];
  uint8_t cEstado;  // collection: situation bits (cSituacao); scrap reason: 'A' when active (cAtivo)
  uint8_t cRemovido;
  uint8_t cZero[66];
};
#pragma pack(pop)
static_assert(sizeof(PPRegistroTabelaCodigo) == 128);
static_assert(offsetof(PPRegistroTabelaCodigo, szDescricao) == 10);
static_assert(offsetof(PPRegistroTabelaCodigo, cEstado) == 60);
static_assert(offsetof(PPRegistroTabelaCodigo, cRemovido) == 61);

// The declaration of a code table: its one file of PPRegistroTabelaCodigo, its lock, its history text.
constexpr PPDeclaracaoCadastro PPDeclaracaoTabelaCodigo(const PPArquivoCadastro* pArquivo, int iMarca,
                                                        const char* szHistorico) {
  return {
      .pArquivos = pArquivo,
      .iQuantArquivos = 1,
      .iMarca = iMarca,
      .szHistorico = szHistorico,
      .bHistoricoSemCOM = false,
      .ulRemovido = offsetof(PPRegistroTabelaCodigo, cRemovido),
      .ulCodigo = offsetof(PPRegistroTabelaCodigo, szCodigo),
      .ulDescricao = offsetof(PPRegistroTabelaCodigo, szDescricao),
      .ulTamanhoCodigo = sizeof(PPRegistroTabelaCodigo::szCodigo),
      .ulTamanhoDescricao = sizeof(PPRegistroTabelaCodigo::szDescricao),
  };
}

class CPPServidorTabelaCodigo : public CQVInicializador {
 public:
  explicit CPPServidorTabelaCodigo(const PPDeclaracaoCadastro& declaracao) : m_declaracao(declaracao) {}
  ~CPPServidorTabelaCodigo() override;

  // chamadaCOM: a client's session, so the company's data version is checked (the master
  // settings' Inicializa) and the history client opens. An initialised handler is finalised
  // first. On failure the handler stays uninitialised and holds nothing.
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS RegPS, uint8_t chamadaCOM);
  // Always 0.
  HRESULT Finaliza();
  // The records that are not removed and pass the filter, ascending; no array when none.
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS* pRegPonteirosPS);
  // 1587 for a position <= 0; the usage check (1588) before the mark.
  HRESULT Remove(int32_t lPosicao);

 protected:
  HRESULT OnInicializa() override;
  void OnFinaliza() override;
  // The filter test of the state byte (the removed mark is the frame's).
  virtual bool PassaFiltro(uint8_t cEstado) const = 0;
  // Under the lock, before the mark: PPErroHResult(1588) when the record is in use.
  virtual HRESULT VerificaUso(uint32_t ulPosicao) = 0;

  HRESULT VerificaInicializado() const;
  // Each position's record, removed or not, to entrega(i, position, record), in order; the first
  // read error stops.
  using PPEntregaLido = std::function<void(int32_t i, uint32_t ulPosicao, const PPRegistroTabelaCodigo& registro)>;
  HRESULT LeRegistros(int32_t lQtd, const int32_t* plPonteiros, const PPEntregaLido& entrega);
  // The record written at lPosicao (0 appends) under the lock, with its history line ('I' for 0,
  // else 'A') of the COM record's code and description.
  HRESULT GravaRegistro(int32_t lPosicao, const PPRegistroTabelaCodigo& registro, const CString& codigo,
                        const CString& descricao, int32_t* plPosicaoOut);
  HRESULT ExisteCodigo(BSTR bsChave, int32_t* plPosicao, uint8_t cUtilizaFiltro);
  // The session record, for the handlers that the usage checks build.
  const _REG_VARMO_INICIALIZAPS& GetSessaoPS() const { return m_regPS; }

 private:
  HRESULT InicializaCOM();

  const PPDeclaracaoCadastro& m_declaracao;
  _REG_VARMO_INICIALIZAPS m_regPS{};
  CString m_strDiretorio;
  CString m_strCaminho;
  CPPHistorico m_historico;
};

// A table with its COM record and filter. kEstado names the record's state byte.
template <class Registro, class Filtro, uint8_t Registro::*kEstado>
class CPPServidorTabelaCodigoDe : public CPPServidorTabelaCodigo {
 public:
  using CPPServidorTabelaCodigo::CPPServidorTabelaCodigo;

  // No count check and no removed check; lPosicao receives each record's position.
  HRESULT LePonteiros(int32_t lQtd, int32_t* plPonteiros, Registro* registros) {
    if (HRESULT hr = VerificaInicializado()) return hr;
    if (lQtd > 0 && (!plPonteiros || !registros)) return E_POINTER;
    return LeRegistros(lQtd, plPonteiros, [&](int32_t i, uint32_t ulPosicao, const PPRegistroTabelaCodigo& disco) {
      registros[i] = ParaCOM(ulPosicao, disco);
    });
  }
  HRESULT Le(int32_t lPosicao, Registro* registro) { return LePonteiros(1, &lPosicao, registro); }
  // A rewrite of a removed record gives 1586.
  HRESULT Grava(int32_t lPosicao, Registro registro, int32_t* plPosicaoOut) {
    return GravaRegistro(lPosicao, ParaDisco(registro), PPTextoCampo(registro.szCodigo),
                         PPTextoCampo(registro.szDescricao), plPosicaoOut);
  }
  // Without regard to case; with cUtilizaFiltro other than 1 only removed records are skipped.
  HRESULT Existe(BSTR bsChave, int32_t* plPosicao, uint8_t cUtilizaFiltro) {
    return ExisteCodigo(bsChave, plPosicao, cUtilizaFiltro);
  }
  HRESULT SetFiltro(Filtro filtro) {
    if (HRESULT hr = VerificaInicializado()) return hr;
    m_filtro = filtro;
    return S_OK;
  }
  HRESULT LimpaFiltro() { return SetFiltro(Filtro{}); }
  const Filtro& GetFiltro() const { return m_filtro; }

 protected:
  void OnFinaliza() override {
    m_filtro = Filtro{};
    CPPServidorTabelaCodigo::OnFinaliza();
  }

 private:
  static PPRegistroTabelaCodigo ParaDisco(const Registro& registro) {
    PPRegistroTabelaCodigo disco{};
    kPPTextoParaDisco(disco.szCodigo, registro.szCodigo);
    kPPTextoParaDisco(disco.szDescricao, registro.szDescricao);
    disco.cEstado = registro.*kEstado;
    return disco;
  }
  static Registro ParaCOM(uint32_t ulPosicao, const PPRegistroTabelaCodigo& disco) {
    Registro registro{};
    registro.lPosicao = static_cast<int32_t>(ulPosicao);
    kPPTextoParaCOM(registro.szCodigo, disco.szCodigo);
    kPPTextoParaCOM(registro.szDescricao, disco.szDescricao);
    registro.*kEstado = disco.cEstado;
    return registro;
  }

  Filtro m_filtro{};
};
