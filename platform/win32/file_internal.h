// What the file layer's sources (file.cpp, directory.cpp) share; nothing else includes it.
#pragma once

#include <sys/stat.h>

#include <string_view>

#include "platform/win32/base.h"

// Sets the last error and gives the function's failure value.
template <typename Result>
Result FailWith(DWORD error, Result result) {
  SetLastError(error);
  return result;
}
inline BOOL Fail(DWORD error) { return FailWith<BOOL>(error, FALSE); }
inline HANDLE FailHandle(DWORD error) { return FailWith(error, INVALID_HANDLE_VALUE); }

// The read-only attribute as the layer keeps it (file.h): a file without write permission bits.
inline bool IsReadOnly(const struct stat& info) { return (info.st_mode & 0222) == 0; }

// What follows the last backslash or slash of a path: the name that a search matches or that a
// rename gives.
inline std::string_view LastComponent(std::string_view path) {
  const size_t separator = path.find_last_of("\\/");
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}
