// Win32-shaped files: open with access, share mode and disposition, read, write, seek, lock
// ranges, rename, copy and delete, with Win32 error codes in GetLastError. The header that callers
// include for files: it brings the directory functions (find, attributes, directories, temporary
// names: directory.h) along.
//
// Paths are the system's (backslashes, any case) and resolve as platform/win32/path.h says.
// A file HANDLE is a KernelObject that owns one descriptor: CloseHandle closes it. Handles may be
// used from several threads but not the same handle at once (the file position is the
// descriptor's).
//
// Share modes (FILE_SHARE_DELETE included) and LockFile ranges hold between handles of one process
// and between processes, as on Windows (sharing.h says how); an open without read or write access
// takes part in no sharing check. Truncation (CREATE_ALWAYS, TRUNCATE_EXISTING) happens only after
// the open's share markers are held, so that a create never empties a file that another opener
// holds. Every descriptor is O_CLOEXEC.
//
// Local file systems only: share modes stand on locks that a network file system does not keep.
// CreateFileA, DeleteFileA and MoveFileA of a file in a directory on an NFS or SMB/CIFS mount fail
// with ERROR_NOT_SUPPORTED (nothing is created), rather than open a file that shares nothing.
//
// The read-only attribute is the layer's own, stored as "no write permission bits" so that it
// survives between processes: the layer itself refuses with ERROR_ACCESS_DENIED to open such a file
// for writing, to truncate it and to delete it, whoever runs the process (the tests run as root).
// Renaming it is allowed, as on Windows.
//
// Not kept from the original: overlapped I/O (the OVERLAPPED argument must be null), security
// attributes and templates (ignored), FILE_FLAG_* (ignored), DELETE access.
// LockFile ranges are advisory: they keep out other LockFile calls, not reads and writes.
//
// ReadFile and WriteFile of one file are atomic against each other between handles, also of other
// processes, as Windows makes a cached read and a cached write: a read sees each range that a
// write wrote whole, as it was before the write or after it, and two writes of one range do not
// mix. It costs a lock per call (sharing.h), which a handle skips where its share mode proves that
// no other handle can interfere. A handle and its duplicates are one handle here.
#pragma once

#include "platform/win32/base.h"
#include "platform/win32/directory.h"

constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;

constexpr DWORD FILE_SHARE_READ = 0x1;
constexpr DWORD FILE_SHARE_WRITE = 0x2;
constexpr DWORD FILE_SHARE_DELETE = 0x4;

constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;
constexpr DWORD TRUNCATE_EXISTING = 5;

constexpr DWORD FILE_BEGIN = 0;
constexpr DWORD FILE_CURRENT = 1;
constexpr DWORD FILE_END = 2;
constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFF;
constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;

struct OVERLAPPED;
using LPOVERLAPPED = OVERLAPPED*;
using LPDWORD = DWORD*;
using LPCVOID = const void*;

union LARGE_INTEGER {
  struct {
    DWORD LowPart;
    LONG HighPart;
  };
  LONGLONG QuadPart;
};
using PLARGE_INTEGER = LARGE_INTEGER*;

// Opens or creates a file. CREATE_ALWAYS and OPEN_ALWAYS leave ERROR_ALREADY_EXISTS in the last
// error when the file existed, else 0. The descriptor is never write-only, so GENERIC_WRITE alone
// still reads at the system level; ReadFile on such a handle is refused as on Windows. A file
// created with FILE_ATTRIBUTE_READONLY in the attributes is read-only for later opens only.
HANDLE CreateFileA(LPCSTR file_name, DWORD desired_access, DWORD share_mode,
                   LPSECURITY_ATTRIBUTES security, DWORD creation_disposition,
                   DWORD flags_and_attributes, HANDLE template_file);

// Reading at or past the end succeeds with 0 bytes. A write loops over short writes; a write that
// started at or past the end and fails part way is cut back to the old length and reports 0 bytes.
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytes_to_read, LPDWORD bytes_read, LPOVERLAPPED overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytes_to_write, LPDWORD bytes_written, LPOVERLAPPED overlapped);

// A position before the start is ERROR_NEGATIVE_SEEK and leaves the position as it was. Without a
// high part SetFilePointer moves by a signed 32-bit distance and refuses a result past 4 GiB - 2.
DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distance_high, DWORD move_method);
BOOL SetFilePointerEx(HANDLE file, LARGE_INTEGER distance, PLARGE_INTEGER new_position, DWORD move_method);
DWORD GetFileSize(HANDLE file, LPDWORD size_high);
BOOL GetFileSizeEx(HANDLE file, PLARGE_INTEGER size);
// Cuts or extends the file at the current position.
BOOL SetEndOfFile(HANDLE file);
BOOL FlushFileBuffers(HANDLE file);
// Exclusive byte ranges between handles (advisory, see above); a range held by another handle is
// ERROR_LOCK_VIOLATION. Ranges must end below 2^62 (the share markers lie above).
BOOL LockFile(HANDLE file, DWORD offset_low, DWORD offset_high, DWORD bytes_low, DWORD bytes_high);
BOOL UnlockFile(HANDLE file, DWORD offset_low, DWORD offset_high, DWORD bytes_low, DWORD bytes_high);
// A second handle to the same open file: it shares the position, the access and the share
// markers, which stay until both handles are closed (Windows' DuplicateHandle of a file).
HANDLE DuplicateFileHandle(HANDLE file);

// A file that some handle holds open without FILE_SHARE_DELETE can be neither deleted nor renamed:
// ERROR_SHARING_VIOLATION. MoveFileA never replaces an existing target, also not one that differs
// only in case (ERROR_ALREADY_EXISTS); renaming a file to another case of its own name works.
BOOL DeleteFileA(LPCSTR file_name);
BOOL MoveFileA(LPCSTR existing_name, LPCSTR new_name);
// Copies content and the read-only attribute; a failed copy leaves no target behind.
BOOL CopyFileA(LPCSTR existing_name, LPCSTR new_name, BOOL fail_if_exists);
