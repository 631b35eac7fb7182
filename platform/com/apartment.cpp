#include "platform/com/apartment.h"

#include <mutex>

namespace {

struct ThreadApartment {
  int count = 0;
  DWORD model = COINIT_MULTITHREADED;
};

thread_local ThreadApartment apartment;

struct SecurityState {
  std::mutex mutex;
  ProcessSecuritySettings process{};
  ProxyBlanket last_blanket{};
};

SecurityState& Security() {
  static SecurityState* state = new SecurityState;  // never destroyed: threads may outlive main
  return *state;
}

}  // namespace

HRESULT CoInitializeEx(void*, DWORD model) {
  const DWORD threading = model & COINIT_APARTMENTTHREADED;
  if (apartment.count > 0 && apartment.model != threading) return RPC_E_CHANGED_MODE;
  apartment.model = threading;
  return apartment.count++ == 0 ? S_OK : S_FALSE;
}

HRESULT CoInitialize(void* reserved) { return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED); }

void CoUninitialize() {
  if (apartment.count > 0) --apartment.count;
}

bool IsComInitialized() { return apartment.count > 0; }

HRESULT CoInitializeSecurity(void*, LONG service_count, SOLE_AUTHENTICATION_SERVICE*, void*,
                             DWORD authentication_level, DWORD impersonation_level, void*,
                             DWORD capabilities, void*) {
  if (!IsComInitialized()) return CO_E_NOTINITIALIZED;
  SecurityState& state = Security();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (state.process.taken) return RPC_E_TOO_LATE;
  state.process = {true, service_count, authentication_level, impersonation_level, capabilities};
  return S_OK;
}

HRESULT CoSetProxyBlanket(IUnknown* proxy, DWORD authentication_service,
                          DWORD authorisation_service, LPOLESTR principal_name,
                          DWORD authentication_level, DWORD impersonation_level, void* identity,
                          DWORD capabilities) {
  if (!proxy) return E_INVALIDARG;
  SecurityState& state = Security();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.last_blanket = {proxy,
                        authentication_service,
                        authorisation_service,
                        principal_name != nullptr,
                        authentication_level,
                        impersonation_level,
                        identity != nullptr,
                        capabilities};
  return S_OK;
}

ProcessSecuritySettings ProcessSecurity() {
  SecurityState& state = Security();
  std::lock_guard<std::mutex> lock(state.mutex);
  return state.process;
}

ProxyBlanket LastProxyBlanket() {
  SecurityState& state = Security();
  std::lock_guard<std::mutex> lock(state.mutex);
  return state.last_blanket;
}
