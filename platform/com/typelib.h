// Registration of type libraries in the registry.
//
// A program of the original carries its type library as a resource and registers it from its own
// file. Here a type library is described by a record (its identifier, version, locale, help text
// and flags) that the program compiles in, and registering it writes what the system writes for
// it under HKEY_CLASSES_ROOT:
//
//   TypeLib\{LIBID}\<major>.<minor>           default: the library's help text
//   TypeLib\{LIBID}\<major>.<minor>\<lcid>\win32  default: the path of the file that holds it
//   TypeLib\{LIBID}\<major>.<minor>\FLAGS     default: the library flags, in decimal
//   TypeLib\{LIBID}\<major>.<minor>\HELPDIR   default: the help directory
//
// with the version and the locale in hexadecimal without leading zeros ("1.0", "409"). No
// Interface keys are written: they serve automation and dual interfaces, which the libraries here
// do not have. Unregistration removes the version's key for the locale and platform, then the
// version key once no locale is left in it, then the library's key once no version is left.
// Results are HRESULT_FROM_WIN32 of a registry failure; unregistering a library that is not
// registered gives TYPE_E_REGISTRYACCESS. Safe from any thread.
#pragma once

#include "platform/com/guid.h"

using LCID = DWORD;

enum SYSKIND { SYS_WIN16 = 0, SYS_WIN32 = 1, SYS_MAC = 2 };

constexpr HRESULT TYPE_E_REGISTRYACCESS = static_cast<HRESULT>(0x8002801C);

struct TypeLibRecord {
  GUID libid;
  WORD major_version;
  WORD minor_version;
  LCID lcid;
  const char* help_text;
  WORD flags;
};

// `path` and `help_directory` as the system writes paths (backslashes).
HRESULT RegisterTypeLib(const TypeLibRecord& library, const char* path, const char* help_directory);
HRESULT UnRegisterTypeLib(REFGUID libid, WORD major_version, WORD minor_version, LCID lcid,
                          SYSKIND syskind);
