#include "platform/win32/msgqueue.h"

#include <algorithm>
#include <deque>
#include <map>

#include "platform/win32/clock.h"

namespace {

struct Queue {
  std::deque<MSG> messages;  // guarded by the wait lock
};

// Live queues by thread identifier; guarded by the wait lock.
struct Queues {
  std::map<DWORD, Queue*> by_thread;
  DWORD last_id = 0x100;
};

// Never destroyed: a thread that ends during the process's exit still removes its queue.
Queues& AllQueues() {
  static Queues* queues = new Queues;
  return *queues;
}

// The calling thread's identifier and queue, created at its first use and gone with the thread.
struct ThreadQueue {
  DWORD id;
  Queue queue;

  ThreadQueue() {
    auto lock = LockWaitState();
    id = ++AllQueues().last_id;
    AllQueues().by_thread[id] = &queue;
  }
  ~ThreadQueue() {
    auto lock = LockWaitState();
    AllQueues().by_thread.erase(id);
  }
};

// Call before taking the wait lock: the first call registers the queue under that lock.
ThreadQueue& Own() {
  thread_local ThreadQueue own;
  return own;
}

bool InRange(UINT message, UINT first, UINT last) {
  if (message == WM_QUIT || (first == 0 && last == 0)) return true;
  return message >= first && message <= last;
}

// With the wait lock held: takes (or copies) the first message in the range.
bool Take(Queue& queue, MSG* message, UINT first, UINT last, bool remove) {
  auto found = std::find_if(queue.messages.begin(), queue.messages.end(),
                            [&](const MSG& m) { return InRange(m.message, first, last); });
  if (found == queue.messages.end()) return false;
  *message = *found;
  if (remove) queue.messages.erase(found);
  return true;
}

bool Post(DWORD thread_id, UINT message, WPARAM wparam, LPARAM lparam) {
  const DWORD now = GetTickCount();
  auto lock = LockWaitState();
  auto found = AllQueues().by_thread.find(thread_id);
  if (found == AllQueues().by_thread.end()) return false;
  found->second->messages.push_back(MSG{nullptr, message, wparam, lparam, now, {0, 0}});
  WakeWaiters();
  return true;
}

}  // namespace

DWORD GetCurrentThreadId() { return Own().id; }

BOOL GetMessageA(MSG* message, HWND window, UINT first, UINT last) {
  if (window || !message) {
    SetLastError(window ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
    return -1;
  }
  Queue& queue = Own().queue;
  auto lock = LockWaitState();
  WaitWithTimeout(lock, INFINITE, [&] { return Take(queue, message, first, last, true); });
  return message->message == WM_QUIT ? FALSE : TRUE;
}

BOOL PeekMessageA(MSG* message, HWND window, UINT first, UINT last, UINT remove) {
  if (window || !message) {
    SetLastError(window ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Queue& queue = Own().queue;
  auto lock = LockWaitState();
  return Take(queue, message, first, last, (remove & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL PostThreadMessageA(DWORD thread_id, UINT message, WPARAM wparam, LPARAM lparam) {
  if (Post(thread_id, message, wparam, lparam)) return TRUE;
  SetLastError(ERROR_INVALID_THREAD_ID);
  return FALSE;
}

void PostQuitMessage(int exit_code) {
  Post(GetCurrentThreadId(), WM_QUIT, static_cast<WPARAM>(exit_code), 0);
}

LRESULT DispatchMessageA(const MSG*) { return 0; }
