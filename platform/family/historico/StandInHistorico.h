// The stand-in of the family's history service (IQVServicoHistorico.h), served in the process as a
// linked local server (platform/com/standin.h), so that a client meets the real creation path with
// its retries and failures.
//
// What it keeps of the real service: every company has a history of its own, which the service
// finds through the registry (the company's "PP" directory, platform/family/comum/DiretorioModulo.h)
// and keeps in the file "HISTORICO\<company>.LOG" beside that directory (the PP directory
// "\srv\qv\EMP\PP\" gives "\srv\qv\EMP\HISTORICO\EMP.LOG"). It stores each session opened and
// closed (handle, user), each line (session, the reserved argument, module number, operation
// letter, the text's bytes exactly as sent) and the arguments of both value calls, one entry per
// call, in the order of the calls. Several objects and several processes write to one file at once
// without loss: each entry is appended whole under an exclusive open of the file (waited for, up
// to 30 s of the process clock). A session handle is one more than the place of its entry in the
// file, so handles are unique within a company without a counter of their own, and never 0.
// DefineEmpresa of a company that the registry does not know, or whose name is not a file name,
// fails with E_INVALIDARG; a call that needs a company before DefineEmpresa has succeeded fails
// with E_UNEXPECTED. A failed call stores nothing.
//
// What it does not keep: the service's own use of the lines (reports, searches, expiry), the
// check that a session handle was opened (a line may name a session that the caller's program
// opened), users and their rights, and the meaning of the values. The interface's slots that the
// system never calls do not exist here.
//
// The file holds one entry per line, in the system's code page: a kind letter and tab-separated
// fields, closed by a field ";" (see StandInHistorico.cpp). Bytes below 0x20, 0x7F and "%" in a
// text are written "%XX". An entry that a crash cut short is skipped by the reader, and the next
// writer starts on a new line, so it never takes a whole entry with it.
//
// Create a StandInHistorico after the registry that tests point QV_REGISTRY at and destroy it
// before (as every StandInServer). A service object is called on its caller's thread, one thread
// at a time; the test controls may be called at any time, from any thread; FailStarts only before
// Register.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/standin.h"
#include "platform/family/historico/IQVServicoHistorico.h"

class StandInHistorico {
 public:
  StandInHistorico();
  ~StandInHistorico();
  StandInHistorico(const StandInHistorico&) = delete;
  StandInHistorico& operator=(const StandInHistorico&) = delete;

  // Registers the class for its linked local server; the registry's error as an HRESULT, or S_OK.
  HRESULT Register();

  // Test controls. The next `count` runs of the server die while starting: so many creations in a
  // row answer 0x800706BA (StandInServer::FailStarts).
  void FailStarts(int count);
  // Every later DefineEmpresa (AbreSessao) fails with `hr` until set back to S_OK.
  void FalhaDefineEmpresa(HRESULT hr);
  void FalhaAbreSessao(HRESULT hr);
  // The next `count` GravaLinha calls fail with `hr` and store nothing.
  void FalhaGravaLinha(int count, HRESULT hr);
  // Runs of the server started so far, and service objects alive now (created and not released).
  int Starts() const;
  int Vivos() const;

  struct Controles;

 private:
  std::shared_ptr<Controles> controles_;
  StandInServer servidor_;
};

// One entry of a company's history, as stored.
struct EntradaHistorico {
  enum Tipo : char {
    kAbreSessao = 'S',
    kFechaSessao = 'F',
    kLinha = 'L',
    kValores = 'V',
    kValoresEstendido = 'X',
  };
  Tipo tipo = kLinha;
  int32_t sessao = 0;       // sessions and lines
  uint32_t usuario = 0;     // kAbreSessao
  int32_t reservado = 0;    // kLinha: the reserved argument
  int32_t modulo = 0;       // kLinha
  char operacao = 0;        // kLinha
  std::string texto;        // kLinha: the bytes sent
  std::vector<int32_t> valores;  // kValores: the five 32-bit values; kValoresEstendido: seven,
                                 // the last two being the extended call's 7th and 8th arguments
  int16_t valor16 = 0;      // both value calls: the 16-bit value
};

// Reads a company's history afresh from its file: the whole entries in the order they were
// written, skipping any entry that a crash cut short. A company whose history was never written
// gives no entries and S_OK; E_INVALIDARG for a company that the registry does not know; else the
// file's error as an HRESULT.
HRESULT LeHistoricoEmpresa(const std::string& empresa, std::vector<EntradaHistorico>* entradas);
// The file that holds the company's history, as the system writes paths; empty when the registry
// does not know the company.
std::string ArquivoHistoricoEmpresa(const std::string& empresa);
