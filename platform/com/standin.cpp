#include "platform/com/standin.h"

#include "platform/com/apartment.h"
#include "platform/win32/clock.h"
#include "platform/win32/msgqueue.h"
#include "platform/win32/registry.h"

namespace {

std::string ClassKey(REFCLSID clsid) { return "CLSID\\" + GuidToText(clsid); }

}  // namespace

HRESULT FunctionClassFactory::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory)) {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  *object = static_cast<IClassFactory*>(this);
  AddRef();
  return S_OK;
}

ULONG FunctionClassFactory::AddRef() { return static_cast<ULONG>(++references_); }

ULONG FunctionClassFactory::Release() {
  const LONG left = --references_;
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT FunctionClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  return creator_(riid, object);
}

HRESULT FunctionClassFactory::LockServer(BOOL) { return S_OK; }

StandInServer::StandInServer(std::string module_name) : module_name_(std::move(module_name)) {}

StandInServer::~StandInServer() {
  if (!linked_) return;
  if (const DWORD run = LocalServerRunThread(module_name_.c_str()))
    PostThreadMessageA(run, WM_QUIT, 0, 0);
  WaitForLocalServerRunEnd(module_name_.c_str(), INFINITE);
  UnlinkLocalServer(module_name_.c_str());
  for (const Class& c : classes_) RegDeleteTreeA(HKEY_CLASSES_ROOT, ClassKey(c.clsid).c_str());
}

void StandInServer::AddClass(REFCLSID clsid, FunctionClassFactory::Creator creator) {
  classes_.push_back({clsid, std::move(creator)});
}

HRESULT StandInServer::Register() {
  for (const Class& c : classes_) {
    HKEY key;
    LONG error =
        RegCreateKeyExA(HKEY_CLASSES_ROOT, (ClassKey(c.clsid) + "\\LocalServer32").c_str(), 0,
                        nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (error == ERROR_SUCCESS) {
      error = RegSetValueExA(key, nullptr, 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(module_name_.c_str()),
                             static_cast<DWORD>(module_name_.size() + 1));
      RegCloseKey(key);
    }
    if (error != ERROR_SUCCESS) return HRESULT_FROM_WIN32(static_cast<DWORD>(error));
  }
  linked_ = LinkLocalServer(module_name_.c_str(),
                            [this](const char* command_line) { return Run(command_line); });
  return linked_ ? S_OK : E_FAIL;
}

int StandInServer::Run(const char*) {
  ++starts_;
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  std::vector<DWORD> cookies;
  for (const Class& c : classes_) {
    auto* factory = new FunctionClassFactory(c.creator);
    DWORD cookie = 0;
    if (SUCCEEDED(CoRegisterClassObject(c.clsid, factory, CLSCTX_LOCAL_SERVER,
                                        REGCLS_MULTIPLEUSE | REGCLS_SUSPENDED, &cookie)))
      cookies.push_back(cookie);
    factory->Release();
  }
  const bool fails = failing_starts_ > 0;
  if (fails) --failing_starts_;
  if (!fails) {
    CoResumeClassObjects();
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  }
  for (DWORD cookie : cookies) CoRevokeClassObject(cookie);
  CoUninitialize();
  return 0;
}
