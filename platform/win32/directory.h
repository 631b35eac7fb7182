// Win32-shaped directory functions: find searches, file attributes, creating and removing
// directories, and the temporary directory and temporary file names, with Win32 error codes in
// GetLastError. Callers include file.h, which includes this header.
//
// Paths are the system's (backslashes, any case) and resolve as platform/win32/path.h says. A find
// HANDLE is a KernelObject that holds the entries taken when the search started; FindClose (or
// CloseHandle) destroys it. A find handle serves one thread at a time.
//
// The attributes are what the layer keeps of Windows': FILE_ATTRIBUTE_READONLY is the layer's own
// (file.h says what it refuses), every regular file reports FILE_ATTRIBUTE_ARCHIVE besides it (the
// archive bit is not kept), directories report FILE_ATTRIBUTE_DIRECTORY. Not kept: the hidden,
// system and temporary attributes (accepted and ignored) and 8.3 short names.
#pragma once

#include "platform/win32/base.h"

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x1;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x2;
constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x4;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr DWORD FILE_ATTRIBUTE_TEMPORARY = 0x100;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

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
