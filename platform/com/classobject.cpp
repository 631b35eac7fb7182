#include "platform/com/classobject.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/com/apartment.h"
#include "platform/win32/clock.h"
#include "platform/win32/msgqueue.h"
#include "platform/win32/path.h"
#include "platform/win32/registry.h"
#include "platform/win32/thread.h"

namespace {

constexpr DWORD kInProcess = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER;
constexpr DWORD kServerStartLimit = 120'000;

// 0 is the run of the threads that no activation started.
using RunId = uint32_t;

struct Registration {
  DWORD cookie;
  CLSID clsid;
  IUnknown* object;
  DWORD context;
  bool multiple_use;
  bool suspended;
  bool given_out;  // a single-use registration that has served its request
  RunId run;
};

struct Run {
  std::string module;  // the key of its linked module
  DWORD thread_id = 0;
  // From its start, and again from each suspension, until it resumes its class objects or ends:
  // requests for its module's classes wait meanwhile.
  bool holding_back = true;
  std::vector<CLSID> registered;

  bool Registered(REFCLSID clsid) const {
    return std::find(registered.begin(), registered.end(), clsid) != registered.end();
  }
};

struct LinkedModule {
  LocalServerEntry entry;
  RunId live = 0;
};

// Guarded by the wait lock. Runs are kept after they end: a request that started one reads what
// it registered.
struct Table {
  std::vector<Registration> registrations;
  DWORD last_cookie = 0;
  std::map<RunId, Run> runs;
  RunId last_run = 0;
  std::map<std::string, LinkedModule> modules;  // by upper-case name
};

// Never destroyed: a run thread may still end while the process exits.
Table& Classes() {
  static Table* table = new Table;
  return *table;
}

struct SuspensionHook {
  std::mutex mutex;
  std::function<void()> after_suspension;
};

SuspensionHook& Hook() {
  static SuspensionHook* hook = new SuspensionHook;
  return *hook;
}

RunId CurrentRun() {
  return static_cast<RunId>(reinterpret_cast<uintptr_t>(InheritedThreadContext()));
}

void* ContextOf(RunId run) { return reinterpret_cast<void*>(static_cast<uintptr_t>(run)); }

std::string ModuleKey(std::string name) {
  if (name.size() > 4 && EqualNoCase(std::string_view(name).substr(name.size() - 4), ".exe"))
    name.resize(name.size() - 4);
  for (char& ch : name)
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  return name;
}

// The LocalServer32 entry of a class: its path, and the module named by the path's file name.
struct LocalServer {
  bool registered = false;
  std::string path;
  std::string module;
};

LocalServer LocalServerOf(REFCLSID clsid) {
  const std::string key = "CLSID\\" + GuidToText(clsid) + "\\LocalServer32";
  HKEY server_key;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &server_key) != ERROR_SUCCESS)
    return {};
  char value[2048];
  DWORD size = sizeof value, type = REG_NONE;
  const LONG read =
      RegQueryValueExA(server_key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(server_key);
  if (read != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
  std::string path(value);
  if (!path.empty() && path.front() == '"') path = path.substr(1, path.find('"', 1) - 1);
  const size_t separator = path.find_last_of("\\/");
  const std::string file = separator == std::string::npos ? path : path.substr(separator + 1);
  return {true, path, ModuleKey(file)};
}

DWORD NormalisedContext(DWORD context) {
  return (context & CLSCTX_REMOTE_SERVER) ? context | CLSCTX_LOCAL_SERVER : context;
}

Registration* FindAvailable(Table& table, REFCLSID clsid, DWORD context) {
  for (Registration& r : table.registrations)
    if (r.clsid == clsid && !r.suspended && !r.given_out &&
        (r.context & context & (kInProcess | CLSCTX_LOCAL_SERVER)))
      return &r;
  return nullptr;
}

bool HeldBack(const Table& table, REFCLSID clsid, DWORD context) {
  return std::any_of(table.registrations.begin(), table.registrations.end(),
                     [&](const Registration& r) {
                       return r.clsid == clsid && r.suspended && (r.context & context);
                     });
}

// With the wait lock held: removes the registrations that `match` selects and gives back their
// class objects, to be released once the lock is gone.
template <class Match>
std::vector<IUnknown*> Remove(Table& table, Match match) {
  std::vector<IUnknown*> removed;
  auto kept = std::remove_if(table.registrations.begin(), table.registrations.end(),
                             [&](const Registration& r) {
                               if (!match(r)) return false;
                               removed.push_back(r.object);
                               return true;
                             });
  table.registrations.erase(kept, table.registrations.end());
  WakeWaiters();
  return removed;
}

void RunLocalServer(RunId id, LocalServerEntry entry, std::string command_line) {
  SetInheritedThreadContext(ContextOf(id));
  const DWORD thread_id = GetCurrentThreadId();
  {
    auto lock = LockWaitState();
    Classes().runs[id].thread_id = thread_id;
  }
  entry(command_line.c_str());
  std::vector<IUnknown*> left;
  {
    auto lock = LockWaitState();
    left = Remove(Classes(), [id](const Registration& r) { return r.run == id; });
  }
  for (IUnknown* object : left) object->Release();
  auto lock = LockWaitState();
  Table& table = Classes();
  Run& run = table.runs[id];
  run.holding_back = false;
  auto module = table.modules.find(run.module);
  if (module != table.modules.end() && module->second.live == id) module->second.live = 0;
  WakeWaiters();
}

// With the wait lock held. Returns the new run, or 0 when no thread could be started.
RunId StartRun(Table& table, LinkedModule& module, const LocalServer& server) {
  const RunId id = ++table.last_run;
  Run& run = table.runs[id];
  run.module = server.module;
  const bool quote = server.path.find(' ') != std::string::npos;
  std::string command_line = (quote ? '"' + server.path + '"' : server.path) + " -Embedding";
  try {
    std::thread(RunLocalServer, id, module.entry, std::move(command_line)).detach();
  } catch (const std::system_error&) {
    run.holding_back = false;
    return 0;
  }
  module.live = id;
  return id;
}

HRESULT AnswerOfRun(const Run& run, REFCLSID clsid) {
  return run.Registered(clsid) ? RPC_S_SERVER_UNAVAILABLE_HRESULT : CO_E_SERVER_EXEC_FAILURE;
}

// The activation steps of the header, giving a referenced class object.
HRESULT ObtainClassObject(REFCLSID clsid, DWORD context, bool with_server_info,
                          IUnknown** class_object) {
  if (!IsComInitialized()) return CO_E_NOTINITIALIZED;
  context = NormalisedContext(context);
  const LocalServer server = (context & CLSCTX_LOCAL_SERVER) ? LocalServerOf(clsid) : LocalServer{};
  Table& table = Classes();
  auto lock = LockWaitState();
  RunId started = 0;
  for (;;) {
    if (Registration* found = FindAvailable(table, clsid, context)) {
      if (with_server_info && !(found->context & CLSCTX_LOCAL_SERVER)) return E_INVALIDARG;
      if (!found->multiple_use) found->given_out = true;
      found->object->AddRef();
      *class_object = found->object;
      return S_OK;
    }
    auto module = server.registered ? table.modules.find(server.module) : table.modules.end();
    const RunId live = module != table.modules.end() ? module->second.live : 0;
    if (live && table.runs[live].holding_back) {
      if (!WaitWithTimeout(lock, kServerStartLimit,
                           [&] { return !table.runs[live].holding_back; }))
        return CO_E_SERVER_EXEC_FAILURE;
      continue;
    }
    if (HeldBack(table, clsid, context)) return RPC_S_SERVER_UNAVAILABLE_HRESULT;
    if (!server.registered) return REGDB_E_CLASSNOTREG;
    if (module == table.modules.end()) return CO_E_SERVER_EXEC_FAILURE;
    if (live) return AnswerOfRun(table.runs[live], clsid);
    if (started) return AnswerOfRun(table.runs[started], clsid);
    started = StartRun(table, module->second, server);
    if (!started) return CO_E_SERVER_EXEC_FAILURE;
  }
}

bool NamesAMachine(const COSERVERINFO* server_info) {
  return server_info && server_info->pwszName && server_info->pwszName[0];
}

void SetAll(DWORD count, MULTI_QI* results, HRESULT hr) {
  for (DWORD i = 0; i < count; ++i) {
    results[i].pItf = nullptr;
    results[i].hr = hr;
  }
}

}  // namespace

HRESULT CoRegisterClassObject(REFCLSID clsid, IUnknown* class_object, DWORD context, DWORD flags,
                              DWORD* cookie) {
  if (!class_object || !cookie) return E_INVALIDARG;
  if (!IsComInitialized()) return CO_E_NOTINITIALIZED;
  class_object->AddRef();
  const RunId run = CurrentRun();
  auto lock = LockWaitState();
  Table& table = Classes();
  *cookie = ++table.last_cookie;
  table.registrations.push_back({*cookie, clsid, class_object, NormalisedContext(context),
                                 (flags & (REGCLS_MULTIPLEUSE | REGCLS_MULTI_SEPARATE)) != 0,
                                 (flags & REGCLS_SUSPENDED) != 0, false, run});
  if (run) table.runs[run].registered.push_back(clsid);
  WakeWaiters();
  return S_OK;
}

HRESULT CoRevokeClassObject(DWORD cookie) {
  std::vector<IUnknown*> removed;
  {
    auto lock = LockWaitState();
    removed = Remove(Classes(), [cookie](const Registration& r) { return r.cookie == cookie; });
  }
  for (IUnknown* object : removed) object->Release();
  return removed.empty() ? CO_E_OBJNOTREG : S_OK;
}

HRESULT CoSuspendClassObjects() {
  const RunId run = CurrentRun();
  {
    auto lock = LockWaitState();
    Table& table = Classes();
    for (Registration& r : table.registrations)
      if (r.run == run) r.suspended = true;
    if (run) table.runs[run].holding_back = true;
  }
  std::function<void()> after_suspension;
  {
    std::lock_guard<std::mutex> lock(Hook().mutex);
    after_suspension = Hook().after_suspension;
  }
  if (after_suspension) after_suspension();
  return S_OK;
}

HRESULT CoResumeClassObjects() {
  const RunId run = CurrentRun();
  auto lock = LockWaitState();
  Table& table = Classes();
  for (Registration& r : table.registrations)
    if (r.run == run) r.suspended = false;
  if (run) table.runs[run].holding_back = false;
  WakeWaiters();
  return S_OK;
}

HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, COSERVERINFO* server_info, REFIID riid,
                         void** object) {
  if (!object) return E_INVALIDARG;
  *object = nullptr;
  if (NamesAMachine(server_info)) return E_INVALIDARG;
  IUnknown* class_object = nullptr;
  HRESULT hr = ObtainClassObject(clsid, context, server_info != nullptr, &class_object);
  if (FAILED(hr)) return hr;
  hr = class_object->QueryInterface(riid, object);
  class_object->Release();
  return hr;
}

HRESULT CoCreateInstanceEx(REFCLSID clsid, IUnknown* outer, DWORD context,
                           COSERVERINFO* server_info, DWORD count, MULTI_QI* results) {
  if (count == 0 || !results) return E_INVALIDARG;
  IClassFactory* factory = nullptr;
  HRESULT hr = CoGetClassObject(clsid, context, server_info, IID_IClassFactory,
                                reinterpret_cast<void**>(&factory));
  IUnknown* first = nullptr;
  if (SUCCEEDED(hr)) {
    hr = factory->CreateInstance(outer, *results[0].pIID, reinterpret_cast<void**>(&first));
    factory->Release();
  }
  if (FAILED(hr)) {
    SetAll(count, results, hr);
    return hr;
  }
  results[0].pItf = first;
  results[0].hr = S_OK;
  DWORD missing = 0;
  for (DWORD i = 1; i < count; ++i) {
    results[i].pItf = nullptr;
    results[i].hr =
        first->QueryInterface(*results[i].pIID, reinterpret_cast<void**>(&results[i].pItf));
    if (FAILED(results[i].hr)) ++missing;
  }
  return missing == 0 ? S_OK : CO_S_NOTALLINTERFACES;
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid,
                         void** object) {
  if (!object) return E_INVALIDARG;
  MULTI_QI result{&riid, nullptr, S_OK};
  const HRESULT hr = CoCreateInstanceEx(clsid, outer, context, nullptr, 1, &result);
  *object = result.pItf;
  return hr;
}

bool LinkLocalServer(const char* module_name, LocalServerEntry entry) {
  auto lock = LockWaitState();
  return Classes()
      .modules.emplace(ModuleKey(module_name), LinkedModule{std::move(entry), 0})
      .second;
}

bool UnlinkLocalServer(const char* module_name) {
  auto lock = LockWaitState();
  Table& table = Classes();
  auto module = table.modules.find(ModuleKey(module_name));
  if (module == table.modules.end() || module->second.live) return false;
  table.modules.erase(module);
  return true;
}

DWORD LocalServerRunThread(const char* module_name) {
  auto lock = LockWaitState();
  Table& table = Classes();
  auto module = table.modules.find(ModuleKey(module_name));
  if (module == table.modules.end() || !module->second.live) return 0;
  return table.runs[module->second.live].thread_id;
}

bool WaitForLocalServerRunEnd(const char* module_name, DWORD milliseconds) {
  const std::string key = ModuleKey(module_name);
  auto lock = LockWaitState();
  Table& table = Classes();
  return WaitWithTimeout(lock, milliseconds, [&] {
    auto module = table.modules.find(key);
    return module == table.modules.end() || !module->second.live;
  });
}

ClassObjectSuspensionHook::ClassObjectSuspensionHook(std::function<void()> after_suspension) {
  std::lock_guard<std::mutex> lock(Hook().mutex);
  Hook().after_suspension = std::move(after_suspension);
}

ClassObjectSuspensionHook::~ClassObjectSuspensionHook() {
  std::lock_guard<std::mutex> lock(Hook().mutex);
  Hook().after_suspension = nullptr;
}
