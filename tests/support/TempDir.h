// A fresh directory per test, removed with everything in it when the test ends.
#pragma once

#include <string>

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The directory as a Linux path, without a trailing slash.
  const std::string& path() const { return path_; }
  // The same directory as the system writes it: backslashes, with a trailing one.
  std::string windows_path() const;
  // Writes a file under the directory (creating parent directories) and returns its Linux path.
  std::string Write(const std::string& relative, const std::string& bytes) const;
  // The whole content of a file under the directory; empty when it is missing.
  std::string Read(const std::string& relative) const;

 private:
  std::string path_;
};
