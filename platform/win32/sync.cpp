#include "platform/win32/sync.h"

namespace {

class Event : public WaitableObject {
 public:
  Event(bool manual_reset, bool signalled) : manual_reset_(manual_reset), signalled_(signalled) {}

  bool TryAcquire() override {
    if (!signalled_) return false;
    if (!manual_reset_) signalled_ = false;
    return true;
  }
  void Set(bool signalled) { signalled_ = signalled; }

 private:
  const bool manual_reset_;
  bool signalled_;  // guarded by the wait lock
};

BOOL SetEventState(HANDLE handle, bool signalled) {
  Event* event = KernelObjectOf<Event>(handle);
  if (!event) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  auto lock = LockWaitState();
  event->Set(signalled);
  if (signalled) WakeWaiters();
  return TRUE;
}

}  // namespace

HANDLE CreateEventA(SECURITY_ATTRIBUTES*, BOOL manual_reset, BOOL initial_state, LPCSTR) {
  SetLastError(ERROR_SUCCESS);
  return new Event(manual_reset != FALSE, initial_state != FALSE);
}

BOOL SetEvent(HANDLE event) { return SetEventState(event, true); }

BOOL ResetEvent(HANDLE event) { return SetEventState(event, false); }

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  WaitableObject* object = KernelObjectOf<WaitableObject>(handle);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
  }
  auto lock = LockWaitState();
  return WaitWithTimeout(lock, milliseconds, [object] { return object->TryAcquire(); })
             ? WAIT_OBJECT_0
             : WAIT_TIMEOUT;
}
