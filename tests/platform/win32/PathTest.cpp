#include "platform/win32/path.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/win32/file.h"
#include "tests/support/TempDir.h"

namespace {

class PathTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_.Write("PP/PPMESTRE.DAT", "mestre"); }
  std::string System(const std::string& relative) const { return dir_.windows_path() + relative; }
  std::string Linux(const std::string& relative) const { return dir_.path() + "/" + relative; }

  TempDir dir_;
};

std::string ReadThroughLayer(const std::string& system_path) {
  HANDLE file = CreateFileA(system_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "error " + std::to_string(GetLastError());
  char buffer[64];
  DWORD read = 0;
  ReadFile(file, buffer, sizeof buffer, &read, nullptr);
  CloseHandle(file);
  return std::string(buffer, read);
}

TEST_F(PathTest, BackslashPathWithLowerCaseNamesReachesTheUpperCaseFile) {
  const ResolvedPath resolved = ResolvePath(System("pp\\ppmestre.dat"));
  EXPECT_EQ(resolved.error, ERROR_SUCCESS);
  EXPECT_EQ(resolved.path, Linux("PP/PPMESTRE.DAT"));
  EXPECT_EQ(ReadThroughLayer(System("pp\\ppmestre.dat")), "mestre");
  EXPECT_EQ(ReadThroughLayer(System("Pp\\PpMestre.Dat")), "mestre");
}

TEST_F(PathTest, CreatingAFileLandsInTheExistingDirectoryAndReusesACaseVariant) {
  HANDLE created = CreateFileA(System("pp\\novo.dat").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(created, INVALID_HANDLE_VALUE);
  CloseHandle(created);
  EXPECT_TRUE(std::filesystem::exists(Linux("PP/novo.dat")));
  EXPECT_FALSE(std::filesystem::exists(Linux("pp")));

  HANDLE rewritten =
      CreateFileA(System("pp\\ppmestre.dat").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(rewritten, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  CloseHandle(rewritten);
  EXPECT_FALSE(std::filesystem::exists(Linux("PP/ppmestre.dat")));
  EXPECT_EQ(std::filesystem::file_size(Linux("PP/PPMESTRE.DAT")), 0u);
}

TEST_F(PathTest, AnExactMatchWinsElseTheLeastCaseVariantInByteOrder) {
  dir_.Write("PP/ppmestre.dat", "minusculo");
  dir_.Write("PP/PpMestre.dat", "misto");
  EXPECT_EQ(ResolvePath(System("PP\\ppmestre.dat")).path, Linux("PP/ppmestre.dat"));
  EXPECT_EQ(ResolvePath(System("PP\\PPMESTRE.DAT")).path, Linux("PP/PPMESTRE.DAT"));
  EXPECT_EQ(ResolvePath(System("PP\\PPMestre.dat")).path, Linux("PP/PPMESTRE.DAT"));
}

TEST_F(PathTest, MissingFileIs2AndMissingDirectoryOnTheWayIs3) {
  struct Case {
    const char* relative;
    DWORD error;
  } cases[] = {
      {"PP\\NADA.DAT", ERROR_FILE_NOT_FOUND},
      {"pp\\nada.dat", ERROR_FILE_NOT_FOUND},
      {"XX\\PPMESTRE.DAT", ERROR_PATH_NOT_FOUND},
      {"XX\\YY\\PPMESTRE.DAT", ERROR_PATH_NOT_FOUND},
      {"PP\\PPMESTRE.DAT\\X.DAT", ERROR_PATH_NOT_FOUND},  // a file is no directory
      {"pp\\", ERROR_SUCCESS},
  };
  for (const Case& c : cases) {
    const std::string path = System(c.relative);
    EXPECT_EQ(ResolvePath(path).error, c.error) << c.relative;
    if (c.error == ERROR_SUCCESS) continue;
    EXPECT_EQ(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), c.error) << c.relative;
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), c.error) << c.relative;
  }
  EXPECT_EQ(ResolvePath("").error, ERROR_PATH_NOT_FOUND);
}

TEST_F(PathTest, TrailingBackslashResolvesToTheDirectoryWithATrailingSlash) {
  EXPECT_EQ(ResolvePath(System("pp\\")).path, Linux("PP/"));
  EXPECT_EQ(SystemPathOf(Linux("PP/")), System("PP\\"));
}

TEST(Wildcard, MatchesOnlyTheLastComponentWithoutRegardToCase) {
  struct Case {
    const char* pattern;
    const char* name;
    bool matches;
  } cases[] = {
      {"PPOP????.dat", "ppop0124.DAT", true},
      {"PPOP????.dat", "PPOP124.DAT", false},    // "?" is exactly one character
      {"PPOP????.dat", "PPOP01245.DAT", false},
      {"*.TRA", "ppmestre.tra", true},
      {"*.TRA", "PPMESTRE.TRAX", false},
      {"*.TRA", "TRA", false},
      {"*.*", "SEMPONTO", true},
      {"*.*", "a.b.c", true},
      {"*", "qualquer.coisa", true},
      {"PP*", "pp", true},
      {"a*b*c", "aXXbYYc", true},
      {"a*b*c", "aXXbYY", false},
      {"\xC7*", "\xE7x", false},  // accented letters compare as bytes
      {"", "x", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MatchesWildcard(c.pattern, c.name), c.matches) << c.pattern << " vs " << c.name;
}

}  // namespace
