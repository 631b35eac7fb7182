#include "platform/win32/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/file_internal.h"
#include "platform/win32/path.h"
#include "platform/win32/sharing.h"
#include "platform/win32/sync.h"

// Positions past 4 GiB need the 64-bit off_t that _FILE_OFFSET_BITS=64 selects on i386.
static_assert(sizeof(off_t) == 8, "build with _FILE_OFFSET_BITS=64");

namespace {

// An open races with deletes and renames of its name; after this many changes of the name under it
// the open gives up.
constexpr int kOpenAttempts = 16;

class FileObject : public KernelObject {
 public:
  FileObject(int fd, DWORD access, DataLocking locking) : fd(fd), access(access), locking(locking) {}
  ~FileObject() override { close(fd); }
  const int fd;
  const DWORD access;
  const DataLocking locking;
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

// False when the name was deleted or renamed (and maybe created anew) after `fd` was opened.
bool StillNamedBy(int fd, const std::string& path) {
  struct stat by_descriptor, by_name;
  return fstat(fd, &by_descriptor) == 0 && stat(path.c_str(), &by_name) == 0 &&
         by_descriptor.st_dev == by_name.st_dev && by_descriptor.st_ino == by_name.st_ino;
}

// Runs `action` (a delete or rename of the regular file at `path`) under the file's guard, unless
// some open denies deleting it.
DWORD UnlessAnOpenDeniesDelete(const std::string& path, const std::function<DWORD()>& action) {
  if (DWORD error = RefuseNetworkFileSystem(path)) return error;
  for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
    Descriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    if (!fd.valid()) return Win32ErrorFromErrno(errno);
    ShareGuard guard(fd.get());
    if (guard.error()) return guard.error();
    if (!StillNamedBy(fd.get(), path)) continue;
    if (DWORD error = CheckNoOpenDeniesDelete(fd.get())) return error;
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

// A 64-bit quantity that Win32 passes as two 32-bit halves.
ULONGLONG Combined(DWORD low, DWORD high) { return (static_cast<ULONGLONG>(high) << 32) | low; }

bool SameFile(const std::string& a, const std::string& b) {
  struct stat info_a, info_b;
  return stat(a.c_str(), &info_a) == 0 && stat(b.c_str(), &info_b) == 0 &&
         info_a.st_dev == info_b.st_dev && info_a.st_ino == info_b.st_ino;
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
    if (DWORD error = RefuseNetworkFileSystem(target.path)) return FailHandle(error);

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

    ShareGuard guard(fd.get());
    if (guard.error()) return FailHandle(guard.error());
    if (!StillNamedBy(fd.get(), target.path)) continue;
    if (DWORD error = TakeShareMarkers(fd.get(), desired_access, share_mode)) return FailHandle(error);
    if (exists && truncates && ftruncate(fd.get(), 0) != 0) return FailHandle(Win32ErrorFromErrno(errno));
    if (!exists && (flags_and_attributes & FILE_ATTRIBUTE_READONLY)) fchmod(fd.get(), info.st_mode & 07555);

    const bool reports_existing = creation_disposition == CREATE_ALWAYS || creation_disposition == OPEN_ALWAYS;
    SetLastError(exists && reports_existing ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return new FileObject(fd.release(), desired_access, DataLockingFor(share_mode));
  }
  return FailHandle(last_error);
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytes_to_read, LPDWORD bytes_read, LPOVERLAPPED overlapped) {
  if (bytes_read) *bytes_read = 0;
  FileObject* object = KernelObjectOf<FileObject>(file);
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  if (overlapped) return Fail(ERROR_INVALID_PARAMETER);
  if (!(object->access & GENERIC_READ)) return Fail(ERROR_ACCESS_DENIED);
  DataRangeLock lock(object->fd);
  if (object->locking.reads)
    if (DWORD error = lock.TakeAtPosition(DataRangeLock::kRead, bytes_to_read)) return Fail(error);
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
    lock.PositionMoved(got);
  }
  if (bytes_read) *bytes_read = done;
  return TRUE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytes_to_write, LPDWORD bytes_written, LPOVERLAPPED overlapped) {
  if (bytes_written) *bytes_written = 0;
  FileObject* object = KernelObjectOf<FileObject>(file);
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  if (overlapped) return Fail(ERROR_INVALID_PARAMETER);
  if (!(object->access & GENERIC_WRITE)) return Fail(ERROR_ACCESS_DENIED);
  const off_t start = lseek(object->fd, 0, SEEK_CUR);
  if (start < 0) return Fail(Win32ErrorFromErrno(errno));
  DataRangeLock lock(object->fd);
  if (object->locking.writes)
    if (DWORD error = lock.Take(DataRangeLock::kWrite, start, bytes_to_write)) return Fail(error);
  struct stat info;
  if (fstat(object->fd, &info) != 0) return Fail(Win32ErrorFromErrno(errno));
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
  FileObject* object = KernelObjectOf<FileObject>(file);
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  off_t position = 0;
  if (DWORD error = TargetPosition(object->fd, distance.QuadPart, move_method, &position)) return Fail(error);
  if (lseek(object->fd, position, SEEK_SET) < 0) return Fail(Win32ErrorFromErrno(errno));
  if (new_position) new_position->QuadPart = position;
  return TRUE;
}

DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distance_high, DWORD move_method) {
  FileObject* object = KernelObjectOf<FileObject>(file);
  if (!object) return FailWith<DWORD>(ERROR_INVALID_HANDLE, INVALID_SET_FILE_POINTER);
  const LONGLONG move =
      distance_high ? static_cast<LONGLONG>(Combined(static_cast<DWORD>(distance), static_cast<DWORD>(*distance_high)))
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
  FileObject* object = KernelObjectOf<FileObject>(file);
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
  FileObject* object = KernelObjectOf<FileObject>(file);
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  if (!(object->access & GENERIC_WRITE)) return Fail(ERROR_ACCESS_DENIED);
  const off_t position = lseek(object->fd, 0, SEEK_CUR);
  if (position < 0 || ftruncate(object->fd, position) != 0) return Fail(Win32ErrorFromErrno(errno));
  return TRUE;
}

BOOL FlushFileBuffers(HANDLE file) {
  FileObject* object = KernelObjectOf<FileObject>(file);
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  if (fsync(object->fd) != 0) return Fail(Win32ErrorFromErrno(errno));
  return TRUE;
}

BOOL LockFile(HANDLE file, DWORD offset_low, DWORD offset_high, DWORD bytes_low, DWORD bytes_high) {
  FileObject* object = KernelObjectOf<FileObject>(file);
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  const DWORD error = LockRange(object->fd, Combined(offset_low, offset_high), Combined(bytes_low, bytes_high));
  return error ? Fail(error) : TRUE;
}

BOOL UnlockFile(HANDLE file, DWORD offset_low, DWORD offset_high, DWORD bytes_low, DWORD bytes_high) {
  FileObject* object = KernelObjectOf<FileObject>(file);
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  const DWORD error = UnlockRange(object->fd, Combined(offset_low, offset_high), Combined(bytes_low, bytes_high));
  return error ? Fail(error) : TRUE;
}

HANDLE DuplicateFileHandle(HANDLE file) {
  FileObject* object = KernelObjectOf<FileObject>(file);
  if (!object) return FailHandle(ERROR_INVALID_HANDLE);
  const int fd = fcntl(object->fd, F_DUPFD_CLOEXEC, 0);
  if (fd < 0) return FailHandle(Win32ErrorFromErrno(errno));
  return new FileObject(fd, object->access, object->locking);
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
  const bool read_only = fstat(KernelObjectOf<FileObject>(source)->fd, &info) == 0 && IsReadOnly(info);
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

