#include "platform/win32/file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/win32/errortext.h"
#include "platform/win32/sharing.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE;

class FileTest : public ::testing::Test {
 protected:
  std::string System(const std::string& relative) const { return dir_.windows_path() + relative; }
  std::string Linux(const std::string& relative) const { return dir_.path() + "/" + relative; }
  HANDLE Open(const std::string& relative, DWORD access, DWORD share = kShareAll, DWORD disposition = OPEN_EXISTING,
              DWORD attributes = 0) const {
    return CreateFileA(System(relative).c_str(), access, share, nullptr, disposition, attributes, nullptr);
  }

  TempDir dir_;
};

std::string ReadRest(HANDLE file) {
  std::string content;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) content.append(buffer, read);
  return content;
}

TEST_F(FileTest, DispositionsCreateTruncateAndReportExistingFilesLikeWindows) {
  struct Case {
    DWORD disposition;
    bool exists;
    bool opens;
    DWORD last_error;
    const char* content_after;  // nullptr: no file
  } cases[] = {
      {CREATE_NEW, true, false, ERROR_FILE_EXISTS, "old"},
      {CREATE_NEW, false, true, ERROR_SUCCESS, ""},
      {CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS, ""},
      {CREATE_ALWAYS, false, true, ERROR_SUCCESS, ""},
      {OPEN_EXISTING, true, true, ERROR_SUCCESS, "old"},
      {OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
      {OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, "old"},
      {OPEN_ALWAYS, false, true, ERROR_SUCCESS, ""},
      {TRUNCATE_EXISTING, true, true, ERROR_SUCCESS, ""},
      {TRUNCATE_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
  };
  for (const Case& c : cases) {
    for (const char* name : {"F.DAT", "f.dat"}) fs::remove(Linux(name));
    if (c.exists) dir_.Write("F.DAT", "old");
    SetLastError(12345);
    HANDLE file = Open("f.dat", GENERIC_READ | GENERIC_WRITE, kShareAll, c.disposition);
    const std::string label = "disposition " + std::to_string(c.disposition) + (c.exists ? " existing" : " missing");
    EXPECT_EQ(file != INVALID_HANDLE_VALUE, c.opens) << label;
    EXPECT_EQ(GetLastError(), c.last_error) << label;
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    const std::string name = c.exists ? "F.DAT" : "f.dat";
    EXPECT_EQ(fs::exists(Linux(name)), c.content_after != nullptr) << label;
    if (c.content_after) {
      EXPECT_EQ(dir_.Read(name), c.content_after) << label;
    }
  }
}

TEST_F(FileTest, ReadsMoveThePositionAndReadingAtTheEndGivesZeroBytes) {
  dir_.Write("F.DAT", "abcdef");
  HANDLE file = Open("F.DAT", GENERIC_READ);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  char buffer[16];
  DWORD read = 99;
  EXPECT_EQ(SetFilePointer(file, 2, nullptr, FILE_BEGIN), 2u);
  ASSERT_TRUE(ReadFile(file, buffer, 3, &read, nullptr));
  EXPECT_EQ(std::string(buffer, read), "cde");
  ASSERT_TRUE(ReadFile(file, buffer, sizeof buffer, &read, nullptr));
  EXPECT_EQ(std::string(buffer, read), "f");
  EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &read, nullptr));
  EXPECT_EQ(read, 0u);

  LARGE_INTEGER position;
  ASSERT_TRUE(SetFilePointerEx(file, LARGE_INTEGER{.QuadPart = -1}, &position, FILE_END));
  EXPECT_EQ(position.QuadPart, 5);
  EXPECT_EQ(SetFilePointer(file, -10, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
  EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), 5u);
  DWORD high = 99;
  EXPECT_EQ(GetFileSize(file, &high), 6u);
  EXPECT_EQ(high, 0u);
  CloseHandle(file);
}

TEST_F(FileTest, HandlesRefuseTheAccessTheyWereNotOpenedFor) {
  dir_.Write("F.DAT", "abc");
  HANDLE reader = Open("F.DAT", GENERIC_READ);
  HANDLE writer = Open("F.DAT", GENERIC_WRITE);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  char buffer[4] = {};
  DWORD count = 0;
  EXPECT_FALSE(WriteFile(reader, "x", 1, &count, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_FALSE(SetEndOfFile(reader));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_FALSE(ReadFile(writer, buffer, 1, &count, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);

  ASSERT_TRUE(WriteFile(writer, "XY", 2, &count, nullptr));
  EXPECT_EQ(count, 2u);
  ASSERT_TRUE(SetEndOfFile(writer));
  EXPECT_EQ(dir_.Read("F.DAT"), "XY");
  CloseHandle(reader);
  CloseHandle(writer);
  EXPECT_FALSE(ReadFile(INVALID_HANDLE_VALUE, buffer, 1, &count, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

// The file-size limit makes the kernel stop an append part way, as a full disk would.
TEST_F(FileTest, AnAppendThatFailsPartWayIsCutBackToTheOldLength) {
  dir_.Write("F.DAT", std::string(600, 'a'));
  int report[2];
  ASSERT_EQ(pipe(report), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{1000, 1000};
    setrlimit(RLIMIT_FSIZE, &limit);
    HANDLE file = Open("F.DAT", GENERIC_WRITE);
    SetFilePointer(file, 0, nullptr, FILE_END);
    const std::string record(1000, 'b');
    DWORD written = 99;
    const DWORD outcome[] = {static_cast<DWORD>(WriteFile(file, record.data(), 1000, &written, nullptr)),
                             GetLastError(), written, SetFilePointer(file, 0, nullptr, FILE_CURRENT)};
    _exit(write(report[1], outcome, sizeof outcome) == sizeof outcome ? 0 : 1);
  }
  close(report[1]);
  DWORD outcome[4] = {};
  ASSERT_EQ(read(report[0], outcome, sizeof outcome), static_cast<ssize_t>(sizeof outcome));
  close(report[0]);
  waitpid(child, nullptr, 0);
  EXPECT_EQ(outcome[0], static_cast<DWORD>(FALSE));
  EXPECT_EQ(outcome[1], ERROR_DISK_FULL);
  EXPECT_EQ(outcome[2], 0u);
  EXPECT_EQ(outcome[3], 600u);
  EXPECT_EQ(fs::file_size(Linux("F.DAT")), 600u);
}

class FindTest : public FileTest {
 protected:
  void SetUp() override {
    for (const char* name : {"PPOP0124.DAT", "ppop0224.dat", "PPOP01.DAT", "PPOPX.TRA", "outro.tra"})
      dir_.Write(name, "12345");
    fs::create_directory(Linux("PPOP9999.DAT"));
  }
  // The names that a search finds, in order, or the error that ended it early.
  std::vector<std::string> FindAll(const std::string& pattern, DWORD* first_error = nullptr) const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(pattern.c_str(), &data);
    if (first_error) *first_error = search == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.push_back(data.cFileName);
    while (FindNextFileA(search, &data));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    EXPECT_TRUE(FindClose(search));
    return names;
  }
};

TEST_F(FindTest, WildcardsMatchWithoutRegardToCaseInNameOrder) {
  char pattern[MAX_PATH];
  std::snprintf(pattern, sizeof pattern, "%s%s????.dat", dir_.windows_path().c_str(), "ppop");
  EXPECT_EQ(FindAll(pattern), (std::vector<std::string>{"PPOP0124.DAT", "ppop0224.dat", "PPOP9999.DAT"}));
  EXPECT_EQ(FindAll(System("*.TRA")), (std::vector<std::string>{"outro.tra", "PPOPX.TRA"}));
  EXPECT_EQ(FindAll(System("ppop01.dat")), (std::vector<std::string>{"PPOP01.DAT"}));
  EXPECT_EQ(FindAll(System("*")),
            (std::vector<std::string>{".", "..", "outro.tra", "PPOP01.DAT", "PPOP0124.DAT", "ppop0224.dat",
                                      "PPOP9999.DAT", "PPOPX.TRA"}));
}

TEST_F(FindTest, FindDataCarriesSizeAndAttributes) {
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(System("PPOP0124.dat").c_str(), &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_EQ(data.nFileSizeLow, 5u);
  EXPECT_EQ(data.nFileSizeHigh, 0u);
  EXPECT_EQ(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_NE(data.ftLastWriteTime.dwHighDateTime, 0u);
  FindClose(search);
  search = FindFirstFileA(System("PPOP9999.DAT").c_str(), &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_NE(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  FindClose(search);
}

TEST_F(FindTest, NoMatchIs2AndAMissingDirectoryIs3) {
  DWORD error = 0;
  EXPECT_TRUE(FindAll(System("*.XYZ"), &error).empty());
  EXPECT_EQ(error, ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(FindAll(System("NADA\\*.DAT"), &error).empty());
  EXPECT_EQ(error, ERROR_PATH_NOT_FOUND);
  EXPECT_TRUE(FindAll(System("PPOP01.DAT\\*"), &error).empty());
  EXPECT_EQ(error, ERROR_PATH_NOT_FOUND);
}

TEST_F(FileTest, RenameNeverReplacesAnExistingTargetNorACaseVariantOfIt) {
  dir_.Write("A.DAT", "a");
  dir_.Write("b.dat", "b");
  for (const char* target : {"b.dat", "B.DAT"}) {
    EXPECT_FALSE(MoveFileA(System("A.DAT").c_str(), System(target).c_str())) << target;
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS) << target;
  }
  EXPECT_EQ(dir_.Read("A.DAT"), "a");
  EXPECT_EQ(dir_.Read("b.dat"), "b");

  ASSERT_TRUE(MoveFileA(System("a.dat").c_str(), System("c.dat").c_str()));
  EXPECT_EQ(dir_.Read("c.dat"), "a");
  ASSERT_TRUE(MoveFileA(System("c.dat").c_str(), System("C.DAT").c_str()));  // only the case changes
  EXPECT_EQ(dir_.Read("C.DAT"), "a");
  EXPECT_FALSE(fs::exists(Linux("c.dat")));

  EXPECT_FALSE(MoveFileA(System("nada.dat").c_str(), System("d.dat").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(MoveFileA(System("C.DAT").c_str(), System("NADA\\d.dat").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(FileTest, DeleteAndRenameOfAnOpenFileGiveSharingViolationUnlessItSharesDelete) {
  struct Case {
    DWORD access;
    DWORD share;
    bool blocks;
  } cases[] = {
      {GENERIC_READ, kShareAll, true},
      {GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, true},
      {GENERIC_READ, kShareAll | FILE_SHARE_DELETE, false},
      {0, 0, false},  // an open without data access takes no part in sharing
  };
  for (const Case& c : cases) {
    dir_.Write("F.DAT", "f");
    HANDLE file = Open("F.DAT", c.access, c.share);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const std::string label = "access " + std::to_string(c.access) + " share " + std::to_string(c.share);
    EXPECT_EQ(!MoveFileA(System("F.DAT").c_str(), System("G.DAT").c_str()), c.blocks) << label;
    if (c.blocks) {
      EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION) << label;
    }
    const std::string name = c.blocks ? "F.DAT" : "G.DAT";
    EXPECT_EQ(!DeleteFileA(System(name).c_str()), c.blocks) << label;
    if (c.blocks) {
      EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION) << label;
    }
    EXPECT_EQ(fs::exists(Linux(name)), c.blocks) << label;
    CloseHandle(file);
    if (c.blocks) {
      EXPECT_TRUE(DeleteFileA(System("F.DAT").c_str())) << label;
    }
  }
}

TEST_F(FileTest, ReadOnlyAttributeRefusesWriteOpensTruncationAndDelete) {
  dir_.Write("F.DAT", "keep");
  ASSERT_TRUE(SetFileAttributesA(System("f.dat").c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(GetFileAttributesA(System("F.DAT").c_str()), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);

  struct Case {
    DWORD access;
    DWORD disposition;
  } refused[] = {{GENERIC_WRITE, OPEN_EXISTING},
                 {GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS},
                 {GENERIC_READ, CREATE_ALWAYS},
                 {GENERIC_WRITE, TRUNCATE_EXISTING}};
  for (const Case& c : refused) {
    EXPECT_EQ(Open("F.DAT", c.access, kShareAll, c.disposition), INVALID_HANDLE_VALUE) << c.disposition;
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED) << c.disposition;
  }
  EXPECT_FALSE(DeleteFileA(System("F.DAT").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(dir_.Read("F.DAT"), "keep");

  HANDLE reader = Open("F.DAT", GENERIC_READ);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadRest(reader), "keep");
  CloseHandle(reader);
  ASSERT_TRUE(SetFileAttributesA(System("F.DAT").c_str(), FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(GetFileAttributesA(System("F.DAT").c_str()), FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_TRUE(DeleteFileA(System("F.DAT").c_str()));
}

TEST_F(FileTest, AFileCreatedReadOnlyIsWritableOnlyThroughItsCreatingHandle) {
  HANDLE file = Open("R.DAT", GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_READONLY);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  EXPECT_TRUE(WriteFile(file, "ro", 2, &written, nullptr));
  CloseHandle(file);
  EXPECT_EQ(Open("R.DAT", GENERIC_WRITE), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(dir_.Read("R.DAT"), "ro");
}

TEST_F(FileTest, DirectoriesAreCreatedRemovedAndRefusedAsFiles) {
  dir_.Write("PP/PPMESTRE.DAT", "m");
  EXPECT_FALSE(CreateDirectoryA(System("pp").c_str(), nullptr));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_FALSE(CreateDirectoryA(System("X\\Y").c_str(), nullptr));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_TRUE(CreateDirectoryA(System("pp\\SUB").c_str(), nullptr));
  EXPECT_TRUE(fs::is_directory(Linux("PP/SUB")));

  EXPECT_EQ(Open("PP", GENERIC_READ), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_FALSE(DeleteFileA(System("PP").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(GetFileAttributesA(System("pp").c_str()), FILE_ATTRIBUTE_DIRECTORY);

  EXPECT_FALSE(RemoveDirectoryA(System("PP").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
  EXPECT_FALSE(RemoveDirectoryA(System("PP\\PPMESTRE.DAT").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);
  EXPECT_TRUE(RemoveDirectoryA(System("pp\\sub").c_str()));
  EXPECT_FALSE(fs::exists(Linux("PP/SUB")));
}

TEST_F(FileTest, MakeSureDirectoryPathExistsCreatesEachMissingDirectoryUpToTheLastBackslash) {
  dir_.Write("PP/PPMESTRE.DAT", "m");
  ASSERT_TRUE(MakeSureDirectoryPathExists(System("pp\\NOVO\\SUB\\arquivo.dat").c_str()));
  EXPECT_TRUE(fs::is_directory(Linux("PP/NOVO/SUB")));
  EXPECT_FALSE(fs::exists(Linux("PP/NOVO/SUB/arquivo.dat")));
  EXPECT_FALSE(fs::exists(Linux("pp")));
  EXPECT_TRUE(MakeSureDirectoryPathExists(System("PP\\novo\\").c_str()));
  EXPECT_FALSE(fs::exists(Linux("PP/novo")));
  EXPECT_FALSE(MakeSureDirectoryPathExists(System("PP\\PPMESTRE.DAT\\X\\").c_str()));
}

TEST_F(FileTest, TempPathComesFromTmpdirInTheSystemsForm) {
  const char* saved = std::getenv("TMPDIR");
  const std::string previous = saved ? saved : "";
  setenv("TMPDIR", dir_.path().c_str(), 1);
  char buffer[MAX_PATH];
  const DWORD length = GetTempPathA(sizeof buffer, buffer);
  EXPECT_EQ(std::string(buffer), dir_.windows_path());
  EXPECT_EQ(length, dir_.windows_path().size());
  EXPECT_EQ(GetTempPathA(3, buffer), length + 1);
  if (saved) setenv("TMPDIR", previous.c_str(), 1);
  else unsetenv("TMPDIR");
}

TEST_F(FileTest, TempFileNameWithUniqueZeroCreatesANewFileEachTime) {
  char first[MAX_PATH], second[MAX_PATH];
  const std::string directory = dir_.windows_path();
  const UINT number = GetTempFileNameA(directory.substr(0, directory.size() - 1).c_str(), "QVTESTE", 0, first);
  ASSERT_NE(number, 0u);
  char expected[MAX_PATH];
  std::snprintf(expected, sizeof expected, "%sQVT%04X.tmp", directory.c_str(), number);
  EXPECT_STREQ(first, expected);
  EXPECT_NE(GetFileAttributesA(first), INVALID_FILE_ATTRIBUTES);
  ASSERT_NE(GetTempFileNameA(directory.c_str(), "QVTESTE", 0, second), 0u);
  EXPECT_STRNE(first, second);

  EXPECT_EQ(GetTempFileNameA(directory.c_str(), "QV", 0x1A2B, second), 0x1A2Bu);
  EXPECT_EQ(std::string(second), directory + "QV1A2B.tmp");
  EXPECT_EQ(GetFileAttributesA(second), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetTempFileNameA(System("NADA").c_str(), "QV", 0, second), 0u);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(FileTest, CopyRefusesAnExistingTargetWhenAskedAndKeepsTheReadOnlyAttribute) {
  dir_.Write("A.DAT", std::string(100000, 'x'));
  dir_.Write("B.DAT", "b");
  EXPECT_FALSE(CopyFileA(System("a.dat").c_str(), System("b.dat").c_str(), TRUE));
  EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
  EXPECT_EQ(dir_.Read("B.DAT"), "b");
  ASSERT_TRUE(CopyFileA(System("a.dat").c_str(), System("b.dat").c_str(), FALSE));
  EXPECT_EQ(dir_.Read("B.DAT"), dir_.Read("A.DAT"));

  ASSERT_TRUE(SetFileAttributesA(System("A.DAT").c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(CopyFileA(System("A.DAT").c_str(), System("C.DAT").c_str(), TRUE));
  EXPECT_NE(GetFileAttributesA(System("C.DAT").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_FALSE(CopyFileA(System("NADA.DAT").c_str(), System("D.DAT").c_str(), TRUE));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(fs::exists(Linux("D.DAT")));
}

TEST_F(FileTest, LockedRangesKeepOtherHandlesOut) {
  dir_.Write("F.DAT", "0123456789");
  HANDLE first = Open("F.DAT", GENERIC_READ);
  HANDLE second = Open("F.DAT", GENERIC_READ);
  ASSERT_TRUE(LockFile(first, 0, 0, 10, 0));
  EXPECT_FALSE(LockFile(second, 5, 0, 10, 0));
  EXPECT_EQ(GetLastError(), ERROR_LOCK_VIOLATION);
  EXPECT_TRUE(LockFile(second, 10, 0, 5, 0));
  ASSERT_TRUE(UnlockFile(first, 0, 0, 10, 0));
  EXPECT_TRUE(LockFile(second, 5, 0, 5, 0));
  EXPECT_FALSE(LockFile(first, 0, 0x40000000, 1, 0));  // would reach the share markers
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  CloseHandle(first);
  CloseHandle(second);
}

TEST(NetworkFileSystem, OnlyNfsAndSmbMagicsAreRefused) {
  struct Case {
    uint32_t magic;
    const char* what;
    bool network;
  } cases[] = {
      {0x6969, "nfs", true},
      {0x517B, "smbfs", true},
      {0xFF534D42, "cifs", true},
      {0xFE534D42, "smb2", true},
      {0xEF53, "ext2/3/4", false},
      {0x01021994, "tmpfs", false},
      {0x794C7630, "overlayfs", false},
      {0x58465342, "xfs", false},
      {0x9123683E, "btrfs", false},
      {0x65735546, "fuse", false},
      {0x6968, "one below nfs", false},
      {0xFF534D43, "one past cifs", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsNetworkFileSystem(c.magic), c.network) << c.what;
}

// The layer cannot keep share modes on a network mount, so it opens nothing there.
TEST_F(FileTest, OnANetworkFileSystemOpensDeletesAndRenamesFailWith50AndCreateNothing) {
  dir_.Write("F.DAT", "dados");
  {
    const FileSystemTypeForTests nfs(0x6969);
    for (DWORD disposition : {CREATE_NEW, CREATE_ALWAYS, OPEN_ALWAYS}) {
      EXPECT_EQ(Open("NOVO.DAT", GENERIC_READ | GENERIC_WRITE, kShareAll, disposition), INVALID_HANDLE_VALUE);
      EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED) << disposition;
    }
    EXPECT_FALSE(fs::exists(Linux("NOVO.DAT")));
    for (DWORD access : {DWORD{GENERIC_READ}, DWORD{GENERIC_READ | GENERIC_WRITE}, DWORD{0}}) {
      EXPECT_EQ(Open("F.DAT", access), INVALID_HANDLE_VALUE) << access;
      EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED) << access;
    }
    EXPECT_FALSE(DeleteFileA(System("F.DAT").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
    EXPECT_FALSE(MoveFileA(System("F.DAT").c_str(), System("G.DAT").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
    EXPECT_EQ(dir_.Read("F.DAT"), "dados");
    EXPECT_FALSE(fs::exists(Linux("G.DAT")));
  }
  const FileSystemTypeForTests ext4(0xEF53);
  HANDLE file = Open("F.DAT", GENERIC_READ);
  EXPECT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
}

// What a user reads for the refusal, as a plain code and as the HRESULT that callers pass on.
TEST(NetworkFileSystem, TheRefusalsTextSaysThatShareModesNeedALocalFileSystem) {
  for (DWORD code : {ERROR_NOT_SUPPORTED, static_cast<DWORD>(HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED))}) {
    char text[256] = {};
    ASSERT_NE(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                             sizeof text, nullptr),
              0u)
        << std::hex << code;
    const std::string message = text;
    for (const char* word : {"NFS", "SMB", "local"})
      EXPECT_NE(message.find(word), std::string::npos) << word << " in " << message;
  }
}

}  // namespace
