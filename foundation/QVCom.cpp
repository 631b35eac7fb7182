#include "foundation/QVCom.h"

#include "platform/win32/module.h"
#include "platform/com/apartment.h"
#include "platform/com/taskmem.h"
#include "platform/win32/clock.h"
#include "platform/win32/errortext.h"
#include "platform/win32/eventlog.h"

namespace {

const char kFonteEventos[] = "QV Rivovoda";
const char kTextoSegundaTentativa[] = "\n\nA primeira tentativa de instanciar o servidor falhou";
const char kTextoErroCriacao[] = "\n\nErro instanciando servidor";

}  // namespace

HRESULT QVInicializaSegurancaCOM() {
  return CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_NONE,
                              RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
}

HRESULT QVAjustaSegurancaProxy(IUnknown* pInterface) {
  return CoSetProxyBlanket(pInterface, RPC_C_AUTHN_NONE, RPC_C_AUTHZ_NONE, nullptr,
                           RPC_C_AUTHN_LEVEL_NONE, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
}

HRESULT QVCriaInstanciaServidor(REFCLSID clsid, IUnknown* pOuter, DWORD dwContexto, REFIID riid,
                                void** ppInterface, DWORD dwFlags) {
  COAUTHINFO autenticacao{RPC_C_AUTHN_NONE,
                          RPC_C_AUTHZ_NONE,
                          nullptr,
                          RPC_C_AUTHN_LEVEL_NONE,
                          RPC_C_IMP_LEVEL_IMPERSONATE,
                          nullptr,
                          EOAC_NONE};
  COSERVERINFO servidor{0, nullptr, &autenticacao, 0};
  MULTI_QI pedido{&riid, nullptr, S_OK};

  HRESULT hr = S_OK;
  for (int i = 0; i < kQVTentativasCriacao;) {
    hr = CoCreateInstanceEx(clsid, pOuter, dwContexto, &servidor, 1, &pedido);
    if (hr == E_INVALIDARG) hr = CoCreateInstanceEx(clsid, pOuter, dwContexto, nullptr, 1, &pedido);
    if (hr != RPC_S_SERVER_UNAVAILABLE_HRESULT || !(dwFlags & kQVCriaRetentaIndisponivel)) break;
    if (i == 1 && (dwFlags & kQVCriaRegistraEvento))
      QVRegistraEventoServidor(clsid, hr, EVENTLOG_WARNING_TYPE, kTextoSegundaTentativa);
    Sleep(kQVPausaTentativa);
    ++i;
  }

  if (SUCCEEDED(hr)) {
    QVAjustaSegurancaProxy(pedido.pItf);
    *ppInterface = pedido.pItf;
    return hr;
  }
  if (dwFlags & kQVCriaRegistraEvento)
    QVRegistraEventoServidor(clsid, hr, EVENTLOG_ERROR_TYPE, kTextoErroCriacao);
  return hr;
}

void QVRegistraEventoServidor(REFCLSID clsid, HRESULT hr, WORD wTipo, const char* szTexto) {
  HANDLE hFonte = RegisterEventSourceA(nullptr, kFonteEventos);
  if (!hFonte) return;

  char szErro[256] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_MAX_WIDTH_MASK, nullptr,
                 static_cast<DWORD>(hr), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), szErro, 255,
                 nullptr);
  char szPrograma[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, szPrograma, MAX_PATH);

  CString detalhe;
  detalhe.Format("\nHR: 0x%X (%s)\nCLSID: %s\nPrograma: %s\n", static_cast<unsigned>(hr), szErro,
                 static_cast<const char*>(QVTextoCLSID(clsid)), szPrograma);
  LPCSTR textos[2] = {szTexto, detalhe};
  ReportEventA(hFonte, wTipo, 0, static_cast<DWORD>(hr), nullptr, 2, 0, textos, nullptr);
  DeregisterEventSource(hFonte);
}

CString QVTextoCLSID(REFCLSID clsid) {
  LPOLESTR texto = nullptr;
  if (FAILED(StringFromCLSID(clsid, &texto))) return CString();
  CString resultado;
  for (LPOLESTR c = texto; *c; ++c) resultado += static_cast<char>(*c);  // braces, digits, dashes
  CoTaskMemFree(texto);
  return resultado;
}
