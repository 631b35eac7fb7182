#include "platform/com/taskmem.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

TEST(TaskMem, CountFollowsAllocReallocAndFree) {
  const int32_t before = TaskMemoryOutstandingBlocks();
  void* a = CoTaskMemAlloc(16);
  void* empty = CoTaskMemAlloc(0);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(empty, nullptr);
  EXPECT_NE(a, empty);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), before + 2);

  memcpy(a, "0123456789abcdef", 16);
  a = CoTaskMemRealloc(a, 4096);  // moving a block keeps its bytes and the count
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(memcmp(a, "0123456789abcdef", 16), 0);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), before + 2);

  void* b = CoTaskMemRealloc(nullptr, 8);  // allocates
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), before + 3);
  EXPECT_EQ(CoTaskMemRealloc(b, 0), nullptr);  // frees
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), before + 2);

  CoTaskMemFree(a);
  CoTaskMemFree(empty);
  CoTaskMemFree(nullptr);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), before);
}

TEST(TaskMem, CountStaysExactUnderConcurrentUse) {
  const int32_t before = TaskMemoryOutstandingBlocks();
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t)
    threads.emplace_back([] {
      for (int i = 0; i < 5000; ++i) {
        void* block = CoTaskMemAlloc(static_cast<size_t>(i % 64));
        block = CoTaskMemRealloc(block, 100);
        CoTaskMemFree(block);
      }
    });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), before);
}

#if defined(__SANITIZE_ADDRESS__)
// A server's array released with the language's array release (or the reverse) must not pass
// unnoticed in the sanitizer build.
TEST(TaskMemDeathTest, ReleasingATaskBlockWithDeleteIsReportedInTheSanitizerBuild) {
  EXPECT_DEATH(
      {
        char* block = static_cast<char*>(CoTaskMemAlloc(8));
        delete[] block;
      },
      "alloc-dealloc-mismatch");
}
#endif
