#include "platform/win32/clock.h"

#include <time.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <thread>

#include "platform/win32/calendar.h"

namespace {

constexpr int64_t kMillisecondsPerDay = 86'400'000;

struct WaitState {
  std::mutex mutex;
  std::condition_variable changed;
  TestClock* test_clock = nullptr;
  // Mirrors test_clock != nullptr, so that the real clock's hot path (a tick count on every cache
  // hit of the record files) takes no lock.
  std::atomic<bool> replaced{false};
  size_t waiters = 0;
};

WaitState& State() {
  static WaitState state;
  return state;
}

SYSTEMTIME SystemTimeFromMilliseconds(int64_t local_ms) {
  int64_t days = local_ms / kMillisecondsPerDay;
  int64_t in_day = local_ms % kMillisecondsPerDay;
  if (in_day < 0) {
    in_day += kMillisecondsPerDay;
    --days;
  }
  int year, month, day;
  CivilFromDays(days, &year, &month, &day);

  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(year);
  time.wMonth = static_cast<WORD>(month);
  time.wDay = static_cast<WORD>(day);
  time.wDayOfWeek = static_cast<WORD>(((days % 7) + 11) % 7);  // 01/01/1970 was a Thursday
  time.wHour = static_cast<WORD>(in_day / 3'600'000);
  time.wMinute = static_cast<WORD>(in_day / 60'000 % 60);
  time.wSecond = static_cast<WORD>(in_day / 1000 % 60);
  time.wMilliseconds = static_cast<WORD>(in_day % 1000);
  return time;
}

int64_t MillisecondsFromSystemTime(const SYSTEMTIME& time) {
  return DaysFromCivil(time.wYear, time.wMonth, time.wDay) * kMillisecondsPerDay +
         ((time.wHour * 60 + time.wMinute) * 60 + time.wSecond) * 1000LL + time.wMilliseconds;
}

SYSTEMTIME RealLocalTime() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  localtime_r(&now.tv_sec, &local);
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(local.tm_year + 1900);
  time.wMonth = static_cast<WORD>(local.tm_mon + 1);
  time.wDayOfWeek = static_cast<WORD>(local.tm_wday);
  time.wDay = static_cast<WORD>(local.tm_mday);
  time.wHour = static_cast<WORD>(local.tm_hour);
  time.wMinute = static_cast<WORD>(local.tm_min);
  time.wSecond = static_cast<WORD>(std::min(local.tm_sec, 59));  // no leap second in a SYSTEMTIME
  time.wMilliseconds = static_cast<WORD>(now.tv_nsec / 1'000'000);
  return time;
}

}  // namespace

// The clock functions reach the test clock's state through here, always with the wait lock held.
struct ClockInternals {
  static TestClock* Current() { return State().test_clock; }
  static uint64_t Ticks(const TestClock& clock) { return clock.ticks_; }
  static bool SleepAdvances(const TestClock& clock) {
    return clock.mode_ == TestClock::SleepMode::kAdvancesClock;
  }
  static SYSTEMTIME LocalTime(const TestClock& clock) {
    return SystemTimeFromMilliseconds(clock.local_ms_);
  }
  static void Advance(TestClock& clock, DWORD milliseconds) {
    clock.ticks_ += milliseconds;
    clock.local_ms_ += milliseconds;
    State().changed.notify_all();
  }

  static bool WaitOnTestClock(std::unique_lock<std::mutex>& lock, const TestClock& clock,
                              DWORD milliseconds, const std::function<bool()>& ready) {
    const uint64_t deadline = clock.ticks_ + milliseconds;
    for (;;) {
      State().changed.wait(lock);
      if (ready()) return true;
      if (milliseconds != INFINITE && clock.ticks_ >= deadline) return false;
    }
  }
};

namespace {

bool WaitOnRealClock(std::unique_lock<std::mutex>& lock, DWORD milliseconds,
                     const std::function<bool()>& ready) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  for (;;) {
    if (milliseconds == INFINITE) {
      State().changed.wait(lock);
    } else if (State().changed.wait_until(lock, deadline) == std::cv_status::timeout) {
      return ready();
    }
    if (ready()) return true;
  }
}

}  // namespace

std::unique_lock<std::mutex> LockWaitState() { return std::unique_lock<std::mutex>(State().mutex); }

void WakeWaiters() { State().changed.notify_all(); }

bool WaitWithTimeout(std::unique_lock<std::mutex>& lock, DWORD milliseconds,
                     const std::function<bool()>& ready) {
  if (ready()) return true;
  if (milliseconds == 0) return false;
  WaitState& state = State();
  ++state.waiters;
  state.changed.notify_all();  // lets AwaitWaiters see the new waiter
  const TestClock* clock = ClockInternals::Current();
  const bool result = clock ? ClockInternals::WaitOnTestClock(lock, *clock, milliseconds, ready)
                            : WaitOnRealClock(lock, milliseconds, ready);
  --state.waiters;
  return result;
}

DWORD GetTickCount() {
  if (State().replaced.load(std::memory_order_acquire)) {
    auto lock = LockWaitState();
    if (const TestClock* clock = ClockInternals::Current())
      return static_cast<DWORD>(ClockInternals::Ticks(*clock));
  }
  // The coarse clock ticks every few milliseconds, as the original's tick count did, and costs a
  // fraction of a precise one.
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
  return static_cast<DWORD>(static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000);
}

void Sleep(DWORD milliseconds) {
  auto lock = LockWaitState();
  TestClock* clock = ClockInternals::Current();
  if (!clock) {
    lock.unlock();
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    return;
  }
  if (ClockInternals::SleepAdvances(*clock) && milliseconds != INFINITE) {
    ClockInternals::Advance(*clock, std::max<DWORD>(milliseconds, 1));
    return;
  }
  WaitWithTimeout(lock, milliseconds, [] { return false; });
}

void GetLocalTime(SYSTEMTIME* time) {
  {
    auto lock = LockWaitState();
    if (const TestClock* clock = ClockInternals::Current()) {
      *time = ClockInternals::LocalTime(*clock);
      return;
    }
  }
  *time = RealLocalTime();
}

TestClock::TestClock(SleepMode mode)
    : mode_(mode),
      ticks_(1'000'000),
      local_ms_(MillisecondsFromSystemTime(SYSTEMTIME{2024, 1, 1, 15, 9, 0, 0, 0})) {
  auto lock = LockWaitState();
  previous_ = State().test_clock;
  State().test_clock = this;
  State().replaced.store(true, std::memory_order_release);
}

TestClock::~TestClock() {
  auto lock = LockWaitState();
  State().test_clock = previous_;
  State().replaced.store(previous_ != nullptr, std::memory_order_release);
}

void TestClock::SetTickCount(DWORD ticks) {
  auto lock = LockWaitState();
  ticks_ = ticks;
  WakeWaiters();
}

void TestClock::SetLocalTime(const SYSTEMTIME& time) {
  auto lock = LockWaitState();
  local_ms_ = MillisecondsFromSystemTime(time);
}

void TestClock::Advance(DWORD milliseconds) {
  auto lock = LockWaitState();
  ClockInternals::Advance(*this, milliseconds);
}

void TestClock::AwaitWaiters(size_t count) {
  auto lock = LockWaitState();
  State().changed.wait(lock, [&] { return State().waiters >= count; });
}
