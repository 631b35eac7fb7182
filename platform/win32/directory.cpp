#include "platform/win32/directory.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/file.h"
#include "platform/win32/file_internal.h"
#include "platform/win32/path.h"
#include "platform/win32/sync.h"

namespace {

class FindObject : public KernelObject {
 public:
  std::vector<WIN32_FIND_DATAA> entries;
  size_t next = 0;
};

DWORD AttributesOf(const struct stat& info) {
  if (S_ISDIR(info.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
  return FILE_ATTRIBUTE_ARCHIVE | (IsReadOnly(info) ? FILE_ATTRIBUTE_READONLY : 0);
}

FILETIME FileTimeOf(const timespec& time) {
  constexpr uint64_t kSecondsFrom1601To1970 = 11644473600ULL;
  const uint64_t ticks = (static_cast<uint64_t>(time.tv_sec) + kSecondsFrom1601To1970) * 10000000ULL +
                         static_cast<uint64_t>(time.tv_nsec) / 100;
  return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

WIN32_FIND_DATAA FindDataOf(std::string_view name, const struct stat& info) {
  WIN32_FIND_DATAA data{};
  data.dwFileAttributes = AttributesOf(info);
  data.ftCreationTime = FileTimeOf(info.st_ctim);
  data.ftLastAccessTime = FileTimeOf(info.st_atim);
  data.ftLastWriteTime = FileTimeOf(info.st_mtim);
  const uint64_t size = S_ISDIR(info.st_mode) ? 0 : static_cast<uint64_t>(info.st_size);
  data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
  data.nFileSizeLow = static_cast<DWORD>(size);
  name.copy(data.cFileName, std::min<size_t>(name.size(), MAX_PATH - 1));
  return data;
}

bool ComesBeforeInSearch(const WIN32_FIND_DATAA& a, const WIN32_FIND_DATAA& b) {
  const auto folded = [](const char* name) {
    std::string result(name);
    for (char& ch : result)
      if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    return result;
  };
  const std::string folded_a = folded(a.cFileName), folded_b = folded(b.cFileName);
  if (folded_a != folded_b) return folded_a < folded_b;
  return std::strcmp(a.cFileName, b.cFileName) < 0;
}

}  // namespace

HANDLE FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA find_data) {
  if (pattern == nullptr || find_data == nullptr) return FailHandle(ERROR_INVALID_PARAMETER);
  const std::string_view text = pattern;
  const std::string_view name_pattern = LastComponent(text);
  const std::string_view directory = text.substr(0, text.size() - name_pattern.size());
  const ResolvedPath where = ResolvePath(directory.empty() ? "." : directory);
  if (where.error) return FailHandle(where.error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : where.error);
  std::string prefix = where.path;
  if (prefix.back() != '/') prefix += '/';

  DIR* listing = opendir(prefix.c_str());
  if (!listing) return FailHandle(errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : Win32ErrorFromErrno(errno));
  auto search = std::make_unique<FindObject>();
  while (const dirent* entry = readdir(listing)) {
    struct stat info;
    if (!MatchesWildcard(name_pattern, entry->d_name)) continue;
    if (stat((prefix + entry->d_name).c_str(), &info) != 0) continue;  // gone, or a dangling link
    search->entries.push_back(FindDataOf(entry->d_name, info));
  }
  closedir(listing);
  if (search->entries.empty()) return FailHandle(ERROR_FILE_NOT_FOUND);
  std::sort(search->entries.begin(), search->entries.end(), ComesBeforeInSearch);
  *find_data = search->entries[search->next++];
  return search.release();
}

BOOL FindNextFileA(HANDLE find, LPWIN32_FIND_DATAA find_data) {
  FindObject* search = KernelObjectOf<FindObject>(find);
  if (!search || !find_data) return Fail(ERROR_INVALID_HANDLE);
  if (search->next >= search->entries.size()) return Fail(ERROR_NO_MORE_FILES);
  *find_data = search->entries[search->next++];
  return TRUE;
}

BOOL FindClose(HANDLE find) {
  if (!KernelObjectOf<FindObject>(find)) return Fail(ERROR_INVALID_HANDLE);
  return CloseHandle(find);
}

DWORD GetFileAttributesA(LPCSTR file_name) {
  if (file_name == nullptr) return FailWith<DWORD>(ERROR_INVALID_PARAMETER, INVALID_FILE_ATTRIBUTES);
  const ResolvedPath target = ResolvePath(file_name);
  if (target.error) return FailWith<DWORD>(target.error, INVALID_FILE_ATTRIBUTES);
  struct stat info;
  if (stat(target.path.c_str(), &info) != 0) return FailWith<DWORD>(Win32ErrorFromErrno(errno), INVALID_FILE_ATTRIBUTES);
  return AttributesOf(info);
}

BOOL SetFileAttributesA(LPCSTR file_name, DWORD attributes) {
  if (file_name == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  const ResolvedPath target = ResolvePath(file_name);
  if (target.error) return Fail(target.error);
  struct stat info;
  if (stat(target.path.c_str(), &info) != 0) return Fail(Win32ErrorFromErrno(errno));
  if (S_ISDIR(info.st_mode)) return TRUE;
  const mode_t mode = info.st_mode & 07777;
  const mode_t wanted = (attributes & FILE_ATTRIBUTE_READONLY) ? mode & ~mode_t{0222}
                        : IsReadOnly(info)                      ? mode | S_IWUSR
                                                                : mode;
  if (wanted != mode && chmod(target.path.c_str(), wanted) != 0) return Fail(Win32ErrorFromErrno(errno));
  return TRUE;
}

BOOL CreateDirectoryA(LPCSTR path_name, LPSECURITY_ATTRIBUTES) {
  if (path_name == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  const ResolvedPath target = ResolvePath(path_name);
  if (target.error == ERROR_SUCCESS) return Fail(ERROR_ALREADY_EXISTS);
  if (target.error != ERROR_FILE_NOT_FOUND) return Fail(target.error);
  if (mkdir(target.path.c_str(), 0777) != 0)
    return Fail(errno == EEXIST ? ERROR_ALREADY_EXISTS : Win32ErrorFromErrno(errno));
  return TRUE;
}

BOOL RemoveDirectoryA(LPCSTR path_name) {
  if (path_name == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  const ResolvedPath target = ResolvePath(path_name);
  if (target.error) return Fail(target.error);
  if (rmdir(target.path.c_str()) == 0) return TRUE;
  if (errno == ENOTDIR) return Fail(ERROR_DIRECTORY);
  return Fail(errno == EEXIST ? ERROR_DIR_NOT_EMPTY : Win32ErrorFromErrno(errno));
}

BOOL MakeSureDirectoryPathExists(LPCSTR dir_path) {
  if (dir_path == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  const std::string_view text = dir_path;
  const size_t last = text.find_last_of("\\/");
  if (last == std::string_view::npos) return TRUE;
  for (size_t end = text.find_first_of("\\/"); end <= last; end = text.find_first_of("\\/", end + 1)) {
    const std::string_view directory = text.substr(0, end);
    if (directory.empty() || directory.back() == '\\' || directory.back() == '/') continue;
    const std::string name(directory);
    if (!CreateDirectoryA(name.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return FALSE;
    const DWORD attributes = GetFileAttributesA(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return Fail(ERROR_PATH_NOT_FOUND);
  }
  return TRUE;
}

DWORD GetTempPathA(DWORD buffer_length, LPSTR buffer) {
  const char* from_environment = std::getenv("TMPDIR");
  std::string path = SystemPathOf(from_environment && *from_environment ? from_environment : "/tmp");
  if (path.back() != '\\') path += '\\';
  const DWORD length = static_cast<DWORD>(path.size());
  if (buffer == nullptr || buffer_length <= length) return length + 1;
  std::memcpy(buffer, path.c_str(), length + 1);
  return length;
}

UINT GetTempFileNameA(LPCSTR path_name, LPCSTR prefix, UINT unique, LPSTR temp_file_name) {
  if (path_name == nullptr || temp_file_name == nullptr) return FailWith<UINT>(ERROR_INVALID_PARAMETER, 0);
  std::string base = path_name;
  if (base.empty() || base.back() != '\\') base += '\\';
  base += std::string_view(prefix ? prefix : "").substr(0, 3);
  const auto name_with = [&](UINT number) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04X", number & 0xFFFF);
    return base + digits + ".tmp";
  };
  if (name_with(0).size() >= MAX_PATH) return FailWith<UINT>(ERROR_FILENAME_EXCED_RANGE, 0);
  if (unique != 0) {
    std::strcpy(temp_file_name, name_with(unique).c_str());
    return unique;
  }
  // Numbers start at a different place in each process and each call, so that two programs
  // creating temporary files in one directory seldom try the same name.
  static std::atomic<uint32_t> next_start{static_cast<uint32_t>(getpid()) * 2654435761U};
  const uint32_t start = next_start.fetch_add(7919);
  for (uint32_t step = 0; step <= 0xFFFF; ++step) {
    const UINT number = (start + step) & 0xFFFF;
    if (number == 0) continue;
    const std::string name = name_with(number);
    HANDLE created = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created != INVALID_HANDLE_VALUE) {
      CloseHandle(created);
      std::strcpy(temp_file_name, name.c_str());
      return number;
    }
    if (GetLastError() != ERROR_FILE_EXISTS) return 0;
  }
  return FailWith<UINT>(ERROR_FILE_EXISTS, 0);
}
