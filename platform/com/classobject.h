// Class objects and object creation: the process-wide table of registered class objects, and the
// activation of local servers whose code is linked into the process.
//
// The table. CoRegisterClassObject adds a class object (it takes a reference, which
// CoRevokeClassObject gives back); creation looks the class up there first. A registration is
// found by a request whose context shares a kind with it: in-process (CLSCTX_INPROC_SERVER,
// CLSCTX_INPROC_HANDLER) or local server (CLSCTX_LOCAL_SERVER; a remote-server request counts as a
// local one, there being no other machine). Multiple-use registrations serve any number of
// requests, a single-use one serves one. REGCLS_SUSPENDED registers it held back until
// CoResumeClassObjects; CoSuspendClassObjects holds back again.
//
// Runs. A local server linked into the process (LinkLocalServer) is started, like a program, by
// calling its entry with a command line; each such call is a run, on a thread of its own, and the
// threads that a run creates with CreateThread belong to it too. CoSuspendClassObjects and
// CoResumeClassObjects act on the calling run's class objects only, so that one server's idle
// shutdown never holds back another server's classes (threads outside any run form one run of
// their own). When a run's entry returns, whatever it left registered is revoked, as when a
// process ends.
//
// Activation (CoGetClassObject, CoCreateInstanceEx, CoCreateInstance), in this order:
// 1. An available registration of the class serves the request.
// 2. While the live run of the class's linked server holds its class objects back (it is
//    starting, or has suspended them since it last resumed them) and has not ended, the request
//    waits for it: up to 2 minutes of the process clock, after which it fails with
//    CO_E_SERVER_EXEC_FAILURE. When the run resumes or ends, the request goes back to step 1. So
//    a server that holds its classes back while it decides whether to end (an idle server between
//    its two looks) turns no request away: it serves the request once it resumes, or a new run
//    does once it has ended.
// 3. The class is registered but held back, and not by a live run of its linked server (threads
//    outside any run hold it back): RPC_S_SERVER_UNAVAILABLE_HRESULT (0x800706BA), the answer a
//    client gets from a server that is shutting down.
// 4. Without a local-server request, or without a LocalServer32 value under
//    HKEY_CLASSES_ROOT\CLSID\{clsid}: REGDB_E_CLASSNOTREG. A LocalServer32 path whose file name
//    (without ".exe", any case) is not a linked module: CO_E_SERVER_EXEC_FAILURE.
// 5. A live run of that module that holds nothing back and does not offer the class: 0x800706BA
//    when the run has registered the class (it is ending), CO_E_SERVER_EXEC_FAILURE otherwise. One
//    module has one run at a time, because a server keeps process-wide state.
// 6. No run: a new run starts with the command line `<LocalServer32 path> -Embedding` and the
//    request goes back to step 1. When that run ends without offering the class, the request
//    answers as in step 5.
// So 0x800706BA comes only from class objects held back outside a run of their server, or from a
// run that is ending (it has revoked its classes, or ended without resuming them); once it has
// ended, the next request starts a new run.
//
// Server information (COSERVERINFO) is for out-of-process creation: a request with it that is
// served by an in-process registration fails with E_INVALIDARG, and a machine name is refused with
// E_INVALIDARG (there is no remote activation). The authentication information has no effect.
//
// Not kept: in-process servers loaded from libraries (InprocServer32), surrogates, remote
// machines, marshalling (objects are called on the caller's thread), REGCLS_MULTI_SEPARATE beyond
// multiple use.
//
// Concurrency: everything may be called from any thread that has initialised COM (registration
// and creation check it). The table is guarded by the wait lock of clock.h, and a class object's
// AddRef runs under it: it must neither wait nor call the layer. Every other call into objects
// (CreateInstance, QueryInterface, Release) happens without it.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/com/unknown.h"

// {00000001-0000-0000-C000-000000000046}
constexpr IID IID_IClassFactory = {
    0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
struct IClassFactory : IUnknown {
  virtual HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** object) = 0;
  virtual HRESULT LockServer(BOOL lock) = 0;
};
#pragma GCC diagnostic pop

constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
constexpr DWORD CLSCTX_REMOTE_SERVER = 0x10;
constexpr DWORD CLSCTX_SERVER = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
constexpr DWORD CLSCTX_ALL = CLSCTX_SERVER | CLSCTX_INPROC_HANDLER;

constexpr DWORD REGCLS_SINGLEUSE = 0;
constexpr DWORD REGCLS_MULTIPLEUSE = 1;
constexpr DWORD REGCLS_MULTI_SEPARATE = 2;
constexpr DWORD REGCLS_SUSPENDED = 4;

constexpr HRESULT CO_S_NOTALLINTERFACES = static_cast<HRESULT>(0x00080012);
constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110);
constexpr HRESULT CO_E_OBJNOTREG = static_cast<HRESULT>(0x800401FB);
constexpr HRESULT CO_E_SERVER_EXEC_FAILURE = static_cast<HRESULT>(0x80080005);

struct COAUTHIDENTITY;

struct COAUTHINFO {
  DWORD dwAuthnSvc;
  DWORD dwAuthzSvc;
  LPWSTR pwszServerPrincName;
  DWORD dwAuthnLevel;
  DWORD dwImpersonationLevel;
  COAUTHIDENTITY* pAuthIdentityData;
  DWORD dwCapabilities;
};

struct COSERVERINFO {
  DWORD dwReserved1;
  LPWSTR pwszName;  // null or empty: this machine
  COAUTHINFO* pAuthInfo;
  DWORD dwReserved2;
};

struct MULTI_QI {
  const IID* pIID;
  IUnknown* pItf;
  HRESULT hr;
};

HRESULT CoRegisterClassObject(REFCLSID clsid, IUnknown* class_object, DWORD context, DWORD flags,
                              DWORD* cookie);
// CO_E_OBJNOTREG for a cookie that is not registered.
HRESULT CoRevokeClassObject(DWORD cookie);
HRESULT CoSuspendClassObjects();
HRESULT CoResumeClassObjects();

HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, COSERVERINFO* server_info, REFIID riid,
                         void** object);
// Creates the object asking the class object for the first interface, then queries the others:
// S_OK, CO_S_NOTALLINTERFACES when some were missing, E_NOINTERFACE when all were; each entry gets
// its own result. A failed creation gives its result to every entry and returns it.
HRESULT CoCreateInstanceEx(REFCLSID clsid, IUnknown* outer, DWORD context,
                           COSERVERINFO* server_info, DWORD count, MULTI_QI* results);
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid,
                         void** object);

// A local server's program entry: takes the whole command line, program path first, and returns
// the exit code.
using LocalServerEntry = std::function<int(const char* command_line)>;
// Makes a module activatable under its name (without ".exe"; any case). False when the name is
// already linked.
bool LinkLocalServer(const char* module_name, LocalServerEntry entry);
// False while a run of the module is live or when the name is not linked.
bool UnlinkLocalServer(const char* module_name);
// The thread of the module's live run (the one that runs its entry), or 0.
DWORD LocalServerRunThread(const char* module_name);
// Blocks until the module has no live run, for at most `milliseconds` of the process clock
// (INFINITE: no limit); whether it has none.
bool WaitForLocalServerRunEnd(const char* module_name, DWORD milliseconds);

// For tests: while one lives, `after_suspension` runs on the suspending thread right after every
// CoSuspendClassObjects has held its run's class objects back (the moment between an idle server's
// two looks at its lock count).
class ClassObjectSuspensionHook {
 public:
  explicit ClassObjectSuspensionHook(std::function<void()> after_suspension);
  ~ClassObjectSuspensionHook();
  ClassObjectSuspensionHook(const ClassObjectSuspensionHook&) = delete;
  ClassObjectSuspensionHook& operator=(const ClassObjectSuspensionHook&) = delete;
};
