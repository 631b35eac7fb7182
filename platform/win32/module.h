// Libraries loaded by name. A name of the original ("Salvik.dll") stands for a shared library of
// ours, "libSalvik.so", looked for as Windows looks: in the program's directory, then in the current
// directory, then where the dynamic loader looks (LD_LIBRARY_PATH and the system's directories).
// Not kept: module reference counts beyond the dynamic loader's own, resources of modules.
#pragma once

#include "platform/win32/base.h"

using FARPROC = void (*)();

// Null with last error ERROR_MOD_NOT_FOUND when no such library can be loaded.
HMODULE LoadLibraryA(LPCSTR name);
// Null with last error ERROR_PROC_NOT_FOUND when the library has no such entry point.
FARPROC GetProcAddress(HMODULE module, LPCSTR name);
BOOL FreeLibrary(HMODULE module);

// The program's own path with backslashes ("\usr\lib\qv\Varmo"), for a null module; other modules
// are not known here (ERROR_MOD_NOT_FOUND). A path longer than the buffer is cut to size - 1
// characters and terminated, and the call returns size with ERROR_INSUFFICIENT_BUFFER.
DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size);
