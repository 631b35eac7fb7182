// The server program's module state: one for the process, as the program has one. It holds the
// class table with each class's class object and registration cookie, the type library to
// register, the lock count, and what the idle-shutdown monitor needs: the activity flag and the
// shutdown event through which it learns that the last object is gone, and the main thread to
// which it posts the quit message.
//
// Lifecycle of a program run: Inicializa; then RegistraServidor, DesregistraServidor or
// ExecutaServidor; then Termina. ExecutaServidor starts the monitor, registers the class objects
// (local server, multiple use, held back) and resumes them all at once, runs the message loop until
// the quit message, revokes the class objects and pauses 1000 ms.
//
// The lock count is the number of live COM objects of all classes plus the LockServer locks on the
// class objects. When it falls to 0 the activity flag is set and the shutdown event signalled. The
// monitor (its own thread) waits for that without a time limit, then for 5000 ms quiet periods
// (each release of the last object starts a new one, and clears the flag); after a quiet period
// with the flag clear and no lock it holds the class objects back and looks again: still nothing,
// it posts the quit message; otherwise it resumes the class objects and goes back to waiting. A
// creation that arrives while they are held back waits, as for a starting server, and is served by
// this run once it resumes or by a new run once this one has ended. A run that never had an object
// never ends by itself.
//
// The shutdown event lives as long as the process: objects are released on clients' threads and
// may still signal it after a run has ended. A monitor still waiting when its run ends (a run
// stopped by a quit message from elsewhere) is stopped by Termina: a process that links the server
// runs it again and again, and a monitor left over would watch the next run's lock count and post
// its quit message to that run. One run at a time per process.
//
// Concurrency: Bloqueia and Desbloqueia from any thread, through interlocked operations; the
// flag and the event hand the news to the monitor without a lock. The getters may be read from
// any thread; everything else runs on the main thread of the run.
#pragma once

#include <atomic>
#include <vector>

#include "platform/com/classobject.h"
#include "platform/com/typelib.h"
#include "platform/win32/sync.h"
#include "server/PPTabelaClasses.h"

// Where the monitor is, for whoever watches the server: it waits without a time limit for the last
// object to go, or it times a quiet period; stopped when it has no thread.
enum class PPEstadoMonitor { kParado, kAguardandoLiberacao, kContandoSilencio };

constexpr DWORD kPPTempoOcioso = 5000;  // ms of quiet before an idle server ends
constexpr DWORD kPPPausaFinal = 1000;   // ms after the message loop

class CPPModulo {
 public:
  // Records the calling thread as the main thread.
  void Inicializa(const PPClasseServidor* pClasses, int nClasses, const TypeLibRecord& biblioteca);
  void Termina();

  // Script 100 (its failure ignored), then each class's script in table order, stopping at the
  // first failure, whose HRESULT is returned; then the type library, whose result is returned.
  // szCaminhoModulo is the program's path as the system writes it; it becomes %MODULE%.
  HRESULT RegistraServidor(const char* szCaminhoModulo);
  // The same in reverse mode, then the type library's registration goes; failures are ignored.
  void DesregistraServidor(const char* szCaminhoModulo);
  void ExecutaServidor();

  // Return the new count.
  LONG Bloqueia();
  LONG Desbloqueia();

  LONG GetBloqueios() { return InterlockedCompareExchange(&m_lBloqueios, 0, 0); }
  bool GetAtividade() const { return m_bAtividade; }
  DWORD GetIdThreadPrincipal() const { return m_dwIdThread; }
  PPEstadoMonitor GetEstadoMonitor() const { return m_estadoMonitor; }

  // The monitor's loop; runs on the monitor thread.
  void MonitorShutdown();

 private:
  struct Registro;

  bool IniciaMonitor();
  void EncerraMonitor();
  void RegistraObjetosClasse();
  void RevogaObjetosClasse();
  HRESULT AplicaScript(uint16_t nScript, const char* szCaminhoModulo, bool bRegistra);
  bool Ocupado() { return m_bAtividade || GetBloqueios() != 0; }

  std::vector<Registro*> m_classes;
  TypeLibRecord m_biblioteca{};
  volatile LONG m_lBloqueios = 0;
  std::atomic<bool> m_bAtividade{false};
  std::atomic<HANDLE> m_hEventoShutdown{nullptr};
  std::atomic<bool> m_bEncerraMonitor{false};
  std::atomic<PPEstadoMonitor> m_estadoMonitor{PPEstadoMonitor::kParado};
  HANDLE m_hMonitor = nullptr;
  DWORD m_dwIdThread = 0;
};

CPPModulo& PPModulo();

// One lock on the server for as long as it lives: every COM object of the server holds one.
class PPBloqueioServidor {
 public:
  PPBloqueioServidor() { PPModulo().Bloqueia(); }
  ~PPBloqueioServidor() { PPModulo().Desbloqueia(); }
  PPBloqueioServidor(const PPBloqueioServidor&) = delete;
  PPBloqueioServidor& operator=(const PPBloqueioServidor&) = delete;
};
