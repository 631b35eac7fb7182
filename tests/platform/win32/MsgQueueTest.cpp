#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/win32/msgqueue.h"
#include "platform/win32/sync.h"
#include "platform/win32/thread.h"

namespace {

struct Recebidas {
  std::vector<UINT> messages;
  int quit_code = -1;
};

DWORD RunLoop(void* parameter) {
  auto* received = static_cast<Recebidas*>(parameter);
  MSG message;
  BOOL result;
  while ((result = GetMessageA(&message, nullptr, 0, 0)) > 0) {
    received->messages.push_back(message.message);
    DispatchMessageA(&message);
  }
  received->quit_code = static_cast<int>(message.wParam);
  return result == 0 ? 7 : 8;
}

}  // namespace

TEST(MessageQueue, LoopGetsPostedMessagesInOrderUntilTheQuitMessage) {
  Recebidas received;
  DWORD thread_id = 0;
  HANDLE thread = CreateThread(nullptr, 0, &RunLoop, &received, 0, &thread_id);
  ASSERT_NE(thread, nullptr);
  ASSERT_NE(thread_id, 0u);
  EXPECT_NE(thread_id, GetCurrentThreadId());

  EXPECT_TRUE(PostThreadMessageA(thread_id, WM_USER + 1, 0, 0));
  EXPECT_TRUE(PostThreadMessageA(thread_id, WM_USER + 2, 0, 0));
  EXPECT_TRUE(PostThreadMessageA(thread_id, WM_QUIT, 42, 0));
  EXPECT_TRUE(PostThreadMessageA(thread_id, WM_USER + 3, 0, 0));  // after the quit: never read
  ASSERT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);

  EXPECT_EQ(received.messages, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
  EXPECT_EQ(received.quit_code, 42);
  DWORD exit_code = 0;
  EXPECT_TRUE(GetExitCodeThread(thread, &exit_code));
  EXPECT_EQ(exit_code, 7u);
  CloseHandle(thread);
}

TEST(MessageQueue, PostingToAThreadThatHasEndedFails) {
  std::atomic<DWORD> id{0};
  std::thread([&] { id = GetCurrentThreadId(); }).join();
  SetLastError(0);
  EXPECT_FALSE(PostThreadMessageA(id, WM_USER, 0, 0));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_THREAD_ID);
  EXPECT_FALSE(PostThreadMessageA(0, WM_USER, 0, 0));
}

TEST(MessageQueue, PeekTakesOnlyTheAskedRangeAndLeavesMessagesWithoutRemoval) {
  EXPECT_TRUE(PostThreadMessageA(GetCurrentThreadId(), WM_USER + 5, 1, 2));
  EXPECT_TRUE(PostThreadMessageA(GetCurrentThreadId(), WM_USER + 9, 3, 4));
  MSG message{};
  EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_USER + 6, WM_USER + 8, PM_REMOVE));
  ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_USER + 6, WM_USER + 9, PM_NOREMOVE));
  EXPECT_EQ(message.message, WM_USER + 9);
  EXPECT_EQ(message.wParam, 3u);
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, WM_USER + 5);
  EXPECT_EQ(message.lParam, 2);
  ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), TRUE);
  EXPECT_EQ(message.message, WM_USER + 9);
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));

  PostQuitMessage(3);  // the quit message passes any range
  EXPECT_EQ(GetMessageA(&message, nullptr, WM_USER, WM_USER), FALSE);
  EXPECT_EQ(message.wParam, 3u);
  EXPECT_EQ(GetMessageA(&message, reinterpret_cast<HWND>(1), 0, 0), -1);
}

TEST(Thread, NewThreadInheritsItsCreatorsContextAndItsHandleSignalsTheEnd) {
  struct Seen {
    void* context;
    DWORD id;
  } seen{};
  int marker = 0;
  SetInheritedThreadContext(&marker);
  DWORD id = 0;
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](void* parameter) -> DWORD {
        *static_cast<Seen*>(parameter) = {InheritedThreadContext(), GetCurrentThreadId()};
        return 0;
      },
      &seen, 0, &id);
  SetInheritedThreadContext(nullptr);
  ASSERT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);  // stays signalled
  EXPECT_EQ(seen.context, &marker);
  EXPECT_EQ(seen.id, id);
  CloseHandle(thread);
  EXPECT_EQ(CreateThread(
                nullptr, 0, [](void*) -> DWORD { return 0; }, nullptr, CREATE_SUSPENDED, nullptr),
            nullptr);
}
