#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/win32/sync.h"

TEST(Event, ManualResetStaysSignalledUntilResetAutoResetReleasesOneWait) {
  HANDLE manual = CreateEventA(nullptr, TRUE, TRUE, nullptr);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(ResetEvent(manual));
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_TIMEOUT);

  HANDLE automatic = CreateEventA(nullptr, FALSE, TRUE, nullptr);
  EXPECT_EQ(WaitForSingleObject(automatic, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(automatic, 0), WAIT_TIMEOUT);
  SetEvent(automatic);
  SetEvent(automatic);  // sets are not counted
  EXPECT_EQ(WaitForSingleObject(automatic, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(automatic, 0), WAIT_TIMEOUT);
  CloseHandle(manual);
  CloseHandle(automatic);
}

TEST(Event, OneSetReleasesOneWaiterOfAnAutoResetEventAndAllOfAManualOne) {
  struct Case {
    BOOL manual_reset;
    int released;
  } cases[] = {{FALSE, 1}, {TRUE, 2}};
  for (const Case& c : cases) {
    TestClock clock(TestClock::SleepMode::kBlocks);
    HANDLE event = CreateEventA(nullptr, c.manual_reset, FALSE, nullptr);
    std::atomic<int> signalled{0}, timed_out{0};
    auto wait = [&] {
      (WaitForSingleObject(event, 1000) == WAIT_OBJECT_0 ? signalled : timed_out)++;
    };
    std::thread first(wait), second(wait);
    clock.AwaitWaiters(2);
    SetEvent(event);
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (signalled < c.released && std::chrono::steady_clock::now() < give_up)
      std::this_thread::yield();
    clock.Advance(1000);
    first.join();
    second.join();
    EXPECT_EQ(signalled, c.released) << "manual reset " << c.manual_reset;
    EXPECT_EQ(timed_out, 2 - c.released);
    CloseHandle(event);
  }
}

TEST(Event, TimedWaitOnTheRealClockTimesOut) {
  HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(WaitForSingleObject(event, 30), WAIT_TIMEOUT);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
  CloseHandle(event);
}

TEST(Event, HandlesThatAreNotEventsFail) {
  struct Other : KernelObject {};
  HANDLE other = new Other;
  SetLastError(0);
  EXPECT_EQ(WaitForSingleObject(nullptr, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(WaitForSingleObject(other, 0), WAIT_FAILED);
  EXPECT_FALSE(SetEvent(other));
  EXPECT_FALSE(ResetEvent(INVALID_HANDLE_VALUE));
  CloseHandle(other);
}

TEST(Interlocked, ReturnWhatWindowsReturns) {
  volatile LONG value = 5;
  EXPECT_EQ(InterlockedIncrement(&value), 6);
  EXPECT_EQ(InterlockedDecrement(&value), 5);
  EXPECT_EQ(InterlockedExchange(&value, -3), 5);
  EXPECT_EQ(value, -3);
  EXPECT_EQ(InterlockedCompareExchange(&value, 10, 99), -3);  // no match: unchanged
  EXPECT_EQ(value, -3);
  EXPECT_EQ(InterlockedCompareExchange(&value, 10, -3), -3);
  EXPECT_EQ(value, 10);
}

TEST(Interlocked, CountsFromManyThreadsLoseNothing) {
  volatile LONG count = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < 100'000; ++i) {
        InterlockedIncrement(&count);
        InterlockedIncrement(&count);
        InterlockedDecrement(&count);
      }
    });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(count, 400'000);
}
