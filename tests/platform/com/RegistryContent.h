// Reads a registry subtree back as lines, for tests that check exactly what was written:
// "Key\Sub" for each key (a key given as "" stands for the root and gets no line of its own), and
// "Key\Sub @ = text" or "Key\Sub Name = text" for each string value (other types show their type
// number), keys in the registry's enumeration order.
#pragma once

#include <string>
#include <vector>

#include "platform/win32/registry.h"

inline void AppendRegistryContent(HKEY root, const std::string& key,
                                  std::vector<std::string>* lines) {
  HKEY opened;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return;
  if (!key.empty()) lines->push_back(key);
  char name[512];
  BYTE data[2048];
  for (DWORD i = 0;; ++i) {
    DWORD name_size = sizeof name, data_size = sizeof data, type = REG_NONE;
    if (RegEnumValueA(opened, i, name, &name_size, nullptr, &type, data, &data_size) !=
        ERROR_SUCCESS)
      break;
    const std::string shown = type == REG_SZ ? std::string(reinterpret_cast<char*>(data))
                                             : "type " + std::to_string(type);
    lines->push_back(key + " " + (name[0] ? name : "@") + " = " + shown);
  }
  std::vector<std::string> subkeys;
  for (DWORD i = 0;; ++i) {
    DWORD name_size = sizeof name;
    if (RegEnumKeyExA(opened, i, name, &name_size, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    subkeys.push_back(name);
  }
  RegCloseKey(opened);
  for (const std::string& subkey : subkeys)
    AppendRegistryContent(root, key.empty() ? subkey : key + "\\" + subkey, lines);
}

inline std::vector<std::string> RegistryContent(HKEY root, const std::string& key) {
  std::vector<std::string> lines;
  AppendRegistryContent(root, key, &lines);
  return lines;
}
