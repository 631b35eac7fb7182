// Creation of the family's COM servers, and the COM helpers around it.
//
// Every COM server that the system reaches (the module's own classes, the other modules' servers,
// the history service) is created by QVCriaInstanciaServidor: on this machine, with fixed security
// settings (authentication level none, impersonation), retrying while the server answers that it
// is unavailable (0x800706BA: it is starting or ending), and reporting to the event log under the
// source "QV Rivovoda". The routine keeps no state and may run on any thread that has initialised
// COM; during retries it blocks its thread, up to 500 attempts 500 ms apart (about 250 s).
//
// There is no message filter for busy servers, no queue that hands interfaces between threads and
// no switch of resource handles: calls never leave the caller's thread and the programs hold no
// resources, so none of them would have anything to do, and no caller asks for them.
#pragma once

#include <cstdint>

#include "platform/com/classobject.h"
#include "platform/mfc/CString.h"
#include "platform/win32/clock.h"

// The flags of QVCriaInstanciaServidor.
constexpr DWORD kQVCriaRegistraEvento = 1;       // report failures to the event log
constexpr DWORD kQVCriaRetentaIndisponivel = 2;  // retry while the server is unavailable
// The context that every caller in the server passes: in-process server and handler, local and
// remote server.
constexpr DWORD kQVContextoServidor =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
constexpr int kQVTentativasCriacao = 500;
constexpr DWORD kQVPausaTentativa = 500;  // ms

// Process-wide security: authentication level none, impersonation, no security descriptor,
// authentication services chosen by COM. The server program calls it once at start.
HRESULT QVInicializaSegurancaCOM();
// The same level on the interface's proxy; its callers ignore the result.
HRESULT QVAjustaSegurancaProxy(IUnknown* pInterface);

// Creates the object and stores the interface in *ppInterface; on failure *ppInterface is left as
// it is and the result of the last creation call is returned unchanged. A creation that answers
// E_INVALIDARG with the server information is repeated at once without it. With
// kQVCriaRetentaIndisponivel, an unavailable server is asked again every 500 ms, up to 500
// attempts; with kQVCriaRegistraEvento, the second unavailable answer logs a warning and the final
// failure an error.
HRESULT QVCriaInstanciaServidor(REFCLSID clsid, IUnknown* pOuter, DWORD dwContexto, REFIID riid,
                                void** ppInterface, DWORD dwFlags);

// One event-log entry of type wTipo (EVENTLOG_WARNING_TYPE, EVENTLOG_ERROR_TYPE) whose event
// identifier is the HRESULT, with two strings: szTexto and the detail
// "\nHR: 0x%X (<system text>)\nCLSID: {...}\nPrograma: <program path>\n". Nothing happens when the
// event source cannot be registered.
void QVRegistraEventoServidor(REFCLSID clsid, HRESULT hr, WORD wTipo, const char* szTexto);

// The braced text of a CLSID, as StringFromCLSID gives it.
CString QVTextoCLSID(REFCLSID clsid);

// Holds one interface pointer of type Interface (identifier kIid) and releases it at the end.
// One thread at a time.
template <class Interface, IID kIid>
class CQVComPtr {
 public:
  CQVComPtr() = default;
  ~CQVComPtr() {
    if (m_pInterface) m_pInterface->Release();
  }
  CQVComPtr(const CQVComPtr&) = delete;
  CQVComPtr& operator=(const CQVComPtr&) = delete;

  // QVCriaInstanciaServidor for the holder's interface; on success the new pointer replaces the one
  // held (which is released), on failure the holder is unchanged.
  HRESULT CreateInstance(REFCLSID clsid, IUnknown* pOuter, DWORD dwContexto, DWORD dwFlags) {
    Interface* pNova = nullptr;
    const HRESULT hr = QVCriaInstanciaServidor(clsid, pOuter, dwContexto, kIid,
                                               reinterpret_cast<void**>(&pNova), dwFlags);
    if (FAILED(hr)) return hr;
    if (m_pInterface) m_pInterface->Release();
    m_pInterface = pNova;
    return hr;
  }
  Interface* GetInterface() const { return m_pInterface; }
  Interface* operator->() const { return m_pInterface; }
  // Lets go of the held interface: null first, then released, so that nothing the release sets
  // off finds it held.
  void Release() {
    Interface* pAntiga = m_pInterface;
    m_pInterface = nullptr;
    if (pAntiga) pAntiga->Release();
  }

 private:
  Interface* m_pInterface = nullptr;
};

// Calls a method (a, b) of the held interface up to 400 times while it answers 0x800706BA,
// sleeping 500 ms after each such answer; returns the last result. The caller names the method as
// a member pointer, so the compiler checks it against the interface.
constexpr int kQVTentativasChamada = 400;

template <class Interface, IID kIid>
HRESULT QVChamaComRetentativa(CQVComPtr<Interface, kIid>& servidor,
                              HRESULT (Interface::*metodo)(uint16_t, uint32_t), uint16_t a,
                              uint32_t b) {
  HRESULT hr = E_POINTER;
  if (!servidor.GetInterface()) return hr;
  for (int i = 0; i < kQVTentativasChamada; ++i) {
    hr = (servidor.GetInterface()->*metodo)(a, b);
    if (hr != RPC_S_SERVER_UNAVAILABLE_HRESULT) break;
    Sleep(kQVPausaTentativa);
  }
  return hr;
}
