#include "platform/win32/sharing.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/file.h>
#include <sys/vfs.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <iterator>
#include <limits>

#include "platform/win32/file.h"
#include "platform/win32/path.h"

// The share markers lie beyond 4 GiB: on the i386 target this needs the 64-bit struct flock that
// _FILE_OFFSET_BITS=64 selects (glibc then calls fcntl64, which passes F_OFD_* through).
static_assert(sizeof(decltype(flock::l_start)) == 8, "the share markers need 64-bit lock offsets");

namespace {

// Byte offsets of the share markers; data and LockFile ranges stay below them, the locks of reads
// and writes above.
constexpr off_t kMarkerBase = off_t{1} << 62;
enum Marker : off_t { kHasRead, kHasWrite, kDeniesRead, kDeniesWrite, kDeniesDelete };
// The space of the data-range locks: data byte n is locked at kDataLockBase + n. It starts past the
// markers and ends with the largest lock offset, 2^63 - 1, so that a lock placed relative to the
// position fails (EOVERFLOW) exactly where Take's clamping begins.
constexpr off_t kDataLockBase = kMarkerBase + 4096;
constexpr off_t kDataLockSpan = std::numeric_limits<off_t>::max() - kDataLockBase + 1;

std::atomic<const FileSystemTypeForTests*> test_file_system{nullptr};

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

// The range of LockRange/UnlockRange, or false when it is empty or reaches the share markers.
bool LockableRange(ULONGLONG offset, ULONGLONG bytes, off_t* start, off_t* length) {
  if (bytes == 0 || offset >= static_cast<ULONGLONG>(kMarkerBase) || bytes > kMarkerBase - offset) return false;
  *start = static_cast<off_t>(offset);
  *length = static_cast<off_t>(bytes);
  return true;
}

}  // namespace

ShareGuard::ShareGuard(int fd) : fd_(fd) {
  int result;
  while ((result = flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
  }
  error_ = result == 0 ? ERROR_SUCCESS : Win32ErrorFromErrno(errno);
}

ShareGuard::~ShareGuard() {
  if (error_ == ERROR_SUCCESS) flock(fd_, LOCK_UN);
}

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

DWORD CheckNoOpenDeniesDelete(int fd) { return CheckMarkerFree(fd, kDeniesDelete); }

DWORD LockRange(int fd, ULONGLONG offset, ULONGLONG bytes) {
  off_t start, length;
  if (!LockableRange(offset, bytes, &start, &length)) return ERROR_INVALID_PARAMETER;
  ShareGuard guard(fd);
  if (guard.error()) return guard.error();
  if (DWORD error = CheckRangeFree(fd, start, length, ERROR_LOCK_VIOLATION)) return error;
  return SetRangeLock(fd, F_RDLCK, start, length);
}

DWORD UnlockRange(int fd, ULONGLONG offset, ULONGLONG bytes) {
  off_t start, length;
  if (!LockableRange(offset, bytes, &start, &length)) return ERROR_INVALID_PARAMETER;
  return SetRangeLock(fd, F_UNLCK, start, length);
}

DataLocking DataLockingFor(DWORD share) {
  return {(share & FILE_SHARE_WRITE) != 0, (share & (FILE_SHARE_READ | FILE_SHARE_WRITE)) != 0};
}

DWORD DataRangeLock::Take(Kind kind, off_t offset, DWORD bytes) {
  if (bytes == 0) return ERROR_SUCCESS;  // a lock of length 0 would reach to the end of the space
  const off_t first = std::min(offset, kDataLockSpan - 1);
  const off_t end = offset >= kDataLockSpan - off_t{bytes} ? kDataLockSpan : offset + bytes;
  const int error_number = Wait(kind, SEEK_SET, kDataLockBase + first, end - first);
  return error_number ? Win32ErrorFromErrno(error_number) : ERROR_SUCCESS;
}

DWORD DataRangeLock::TakeAtPosition(Kind kind, DWORD bytes) {
  if (bytes == 0) return ERROR_SUCCESS;
  const int error_number = Wait(kind, SEEK_CUR, kDataLockBase, bytes);
  if (error_number != EOVERFLOW) return error_number ? Win32ErrorFromErrno(error_number) : ERROR_SUCCESS;
  // The range reaches past the space: only Take's clamping can place it.
  const off_t position = lseek(fd_, 0, SEEK_CUR);
  return position < 0 ? Win32ErrorFromErrno(errno) : Take(kind, position, bytes);
}

void DataRangeLock::PositionMoved(off_t distance) {
  if (whence_ == SEEK_CUR) start_ -= distance;
}

int DataRangeLock::Wait(Kind kind, short whence, off_t start, off_t length) {
  struct flock lock = RangeLock(kind == kRead ? F_RDLCK : F_WRLCK, start, length);
  lock.l_whence = whence;
  while (fcntl(fd_, F_OFD_SETLKW, &lock) != 0)
    if (errno != EINTR) return errno;
  whence_ = whence;
  start_ = start;
  length_ = length;
  return 0;
}

DataRangeLock::~DataRangeLock() {
  if (length_ == 0) return;
  struct flock lock = RangeLock(F_UNLCK, start_, length_);
  lock.l_whence = whence_;
  fcntl(fd_, F_OFD_SETLK, &lock);
}

bool IsNetworkFileSystem(uint32_t magic) {
  constexpr uint32_t kNetworkFileSystems[] = {NFS_SUPER_MAGIC, SMB_SUPER_MAGIC, CIFS_SUPER_MAGIC,
                                              SMB2_SUPER_MAGIC};
  return std::find(std::begin(kNetworkFileSystems), std::end(kNetworkFileSystems), magic) !=
         std::end(kNetworkFileSystems);
}

DWORD RefuseNetworkFileSystem(const std::string& file_path) {
  uint32_t magic;
  if (const FileSystemTypeForTests* test = test_file_system.load()) {
    magic = test->magic();
  } else {
    const size_t separator = file_path.rfind('/');
    const std::string directory = separator == std::string::npos ? "." : file_path.substr(0, separator + 1);
    struct statfs info;
    if (statfs(directory.c_str(), &info) != 0) return Win32ErrorFromErrno(errno);
    // f_type is a signed word on i386: the CIFS and SMB2 magics come out negative.
    magic = static_cast<uint32_t>(info.f_type);
  }
  return IsNetworkFileSystem(magic) ? ERROR_NOT_SUPPORTED : ERROR_SUCCESS;
}

FileSystemTypeForTests::FileSystemTypeForTests(uint32_t magic)
    : magic_(magic), previous_(test_file_system.exchange(this)) {}

FileSystemTypeForTests::~FileSystemTypeForTests() { test_file_system.store(previous_); }
