#include "platform/win32/path.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <optional>
#include <vector>

namespace {

char FoldCase(char ch) { return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch; }

std::vector<std::string_view> SplitComponents(std::string_view path) {
  std::vector<std::string_view> components;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) components.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return components;
}

std::string Join(const std::string& directory, std::string_view name) {
  if (directory.empty()) return std::string(name);
  std::string joined = directory;
  if (joined != "/") joined += '/';
  return joined.append(name);
}

// The entry of `directory` that equals `name` without regard to case, least in byte order.
std::optional<std::string> FindCaseVariant(const std::string& directory, std::string_view name) {
  DIR* dir = opendir(directory.empty() ? "." : directory.c_str());
  if (!dir) return std::nullopt;
  std::optional<std::string> best;
  while (const dirent* entry = readdir(dir)) {
    std::string_view candidate = entry->d_name;
    if (EqualNoCase(candidate, name) && (!best || candidate < *best)) best = std::string(candidate);
  }
  closedir(dir);
  return best;
}

bool IsDirectory(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

std::string SystemPathOf(std::string_view linux_path) {
  std::string result(linux_path);
  for (char& ch : result)
    if (ch == '/') ch = '\\';
  return result;
}

ResolvedPath ResolvePath(std::string_view system_path) {
  if (system_path.empty()) return {"", ERROR_PATH_NOT_FOUND};
  std::string slashed(system_path);
  for (char& ch : slashed)
    if (ch == '\\') ch = '/';
  const std::vector<std::string_view> components = SplitComponents(slashed);
  std::string current = slashed.front() == '/' ? "/" : "";

  for (size_t i = 0; i < components.size(); ++i) {
    const std::string_view name = components[i];
    const bool last = i + 1 == components.size();
    std::string candidate = Join(current, name);
    struct stat info;
    if (lstat(candidate.c_str(), &info) != 0) {
      const int error_number = errno;
      if (error_number != ENOENT) return {candidate, Win32ErrorFromErrno(error_number)};
      std::optional<std::string> variant;
      if (name != "." && name != "..") variant = FindCaseVariant(current, name);
      if (!variant) {
        // Keep the rest of the path as given, so that the caller can still name it in a message.
        for (size_t rest = i + 1; rest < components.size(); ++rest) candidate = Join(candidate, components[rest]);
        return {candidate, last ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND};
      }
      candidate = Join(current, *variant);
    }
    if (!last && !IsDirectory(candidate)) return {candidate, ERROR_PATH_NOT_FOUND};
    current = std::move(candidate);
  }
  if (slashed.back() == '/' && current != "/") current += '/';
  return {current, ERROR_SUCCESS};
}

bool MatchesWildcard(std::string_view pattern, std::string_view name) {
  if (pattern.empty()) return name.empty();
  if (name.empty()) {
    const size_t after_stars = pattern.find_first_not_of('*');
    return after_stars == std::string_view::npos || pattern.substr(after_stars) == ".*";
  }
  if (pattern.front() == '*') return MatchesWildcard(pattern.substr(1), name) || MatchesWildcard(pattern, name.substr(1));
  if (pattern.front() != '?' && FoldCase(pattern.front()) != FoldCase(name.front())) return false;
  return MatchesWildcard(pattern.substr(1), name.substr(1));
}

DWORD Win32ErrorFromErrno(int error_number) {
  switch (error_number) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: case ELOOP: return ERROR_PATH_NOT_FOUND;
    case EACCES: case EPERM: case EISDIR: case EROFS: return ERROR_ACCESS_DENIED;
    case EMFILE: case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case EBADF: return ERROR_INVALID_HANDLE;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EEXIST: return ERROR_FILE_EXISTS;
    case EXDEV: return ERROR_NOT_SAME_DEVICE;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case ENOSPC: case EDQUOT: case EFBIG: return ERROR_DISK_FULL;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case EIO: return ERROR_GEN_FAILURE;
    case ETXTBSY: case EBUSY: return ERROR_SHARING_VIOLATION;
    case EAGAIN: return ERROR_LOCK_VIOLATION;
    default: return ERROR_INVALID_FUNCTION;
  }
}
