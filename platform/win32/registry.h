// The registry, stood in for by one text file in the registry-export format (registry_text.h shows
// it). The file is the path in the environment value QV_REGISTRY, read again at every call, so that
// a test or a tool points the registry elsewhere by setting it; without it the file is
// $XDG_CONFIG_HOME/qv/registry.reg, or $HOME/.config/qv/registry.reg.
//
// What it keeps of the original: the roots HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER and
// HKEY_CLASSES_ROOT with their predefined handle values (the other predefined handles are only
// recognised, as ERROR_INVALID_HANDLE); keys and values whose names compare without regard to ASCII
// case and keep the case they were created with; the value types REG_SZ, REG_EXPAND_SZ, REG_DWORD
// and REG_BINARY (other types are refused with ERROR_INVALID_PARAMETER); the calls' results, sizes
// and error codes for the cases the system meets; the access asked for when a key was opened (a
// write through a key opened for reading is ERROR_ACCESS_DENIED). Strings are the system's
// Windows-1252 bytes, stored as they are; a string ends at its first zero byte.
//
// What it does not keep: security, volatile keys (they are kept like the others), class names
// (empty) and last-write times (a last-write output is left as it is), the merged view of
// HKEY_CLASSES_ROOT (it is a root of its own), key names with control characters (refused with
// ERROR_INVALID_PARAMETER).
//
// An open key refers to its path, which is looked up again at each call, so the writes of other
// processes are seen; once the key is gone the calls on it give ERROR_KEY_DELETED.
//
// Concurrency. Any thread may call anything. Readers keep the parsed file and read it again only
// when it changed (device, inode, size and times), so a read of an unchanged registry costs one
// stat; the process holds the file of its parsed content open, so that no newer file can get its
// inode number and pass for it where timestamps are coarse. A writer takes an exclusive lock on
// "<file>.lock" (never replaced), reads the file again under it however unchanged it looks,
// applies its change, writes "<file>.tmp", syncs it and renames it over the file: no update of
// another process is lost, and no reader ever sees half a file. A change that changes
// nothing writes nothing. A damaged file is never overwritten: every call then fails with
// ERROR_REGISTRY_CORRUPT until the file is mended; a file that cannot be read gives ERROR_CANTREAD,
// a failed write ERROR_CANTWRITE.
#pragma once

#include <string>

#include "platform/win32/base.h"

struct SECURITY_ATTRIBUTES;
struct HKEY__;
struct stat;
using HKEY = HKEY__*;
using REGSAM = DWORD;

#define HKEY_CLASSES_ROOT (reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000000)))
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000001)))
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000002)))
#define HKEY_USERS (reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000003)))
#define HKEY_PERFORMANCE_DATA (reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000004)))
#define HKEY_CURRENT_CONFIG (reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000005)))
#define HKEY_DYN_DATA (reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000006)))

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_CREATE_LINK = 0x0020;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_EXECUTE = KEY_READ;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;
constexpr REGSAM MAXIMUM_ALLOWED = 0x02000000;

constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_OPTION_VOLATILE = 1;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Every call returns a Win32 error code (ERROR_SUCCESS = 0). A sub key path is made of names
// separated by backslashes; a trailing backslash is allowed, an empty name elsewhere is
// ERROR_BAD_PATHNAME. A null or empty sub key stands for the key itself.
LONG RegOpenKeyExA(HKEY key, LPCSTR sub_key, DWORD options, REGSAM access, HKEY* result);
// Creates the missing keys on the way; `disposition` (may be null) tells whether the last one was
// created or already there.
LONG RegCreateKeyExA(HKEY key, LPCSTR sub_key, DWORD reserved, LPSTR class_name, DWORD options,
                     REGSAM access, SECURITY_ATTRIBUTES* attributes, HKEY* result,
                     DWORD* disposition);
// Closing a predefined root does nothing.
LONG RegCloseKey(HKEY key);
// Refuses a key that has subkeys (ERROR_ACCESS_DENIED), as Windows does; a root cannot be deleted.
LONG RegDeleteKeyA(HKEY key, LPCSTR sub_key);
// Deletes the sub key with everything under it; with a null or empty sub key, deletes the subkeys
// and values of the key itself and keeps the key.
LONG RegDeleteTreeA(HKEY key, LPCSTR sub_key);

// A null or empty name is the key's default value.
LONG RegSetValueExA(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data,
                    DWORD size);
// With a null buffer, gives the size in *size; with a buffer too small, gives the needed size and
// ERROR_MORE_DATA. A string's size counts its terminating zero.
LONG RegQueryValueExA(HKEY key, LPCSTR name, DWORD* reserved, DWORD* type, BYTE* data, DWORD* size);
LONG RegDeleteValueA(HKEY key, LPCSTR name);

// Subkeys come in the order of their names without regard to case, values in the order of their
// creation; past the last one, ERROR_NO_MORE_ITEMS. A name buffer too small (its size counts the
// terminating zero) gives ERROR_MORE_DATA; on success *name_size is the name's length.
LONG RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, DWORD* name_size, DWORD* reserved,
                   LPSTR class_name, DWORD* class_size, FILETIME* last_write);
LONG RegEnumValueA(HKEY key, DWORD index, LPSTR name, DWORD* name_size, DWORD* reserved,
                   DWORD* type, BYTE* data, DWORD* data_size);
// Every output may be null. Name lengths do not count the terminating zero; the data length does.
LONG RegQueryInfoKeyA(HKEY key, LPSTR class_name, DWORD* class_size, DWORD* reserved,
                      DWORD* subkeys, DWORD* max_subkey_length, DWORD* max_class_length,
                      DWORD* values, DWORD* max_value_name_length, DWORD* max_value_length,
                      DWORD* security_descriptor_size, FILETIME* last_write);

// Replaces every %NAME% by the process environment's value of NAME (found in any case when the
// exact name is not there); an unknown name stays as it is written. Returns the size that the
// result needs with its terminating zero; the result is written only when it fits in `size`
// characters.
DWORD ExpandEnvironmentStringsA(LPCSTR source, LPSTR destination, DWORD size);

// The Linux path of the registry file now in use (QV_REGISTRY or the default). The event log and
// the local installation keep their files beside it.
std::string RegistryFilePath();

// For tests, which cannot mount a file system with coarse timestamps: while one lives, every status
// of the registry file that this process takes (device, inode, size and times) passes through
// `adjust` first, so that a test shows the registry the times and inode numbers of such a file
// system. They nest like scopes; create one before the threads that use the registry start and
// destroy it after they end.
class RegistryFileStatusForTests {
 public:
  explicit RegistryFileStatusForTests(void (*adjust)(struct stat& status));
  ~RegistryFileStatusForTests();
  RegistryFileStatusForTests(const RegistryFileStatusForTests&) = delete;
  RegistryFileStatusForTests& operator=(const RegistryFileStatusForTests&) = delete;
  void Adjust(struct stat& status) const { adjust_(status); }

 private:
  void (*adjust_)(struct stat& status);
  const RegistryFileStatusForTests* previous_;
};
