#include "tests/support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "qvtest-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string TempDir::windows_path() const {
  std::string result = path_;
  for (char& ch : result)
    if (ch == '/') ch = '\\';
  return result + "\\";
}

std::string TempDir::Write(const std::string& relative, const std::string& bytes) const {
  fs::path full = fs::path(path_) / relative;
  fs::create_directories(full.parent_path());
  std::ofstream(full, std::ios::binary) << bytes;
  return full.string();
}

std::string TempDir::Read(const std::string& relative) const {
  std::ifstream in(fs::path(path_) / relative, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}
