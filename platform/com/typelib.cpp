#include "platform/com/typelib.h"

#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/path.h"
#include "platform/win32/registry.h"

namespace {

std::string Hex(DWORD number) {
  char text[16];
  snprintf(text, sizeof text, "%x", static_cast<unsigned>(number));
  return text;
}

std::string VersionKey(REFGUID libid, WORD major_version, WORD minor_version) {
  return "TypeLib\\" + GuidToText(libid) + "\\" + Hex(major_version) + "." + Hex(minor_version);
}

LONG WriteDefault(const std::string& key, const char* text) {
  HKEY opened;
  LONG error = RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_ALL_ACCESS, nullptr, &opened, nullptr);
  if (error != ERROR_SUCCESS) return error;
  const std::string data = text ? text : "";
  error = RegSetValueExA(opened, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                         static_cast<DWORD>(data.size() + 1));
  RegCloseKey(opened);
  return error;
}

// The names of a key's subkeys; false when the key is missing.
bool Subkeys(const std::string& key, std::vector<std::string>* names) {
  HKEY opened;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
    return false;
  char name[256];
  DWORD size = sizeof name;
  for (DWORD i = 0;
       RegEnumKeyExA(opened, i, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
       ++i, size = sizeof name)
    names->push_back(name);
  RegCloseKey(opened);
  return true;
}

bool HasNoSubkeysBut(const std::string& key, std::initializer_list<const char*> allowed) {
  std::vector<std::string> names;
  Subkeys(key, &names);
  for (const std::string& name : names) {
    bool is_allowed = false;
    for (const char* other : allowed) is_allowed = is_allowed || EqualNoCase(name, other);
    if (!is_allowed) return false;
  }
  return true;
}

const char* PlatformName(SYSKIND syskind) {
  switch (syskind) {
    case SYS_WIN16:
      return "win16";
    case SYS_MAC:
      return "mac";
    default:
      return "win32";
  }
}

}  // namespace

HRESULT RegisterTypeLib(const TypeLibRecord& library, const char* path,
                        const char* help_directory) {
  if (!path) return E_INVALIDARG;
  const std::string version =
      VersionKey(library.libid, library.major_version, library.minor_version);
  const std::string flags = std::to_string(library.flags);
  LONG error = WriteDefault(version, library.help_text);
  if (error == ERROR_SUCCESS)
    error = WriteDefault(version + "\\" + Hex(library.lcid) + "\\" + PlatformName(SYS_WIN32), path);
  if (error == ERROR_SUCCESS) error = WriteDefault(version + "\\FLAGS", flags.c_str());
  if (error == ERROR_SUCCESS) error = WriteDefault(version + "\\HELPDIR", help_directory);
  return error == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(static_cast<DWORD>(error));
}

HRESULT UnRegisterTypeLib(REFGUID libid, WORD major_version, WORD minor_version, LCID lcid,
                          SYSKIND syskind) {
  const std::string library = "TypeLib\\" + GuidToText(libid);
  const std::string version = VersionKey(libid, major_version, minor_version);
  const std::string locale = version + "\\" + Hex(lcid);
  const LONG error =
      RegDeleteTreeA(HKEY_CLASSES_ROOT, (locale + "\\" + PlatformName(syskind)).c_str());
  if (error == ERROR_FILE_NOT_FOUND) return TYPE_E_REGISTRYACCESS;
  if (error != ERROR_SUCCESS) return HRESULT_FROM_WIN32(static_cast<DWORD>(error));
  if (HasNoSubkeysBut(locale, {})) RegDeleteTreeA(HKEY_CLASSES_ROOT, locale.c_str());
  if (HasNoSubkeysBut(version, {"FLAGS", "HELPDIR"}))
    RegDeleteTreeA(HKEY_CLASSES_ROOT, version.c_str());
  if (HasNoSubkeysBut(library, {})) RegDeleteTreeA(HKEY_CLASSES_ROOT, library.c_str());
  return S_OK;
}
