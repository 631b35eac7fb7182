// ReadFile and WriteFile of one file are atomic against each other between processes: while
// writers rewrite records, a reader that takes no lock of its own sees each record whole, in one
// version or the next, never a mix of the two.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/magic.h>
#include <sys/vfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "platform/win32/file.h"
#include "platform/win32/path.h"
#include "platform/win32/sharing.h"
#include "tests/support/TempDir.h"

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE;
// Few records, so that each one is hot: a torn read shows within a few hundred reads when the
// layer does not prevent it.
constexpr DWORD kRecords = 2;

// Record reads per case. QV_TEST_RECORD_READS sets it; the sanitizer build reads fewer, as it runs
// emulated on some machines and each read costs many times more there.
long RecordReads() {
  if (const char* reads = std::getenv("QV_TEST_RECORD_READS")) return std::atol(reads);
#if defined(__SANITIZE_ADDRESS__)
  return 50000;
#else
  return 1000000;
#endif
}

struct AtomicityCase {
  DWORD length;
  int writers;
};

void PrintTo(const AtomicityCase& c, std::ostream* out) {
  *out << c.length << "-byte records, " << c.writers << " writer(s)";
}

std::string PrintCase(const ::testing::TestParamInfo<AtomicityCase>& info) {
  return "Length" + std::to_string(info.param.length) + "Writers" + std::to_string(info.param.writers);
}

// Child processes that rewrite the records, each record as one repeated byte, until they are
// killed. A single writer denies other writers, as a data file's writer does; several share
// writing. The byte values differ between writers and from one write to the next.
class Writers {
 public:
  Writers(const std::string& path, const AtomicityCase& c) {
    int ready[2];
    if (pipe(ready) != 0) return;
    const DWORD share = c.writers == 1 ? FILE_SHARE_READ : kShareAll;
    for (int writer = 0; writer < c.writers; ++writer) {
      const pid_t pid = fork();
      if (pid == 0) Rewrite(path, c, share, writer, ready[1]);
      if (pid > 0) pids_.push_back(pid);
    }
    close(ready[1]);
    char byte;
    for (started_ = 0; started_ < c.writers && read(ready[0], &byte, 1) == 1;) ++started_;
    close(ready[0]);
  }
  ~Writers() {
    for (pid_t pid : pids_) kill(pid, SIGKILL);
    for (pid_t pid : pids_) waitpid(pid, nullptr, 0);
  }
  Writers(const Writers&) = delete;
  Writers& operator=(const Writers&) = delete;

  int started() const { return started_; }
  // Writers that ended on their own (a failed open or write) before being killed.
  int ended() const {
    int ended = 0;
    for (pid_t pid : pids_) ended += waitpid(pid, nullptr, WNOHANG) == pid;
    return ended;
  }

 private:
  [[noreturn]] static void Rewrite(const std::string& path, const AtomicityCase& c, DWORD share, int writer,
                                   int ready) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) _exit(1);
    std::vector<char> record(c.length);
    for (unsigned write_number = 0;; ++write_number) {
      record.assign(c.length, static_cast<char>(1 + (write_number * c.writers + writer) % 250));
      DWORD written = 0;
      SetFilePointer(file, static_cast<LONG>(write_number % kRecords * c.length), nullptr, FILE_BEGIN);
      if (!WriteFile(file, record.data(), c.length, &written, nullptr) || written != c.length) _exit(1);
      if (write_number == 0 && write(ready, "+", 1) != 1) _exit(1);
    }
  }

  std::vector<pid_t> pids_;
  int started_ = 0;
};

class ReadWriteAtomicityTest : public ::testing::TestWithParam<AtomicityCase> {
 protected:
  std::string File() const { return dir_.windows_path() + "PPMESTRE.DAT"; }

  TempDir dir_;
};

TEST_P(ReadWriteAtomicityTest, AReaderSeesEveryRecordWholeWhileWritersRewriteIt) {
  const AtomicityCase c = GetParam();
  dir_.Write("PPMESTRE.DAT", std::string(kRecords * c.length, '\x01'));
  Writers writers(File(), c);
  ASSERT_EQ(writers.started(), c.writers);

  HANDLE reader = CreateFileA(File().c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  std::string record(c.length, '\0');
  char last[kRecords] = {};
  long mixed = 0, changes = 0;
  const long reads = RecordReads();
  for (long n = 0; n < reads; ++n) {
    const DWORD number = static_cast<DWORD>(n % kRecords);
    DWORD got = 0;
    SetFilePointer(reader, static_cast<LONG>(number * c.length), nullptr, FILE_BEGIN);
    ASSERT_TRUE(ReadFile(reader, record.data(), c.length, &got, nullptr));
    ASSERT_EQ(got, c.length);
    if (record.find_first_not_of(record[0]) != std::string::npos) ++mixed;
    changes += record[0] != last[number];
    last[number] = record[0];
  }
  CloseHandle(reader);

  EXPECT_EQ(writers.ended(), 0);
  EXPECT_EQ(mixed, 0) << "of " << reads << " record reads, " << changes << " of which saw a new version";
  // The writers were rewriting the records while they were read, or the test proves nothing. A
  // reader that reads without pause holds a writer back (a waiting writer does not stop the next
  // shared lock), so the share of reads that see a new version varies from run to run.
  EXPECT_GT(changes, reads / 1000);
}

INSTANTIATE_TEST_SUITE_P(RecordLengthsAndWriters, ReadWriteAtomicityTest,
                         ::testing::Values(AtomicityCase{128, 1}, AtomicityCase{3000, 1}, AtomicityCase{8192, 1},
                                           AtomicityCase{128, 3}, AtomicityCase{3000, 3}, AtomicityCase{8192, 3}),
                         PrintCase);

// The locks of reads and writes lie apart from LockFile ranges and share markers: a LockFile range
// of another handle neither blocks nor refuses a read or write, and a write in progress neither
// makes LockFile fail nor keeps an open out. (Were they to meet, the read below would wait for
// ever: the alarm ends the test instead.)
TEST(DataRangeLocks, NeitherMeetLockFileRangesNorShareMarkers) {
  TempDir dir;
  dir.Write("F.DAT", std::string(100, 'a'));
  const std::string name = dir.windows_path() + "F.DAT";
  const auto open = [&] {
    return CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr);
  };
  HANDLE locker = open(), user = open();
  ASSERT_NE(locker, INVALID_HANDLE_VALUE);
  ASSERT_NE(user, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(LockFile(locker, 0, 0, 100, 0));
  alarm(30);
  char bytes[100];
  DWORD count = 0;
  EXPECT_TRUE(WriteFile(user, std::string(100, 'b').data(), 100, &count, nullptr));
  SetFilePointer(user, 0, nullptr, FILE_BEGIN);
  EXPECT_TRUE(ReadFile(user, bytes, 100, &count, nullptr));
  alarm(0);
  EXPECT_EQ(std::string(bytes, count), std::string(100, 'b'));
  ASSERT_TRUE(UnlockFile(locker, 0, 0, 100, 0));

  const int writer = ::open((dir.path() + "/F.DAT").c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(writer, 0);
  {
    DataRangeLock write_in_progress(writer);
    ASSERT_EQ(write_in_progress.Take(DataRangeLock::kWrite, 0, 100), ERROR_SUCCESS);
    EXPECT_TRUE(LockFile(locker, 0, 0, 100, 0));
    HANDLE another = open();
    EXPECT_NE(another, INVALID_HANDLE_VALUE);
    CloseHandle(another);
  }
  close(writer);
  CloseHandle(locker);
  CloseHandle(user);
}

// A handle whose share mode leaves nobody else able to write reads without the lock, and one that
// leaves nobody else able to read or write writes without it: a write lock held on the range by a
// descriptor outside the layer (which the share markers do not see) does not stop them. (Were they
// to take the lock, they would wait for ever: the alarm ends the test instead.)
TEST(DataRangeLocks, AreSkippedWhereTheShareModeLeavesNobodyToInterfere) {
  TempDir dir;
  dir.Write("F.DAT", std::string(100, 'a'));
  const std::string name = dir.windows_path() + "F.DAT";
  const int writer = ::open((dir.path() + "/F.DAT").c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(writer, 0);
  DataRangeLock write_in_progress(writer);
  ASSERT_EQ(write_in_progress.Take(DataRangeLock::kWrite, 0, 100), ERROR_SUCCESS);
  char bytes[100];
  DWORD count = 0;
  alarm(30);
  HANDLE denies_writing = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_TRUE(ReadFile(denies_writing, bytes, 100, &count, nullptr));
  CloseHandle(denies_writing);
  HANDLE exclusive = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_TRUE(WriteFile(exclusive, std::string(100, 'b').data(), 100, &count, nullptr));
  SetFilePointer(exclusive, 0, nullptr, FILE_BEGIN);
  EXPECT_TRUE(ReadFile(exclusive, bytes, 100, &count, nullptr));
  alarm(0);
  EXPECT_EQ(std::string(bytes, count), std::string(100, 'b'));
  CloseHandle(exclusive);
  close(writer);
}

// Positions past the lock space (2^62 - 4 KiB) share its last lock byte; reads and writes there
// work as anywhere. Only a file system that allows such positions shows it: tmpfs does.
TEST(DataRangeLocks, ReadsAndWritesPastTheLockSpaceWork) {
  struct statfs info;
  if (statfs("/dev/shm", &info) != 0 || static_cast<uint32_t>(info.f_type) != TMPFS_MAGIC)
    GTEST_SKIP() << "needs a tmpfs at /dev/shm";
  std::string directory = "/dev/shm/qvtest-XXXXXX";
  ASSERT_NE(mkdtemp(directory.data()), nullptr);
  struct Removal {
    const std::string& directory;
    ~Removal() { std::filesystem::remove_all(directory); }
  } removal{directory};
  const std::string name = SystemPathOf(directory + "/F.DAT");
  HANDLE file = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  const LONGLONG kSpaceEnd = (LONGLONG{1} << 62) - 4096;
  for (const LONGLONG position : {kSpaceEnd - 3, kSpaceEnd + 12345}) {
    LARGE_INTEGER at;
    at.QuadPart = position;
    char bytes[6] = {};
    DWORD count = 0;
    ASSERT_TRUE(SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) << position;
    EXPECT_TRUE(WriteFile(file, "abcdef", 6, &count, nullptr)) << position;
    ASSERT_TRUE(SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) << position;
    EXPECT_TRUE(ReadFile(file, bytes, 6, &count, nullptr)) << position;
    EXPECT_EQ(std::string(bytes, count), "abcdef") << position;
  }
  CloseHandle(file);
}

}  // namespace
