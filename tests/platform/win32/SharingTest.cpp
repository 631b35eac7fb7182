// Share modes between handles of one process and between processes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/file.h"
#include "tests/support/TempDir.h"

namespace {

constexpr DWORD R = GENERIC_READ;
constexpr DWORD W = GENERIC_WRITE;
constexpr DWORD RW = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE;

HANDLE OpenShared(const std::string& path, DWORD access, DWORD share, DWORD disposition = OPEN_EXISTING) {
  return CreateFileA(path.c_str(), access, share, nullptr, disposition, 0, nullptr);
}

// A child process that opens a file and holds it until released or killed. Its report and release
// pipes synchronise the two sides; one holder at a time, so that no other child keeps a copy of the
// release pipe open.
class ChildHolder {
 public:
  ChildHolder(const std::string& path, DWORD access, DWORD share, DWORD disposition = OPEN_EXISTING) {
    int report[2], release[2];
    if (pipe(report) != 0 || pipe(release) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(report[0]);
      close(release[1]);
      HANDLE file = OpenShared(path, access, share, disposition);
      const DWORD error = file == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
      if (write(report[1], &error, sizeof error) != sizeof error) _exit(1);
      char byte;
      while (read(release[0], &byte, 1) < 0 && errno == EINTR) {
      }
      _exit(0);
    }
    close(report[1]);
    close(release[0]);
    release_ = release[1];
    if (read(report[0], &open_error_, sizeof open_error_) != sizeof open_error_) open_error_ = ERROR_GEN_FAILURE;
    close(report[0]);
  }
  ~ChildHolder() { Release(); }

  DWORD open_error() const { return open_error_; }
  void Release() { End(0); }
  void Kill() { End(SIGKILL); }

 private:
  void End(int signal_number) {
    if (pid_ <= 0) return;
    if (signal_number) kill(pid_, signal_number);
    close(release_);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

  pid_t pid_ = -1;
  int release_ = -1;
  DWORD open_error_ = ERROR_GEN_FAILURE;
};

struct ShareCase {
  const char* what;
  DWORD first_access, first_share;
  DWORD second_access, second_share;
  DWORD second_error;
};

const ShareCase kShareCases[] = {
    {"deny-none readers coexist", R, kShareAll, R, kShareAll, ERROR_SUCCESS},
    {"deny-none writers coexist", RW, kShareAll, RW, kShareAll, ERROR_SUCCESS},
    {"second deny-write writer", RW, FILE_SHARE_READ, RW, FILE_SHARE_READ, ERROR_SHARING_VIOLATION},
    {"reader beside a deny-write writer", RW, FILE_SHARE_READ, R, kShareAll, ERROR_SUCCESS},
    {"deny-write writer beside a reader", R, kShareAll, RW, FILE_SHARE_READ, ERROR_SUCCESS},
    {"deny-write open while another writes", RW, kShareAll, R, FILE_SHARE_READ, ERROR_SHARING_VIOLATION},
    {"writer while another denies write", R, FILE_SHARE_READ, RW, kShareAll, ERROR_SHARING_VIOLATION},
    {"two deny-write readers", R, FILE_SHARE_READ, R, FILE_SHARE_READ, ERROR_SUCCESS},
    {"deny-read open beside a writer that does not read", W, kShareAll, R, FILE_SHARE_WRITE, ERROR_SUCCESS},
    {"deny-read open while another reads", RW, kShareAll, W, FILE_SHARE_WRITE, ERROR_SHARING_VIOLATION},
    {"reader of an exclusive file", R, 0, R, kShareAll, ERROR_SHARING_VIOLATION},
    {"exclusive open of a file being read", R, kShareAll, R, 0, ERROR_SHARING_VIOLATION},
    {"open without data access beside an exclusive one", RW, 0, 0, 0, ERROR_SUCCESS},
};

class SharingTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_.Write("PP/PPMESTRE.DAT", "dados"); }
  std::string File() const { return dir_.windows_path() + "pp\\ppmestre.dat"; }

  TempDir dir_;
};

TEST_F(SharingTest, SecondOpenFollowsTheShareRulesWithinOneProcess) {
  for (const ShareCase& c : kShareCases) {
    HANDLE first = OpenShared(File(), c.first_access, c.first_share);
    ASSERT_NE(first, INVALID_HANDLE_VALUE) << c.what;
    HANDLE second = OpenShared(File(), c.second_access, c.second_share);
    EXPECT_EQ(second == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS, c.second_error) << c.what;
    if (second != INVALID_HANDLE_VALUE) CloseHandle(second);
    CloseHandle(first);
    second = OpenShared(File(), c.second_access, c.second_share);
    EXPECT_NE(second, INVALID_HANDLE_VALUE) << c.what << ", after the first closed";
    CloseHandle(second);
  }
}

TEST_F(SharingTest, SecondOpenFollowsTheShareRulesAgainstAnotherProcess) {
  for (const ShareCase& c : kShareCases) {
    ChildHolder first(File(), c.first_access, c.first_share);
    ASSERT_EQ(first.open_error(), ERROR_SUCCESS) << c.what;
    HANDLE second = OpenShared(File(), c.second_access, c.second_share);
    EXPECT_EQ(second == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS, c.second_error) << c.what;
    if (second != INVALID_HANDLE_VALUE) CloseHandle(second);
  }
}

TEST_F(SharingTest, DenyWriteOpenInAChildFailsWhileTheParentWrites) {
  HANDLE parent = OpenShared(File(), RW, FILE_SHARE_READ);
  ASSERT_NE(parent, INVALID_HANDLE_VALUE);
  {
    ChildHolder child(File(), RW, FILE_SHARE_READ);
    EXPECT_EQ(child.open_error(), ERROR_SHARING_VIOLATION);
  }
  {
    ChildHolder reader(File(), R, kShareAll);
    EXPECT_EQ(reader.open_error(), ERROR_SUCCESS);
  }
  CloseHandle(parent);
}

TEST_F(SharingTest, CreateAlwaysOfAFileHeldByAnotherProcessFailsAndKeepsItsContent) {
  {
    ChildHolder holder(File(), RW, FILE_SHARE_READ);
    ASSERT_EQ(holder.open_error(), ERROR_SUCCESS);
    for (DWORD share : {DWORD{FILE_SHARE_READ}, kShareAll, DWORD{0}}) {
      EXPECT_EQ(OpenShared(File(), RW, share, CREATE_ALWAYS), INVALID_HANDLE_VALUE) << share;
      EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION) << share;
    }
    EXPECT_EQ(OpenShared(File(), W, kShareAll, TRUNCATE_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(dir_.Read("PP/PPMESTRE.DAT"), "dados");
  }
  HANDLE created = OpenShared(File(), RW, FILE_SHARE_READ, CREATE_ALWAYS);
  ASSERT_NE(created, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  CloseHandle(created);
  EXPECT_EQ(dir_.Read("PP/PPMESTRE.DAT"), "");
}

TEST_F(SharingTest, ExclusiveLockFileIsFreeAgainAfterItsHolderIsKilled) {
  const std::string lock_file = dir_.windows_path() + "PP\\XXMARCA1.DAT";
  ChildHolder holder(lock_file, RW, 0, CREATE_ALWAYS);
  ASSERT_EQ(holder.open_error(), ERROR_SUCCESS);
  EXPECT_EQ(OpenShared(lock_file, RW, 0, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  EXPECT_EQ(OpenShared(lock_file, R, kShareAll), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);

  holder.Kill();
  HANDLE taken = OpenShared(lock_file, RW, 0, CREATE_ALWAYS);
  ASSERT_NE(taken, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  CloseHandle(taken);
}

TEST_F(SharingTest, DeleteAndRenameFailWhileAnotherProcessHoldsTheFile) {
  const std::string moved = dir_.windows_path() + "PP\\MOVIDO.DAT";
  ChildHolder holder(File(), R, kShareAll);
  ASSERT_EQ(holder.open_error(), ERROR_SUCCESS);
  EXPECT_FALSE(DeleteFileA(File().c_str()));
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  EXPECT_FALSE(MoveFileA(File().c_str(), moved.c_str()));
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  holder.Release();
  EXPECT_TRUE(MoveFileA(File().c_str(), moved.c_str()));
  EXPECT_TRUE(DeleteFileA(moved.c_str()));
}

TEST_F(SharingTest, DuplicatedHandleKeepsTheShareUntilBothAreClosed) {
  HANDLE original = OpenShared(File(), RW, FILE_SHARE_READ);
  ASSERT_NE(original, INVALID_HANDLE_VALUE);
  HANDLE duplicate = DuplicateFileHandle(original);
  ASSERT_NE(duplicate, INVALID_HANDLE_VALUE);
  CloseHandle(original);
  EXPECT_EQ(OpenShared(File(), RW, FILE_SHARE_READ), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  CloseHandle(duplicate);
  HANDLE again = OpenShared(File(), RW, FILE_SHARE_READ);
  EXPECT_NE(again, INVALID_HANDLE_VALUE);
  CloseHandle(again);
}

// Without the guard two openers could both pass the check before either took its markers.
TEST_F(SharingTest, ConcurrentDenyWriteWritersNeverHoldTheFileTogether) {
  std::atomic<int> holders{0}, overlaps{0}, successes{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < 200; ++i) {
        HANDLE file = OpenShared(File(), RW, FILE_SHARE_READ);
        if (file == INVALID_HANDLE_VALUE) continue;
        if (++holders > 1) ++overlaps;
        ++successes;
        --holders;
        CloseHandle(file);
      }
    });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(overlaps.load(), 0);
  EXPECT_GT(successes.load(), 0);
}

}  // namespace
