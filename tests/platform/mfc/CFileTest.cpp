#include "platform/mfc/CFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/file.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;

class CFileTest : public ::testing::Test {
 protected:
  std::string System(const std::string& relative) const { return dir_.windows_path() + relative; }

  TempDir dir_;
};

TEST_F(CFileTest, FailedOpenFillsCauseOsErrorAndFileNameAndThrowsNothing) {
  dir_.Write("PP/PPMESTRE.DAT", "m");
  dir_.Write("PP/RO.DAT", "r");
  ASSERT_TRUE(SetFileAttributesA(System("PP\\RO.DAT").c_str(), FILE_ATTRIBUTE_READONLY));
  CFile holder;
  ASSERT_TRUE(holder.Open(System("PP\\PPMESTRE.DAT").c_str(), CFile::modeReadWrite | CFile::shareDenyWrite));

  struct Case {
    const char* relative;
    UINT flags;
    int cause;
    LONG os_error;
  } cases[] = {
      {"PP\\NADA.DAT", CFile::modeRead | CFile::shareDenyNone, CFileException::fileNotFound, 2},
      {"XX\\NADA.DAT", CFile::modeRead | CFile::shareDenyNone, CFileException::badPath, 3},
      {"pp\\ppmestre.dat", CFile::modeReadWrite | CFile::shareDenyWrite, CFileException::sharingViolation, 32},
      {"pp\\ppmestre.dat", CFile::modeCreate | CFile::modeReadWrite | CFile::shareDenyWrite,
       CFileException::sharingViolation, 32},
      {"PP\\RO.DAT", CFile::modeWrite | CFile::shareDenyNone, CFileException::accessDenied, 5},
      {"PP\\RO.DAT", CFile::modeWrite | CFile::modeReadWrite, CFileException::genericException, 87},
  };
  for (const Case& c : cases) {
    CFile file;
    CFileException error;
    const std::string name = System(c.relative);
    EXPECT_FALSE(file.Open(name.c_str(), c.flags, &error)) << c.relative;
    EXPECT_EQ(error.m_cause, c.cause) << c.relative;
    EXPECT_EQ(error.m_lOsError, c.os_error) << c.relative;
    EXPECT_STREQ(error.m_strFileName, name.c_str());
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);
  }
  EXPECT_EQ(dir_.Read("PP/PPMESTRE.DAT"), "m");
  EXPECT_FALSE(holder.Open(System("PP\\PPMESTRE.DAT").c_str(), CFile::modeRead));  // already open
}

TEST_F(CFileTest, OpenFlagsTranslateToCreationAndSharing) {
  dir_.Write("F.DAT", "conteudo");
  {
    CFile keep(System("f.dat").c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
    EXPECT_EQ(keep.GetLength(), 8u);
  }
  {
    CFile reader(System("F.DAT").c_str(), CFile::modeRead | CFile::shareDenyNone);
    CFile writer(System("F.DAT").c_str(), CFile::modeReadWrite | CFile::shareDenyWrite);  // 'L' beside 'G'
    CFile truncated;
    EXPECT_FALSE(truncated.Open(System("F.DAT").c_str(), CFile::modeCreate | CFile::modeReadWrite | CFile::shareDenyWrite));
  }
  CFile created(System("F.DAT").c_str(), CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive);
  EXPECT_EQ(created.GetLength(), 0u);
  CFile other;
  EXPECT_FALSE(other.Open(System("F.DAT").c_str(), CFile::modeRead | CFile::shareDenyNone));
}

TEST_F(CFileTest, FailuresThrowCFileExceptionByValueWithCauseAndWin32Error) {
  dir_.Write("F.DAT", "abc");
  const std::string name = System("F.DAT");
  CFile file(name.c_str(), CFile::modeRead | CFile::shareDenyNone);
  try {
    file.Write("x", 1);
    FAIL() << "write on a read-only open did not throw";
  } catch (const CFileException& e) {
    EXPECT_EQ(e.m_cause, CFileException::accessDenied);
    EXPECT_EQ(e.m_lOsError, 5);
    EXPECT_STREQ(e.m_strFileName, name.c_str());
  }
  try {
    file.Seek(-1, CFile::begin);
    FAIL() << "seek before the start did not throw";
  } catch (const CFileException& e) {
    EXPECT_EQ(e.m_cause, CFileException::badSeek);
    EXPECT_EQ(e.m_lOsError, static_cast<LONG>(ERROR_NEGATIVE_SEEK));
  }
  EXPECT_EQ(file.GetPosition(), 0u);
  try {
    CFile missing(System("NADA.DAT").c_str(), CFile::modeRead);
    FAIL() << "opening constructor did not throw";
  } catch (const CFileException& e) {
    EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
  }
  try {
    CFile::Remove(name.c_str());
    FAIL() << "removing an open file did not throw";
  } catch (const CFileException& e) {
    EXPECT_EQ(e.m_cause, CFileException::sharingViolation);
    EXPECT_EQ(e.m_lOsError, 32);
  }
  file.Close();
  EXPECT_THROW(file.Read(nullptr, 1), CException);  // a handler of the framework's base catches it
}

TEST_F(CFileTest, RenameNeverReplacesAndRemoveDeletes) {
  dir_.Write("A.TRA", "novo");
  dir_.Write("A.DAT", "velho");
  try {
    CFile::Rename(System("a.tra").c_str(), System("a.dat").c_str());
    FAIL() << "rename over an existing file did not throw";
  } catch (const CFileException& e) {
    EXPECT_EQ(e.m_lOsError, static_cast<LONG>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(e.m_cause, CFileException::accessDenied);
  }
  CFile::Remove(System("a.dat").c_str());
  CFile::Rename(System("a.tra").c_str(), System("A.DAT").c_str());
  EXPECT_EQ(dir_.Read("A.DAT"), "novo");
  EXPECT_FALSE(fs::exists(dir_.path() + "/A.TRA"));
}

TEST(CFileException, OsErrorsMapToTheFrameworkCauses) {
  struct Case {
    DWORD os_error;
    int cause;
  } cases[] = {
      {ERROR_SUCCESS, CFileException::none},
      {ERROR_FILE_NOT_FOUND, CFileException::fileNotFound},
      {ERROR_PATH_NOT_FOUND, CFileException::badPath},
      {ERROR_FILENAME_EXCED_RANGE, CFileException::badPath},
      {ERROR_TOO_MANY_OPEN_FILES, CFileException::tooManyOpenFiles},
      {ERROR_ACCESS_DENIED, CFileException::accessDenied},
      {ERROR_INVALID_HANDLE, CFileException::invalidFile},
      {ERROR_CURRENT_DIRECTORY, CFileException::removeCurrentDir},
      {ERROR_NO_MORE_FILES, CFileException::directoryFull},
      {ERROR_SEEK, CFileException::badSeek},
      {ERROR_NEGATIVE_SEEK, CFileException::badSeek},
      {ERROR_WRITE_FAULT, CFileException::hardIO},
      {ERROR_READ_FAULT, CFileException::hardIO},
      {ERROR_GEN_FAILURE, CFileException::hardIO},
      {ERROR_SHARING_VIOLATION, CFileException::sharingViolation},
      {ERROR_LOCK_VIOLATION, CFileException::lockViolation},
      {ERROR_HANDLE_EOF, CFileException::endOfFile},
      {ERROR_HANDLE_DISK_FULL, CFileException::diskFull},
      {ERROR_DISK_FULL, CFileException::diskFull},
      {ERROR_NOT_ENOUGH_MEMORY, CFileException::genericException},
      {ERROR_INVALID_PARAMETER, CFileException::genericException},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CFileException::OsErrorToException(static_cast<LONG>(c.os_error)), c.cause) << c.os_error;
}

// What the record-file engine does through its base: every step must reach the subclass.
class RecordingFile : public CFile {
 public:
  BOOL Open(const char* name, UINT flags, CFileException* error) override {
    calls.push_back("Open");
    return CFile::Open(name, flags, error);
  }
  ULONGLONG Seek(LONGLONG offset, UINT from) override {
    calls.push_back("Seek");
    return CFile::Seek(offset, from);
  }
  ULONGLONG GetLength() const override {
    calls.push_back("GetLength");
    return CFile::GetLength();
  }
  UINT Read(void* buffer, UINT count) override {
    calls.push_back("Read");
    return CFile::Read(buffer, count);
  }
  void Write(const void* buffer, UINT count) override {
    calls.push_back("Write");
    CFile::Write(buffer, count);
  }
  void Close() override {
    calls.push_back("Close");
    CFile::Close();
  }
  mutable std::vector<std::string> calls;
};

void AppendAndReadBack(CFile& file, const char* name, char* record) {
  CFileException error;
  if (!file.Open(name, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite | CFile::shareDenyWrite, &error))
    return;
  file.SeekToEnd();
  file.Write("REG1", 4);
  file.Seek(static_cast<LONGLONG>(file.GetLength()) - 4, CFile::begin);
  file.Read(record, 4);
  file.Close();
}

TEST_F(CFileTest, ASubclassSeesEveryCallThatGoesThroughTheBase) {
  RecordingFile file;
  char record[5] = {};
  AppendAndReadBack(file, System("REG.DAT").c_str(), record);
  EXPECT_STREQ(record, "REG1");
  EXPECT_EQ(file.calls, (std::vector<std::string>{"Open", "Seek", "Write", "GetLength", "Seek", "Read", "Close"}));
  file.calls.clear();
  ASSERT_TRUE(file.Open(System("REG.DAT").c_str(), CFile::modeReadWrite, nullptr));
  file.SetLength(2);
  file.SeekToBegin();
  EXPECT_EQ(file.calls, (std::vector<std::string>{"Open", "Seek", "Seek"}));
  EXPECT_EQ(dir_.Read("REG.DAT"), "RE");
}

TEST_F(CFileTest, SeekReadWriteAndLengthWorkPast4GiB) {
  constexpr ULONGLONG kOffset = (5ULL << 30) + 3;  // record offsets are computed in 64 bits
  CFile file(System("GRANDE.DAT").c_str(), CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive);
  EXPECT_EQ(file.Seek(static_cast<LONGLONG>(kOffset), CFile::begin), kOffset);
  try {
    file.Write("12345678", 8);
  } catch (const CFileException& e) {
    GTEST_SKIP() << "the file system refuses a sparse file past 4 GiB (error " << e.m_lOsError << ")";
  }
  EXPECT_EQ(file.GetLength(), kOffset + 8);
  EXPECT_EQ(file.GetPosition(), kOffset + 8);
  EXPECT_EQ(file.Seek(-8, CFile::end), kOffset);
  char back[9] = {};
  EXPECT_EQ(file.Read(back, 16), 8u);
  EXPECT_STREQ(back, "12345678");
  EXPECT_EQ(file.Read(back, 16), 0u);
  file.SetLength(kOffset - 1);
  EXPECT_EQ(file.GetLength(), kOffset - 1);
  EXPECT_EQ(file.SeekToEnd(), kOffset - 1);
}

TEST_F(CFileTest, NamesDuplicateAndCloseLikeTheFramework) {
  dir_.Write("PP/PPOP0124.DAT", "0123456789");
  const std::string name = System("PP\\PPOP0124.DAT");
  std::unique_ptr<CFile> copy;
  {
    CFile file(name.c_str(), CFile::modeRead | CFile::shareExclusive);
    EXPECT_STREQ(file.GetFilePath(), name.c_str());
    EXPECT_STREQ(file.GetFileName(), "PPOP0124.DAT");
    EXPECT_STREQ(file.GetFileTitle(), "PPOP0124");
    file.Seek(4, CFile::begin);
    copy.reset(file.Duplicate());
    EXPECT_EQ(copy->GetPosition(), 4u);
  }
  char digits[3] = {};
  EXPECT_EQ(copy->Read(digits, 2), 2u);  // the original's close left the duplicate open
  EXPECT_STREQ(digits, "45");
  CFile blocked;
  EXPECT_FALSE(blocked.Open(name.c_str(), CFile::modeRead | CFile::shareDenyNone));
  copy->Close();
  copy->Close();
  EXPECT_STREQ(copy->GetFilePath(), "");
  CFile reopened;
  EXPECT_TRUE(reopened.Open(name.c_str(), CFile::modeRead | CFile::shareDenyNone));
}

}  // namespace
