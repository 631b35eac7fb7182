// Stand-ins for the local servers of the family's other modules, served from inside the process
// through the real activation path of classobject.h, so that a client's creation, its retries and
// its failures are the ones it meets with the real servers.
//
// A StandInServer is a linked local server (LinkLocalServer) under a module name of its own.
// Register() writes HKEY_CLASSES_ROOT\CLSID\{clsid}\LocalServer32 for each of its classes with
// the module name as the program path, and links the module. A client's first creation then starts
// a run: the run registers one class object per class (local server, multiple use, held back),
// resumes them and serves until the stand-in is destroyed. FailStarts(n) makes the next n runs
// register their class objects and end without resuming them, so that n creations in a row answer
// 0x800706BA, as a server that dies while starting does; the creation after them starts a run that
// serves.
//
// A stand-in does not end when idle and its objects do not lock it. The destructor stops a live
// run, waits for its end, unlinks the module and removes the CLSID keys it wrote. Create it after
// the registry that tests point QV_REGISTRY at, and destroy it before. AddClass and FailStarts may
// be called only before Register; the run uses the classes from its own thread.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "platform/com/classobject.h"

// A class object that creates its objects with a function; aggregation is refused, LockServer
// does nothing. Reference-counted: it deletes itself at its last Release.
class FunctionClassFactory : public IClassFactory {
 public:
  using Creator = std::function<HRESULT(REFIID riid, void** object)>;

  // Starts with one reference, the creator's.
  explicit FunctionClassFactory(Creator creator) : creator_(std::move(creator)) {}

  HRESULT QueryInterface(REFIID riid, void** object) override;
  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
  HRESULT LockServer(BOOL lock) override;

 private:
  virtual ~FunctionClassFactory() = default;

  const Creator creator_;
  std::atomic<LONG> references_{1};
};

class StandInServer {
 public:
  explicit StandInServer(std::string module_name);
  ~StandInServer();
  StandInServer(const StandInServer&) = delete;
  StandInServer& operator=(const StandInServer&) = delete;

  void AddClass(REFCLSID clsid, FunctionClassFactory::Creator creator);
  void FailStarts(int count) { failing_starts_ = count; }
  // The registry's error as an HRESULT, or S_OK.
  HRESULT Register();
  // Runs started so far.
  int Starts() const { return starts_; }

 private:
  struct Class {
    CLSID clsid;
    FunctionClassFactory::Creator creator;
  };

  int Run(const char* command_line);

  const std::string module_name_;
  std::vector<Class> classes_;
  std::atomic<int> failing_starts_{0};
  std::atomic<int> starts_{0};
  bool linked_ = false;
};
