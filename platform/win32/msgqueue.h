// Thread identifiers and thread message queues, as the server's main thread and its idle-shutdown
// monitor use them: the main thread runs a message loop, the monitor posts the quit message to it.
//
// Kept: one queue per thread, posted thread messages in the order of posting, GetMessageA blocking
// until a message in the asked range arrives and answering 0 for WM_QUIT, PeekMessageA with and
// without removal, PostQuitMessage, PostThreadMessageA failing with ERROR_INVALID_THREAD_ID for a
// thread that has ended or never had a queue.
// Not kept: windows (every message is a thread message; a window handle other than null is
// refused), sent messages, hooks and input; DispatchMessageA has no window to call and returns 0.
// PostQuitMessage queues WM_QUIT like any posted message instead of raising a flag that is seen
// once the queue is empty; the system posts nothing after it.
//
// A thread has its identifier and its queue from its first call of any function here. Windows
// creates a queue only at a thread's first window-related call; here the server records its thread
// identifier before its message loop starts, and a quit message posted in between must not be lost.
// The queue goes with the thread. Identifiers are never 0 and never reused within a process.
//
// Waiting for a message goes through the wait lock of clock.h like every wait of the layer, so a
// thread blocked in GetMessageA counts as a waiter of a TestClock. Any thread may post to any
// queue.
#pragma once

#include <cstdint>

#include "platform/win32/base.h"

using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

struct POINT {
  LONG x;
  LONG y;
};

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;  // the tick count at posting
  POINT pt;
};

constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_USER = 0x0400;

constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;

constexpr DWORD ERROR_INVALID_THREAD_ID = 1444;
constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;

DWORD GetCurrentThreadId();

// A range of 0 to 0 takes every message; WM_QUIT is taken whatever the range. Returns 0 for
// WM_QUIT, -1 (last error ERROR_INVALID_WINDOW_HANDLE or ERROR_INVALID_PARAMETER) for a window
// handle or a null message, and 1 otherwise.
BOOL GetMessageA(MSG* message, HWND window, UINT first, UINT last);
// Never blocks: TRUE with a message, FALSE when none in the range is waiting.
BOOL PeekMessageA(MSG* message, HWND window, UINT first, UINT last, UINT remove);
BOOL PostThreadMessageA(DWORD thread_id, UINT message, WPARAM wparam, LPARAM lparam);
// Queues WM_QUIT with the exit code as wParam on the calling thread's own queue.
void PostQuitMessage(int exit_code);
LRESULT DispatchMessageA(const MSG* message);
