// The one clock of the process: the tick count, Sleep, the local time and every timed wait of the
// layer (events today) read it, so that a test can replace it and run 50-second lock waits,
// 60-second cache expiry, 500 creation retries of 500 ms and the 5-second idle shutdown in
// milliseconds.
//
// The real clock counts ticks on the monotonic clock (milliseconds since boot, as Windows counts
// them, truncated to 32 bits so that they wrap after 49.7 days) and reads the local time in the
// machine's time zone. A TestClock replaces it for as long as it lives (see below).
//
// Every waitable state of the layer is guarded by one lock, the wait lock, and all waiters sleep on
// one condition: a change of any waitable object, or a move of the replaced clock, wakes them all
// and each tests its own condition again. That is simple and race-free, and the layer has few
// waiters. All functions here may be called from any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>

#include "platform/win32/base.h"

struct SYSTEMTIME {
  WORD wYear;
  WORD wMonth;
  WORD wDayOfWeek;  // 0 = Sunday
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
};

constexpr DWORD INFINITE = 0xFFFFFFFF;

// Milliseconds since the (real or replaced) machine started, wrapping at 2^32.
DWORD GetTickCount();
// Blocks the calling thread for the given milliseconds of the current clock.
void Sleep(DWORD milliseconds);
void GetLocalTime(SYSTEMTIME* time);

// For the layer's waitable objects. Take the wait lock, change or test the object's state, and
// either wake the waiters after a change or wait with the lock held.
std::unique_lock<std::mutex> LockWaitState();
void WakeWaiters();
// Blocks (releasing the lock while blocked) until `ready` returns true or `milliseconds` of the
// current clock have passed (INFINITE: no limit). `ready` runs with the lock held and may act on
// its success (an auto-reset event resets itself there): once it has returned true it is not called
// again. Returns whether it returned true.
bool WaitWithTimeout(std::unique_lock<std::mutex>& lock, DWORD milliseconds,
                     const std::function<bool()>& ready);

// A replaced clock for tests. Constructing one makes it the process's clock; destroying it puts
// back the clock that was current before (they nest like scopes). Install it before the threads
// that use it start, and destroy it after they end.
//
// It starts at tick count 1,000,000 (a machine that has been up for a while, so that a remembered
// tick of 0 still looks like "never") and at local time Monday 15/01/2024 09:00:00.000; both can be
// set. Time moves only when told to:
// - Advance(ms) moves the tick count and the local time together and wakes every waiter whose
//   deadline has passed: sleepers and timed waits of events.
// - In SleepMode::kAdvancesClock (the default, for single-threaded code), Sleep(ms) advances the
//   clock by ms itself and returns at once; Sleep(0) counts as 1 ms, so that a loop of Sleep(0)
//   until some time has passed still ends. Timed waits of events still block until the event comes
//   or the clock passes their deadline, moved by Advance or by another thread's Sleep.
// - In SleepMode::kBlocks, Sleep blocks too, until another thread advances the clock.
// Deadlines are kept in 64 bits: a wait across the wrap of the 32-bit tick count ends on time.
class TestClock {
 public:
  enum class SleepMode { kAdvancesClock, kBlocks };

  explicit TestClock(SleepMode mode = SleepMode::kAdvancesClock);
  ~TestClock();
  TestClock(const TestClock&) = delete;
  TestClock& operator=(const TestClock&) = delete;

  void SetTickCount(DWORD ticks);
  // Takes year, month, day, hour, minute, second and milliseconds of a valid date; the day of the
  // week is computed.
  void SetLocalTime(const SYSTEMTIME& time);
  void Advance(DWORD milliseconds);
  // Blocks, in real time, until at least `count` threads are sleeping or in a timed wait on this
  // clock, so that a test advances the clock only after the waiter has taken its deadline.
  void AwaitWaiters(size_t count);

 private:
  friend struct ClockInternals;

  SleepMode mode_;
  uint64_t ticks_;    // guarded by the wait lock, like everything below
  int64_t local_ms_;  // local time in milliseconds since 01/01/1970 00:00
  TestClock* previous_;
};
