// Paths as the system writes them, turned into the Linux paths that the system calls take.
//
// Domain code sees Windows-shaped paths: backslashes between components ("\srv\qv\EMP\PP\"), names
// in whatever case the code happens to spell them. The layer keeps the original's rules:
// - "\" becomes "/" only here, at the system call; a path without a leading backslash is relative
//   to the working directory. Drive letters and UNC names are not needed and not understood.
// - Every component resolves without regard to ASCII case. An exact match wins; otherwise the
//   matching entry that is least in byte order, so that the choice never depends on the order in
//   which the directory lists its entries.
// - A missing last component keeps the spelling it was given, inside the resolved directory: a file
//   created through the result lands in the existing directory, and a file that exists in another
//   case is reused instead of created a second time.
// - A missing directory on the way is "path not found" (3), a missing last component "file not
//   found" (2), as Windows tells them apart.
// Every function here is safe to call from any thread; none keeps state between calls.
#pragma once

#include <string>
#include <string_view>

#include "platform/win32/base.h"

// Where a system path leads. `path` is always usable with the system calls: the existing entry when
// error is 0, the entry to create when error is ERROR_FILE_NOT_FOUND; with ERROR_PATH_NOT_FOUND (or
// any other error) it only serves messages.
struct ResolvedPath {
  std::string path;
  DWORD error = ERROR_SUCCESS;
};

// The one entry point for every part of the layer that touches the file system (files, find
// searches, registry file, event log...). A trailing backslash is kept as a trailing "/", so that
// the system call insists on a directory.
ResolvedPath ResolvePath(std::string_view system_path);

// The same Linux path written the system's way (slashes to backslashes), e.g. for the temporary
// directory that GetTempPathA hands out.
std::string SystemPathOf(std::string_view linux_path);

// Compares two names without regard to ASCII case (accented letters compare as bytes, as the
// original's "C" locale did).
bool EqualNoCase(std::string_view a, std::string_view b);

// Matches a file name against a search pattern of the last path component: "*" stands for any run
// of characters, "?" for exactly one, letters match without regard to ASCII case, and a pattern
// ending in ".*" also matches a name that has no dot ("*.*" finds everything), as Windows matches.
// Windows' short (8.3) aliases and its "?" that may match nothing before a dot are not kept.
bool MatchesWildcard(std::string_view pattern, std::string_view name);

// The Win32 error that a failed system call's errno stands for. ENOENT gives ERROR_FILE_NOT_FOUND:
// a caller that must tell 2 from 3 asks ResolvePath.
DWORD Win32ErrorFromErrno(int error_number);
