// The two histories of the server.
//
// Readable lines ("who did what") go to the family's history service (IQVServicoHistorico.h)
// through a CPPHistorico client. Every handler object holds one and opens it in its Inicializa
// with the caller's company, user and session; it tests EstaAberto before each line and writes
// nothing while the client is closed: an unreachable service turns history off for that handler
// and nothing else. With session 0 the client opens a session of its own at the service and closes
// it again in Fecha (and in the destructor); with the caller's session it opens and closes none.
// Abre on an open client closes it first, so no session or interface is left behind.
//
// GravaLinha formats like printf, at any length. A text that is ready already (a change text, a
// user's description) is passed as the argument of "%s", never as the format: a "%" in it would
// read arguments that are not there.
//
// Record images go to history files: before a record of a few central files is overwritten, the
// caller hands GravaRegistro the record behind 18 free bytes, and the record is appended, behind
// its header (PPCabecalhoHistorico), to the file named like the data file with the extension HIS.
// That write reports nothing: a failed history write does not stop the caller.
//
// A client serves one thread at a time, a thread that has initialised COM. GravaRegistro keeps no
// state and may run on any thread.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/family/historico/IQVServicoHistorico.h"
#include "platform/mfc/CString.h"
#include "platform/win32/base.h"

// The module number of the server's lines at the history service, and the operation letters.
constexpr int32_t kPPModuloHistorico = 19;
constexpr char kPPHistoricoInclusao = 'I';
constexpr char kPPHistoricoAlteracao = 'A';
constexpr char kPPHistoricoExclusao = 'E';

// The header of a history-file record; the record image of the data file follows it.
#pragma pack(push, 1)
struct PPCabecalhoHistorico {
  int32_t lSessao;       // session of the writer; 0 when none
  uint32_t ulPonteiro;   // record number in the data file
  uint16_t usData;       // day number of the write (two-digit-year date of the clock)
  uint16_t usMinutos;    // minute of the day of the write
  uint16_t usUsuario;
  uint16_t usCodigo;     // the caller's code: 0 for the version record, 3 for the master settings
  char cTipo;            // operation letter
  uint8_t cZero;
};
#pragma pack(pop)
static_assert(sizeof(PPCabecalhoHistorico) == 18);
static_assert(offsetof(PPCabecalhoHistorico, ulPonteiro) == 4);
static_assert(offsetof(PPCabecalhoHistorico, usData) == 8);
static_assert(offsetof(PPCabecalhoHistorico, usMinutos) == 10);
static_assert(offsetof(PPCabecalhoHistorico, usUsuario) == 12);
static_assert(offsetof(PPCabecalhoHistorico, usCodigo) == 14);
static_assert(offsetof(PPCabecalhoHistorico, cTipo) == 16);
static_assert(offsetof(PPCabecalhoHistorico, cZero) == 17);

class CPPHistorico {
 public:
  CPPHistorico() = default;
  // Fecha.
  virtual ~CPPHistorico();
  CPPHistorico(const CPPHistorico&) = delete;
  CPPHistorico& operator=(const CPPHistorico&) = delete;

  // Closes what the client holds, creates the service (retrying while it is unavailable and
  // reporting to the event log, foundation/QVCom.h), gives it the company and, with sessao 0,
  // opens a session of the user. The creation's, DefineEmpresa's or AbreSessao's failure is
  // returned and leaves the client closed.
  HRESULT Abre(const CString& empresa, uint16_t usuario, int32_t sessao);
  // Closes the client's own session at the service and releases the service.
  void Fecha();
  bool EstaAberto() const { return m_bAberto; }

  // Sends one line: the formatted text and a carriage return, module 19, letter `tipo` ('I', 'A',
  // 'E'); the service's HRESULT. A text that comes out empty sends nothing and gives 0; a closed
  // client sends nothing and gives E_FAIL.
  HRESULT GravaLinha(char tipo, const char* formato, ...) __attribute__((format(printf, 3, 4)));

  // Appends `registro` (tamanho bytes: 18 free bytes, then the record image) to the history file
  // of arquivoDAT, after filling its header with the session, the record number, today's day
  // number and minute of the clock (foundation/QVRelogio.h), the user, `codigo`, `tipo` and a zero.
  // The file is created when missing, also when the directory's control file lists it. Nothing is
  // reported; a buffer shorter than the header writes nothing.
  static void GravaRegistro(const char* arquivoDAT, uint16_t usuario, int32_t sessao, uint32_t ponteiro,
                            void* registro, int tamanho, char tipo, uint16_t codigo);

 private:
  IQVServicoHistorico* m_pServico = nullptr;  // null when closed
  bool m_bAberto = false;
  bool m_bSessaoPropria = false;  // the session was opened here and is closed here
  CString m_strEmpresa;
  uint16_t m_usUsuario = 0;
  int32_t m_lSessao = 0;
};
