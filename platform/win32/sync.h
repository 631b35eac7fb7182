// Events and interlocked counters, as the server's lock count and its idle-shutdown monitor use
// them.
//
// An event is a KernelObject: CloseHandle destroys it. Close it only when no thread waits on it
// (Windows would keep it alive until the last wait ends; the system never relies on that). Names
// are ignored: the system creates only unnamed events. Timed waits run on the process clock
// (clock.h), so a test clock decides when they time out.
//
// Every waitable object derives from WaitableObject and keeps its state under the wait lock of
// clock.h; WaitForSingleObject works on any of them, which leaves room for the thread message
// queues that come later.
#pragma once

#include "platform/win32/base.h"
#include "platform/win32/clock.h"

struct SECURITY_ATTRIBUTES;

constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;

// The object a handle of the layer points to, when it is of the asked kind; null otherwise (a null
// or INVALID_HANDLE_VALUE handle included).
template <class Kind>
Kind* KernelObjectOf(HANDLE handle) {
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return nullptr;
  return dynamic_cast<Kind*>(static_cast<KernelObject*>(handle));
}

class WaitableObject : public KernelObject {
 public:
  // Called with the wait lock held: whether a wait on the object is satisfied now. A satisfied wait
  // takes its effect here (an auto-reset event resets itself).
  virtual bool TryAcquire() = 0;
};

// Manual-reset events stay signalled until ResetEvent; auto-reset events release one waiter per
// SetEvent and reset themselves on that waiter's success.
HANDLE CreateEventA(SECURITY_ATTRIBUTES* attributes, BOOL manual_reset, BOOL initial_state,
                    LPCSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
// WAIT_OBJECT_0, WAIT_TIMEOUT, or WAIT_FAILED (last error ERROR_INVALID_HANDLE) for a handle that
// is not waitable.
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);

// Atomic on every thread, with full barriers, returning what Windows returns: the new value for
// increment and decrement, the previous value for the exchanges.
inline LONG InterlockedIncrement(volatile LONG* target) {
  return __atomic_add_fetch(target, 1, __ATOMIC_SEQ_CST);
}
inline LONG InterlockedDecrement(volatile LONG* target) {
  return __atomic_sub_fetch(target, 1, __ATOMIC_SEQ_CST);
}
inline LONG InterlockedExchange(volatile LONG* target, LONG value) {
  return __atomic_exchange_n(target, value, __ATOMIC_SEQ_CST);
}
inline LONG InterlockedCompareExchange(volatile LONG* target, LONG exchange, LONG comparand) {
  __atomic_compare_exchange_n(target, &comparand, exchange, false, __ATOMIC_SEQ_CST,
                              __ATOMIC_SEQ_CST);
  return comparand;  // the compare wrote the value it found into comparand
}
