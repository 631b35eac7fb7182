// Threads, as the server starts its idle-shutdown monitor.
//
// Kept: CreateThread running a start routine with its parameter on a new thread and giving its
// identifier (the one GetCurrentThreadId gives on that thread); the thread handle is a waitable
// object that becomes signalled when the routine has returned, and GetExitCodeThread gives the
// routine's result, or STILL_ACTIVE before. CloseHandle on the handle does not stop the thread.
// Not kept: security, stack sizes, suspended creation (CREATE_SUSPENDED is refused with
// ERROR_INVALID_PARAMETER), priorities, TerminateThread.
//
// The inherited context is the layer's own: one pointer per thread that a thread created here takes
// over from the thread that created it. The COM layer keeps there the server run a thread works for
// (com/classobject.h), so that the monitor thread of a run suspends that run's class objects.
#pragma once

#include <cstddef>

#include "platform/win32/base.h"

struct SECURITY_ATTRIBUTES;

using LPTHREAD_START_ROUTINE = DWORD (*)(void* parameter);

constexpr DWORD CREATE_SUSPENDED = 0x00000004;
constexpr DWORD STILL_ACTIVE = 259;

// Null (last error set) when the thread cannot be started. `thread_id` may be null.
HANDLE CreateThread(SECURITY_ATTRIBUTES* attributes, size_t stack_size,
                    LPTHREAD_START_ROUTINE start, void* parameter, DWORD flags, DWORD* thread_id);
BOOL GetExitCodeThread(HANDLE thread, DWORD* exit_code);

void* InheritedThreadContext();
void SetInheritedThreadContext(void* context);
