#include <gtest/gtest.h>
#include <time.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/win32/clock.h"
#include "platform/win32/sync.h"

namespace {

SYSTEMTIME Time(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD ms) {
  return SYSTEMTIME{year, month, 0, day, hour, minute, second, ms};
}

// Lets another thread run on for a moment, in real time, so that a wait that should still be
// blocked has had the chance to return wrongly.
void LetOtherThreadsRun() { std::this_thread::sleep_for(std::chrono::milliseconds(20)); }

}  // namespace

TEST(TestClock, FiftySecondsOfShortSleepsPassAtOnce) {
  TestClock clock;
  const auto real_start = std::chrono::steady_clock::now();
  const DWORD start = GetTickCount();
  int sleeps = 0;
  while (GetTickCount() - start < 50'000) {
    Sleep(std::rand() % 30 + 10);
    ++sleeps;
  }
  EXPECT_GE(sleeps, 50'000 / 39);
  EXPECT_LT(GetTickCount() - start, 50'039u);
  // A loop of Sleep(0) moves the clock too, instead of spinning for ever.
  const DWORD zero_start = GetTickCount();
  while (GetTickCount() - zero_start < 1000) Sleep(0);
  EXPECT_LT(std::chrono::steady_clock::now() - real_start, std::chrono::seconds(5));
}

TEST(TestClock, FiftySecondWaitTimesOutWhenTheClockIsAdvanced) {
  TestClock clock(TestClock::SleepMode::kBlocks);
  HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  std::atomic<DWORD> result{0xDEAD};
  std::thread waiter([&] { result = WaitForSingleObject(event, 50'000); });
  clock.AwaitWaiters(1);
  clock.Advance(49'999);
  LetOtherThreadsRun();
  EXPECT_EQ(result, 0xDEADu) << "returned before its deadline";
  clock.Advance(1);
  waiter.join();
  EXPECT_EQ(result, WAIT_TIMEOUT);
  CloseHandle(event);
}

TEST(TestClock, FiftySecondWaitReturnsTheEventThatComesFirst) {
  TestClock clock(TestClock::SleepMode::kBlocks);
  HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  const DWORD start = GetTickCount();
  DWORD result = 0xDEAD;
  std::thread waiter([&] { result = WaitForSingleObject(event, 50'000); });
  clock.AwaitWaiters(1);
  clock.Advance(10'000);
  SetEvent(event);
  waiter.join();
  EXPECT_EQ(result, WAIT_OBJECT_0);
  EXPECT_EQ(GetTickCount() - start, 10'000u);
  CloseHandle(event);
}

TEST(TestClock, AdvancingWakesExactlyTheWaitersWhoseDeadlinePassed) {
  TestClock clock(TestClock::SleepMode::kBlocks);
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::atomic<int> sleeper_done{0};
  std::atomic<DWORD> short_wait{0xDEAD}, long_wait{0xDEAD};
  std::thread sleeper([&] {
    Sleep(5000);
    sleeper_done = 1;
  });
  std::thread short_waiter([&] { short_wait = WaitForSingleObject(event, 5000); });
  std::thread long_waiter([&] { long_wait = WaitForSingleObject(event, 60'000); });
  clock.AwaitWaiters(3);
  clock.Advance(5000);
  sleeper.join();
  short_waiter.join();
  EXPECT_EQ(sleeper_done, 1);
  EXPECT_EQ(short_wait, WAIT_TIMEOUT);
  LetOtherThreadsRun();
  EXPECT_EQ(long_wait, 0xDEADu);
  clock.Advance(55'000);
  long_waiter.join();
  EXPECT_EQ(long_wait, WAIT_TIMEOUT);
  CloseHandle(event);
}

TEST(TestClock, TickCountWrapsAndWaitsAcrossTheWrapEndOnTime) {
  TestClock clock;
  clock.SetTickCount(0xFFFFFF00);
  const DWORD start = GetTickCount();
  Sleep(0x200);
  EXPECT_EQ(GetTickCount(), 0x100u);
  EXPECT_EQ(GetTickCount() - start, 0x200u);  // the unsigned difference the system computes

  clock.SetTickCount(0xFFFFFF00);
  HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  std::atomic<DWORD> result{0xDEAD};
  std::thread waiter([&] { result = WaitForSingleObject(event, 1000); });
  clock.AwaitWaiters(1);
  Sleep(999);  // in this mode another thread's Sleep moves the clock for the waiter too
  LetOtherThreadsRun();
  EXPECT_EQ(result, 0xDEADu);
  Sleep(1);
  waiter.join();
  EXPECT_EQ(result, WAIT_TIMEOUT);
  CloseHandle(event);
}

TEST(TestClock, LocalTimeMovesWithTheTicks) {
  struct Case {
    SYSTEMTIME start;
    DWORD advance;
    SYSTEMTIME expected;
    WORD day_of_week;
  } cases[] = {
      {Time(2022, 12, 31, 23, 59, 59, 500), 600, Time(2023, 1, 1, 0, 0, 0, 100), 0},
      {Time(2024, 2, 28, 23, 0, 0, 0), 3'600'000, Time(2024, 2, 29, 0, 0, 0, 0), 4},
      {Time(2023, 2, 28, 23, 0, 0, 0), 3'600'000, Time(2023, 3, 1, 0, 0, 0, 0), 3},
      {Time(1927, 1, 1, 8, 0, 0, 0), 0, Time(1927, 1, 1, 8, 0, 0, 0), 6},
      {Time(2026, 12, 31, 23, 59, 0, 0), 60'000, Time(2027, 1, 1, 0, 0, 0, 0), 5},
  };
  for (const Case& c : cases) {
    TestClock clock;
    clock.SetLocalTime(c.start);
    clock.Advance(c.advance);
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_EQ(now.wYear, c.expected.wYear);
    EXPECT_EQ(now.wMonth, c.expected.wMonth);
    EXPECT_EQ(now.wDay, c.expected.wDay);
    EXPECT_EQ(now.wHour, c.expected.wHour);
    EXPECT_EQ(now.wMinute, c.expected.wMinute);
    EXPECT_EQ(now.wSecond, c.expected.wSecond);
    EXPECT_EQ(now.wMilliseconds, c.expected.wMilliseconds);
    EXPECT_EQ(now.wDayOfWeek, c.day_of_week) << c.start.wYear << "-" << c.start.wMonth;
  }
}

TEST(TestClock, DestroyingItBringsBackTheRealClock) {
  {
    TestClock clock;
    clock.SetTickCount(7);
    {
      TestClock inner;
      inner.SetTickCount(9);
      EXPECT_EQ(GetTickCount(), 9u);
    }
    EXPECT_EQ(GetTickCount(), 7u);
  }
  const DWORD start = GetTickCount();
  Sleep(20);
  EXPECT_GE(GetTickCount() - start, 20u);

  SYSTEMTIME now;
  GetLocalTime(&now);
  tm local{};
  local.tm_year = now.wYear - 1900;
  local.tm_mon = now.wMonth - 1;
  local.tm_mday = now.wDay;
  local.tm_hour = now.wHour;
  local.tm_min = now.wMinute;
  local.tm_sec = now.wSecond;
  local.tm_isdst = -1;
  EXPECT_LE(std::abs(static_cast<long>(mktime(&local) - time(nullptr))), 2L);
  EXPECT_EQ(now.wDayOfWeek, local.tm_wday);
}
