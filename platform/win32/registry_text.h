// The registry's content in memory and its text form, for registry.cpp and its tests only.
//
// The file is a registry export: a header line, then one section per key with its values.
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\QV Rivovoda]
//   @="the key's default value"
//   "Mensagens"="\\srv\\qv\\Mensagens\\"
//   "Versao"=dword:0000002a
//   "Chave"=hex:01,02,ff
//   "Caminho"=hex(2):"%HOME%\\qv"
//
// Strings (names and data) are quoted; inside them a backslash, a quote, a line feed and a carriage
// return are written \\, \", \n and \r, and every other byte stands for itself (the system's
// Windows-1252 text, byte for byte). An expandable string keeps the export's type tag hex(2) but
// holds a quoted string, so that it reads like the others. "REGEDIT4" is also accepted as the
// header; lines starting with ';' and blank lines are ignored. Anything else is a damaged file: the
// parser refuses it whole, and the registry never overwrites a file that it could not parse. So is a
// section more than 512 levels below its root, deeper than Windows keeps keys.
//
// Every key is written as its own section, also a key without values, so that empty keys persist; a
// root is written only when it holds values itself. Keys are written in the order in which Windows
// enumerates them (names compared without regard to ASCII case), values in the order of their
// creation.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/registry.h"

// Name comparison of keys and values: ASCII letters without regard to case, other bytes as they
// are.
struct RegistryNameLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const;
};
bool RegistryNamesEqual(std::string_view a, std::string_view b);

struct RegistryValue {
  std::string name;  // "" is the key's default value
  DWORD type;
  // The bytes that a query returns: a string with its terminating zero, a number as 4 bytes in
  // little-endian order, binary data as it was written.
  std::string data;
};

struct RegistryKey {
  std::vector<RegistryValue> values;  // in the order of their creation
  // By name, in the case the key was created with.
  std::map<std::string, std::unique_ptr<RegistryKey>, RegistryNameLess> subkeys;

  RegistryKey* Subkey(std::string_view subkey_name) const;
  RegistryValue* Value(std::string_view value_name);
  // The subkey, created empty when it is missing.
  RegistryKey& AddSubkey(std::string_view subkey_name);
};

// The three roots, in the order of their predefined handles (0x80000000, 0x80000001, 0x80000002).
constexpr int kRegistryRootCount = 3;
extern const char* const kRegistryRootNames[kRegistryRootCount];

// The levels of keys below a root that Windows keeps. A deeper key is refused when it is created,
// and a deeper section is damage: taken, it would cost a writer the square of its depth (each key
// writes its whole path: 50,000 levels, 2.5 GB) and the tree's destruction a stack frame per level.
constexpr size_t kRegistryMaxLevels = 512;

struct RegistryTree {
  RegistryKey roots[kRegistryRootCount];
};

// Fills an empty tree from the file's text; false when the text is damaged.
bool ParseRegistryText(std::string_view text, RegistryTree& tree);
std::string RegistryText(const RegistryTree& tree);
