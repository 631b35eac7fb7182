#include "platform/win32/thread.h"

#include <future>
#include <memory>
#include <system_error>
#include <thread>

#include "platform/win32/msgqueue.h"
#include "platform/win32/sync.h"

namespace {

thread_local void* inherited_context = nullptr;

// What the thread and its handle share; guarded by the wait lock.
struct ThreadState {
  bool ended = false;
  DWORD exit_code = STILL_ACTIVE;
};

class ThreadObject : public WaitableObject {
 public:
  explicit ThreadObject(std::shared_ptr<ThreadState> state) : state_(std::move(state)) {}
  bool TryAcquire() override { return state_->ended; }
  const ThreadState& state() const { return *state_; }

 private:
  const std::shared_ptr<ThreadState> state_;
};

}  // namespace

HANDLE CreateThread(SECURITY_ATTRIBUTES*, size_t, LPTHREAD_START_ROUTINE start, void* parameter,
                    DWORD flags, DWORD* thread_id) {
  if (!start || (flags & CREATE_SUSPENDED)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto state = std::make_shared<ThreadState>();
  std::promise<DWORD> started;
  std::future<DWORD> id = started.get_future();
  void* context = inherited_context;
  try {
    // Detached, so that closing the handle leaves the thread running; the shared state outlives
    // whichever of the two goes last.
    std::thread([state, start, parameter, context, started = std::move(started)]() mutable {
      inherited_context = context;
      started.set_value(GetCurrentThreadId());
      const DWORD exit_code = start(parameter);
      auto lock = LockWaitState();
      state->exit_code = exit_code;
      state->ended = true;
      WakeWaiters();
    }).detach();
  } catch (const std::system_error&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  const DWORD new_id = id.get();
  if (thread_id) *thread_id = new_id;
  return new ThreadObject(std::move(state));
}

BOOL GetExitCodeThread(HANDLE thread, DWORD* exit_code) {
  const ThreadObject* object = KernelObjectOf<ThreadObject>(thread);
  if (!object || !exit_code) {
    SetLastError(object ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  auto lock = LockWaitState();
  *exit_code = object->state().exit_code;
  return TRUE;
}

void* InheritedThreadContext() { return inherited_context; }

void SetInheritedThreadContext(void* context) { inherited_context = context; }
