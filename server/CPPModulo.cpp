#include "server/CPPModulo.h"

#include <string>

#include "platform/com/registrar.h"
#include "platform/win32/clock.h"
#include "platform/win32/msgqueue.h"
#include "platform/win32/sync.h"
#include "platform/win32/thread.h"
#include "server/PPScriptsRegistro.h"

namespace {

// What loading a registration script that the program does not carry gives.
constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND = 1814;

DWORD ExecutaMonitor(void* pModulo) {
  static_cast<CPPModulo*>(pModulo)->MonitorShutdown();
  return 0;
}

// The program's directory, as the type library's help directory: the path without its last
// backslash and file name.
std::string DiretorioDe(const char* szCaminho) {
  const std::string caminho = szCaminho;
  const size_t barra = caminho.rfind('\\');
  return barra == std::string::npos ? std::string() : caminho.substr(0, barra);
}

}  // namespace

// The class object of one class: creates its COM objects and locks the server for LockServer.
// Reference-counted, since the class-object table may hold it past the run that registered it.
struct CPPModulo::Registro : IClassFactory {
  explicit Registro(const PPClasseServidor& c) : classe(c) {}

  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory)) {
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
    *ppv = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return static_cast<ULONG>(++referencias); }
  ULONG Release() override {
    const LONG restantes = --referencias;
    if (restantes == 0) delete this;
    return static_cast<ULONG>(restantes);
  }
  HRESULT CreateInstance(IUnknown* pOuter, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (pOuter) return CLASS_E_NOAGGREGATION;
    return classe.cria(riid, ppv);
  }
  HRESULT LockServer(BOOL bTrava) override {
    if (bTrava) {
      PPModulo().Bloqueia();
    } else {
      PPModulo().Desbloqueia();
    }
    return S_OK;
  }

  const PPClasseServidor& classe;
  std::atomic<LONG> referencias{1};
  DWORD cookie = 0;

 private:
  virtual ~Registro() = default;
};

CPPModulo& PPModulo() {
  static CPPModulo* modulo = new CPPModulo;  // objects may outlive main's return
  return *modulo;
}

void CPPModulo::Inicializa(const PPClasseServidor* pClasses, int nClasses,
                           const TypeLibRecord& biblioteca) {
  for (int i = 0; i < nClasses; ++i) m_classes.push_back(new Registro(pClasses[i]));
  m_biblioteca = biblioteca;
  m_dwIdThread = GetCurrentThreadId();
}

void CPPModulo::Termina() {
  EncerraMonitor();
  for (Registro* registro : m_classes) registro->Release();
  m_classes.clear();
}

HRESULT CPPModulo::AplicaScript(uint16_t nScript, const char* szCaminhoModulo, bool bRegistra) {
  const std::string script = PPScriptRegistro(nScript);
  if (script.empty()) return HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND);
  std::string modulo;
  const HRESULT hr = PPTextoModulo(szCaminhoModulo, &modulo);
  if (FAILED(hr)) return hr;
  return UpdateRegistryFromScript(script.c_str(), {{"MODULE", modulo}}, bRegistra);
}

HRESULT CPPModulo::RegistraServidor(const char* szCaminhoModulo) {
  AplicaScript(kPPScriptAppId, szCaminhoModulo, true);
  for (const Registro* registro : m_classes) {
    const HRESULT hr =
        AplicaScript(registro->classe.identificadores->script, szCaminhoModulo, true);
    if (FAILED(hr)) return hr;
  }
  return RegisterTypeLib(m_biblioteca, szCaminhoModulo, DiretorioDe(szCaminhoModulo).c_str());
}

void CPPModulo::DesregistraServidor(const char* szCaminhoModulo) {
  AplicaScript(kPPScriptAppId, szCaminhoModulo, false);
  for (const Registro* registro : m_classes)
    AplicaScript(registro->classe.identificadores->script, szCaminhoModulo, false);
  UnRegisterTypeLib(m_biblioteca.libid, m_biblioteca.major_version, m_biblioteca.minor_version,
                    m_biblioteca.lcid, SYS_WIN32);
}

void CPPModulo::ExecutaServidor() {
  IniciaMonitor();
  RegistraObjetosClasse();
  MSG mensagem;
  while (GetMessageA(&mensagem, nullptr, 0, 0) > 0) DispatchMessageA(&mensagem);
  RevogaObjetosClasse();
  Sleep(kPPPausaFinal);
}

LONG CPPModulo::Bloqueia() { return InterlockedIncrement(&m_lBloqueios); }

LONG CPPModulo::Desbloqueia() {
  const LONG restantes = InterlockedDecrement(&m_lBloqueios);
  if (restantes == 0) {
    m_bAtividade = true;
    if (HANDLE evento = m_hEventoShutdown) SetEvent(evento);
  }
  return restantes;
}

bool CPPModulo::IniciaMonitor() {
  if (!m_hEventoShutdown) m_hEventoShutdown = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  if (!m_hEventoShutdown) return false;
  ResetEvent(m_hEventoShutdown);
  m_bEncerraMonitor = false;
  m_hMonitor = CreateThread(nullptr, 0, &ExecutaMonitor, this, 0, nullptr);
  return m_hMonitor != nullptr;
}

void CPPModulo::EncerraMonitor() {
  if (!m_hMonitor) return;
  m_bEncerraMonitor = true;
  SetEvent(m_hEventoShutdown);
  WaitForSingleObject(m_hMonitor, INFINITE);
  CloseHandle(m_hMonitor);
  m_hMonitor = nullptr;
}

void CPPModulo::MonitorShutdown() {
  for (;;) {
    m_estadoMonitor = PPEstadoMonitor::kAguardandoLiberacao;
    WaitForSingleObject(m_hEventoShutdown, INFINITE);
    if (m_bEncerraMonitor) break;
    m_estadoMonitor = PPEstadoMonitor::kContandoSilencio;
    DWORD espera;
    do {
      m_bAtividade = false;
      espera = WaitForSingleObject(m_hEventoShutdown, kPPTempoOcioso);
    } while (espera == WAIT_OBJECT_0 && !m_bEncerraMonitor);
    if (m_bEncerraMonitor) break;
    if (Ocupado()) continue;
    CoSuspendClassObjects();
    if (Ocupado()) {
      CoResumeClassObjects();  // an object came between the two looks: the run serves on
      continue;
    }
    PostThreadMessageA(m_dwIdThread, WM_QUIT, 0, 0);
    break;
  }
  m_estadoMonitor = PPEstadoMonitor::kParado;
}

void CPPModulo::RegistraObjetosClasse() {
  for (Registro* registro : m_classes)
    CoRegisterClassObject(registro->classe.identificadores->clsid, registro, CLSCTX_LOCAL_SERVER,
                          REGCLS_MULTIPLEUSE | REGCLS_SUSPENDED, &registro->cookie);
  CoResumeClassObjects();
}

void CPPModulo::RevogaObjetosClasse() {
  for (Registro* registro : m_classes) {
    if (registro->cookie) CoRevokeClassObject(registro->cookie);
    registro->cookie = 0;
  }
}
