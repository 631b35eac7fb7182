#include "platform/win32/file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/win32/path.h"

// The share markers lie beyond 4 GiB: on the i386 target this needs the 64-bit struct flock that
// _FILE_OFFSET_BITS=64 selects (glibc then calls fcntl64, which passes F_OFD_* through).
static_assert(sizeof(off_t) == 8, "build with _FILE_OFFSET_BITS=64");
static_assert(sizeof(decltype(flock::l_start)) == 8, "the share markers need 64-bit lock offsets");

namespace {

// Byte offsets of the share markers (see file.h); data and LockFile ranges stay below them.
constexpr off_t kMarkerBase = off_t{1} << 62;
enum Marker : off_t { kHasRead, kHasWrite, kDeniesRead, kDeniesWrite, kDeniesDelete };

// An open races with deletes and renames of its name; after this many changes of the name under it
// the open gives up.
constexpr int kOpenAttempts = 16;

class FileObject : public KernelObject {
 public:
  FileObject(int fd, DWORD access) : fd(fd), access(access) {}
  ~FileObject() override { close(fd); }
  const int fd;
  const DWORD access;
};

class FindObject : public KernelObject {
 public:
  std::vector<WIN32_FIND_DATAA> entries;
  size_t next = 0;
};

// Owns a descriptor until it is handed to a FileObject.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

// The short exclusive section in which an opener checks the others' markers and takes its own.
// flock() is independent of the byte-range locks and works on a read-only descriptor.
class OpenGuard {
 public:
  explicit OpenGuard(int fd) : fd_(fd) {
    int result;
    while ((result = flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
    }
    error_ = result == 0 ? ERROR_SUCCESS : Win32ErrorFromErrno(errno);
  }
  ~OpenGuard() {
    if (error_ == ERROR_SUCCESS) flock(fd_, LOCK_UN);
  }
  OpenGuard(const OpenGuard&) = delete;
  OpenGuard& operator=(const OpenGuard&) = delete;
  DWORD error() const { return error_; }

 private:
  int fd_;
  DWORD error_;
};

// Sets the last error and gives the function's failure value.
template <typename Result>
Result FailWith(DWORD error, Result result) {
  SetLastError(error);
  return result;
}
BOOL Fail(DWORD error) { return FailWith<BOOL>(error, FALSE); }
HANDLE FailHandle(DWORD error) { return FailWith(error, INVALID_HANDLE_VALUE); }

template <typename Object>
Object* As(HANDLE handle) {
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return nullptr;
  return dynamic_cast<Object*>(static_cast<KernelObject*>(handle));
}

struct flock RangeLock(short type, off_t start, off_t length) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = start;
  lock.l_len = length;
  return lock;
}

// ERROR_SUCCESS when no other open holds a lock on the range, else `conflict`.
DWORD CheckRangeFree(int fd, off_t start, off_t length, DWORD conflict) {
  struct flock probe = RangeLock(F_WRLCK, start, length);
  if (fcntl(fd, F_OFD_GETLK, &probe) != 0) return Win32ErrorFromErrno(errno);
  return probe.l_type == F_UNLCK ? ERROR_SUCCESS : conflict;
}

DWORD SetRangeLock(int fd, short type, off_t start, off_t length) {
  struct flock lock = RangeLock(type, start, length);
  return fcntl(fd, F_OFD_SETLK, &lock) == 0 ? ERROR_SUCCESS : Win32ErrorFromErrno(errno);
}

DWORD CheckMarkerFree(int fd, Marker marker) {
  return CheckRangeFree(fd, kMarkerBase + marker, 1, ERROR_SHARING_VIOLATION);
}

// Called under the guard: refuses when another open conflicts, else takes this open's markers.
DWORD TakeShareMarkers(int fd, DWORD access, DWORD share) {
  const bool reads = access & GENERIC_READ;
  const bool writes = access & GENERIC_WRITE;
  if (!reads && !writes) return ERROR_SUCCESS;
  const bool denies_read = !(share & FILE_SHARE_READ);
  const bool denies_write = !(share & FILE_SHARE_WRITE);
  struct MarkerRule {
    bool applies;
    Marker marker;
  };
  const MarkerRule others_must_not_hold[] = {
      {reads, kDeniesRead}, {writes, kDeniesWrite}, {denies_read, kHasRead}, {denies_write, kHasWrite}};
  for (const MarkerRule& rule : others_must_not_hold)
    if (rule.applies)
      if (DWORD error = CheckMarkerFree(fd, rule.marker)) return error;
  const MarkerRule own[] = {{reads, kHasRead},
                            {writes, kHasWrite},
                            {denies_read, kDeniesRead},
                            {denies_write, kDeniesWrite},
                            {!(share & FILE_SHARE_DELETE), kDeniesDelete}};
  for (const MarkerRule& rule : own)
    if (rule.applies)
      if (DWORD error = SetRangeLock(fd, F_RDLCK, kMarkerBase + rule.marker, 1)) return error;
  return ERROR_SUCCESS;
}

// False when the name was deleted or renamed (and maybe created anew) after `fd` was opened.
bool StillNamedBy(int fd, const std::string& path) {
  struct stat by_descriptor, by_name;
  return fstat(fd, &by_descriptor) == 0 && stat(path.c_str(), &by_name) == 0 &&
         by_descriptor.st_dev == by_name.st_dev && by_descriptor.st_ino == by_name.st_ino;
}

bool IsReadOnly(const struct stat& info) { return (info.st_mode & 0222) == 0; }

DWORD AttributesOf(const struct stat& info) {
  if (S_ISDIR(info.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
  return FILE_ATTRIBUTE_ARCHIVE | (IsReadOnly(info) ? FILE_ATTRIBUTE_READONLY : 0);
}

// Runs `action` (a delete or rename of the regular file at `path`) under the file's guard, unless
// some open denies deleting it.
DWORD UnlessAnOpenDeniesDelete(const std::string& path, const std::function<DWORD()>& action) {
  for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
    Descriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    if (!fd.valid()) return Win32ErrorFromErrno(errno);
    OpenGuard guard(fd.get());
    if (guard.error()) return guard.error();
    if (!StillNamedBy(fd.get(), path)) continue;
    if (DWORD error = CheckMarkerFree(fd.get(), kDeniesDelete)) return error;
    return action();
  }
  return ERROR_SHARING_VIOLATION;
}

// The position that a move from `method` by `distance` reaches, or the error.
DWORD TargetPosition(int fd, LONGLONG distance, DWORD method, off_t* position) {
  off_t base = 0;
  if (method == FILE_CURRENT) {
    base = lseek(fd, 0, SEEK_CUR);
  } else if (method == FILE_END) {
    struct stat info;
    base = fstat(fd, &info) == 0 ? info.st_size : -1;
  } else if (method != FILE_BEGIN) {
    return ERROR_INVALID_PARAMETER;
  }
  if (base < 0) return Win32ErrorFromErrno(errno);
  if (__builtin_add_overflow(base, distance, position)) return ERROR_INVALID_PARAMETER;
  return *position < 0 ? ERROR_NEGATIVE_SEEK : ERROR_SUCCESS;
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

std::string_view LastComponent(std::string_view system_path) {
  const size_t separator = system_path.find_last_of("\\/");
  return separator == std::string_view::npos ? system_path : system_path.substr(separator + 1);
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat info_a, info_b;
  return stat(a.c_str(), &info_a) == 0 && stat(b.c_str(), &info_b) == 0 &&
         info_a.st_dev == info_b.st_dev && info_a.st_ino == info_b.st_ino;
}

// The byte range of LockFile/UnlockFile, or false when it reaches the share markers.
bool LockedRange(DWORD offset_low, DWORD offset_high, DWORD bytes_low, DWORD bytes_high, off_t* start, off_t* length) {
  const ULONGLONG offset = (static_cast<ULONGLONG>(offset_high) << 32) | offset_low;
  const ULONGLONG bytes = (static_cast<ULONGLONG>(bytes_high) << 32) | bytes_low;
  if (bytes == 0 || offset >= static_cast<ULONGLONG>(kMarkerBase) || bytes > kMarkerBase - offset) return false;
  *start = static_cast<off_t>(offset);
  *length = static_cast<off_t>(bytes);
  return true;
}

}  // namespace

HANDLE CreateFileA(LPCSTR file_name, DWORD desired_access, DWORD share_mode, LPSECURITY_ATTRIBUTES,
                   DWORD creation_disposition, DWORD flags_and_attributes, HANDLE) {
  if (file_name == nullptr || creation_disposition < CREATE_NEW || creation_disposition > TRUNCATE_EXISTING)
    return FailHandle(ERROR_INVALID_PARAMETER);
  if (creation_disposition == TRUNCATE_EXISTING && !(desired_access & GENERIC_WRITE))
    return FailHandle(ERROR_INVALID_PARAMETER);
  const bool truncates = creation_disposition == CREATE_ALWAYS || creation_disposition == TRUNCATE_EXISTING;
  const bool needs_write = (desired_access & GENERIC_WRITE) || truncates;

  DWORD last_error = ERROR_SHARING_VIOLATION;
  for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
    const ResolvedPath target = ResolvePath(file_name);
    const bool exists = target.error == ERROR_SUCCESS;
    if (!exists && target.error != ERROR_FILE_NOT_FOUND) return FailHandle(target.error);
    if (exists && creation_disposition == CREATE_NEW) return FailHandle(ERROR_FILE_EXISTS);
    if (!exists && (creation_disposition == OPEN_EXISTING || creation_disposition == TRUNCATE_EXISTING))
      return FailHandle(ERROR_FILE_NOT_FOUND);

    const int flags = O_CLOEXEC | O_NOCTTY | (needs_write ? O_RDWR : O_RDONLY) | (exists ? 0 : O_CREAT | O_EXCL);
    Descriptor fd(open(target.path.c_str(), flags, 0666));
    if (!fd.valid()) {
      last_error = Win32ErrorFromErrno(errno);
      if (errno == ENOENT || errno == EEXIST) continue;  // the name changed since it was resolved
      return FailHandle(last_error);
    }
    struct stat info;
    if (fstat(fd.get(), &info) != 0) return FailHandle(Win32ErrorFromErrno(errno));
    if (S_ISDIR(info.st_mode)) return FailHandle(ERROR_ACCESS_DENIED);
    if (exists && IsReadOnly(info) && needs_write) return FailHandle(ERROR_ACCESS_DENIED);

    OpenGuard guard(fd.get());
    if (guard.error()) return FailHandle(guard.error());
    if (!StillNamedBy(fd.get(), target.path)) continue;
    if (DWORD error = TakeShareMarkers(fd.get(), desired_access, share_mode)) return FailHandle(error);
    if (exists && truncates && ftruncate(fd.get(), 0) != 0) return FailHandle(Win32ErrorFromErrno(errno));
    if (!exists && (flags_and_attributes & FILE_ATTRIBUTE_READONLY)) fchmod(fd.get(), info.st_mode & 07555);

    const bool reports_existing = creation_disposition == CREATE_ALWAYS || creation_disposition == OPEN_ALWAYS;
    SetLastError(exists && reports_existing ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return new FileObject(fd.release(), desired_access);
  }
  return FailHandle(last_error);
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytes_to_read, LPDWORD bytes_read, LPOVERLAPPED overlapped) {
  if (bytes_read) *bytes_read = 0;
  FileObject* object = As<FileObject>(file);
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  if (overlapped) return Fail(ERROR_INVALID_PARAMETER);
  if (!(object->access & GENERIC_READ)) return Fail(ERROR_ACCESS_DENIED);
  char* bytes = static_cast<char*>(buffer);
  DWORD done = 0;
  while (done < bytes_to_read) {
    const ssize_t got = read(object->fd, bytes + done, bytes_to_read - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      if (bytes_read) *bytes_read = done;
      return Fail(Win32ErrorFromErrno(errno));
    }
    if (got == 0) break;
    done += static_cast<DWORD>(got);
  }
  if (bytes_read) *bytes_read = done;
  return TRUE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytes_to_write, LPDWORD bytes_written, LPOVERLAPPED overlapped) {
  if (bytes_written) *bytes_written = 0;
  FileObject* object = As<FileObject>(file);
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  if (overlapped) return Fail(ERROR_INVALID_PARAMETER);
  if (!(object->access & GENERIC_WRITE)) return Fail(ERROR_ACCESS_DENIED);
  const off_t start = lseek(object->fd, 0, SEEK_CUR);
  struct stat info;
  if (start < 0 || fstat(object->fd, &info) != 0) return Fail(Win32ErrorFromErrno(errno));
  const bool appends = start >= info.st_size;

  const char* bytes = static_cast<const char*>(buffer);
  DWORD done = 0;
  while (done < bytes_to_write) {
    const ssize_t put = write(object->fd, bytes + done, bytes_to_write - done);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) {
      const int error_number = errno;
      if (appends && done > 0) {
        // A record half appended would be read as a whole one later: take it back.
        if (ftruncate(object->fd, info.st_size) == 0) done = 0;
        lseek(object->fd, start + done, SEEK_SET);
      }
      if (bytes_written) *bytes_written = done;
      return Fail(Win32ErrorFromErrno(error_number));
    }
    done += static_cast<DWORD>(put);
  }
  if (bytes_written) *bytes_written = done;
  return TRUE;
}

BOOL SetFilePointerEx(HANDLE file, LARGE_INTEGER distance, PLARGE_INTEGER new_position, DWORD move_method) {
  FileObject* object = As<FileObject>(file);
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  off_t position = 0;
  if (DWORD error = TargetPosition(object->fd, distance.QuadPart, move_method, &position)) return Fail(error);
  if (lseek(object->fd, position, SEEK_SET) < 0) return Fail(Win32ErrorFromErrno(errno));
  if (new_position) new_position->QuadPart = position;
  return TRUE;
}

DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distance_high, DWORD move_method) {
  FileObject* object = As<FileObject>(file);
  if (!object) return FailWith<DWORD>(ERROR_INVALID_HANDLE, INVALID_SET_FILE_POINTER);
  const LONGLONG move = distance_high
                            ? static_cast<LONGLONG>((static_cast<ULONGLONG>(static_cast<DWORD>(*distance_high)) << 32) |
                                                    static_cast<DWORD>(distance))
                            : distance;
  off_t position = 0;
  DWORD error = TargetPosition(object->fd, move, move_method, &position);
  if (!error && !distance_high && position >= off_t{INVALID_SET_FILE_POINTER}) error = ERROR_INVALID_PARAMETER;
  if (!error && lseek(object->fd, position, SEEK_SET) < 0) error = Win32ErrorFromErrno(errno);
  if (error) return FailWith<DWORD>(error, INVALID_SET_FILE_POINTER);
  if (distance_high) *distance_high = static_cast<LONG>(position >> 32);
  // The low part alone cannot tell this position from a failure; the last error does.
  if (static_cast<DWORD>(position) == INVALID_SET_FILE_POINTER) SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(position);
}

BOOL GetFileSizeEx(HANDLE file, PLARGE_INTEGER size) {
  FileObject* object = As<FileObject>(file);
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  struct stat info;
  if (fstat(object->fd, &info) != 0) return Fail(Win32ErrorFromErrno(errno));
  size->QuadPart = info.st_size;
  return TRUE;
}

DWORD GetFileSize(HANDLE file, LPDWORD size_high) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file, &size)) return INVALID_FILE_SIZE;
  if (size_high) *size_high = static_cast<DWORD>(size.HighPart);
  // As with SetFilePointer, a low part equal to the failure value needs the last error to tell.
  if (size.LowPart == INVALID_FILE_SIZE) SetLastError(ERROR_SUCCESS);
  return size.LowPart;
}

BOOL SetEndOfFile(HANDLE file) {
  FileObject* object = As<FileObject>(file);
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  if (!(object->access & GENERIC_WRITE)) return Fail(ERROR_ACCESS_DENIED);
  const off_t position = lseek(object->fd, 0, SEEK_CUR);
  if (position < 0 || ftruncate(object->fd, position) != 0) return Fail(Win32ErrorFromErrno(errno));
  return TRUE;
}

BOOL FlushFileBuffers(HANDLE file) {
  FileObject* object = As<FileObject>(file);
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  if (fsync(object->fd) != 0) return Fail(Win32ErrorFromErrno(errno));
  return TRUE;
}

BOOL LockFile(HANDLE file, DWORD offset_low, DWORD offset_high, DWORD bytes_low, DWORD bytes_high) {
  FileObject* object = As<FileObject>(file);
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  off_t start, length;
  if (!LockedRange(offset_low, offset_high, bytes_low, bytes_high, &start, &length)) return Fail(ERROR_INVALID_PARAMETER);
  // Range locks are shared locks tested under the guard, like the share markers, so that a
  // read-only handle can lock too.
  OpenGuard guard(object->fd);
  if (guard.error()) return Fail(guard.error());
  if (DWORD error = CheckRangeFree(object->fd, start, length, ERROR_LOCK_VIOLATION)) return Fail(error);
  if (DWORD error = SetRangeLock(object->fd, F_RDLCK, start, length)) return Fail(error);
  return TRUE;
}

BOOL UnlockFile(HANDLE file, DWORD offset_low, DWORD offset_high, DWORD bytes_low, DWORD bytes_high) {
  FileObject* object = As<FileObject>(file);
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  off_t start, length;
  if (!LockedRange(offset_low, offset_high, bytes_low, bytes_high, &start, &length)) return Fail(ERROR_INVALID_PARAMETER);
  if (DWORD error = SetRangeLock(object->fd, F_UNLCK, start, length)) return Fail(error);
  return TRUE;
}

HANDLE DuplicateFileHandle(HANDLE file) {
  FileObject* object = As<FileObject>(file);
  if (!object) return FailHandle(ERROR_INVALID_HANDLE);
  const int fd = fcntl(object->fd, F_DUPFD_CLOEXEC, 0);
  if (fd < 0) return FailHandle(Win32ErrorFromErrno(errno));
  return new FileObject(fd, object->access);
}

BOOL DeleteFileA(LPCSTR file_name) {
  if (file_name == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  const ResolvedPath target = ResolvePath(file_name);
  if (target.error) return Fail(target.error);
  struct stat info;
  if (stat(target.path.c_str(), &info) != 0) return Fail(Win32ErrorFromErrno(errno));
  if (S_ISDIR(info.st_mode) || IsReadOnly(info)) return Fail(ERROR_ACCESS_DENIED);
  const DWORD error = UnlessAnOpenDeniesDelete(target.path, [&] {
    return unlink(target.path.c_str()) == 0 ? ERROR_SUCCESS : Win32ErrorFromErrno(errno);
  });
  return error ? Fail(error) : TRUE;
}

BOOL MoveFileA(LPCSTR existing_name, LPCSTR new_name) {
  if (existing_name == nullptr || new_name == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  const ResolvedPath source = ResolvePath(existing_name);
  if (source.error) return Fail(source.error);
  const ResolvedPath target = ResolvePath(new_name);
  std::string destination = target.path;
  if (target.error == ERROR_SUCCESS) {
    if (!SameFile(source.path, target.path)) return Fail(ERROR_ALREADY_EXISTS);
    // The same file under another case of its name: the rename changes the case.
    destination = target.path.substr(0, target.path.rfind('/') + 1) + std::string(LastComponent(new_name));
  } else if (target.error != ERROR_FILE_NOT_FOUND) {
    return Fail(target.error);
  }
  const auto rename_it = [&] {
    if (renameat2(AT_FDCWD, source.path.c_str(), AT_FDCWD, destination.c_str(), RENAME_NOREPLACE) == 0)
      return ERROR_SUCCESS;
    return errno == EEXIST ? ERROR_ALREADY_EXISTS : Win32ErrorFromErrno(errno);
  };
  struct stat info;
  if (lstat(source.path.c_str(), &info) != 0) return Fail(Win32ErrorFromErrno(errno));
  const DWORD error = S_ISREG(info.st_mode) ? UnlessAnOpenDeniesDelete(source.path, rename_it) : rename_it();
  return error ? Fail(error) : TRUE;
}

BOOL CopyFileA(LPCSTR existing_name, LPCSTR new_name, BOOL fail_if_exists) {
  HANDLE source = CreateFileA(existing_name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (source == INVALID_HANDLE_VALUE) return FALSE;
  struct stat info;
  const bool read_only = fstat(As<FileObject>(source)->fd, &info) == 0 && IsReadOnly(info);
  HANDLE target = CreateFileA(new_name, GENERIC_WRITE, 0, nullptr, fail_if_exists ? CREATE_NEW : CREATE_ALWAYS, 0, nullptr);
  if (target == INVALID_HANDLE_VALUE) {
    CloseHandle(source);
    return FALSE;
  }
  std::vector<char> buffer(64 * 1024);
  BOOL copied = TRUE;
  for (DWORD got = 0; copied;) {
    DWORD put = 0;
    copied = ReadFile(source, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr);
    if (!copied || got == 0) break;
    copied = WriteFile(target, buffer.data(), got, &put, nullptr);
  }
  const DWORD error = GetLastError();
  CloseHandle(source);
  CloseHandle(target);
  if (!copied) {
    DeleteFileA(new_name);
    return Fail(error);
  }
  if (read_only) return SetFileAttributesA(new_name, FILE_ATTRIBUTE_READONLY);
  return TRUE;
}

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
  FindObject* search = As<FindObject>(find);
  if (!search || !find_data) return Fail(ERROR_INVALID_HANDLE);
  if (search->next >= search->entries.size()) return Fail(ERROR_NO_MORE_FILES);
  *find_data = search->entries[search->next++];
  return TRUE;
}

BOOL FindClose(HANDLE find) {
  if (!As<FindObject>(find)) return Fail(ERROR_INVALID_HANDLE);
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
