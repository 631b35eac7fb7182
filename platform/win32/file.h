// Win32-shaped files: open with access, share mode and disposition, read, write, seek, find,
// rename, delete, attributes and directories, with Win32 error codes in GetLastError.
//
// Paths are the system's (backslashes, any case) and resolve as platform/win32/path.h says.
// A file HANDLE is a KernelObject that owns one descriptor: CloseHandle closes it, and FindClose
// does the same for a find handle. Handles may be used from several threads but not the same
// handle at once (the file position is the descriptor's).
//
// Share modes hold between handles of one process and between processes, as on Windows. Each open
// with read or write access takes shared open-file-description locks on marker bytes near the
// largest file offset ("has read access", "has write access", "denies read", "denies write",
// "denies delete") and, under a short exclusive flock() on its own descriptor, looks for the
// opposite markers of the other openers; a conflict is ERROR_SHARING_VIOLATION and leaves the file
// untouched. Truncation (CREATE_ALWAYS, TRUNCATE_EXISTING) happens only after the markers are held.
// An open without read or write access takes part in no sharing check, as on Windows. The kernel
// drops the markers when the last descriptor of the open closes or its process dies, even by
// SIGKILL. A child made by fork() shares its parent's open descriptions, and so their markers,
// until it closes them or execs (every descriptor is O_CLOEXEC). Nothing else may flock() or
// byte-lock the files that the layer opens.
//
// The read-only attribute is the layer's own, stored as "no write permission bits" so that it
// survives between processes: the layer itself refuses with ERROR_ACCESS_DENIED to open such a file
// for writing, to truncate it and to delete it, whoever runs the process (the tests run as root).
// Renaming it is allowed, as on Windows. Every regular file reports FILE_ATTRIBUTE_ARCHIVE besides
// READONLY (the archive bit is not kept); directories report FILE_ATTRIBUTE_DIRECTORY.
//
// Not kept from the original: overlapped I/O (the OVERLAPPED argument must be null), security
// attributes and templates (ignored), FILE_FLAG_* (ignored), DELETE access, 8.3 short names.
// LockFile ranges are advisory: they keep out other LockFile calls, not reads and writes.
#pragma once

#include "platform/win32/base.h"

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

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x1;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x2;
constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x4;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr DWORD FILE_ATTRIBUTE_TEMPORARY = 0x100;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

constexpr DWORD FILE_BEGIN = 0;
constexpr DWORD FILE_CURRENT = 1;
constexpr DWORD FILE_END = 2;
constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFF;
constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;

struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;
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

struct WIN32_FIND_DATAA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;  // the status-change time: Linux keeps no creation time
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  char cFileName[MAX_PATH];
  char cAlternateFileName[14];  // always empty: no short names
};
using LPWIN32_FIND_DATAA = WIN32_FIND_DATAA*;

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

// Searches one directory; the pattern's last component may hold "*" and "?" (path.h). The entries
// are taken when the search starts, in the order of their upper-case names, "." and ".." among them
// when the pattern matches them (as in any directory that is not a drive root). No match is
// ERROR_FILE_NOT_FOUND, a missing directory ERROR_PATH_NOT_FOUND, the end ERROR_NO_MORE_FILES.
HANDLE FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA find_data);
BOOL FindNextFileA(HANDLE find, LPWIN32_FIND_DATAA find_data);
BOOL FindClose(HANDLE find);

DWORD GetFileAttributesA(LPCSTR file_name);
// Only FILE_ATTRIBUTE_READONLY changes anything; the other attributes are accepted and ignored.
BOOL SetFileAttributesA(LPCSTR file_name, DWORD attributes);

// An existing directory (in any case) is ERROR_ALREADY_EXISTS; one that is not empty cannot be
// removed (ERROR_DIR_NOT_EMPTY).
BOOL CreateDirectoryA(LPCSTR path_name, LPSECURITY_ATTRIBUTES security);
BOOL RemoveDirectoryA(LPCSTR path_name);
// Creates every missing directory of the path up to its last backslash; what follows it is a file
// name and is left alone.
BOOL MakeSureDirectoryPathExists(LPCSTR dir_path);

// The temporary directory from TMPDIR (else /tmp) in the system's form, with a trailing backslash.
// Returns its length, or the size needed (terminator included) when the buffer is too small.
DWORD GetTempPathA(DWORD buffer_length, LPSTR buffer);
// Builds directory + "\" + the first three characters of the prefix + four upper-case hex digits
// + ".tmp". With unique 0 the layer picks the number and creates the file (empty, CREATE_NEW), as
// Windows does; otherwise it only builds the name. Returns the number used, 0 on failure.
UINT GetTempFileNameA(LPCSTR path_name, LPCSTR prefix, UINT unique, LPSTR temp_file_name);
