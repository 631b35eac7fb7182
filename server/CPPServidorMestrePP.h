// The master-settings handler behind QVPP_MestrePP, and the gate of every session: its Inicializa
// runs for every handler whose Inicializa arrives through COM, so that a company's version record
// exists, an interrupted upgrade is resolved, data newer than the program are refused and older
// data files are upgraded (AtualizaVersaoArquivos, CPPAtualizaVersao.h) before any handler opens a
// file.
//
// The handler keeps the session (company, user, session) and the paths of its three files; no data
// file stays open between calls. The version record changes only at its creation (here), in the
// driver (here) and in CPPAtualizaVersao::AtualizaNumeroVersao. Writers of the settings and the
// upgrade serialise on entity lock 1 (CQVArqMarca.h) across processes; reads take no lock. One
// object serves one thread at a time.
#pragma once

#include <cstdint>

#include "platform/mfc/CString.h"
#include "platform/win32/base.h"
#include "server/CPPAtualizaVersao.h"
#include "server/PPTextosStatus.h"
#include "server/idl/VarmoRegistrosComuns.h"

// Message numbers of the handler.
constexpr uint32_t kPPErroNaoInicializado = 1585;   // a method called before a successful Inicializa
constexpr uint32_t kPPErroArquivoMestre = 1616;     // "PPMESTRE.DAT" missing
constexpr uint32_t kPPErroAbreHistorico = 1648;     // the history client could not be opened
constexpr uint32_t kPPErroVersaoMaisNova = 1666;    // a group's files are newer than the program

// The entity lock of the master settings and of the upgrade.
constexpr int kPPMarcaMestre = 1;

// The upgrade's converters, one per group that has one, in the order of the groups. Processes (2),
// calendars (7) and sections (8) have none: their files exist only in the current format.
extern const PPTabelaConversores kPPConversoresVersao;

class CPPServidorMestrePP {
 public:
  CPPServidorMestrePP() = default;
  CPPServidorMestrePP(const CPPServidorMestrePP&) = delete;
  CPPServidorMestrePP& operator=(const CPPServidorMestrePP&) = delete;

  // ---- The session and the paths (Inicializa, step 2) -----------------------------------------
  // Copies company (the record's first 24 bytes), user and session from the caller's record, and
  // builds the data directory and the paths of "PPMESTRE.DAT", "PPMSIAEF.DAT", "PPVERSAO.DAT";
  // 975 when the company has no data directory.
  HRESULT DefineSessao(const _REG_VARMO_INICIALIZAPS& regPS);

  // ---- The version record and the upgrade (Inicializa, after the paths) -----------------------
  // Resolves the journal of an interrupted upgrade step, when there is one, under lock 1
  // (PPResolveDiarioAtualizacao); Inicializa calls it right after building the paths, before it
  // looks for "PPMESTRE.DAT" (a master step may have removed it), and AtualizaVersaoArquivos once
  // more before reading the record. 0 when there is none; no lock is taken then.
  HRESULT ResolveDiarioAtualizacao();
  HRESULT ResolveDiarioAtualizacao(const PPTabelaConversores& conversores);
  // Creates "PPVERSAO.DAT" when it is missing, or completes one that holds only its header (its
  // creator died before writing record 1): record 1 with every slot at its target, family version
  // 64 and today as the creation day, then the "I" audit record with the session. Under lock 1 and
  // without truncating: a file that another process has made meanwhile is left as it is. Inicializa
  // goes on whatever this returns; the driver's read of record 1 reports a file still incomplete.
  HRESULT CriaArquivoVersao();
  // The upgrade driver: 0 or a non-negative converter result; 1666 when a group is newer than the
  // program; 1615 when a group below its target has no converter; engine, lock and converter errors.
  // Without a group to convert, no lock is taken.
  HRESULT AtualizaVersaoArquivos();
  HRESULT AtualizaVersaoArquivos(const PPTabelaConversores& conversores);

  // ---- Getters for the other handlers -----------------------------------------------------------
  CString GetArquivoPrincipal() const { return m_strArquivoPrincipal; }
  CString GetArquivoInfApontExternoFiliais() const { return m_strArquivoInfApontExternoFiliais; }
  CString GetArquivoVersao() const { return m_strArquivoVersao; }

 private:
  // Members in the handler's order; the open period, the branch and user records and the flags
  // follow the paths when the settings methods come.
  CString m_strEmpresa;
  uint16_t m_usUsuario = 0;
  int32_t m_lSessao = 0;
  CString m_strArquivoPrincipal;
  CString m_strArquivoInfApontExternoFiliais;
  CString m_strArquivoVersao;
  CString m_strDiretorio;
};
