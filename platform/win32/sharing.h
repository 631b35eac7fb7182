// Share modes between the opens of a file, as Windows keeps them between handles of one process
// and between processes; for the file layer's sources and their tests only (callers include file.h).
//
// Each open with read or write access takes shared open-file-description locks (F_OFD_SETLK) on
// marker bytes at 2^62, far past any data: "has read access", "has write access", "denies read",
// "denies write", "denies delete". Before that it takes the guard, a short exclusive flock() on
// its own descriptor (independent of the byte-range locks, and allowed on a read-only descriptor),
// and under it looks for the opposite markers of the other openers; a conflict is
// ERROR_SHARING_VIOLATION and leaves the file untouched. A delete or rename looks for "denies
// delete" under the guard. An open without read or write access takes no markers. The kernel
// drops the markers when the last descriptor of the open closes or its process dies, even by
// SIGKILL; a child made by fork() shares its parent's open descriptions, and so their markers,
// until it closes them or execs. Nothing else may flock() or byte-lock the files that the layer
// opens. A lock file is an open without sharing (share mode 0): it keeps every other open out
// while it lives, and a holder that dies frees it.
//
// LockFile ranges are shared locks of the same kind below the markers, tested under the guard,
// so that a read-only handle can lock too. They keep out other LockFile calls, not reads and
// writes.
//
// ReadFile and WriteFile of a file are atomic against each other, as Windows makes a cached read
// and a cached write of one file: for the length of the call each holds a lock of the same kind
// (shared to read, exclusive to write, waited for) on the image of its byte range in a space of its
// own above the markers. So it meets neither the markers nor a LockFile range: a LockFile range of
// another open never blocks or refuses a read or write, and a read or write in progress never makes
// a LockFile call fail. An open whose share mode proves that nobody else can interfere takes no
// such lock (DataLockingFor). The kernel grants a shared lock beside a waiting exclusive one, so
// readers that follow one another on a range without a pause can keep a writer waiting: it gets
// through between two reads, later than it would on Windows.
//
// Local file systems only. flock() and open-file-description locks hold between the processes of
// one machine on a local file system; a network file system does not keep them so: NFS turns
// flock() into a lock of the whole file that needs a writable descriptor, and older SMB mounts
// drop it, so share modes there would fail without a word. The layer therefore refuses to open,
// delete or rename a file whose directory lies on an NFS or SMB/CIFS mount, with
// ERROR_NOT_SUPPORTED (whose text says why). Other network file systems (one mounted through FUSE,
// say) are not recognised: keep data directories off them as well.
//
// Everything here may run on any thread, with one descriptor in one thread at a time (file.h).
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

#include "platform/win32/base.h"

// The guard of the file that `fd` is open on, held while the object lives (error() is then 0).
class ShareGuard {
 public:
  explicit ShareGuard(int fd);
  ~ShareGuard();
  ShareGuard(const ShareGuard&) = delete;
  ShareGuard& operator=(const ShareGuard&) = delete;
  DWORD error() const { return error_; }

 private:
  int fd_;
  DWORD error_;
};

// Under the guard: ERROR_SHARING_VIOLATION when another open conflicts with `access` and `share`
// (CreateFileA's arguments), else takes this open's markers and gives ERROR_SUCCESS.
DWORD TakeShareMarkers(int fd, DWORD access, DWORD share);
// Under the guard: ERROR_SHARING_VIOLATION when some open of the file denies deleting it.
DWORD CheckNoOpenDeniesDelete(int fd);

// LockFile and UnlockFile of `bytes` bytes from `offset`. An empty range or one that reaches the
// markers is ERROR_INVALID_PARAMETER; a range that another open holds in part is
// ERROR_LOCK_VIOLATION. LockRange takes the guard itself.
DWORD LockRange(int fd, ULONGLONG offset, ULONGLONG bytes);
DWORD UnlockRange(int fd, ULONGLONG offset, ULONGLONG bytes);

// Which of an open's reads and writes need the data-range lock, given CreateFileA's share mode.
// A read needs it only while another open may write (the open shares writing); a write only while
// another open may read or write (the open shares either). The open's own handle and its
// duplicates are one open, used by one thread at a time (file.h), and need nothing between them.
struct DataLocking {
  bool reads;
  bool writes;
};
DataLocking DataLockingFor(DWORD share);

// The lock of one ReadFile or WriteFile, held from Take until the object dies.
class DataRangeLock {
 public:
  enum Kind : short { kRead, kWrite };
  explicit DataRangeLock(int fd) : fd_(fd) {}
  ~DataRangeLock();
  DataRangeLock(const DataRangeLock&) = delete;
  DataRangeLock& operator=(const DataRangeLock&) = delete;
  // Waits for and takes the lock of `bytes` bytes from `offset` (none when `bytes` is 0); gives
  // ERROR_SUCCESS or the error that kept it from being taken. Offsets past the space's
  // 2^62 - 4 KiB bytes, which no local file system holds, share its last lock byte.
  DWORD Take(Kind kind, off_t offset, DWORD bytes);
  // The same from the descriptor's position, without the system call that asks for it: the lock is
  // placed relative to the position, so the caller reports every move of the position while it
  // holds the lock (PositionMoved), and the lock is given back where it was taken.
  DWORD TakeAtPosition(Kind kind, DWORD bytes);
  void PositionMoved(off_t distance);

 private:
  // Waits until the range is free and holds it: 0 or the errno of the refusal.
  int Wait(Kind kind, short whence, off_t start, off_t length);

  int fd_;
  short whence_ = 0;
  off_t start_ = 0;
  off_t length_ = 0;  // 0: nothing held
};

// Whether a file-system type (the f_type magic of statfs) is one of the network file systems that
// the layer refuses: NFS (any version), SMB, CIFS, SMB2/3.
bool IsNetworkFileSystem(uint32_t magic);
// ERROR_NOT_SUPPORTED when the directory that holds `file_path` (a Linux path as ResolvePath gives
// it, of an existing file or of one to create) lies on such a file system, the Win32 error when it
// cannot be examined, else ERROR_SUCCESS. Judging by the directory lets a create be refused before
// anything is created.
DWORD RefuseNetworkFileSystem(const std::string& file_path);

// For tests, which cannot mount a network file system: while one lives, every directory lies on a
// file system of the given type. They nest like scopes; create one before the threads that use
// files start and destroy it after they end.
class FileSystemTypeForTests {
 public:
  explicit FileSystemTypeForTests(uint32_t magic);
  ~FileSystemTypeForTests();
  FileSystemTypeForTests(const FileSystemTypeForTests&) = delete;
  FileSystemTypeForTests& operator=(const FileSystemTypeForTests&) = delete;
  uint32_t magic() const { return magic_; }

 private:
  uint32_t magic_;
  const FileSystemTypeForTests* previous_;
};
