// COM initialisation of threads and the security calls that the system makes.
//
// Kept: CoInitializeEx counted per thread (S_OK the first time, S_FALSE again for the same model,
// RPC_E_CHANGED_MODE for the other model) and undone by as many CoUninitialize calls; object
// creation and class-object registration refuse a thread that has not initialised COM
// (CO_E_NOTINITIALIZED). CoInitializeSecurity is taken once per process; later calls answer
// RPC_E_TOO_LATE.
// Not kept: apartments as such. Calls always run on the caller's thread (there is no marshalling),
// so the model is only remembered; a single-threaded apartment runs no hidden message loop.
// Security has no effect: nothing crosses a process. The values given are remembered so that tests
// can see what a caller asked for (ProcessSecurity, LastProxyBlanket). There are no proxies, so
// CoSetProxyBlanket accepts any interface, remembers the blanket and answers S_OK.
// Any thread may call anything here.
#pragma once

#include "platform/com/unknown.h"

constexpr DWORD COINIT_MULTITHREADED = 0x0;
constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;

constexpr DWORD RPC_C_AUTHN_NONE = 0;
constexpr DWORD RPC_C_AUTHN_DEFAULT = 0xFFFFFFFF;
constexpr DWORD RPC_C_AUTHZ_NONE = 0;
constexpr DWORD RPC_C_AUTHN_LEVEL_DEFAULT = 0;
constexpr DWORD RPC_C_AUTHN_LEVEL_NONE = 1;
constexpr DWORD RPC_C_IMP_LEVEL_IDENTIFY = 2;
constexpr DWORD RPC_C_IMP_LEVEL_IMPERSONATE = 3;
constexpr DWORD EOAC_NONE = 0;

constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0);
constexpr HRESULT RPC_E_CHANGED_MODE = static_cast<HRESULT>(0x80010106);
constexpr HRESULT RPC_E_TOO_LATE = static_cast<HRESULT>(0x80010119);

struct SOLE_AUTHENTICATION_SERVICE;

HRESULT CoInitializeEx(void* reserved, DWORD model);
HRESULT CoInitialize(void* reserved);
void CoUninitialize();
// Whether the calling thread has initialised COM and not yet uninitialised it.
bool IsComInitialized();

HRESULT CoInitializeSecurity(void* security_descriptor, LONG service_count,
                             SOLE_AUTHENTICATION_SERVICE* services, void* reserved1,
                             DWORD authentication_level, DWORD impersonation_level,
                             void* authentication_list, DWORD capabilities, void* reserved3);
HRESULT CoSetProxyBlanket(IUnknown* proxy, DWORD authentication_service,
                          DWORD authorisation_service, LPOLESTR principal_name,
                          DWORD authentication_level, DWORD impersonation_level, void* identity,
                          DWORD capabilities);

// For tests: what the process's CoInitializeSecurity set (taken: false before it was called).
struct ProcessSecuritySettings {
  bool taken;
  LONG service_count;
  DWORD authentication_level;
  DWORD impersonation_level;
  DWORD capabilities;
};
ProcessSecuritySettings ProcessSecurity();

// For tests: the last blanket set by CoSetProxyBlanket in this process (interface null before).
struct ProxyBlanket {
  IUnknown* interface;
  DWORD authentication_service;
  DWORD authorisation_service;
  bool has_principal_name;
  DWORD authentication_level;
  DWORD impersonation_level;
  bool has_identity;
  DWORD capabilities;
};
ProxyBlanket LastProxyBlanket();
