#include "platform/win32/registry_text.h"

#include <algorithm>
#include <cstdio>

const char* const kRegistryRootNames[kRegistryRootCount] = {
    "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE"};

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kOldHeader = "REGEDIT4";
constexpr std::string_view kExpandTag = "hex(2):";
constexpr std::string_view kBinaryTag = "hex:";
constexpr std::string_view kDwordTag = "dword:";

char LowerAscii(char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch + 32) : ch; }

int HexDigit(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  ch = LowerAscii(ch);
  return ch >= 'a' && ch <= 'f' ? ch - 'a' + 10 : -1;
}

// Reads the quoted string that starts at line[pos] and moves pos past its closing quote.
bool ReadQuoted(std::string_view line, size_t& pos, std::string& out) {
  if (pos >= line.size() || line[pos] != '"') return false;
  for (++pos; pos < line.size(); ++pos) {
    char ch = line[pos];
    if (ch == '"') {
      ++pos;
      return true;
    }
    if (ch == '\\') {
      if (++pos == line.size()) return false;
      switch (line[pos]) {
        case '\\': ch = '\\'; break;
        case '"': ch = '"'; break;
        case 'n': ch = '\n'; break;
        case 'r': ch = '\r'; break;
        default: return false;
      }
    }
    out += ch;
  }
  return false;
}

// A whole quoted string and nothing after it; the result gets its terminating zero.
bool ParseString(std::string_view text, std::string& data) {
  size_t pos = 0;
  if (!ReadQuoted(text, pos, data) || pos != text.size()) return false;
  data += '\0';
  return true;
}

bool ParseDword(std::string_view text, std::string& data) {
  if (text.empty() || text.size() > 8) return false;
  uint32_t number = 0;
  for (char ch : text) {
    const int digit = HexDigit(ch);
    if (digit < 0) return false;
    number = number << 4 | static_cast<uint32_t>(digit);
  }
  for (int i = 0; i < 4; ++i) data += static_cast<char>(number >> (8 * i));
  return true;
}

// Bytes as two hex digits each, separated by commas; nothing at all is no bytes.
bool ParseHexBytes(std::string_view text, std::string& data) {
  for (size_t pos = 0; pos < text.size(); pos += 3) {
    if (pos + 2 > text.size()) return false;
    const int high = HexDigit(text[pos]);
    const int low = HexDigit(text[pos + 1]);
    if (high < 0 || low < 0) return false;
    if (pos + 2 < text.size() && text[pos + 2] != ',') return false;
    if (pos + 3 == text.size()) return false;  // a trailing comma
    data += static_cast<char>(high << 4 | low);
  }
  return true;
}

bool ParseData(std::string_view text, RegistryValue& value) {
  if (text.starts_with('"')) {
    value.type = REG_SZ;
    return ParseString(text, value.data);
  }
  if (text.starts_with(kExpandTag)) {
    value.type = REG_EXPAND_SZ;
    return ParseString(text.substr(kExpandTag.size()), value.data);
  }
  if (text.starts_with(kDwordTag)) {
    value.type = REG_DWORD;
    return ParseDword(text.substr(kDwordTag.size()), value.data);
  }
  if (text.starts_with(kBinaryTag)) {
    value.type = REG_BINARY;
    return ParseHexBytes(text.substr(kBinaryTag.size()), value.data);
  }
  return false;
}

// "[ROOT\key\subkey]": the key, created with every key on its way.
RegistryKey* ParseSection(std::string_view line, RegistryTree& tree) {
  if (!line.ends_with(']')) return nullptr;
  std::string_view path = line.substr(1, line.size() - 2);
  const size_t root_end = std::min(path.find('\\'), path.size());
  const auto* root_name = std::find_if(
      std::begin(kRegistryRootNames), std::end(kRegistryRootNames),
      [&](const char* name) { return RegistryNamesEqual(name, path.substr(0, root_end)); });
  if (root_name == std::end(kRegistryRootNames)) return nullptr;
  RegistryKey* key = &tree.roots[root_name - std::begin(kRegistryRootNames)];
  path.remove_prefix(root_end);
  for (size_t level = 1; !path.empty(); ++level) {
    path.remove_prefix(1);  // the backslash
    const size_t end = std::min(path.find('\\'), path.size());
    if (end == 0 || level > kRegistryMaxLevels) return nullptr;
    key = &key->AddSubkey(path.substr(0, end));
    path.remove_prefix(end);
  }
  return key;
}

// "name"=data or @=data. A name given twice keeps its first place and its last data.
bool ParseValueLine(std::string_view line, RegistryKey& key) {
  RegistryValue value;
  size_t pos = 0;
  if (line.starts_with('@')) {
    pos = 1;
  } else if (!ReadQuoted(line, pos, value.name)) {
    return false;
  }
  if (pos >= line.size() || line[pos] != '=') return false;
  if (!ParseData(line.substr(pos + 1), value)) return false;
  if (RegistryValue* existing = key.Value(value.name)) {
    existing->type = value.type;
    existing->data = std::move(value.data);
  } else {
    key.values.push_back(std::move(value));
  }
  return true;
}

void AppendQuoted(std::string_view text, std::string& out) {
  out += '"';
  for (char ch : text) {
    switch (ch) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += ch;
    }
  }
  out += '"';
}

std::string_view StringWithoutTerminator(const std::string& data) {
  std::string_view text = data;
  if (text.ends_with('\0')) text.remove_suffix(1);
  return text;
}

void AppendValue(const RegistryValue& value, std::string& out) {
  if (value.name.empty()) {
    out += '@';
  } else {
    AppendQuoted(value.name, out);
  }
  out += '=';
  char hex[16];
  switch (value.type) {
    case REG_SZ: AppendQuoted(StringWithoutTerminator(value.data), out); break;
    case REG_EXPAND_SZ:
      out += kExpandTag;
      AppendQuoted(StringWithoutTerminator(value.data), out);
      break;
    case REG_DWORD: {
      uint32_t number = 0;
      for (size_t i = 0; i < 4 && i < value.data.size(); ++i)
        number |= static_cast<uint32_t>(static_cast<unsigned char>(value.data[i])) << (8 * i);
      snprintf(hex, sizeof hex, "%08x", number);
      out += kDwordTag;
      out += hex;
      break;
    }
    default:  // REG_BINARY, the only other type that the registry accepts
      out += kBinaryTag;
      for (size_t i = 0; i < value.data.size(); ++i) {
        snprintf(hex, sizeof hex, i ? ",%02x" : "%02x", static_cast<unsigned char>(value.data[i]));
        out += hex;
      }
  }
  out += '\n';
}

void AppendKey(const RegistryKey& key, const std::string& path, bool is_root, std::string& out) {
  if (!is_root || !key.values.empty()) {
    out += '[' + path + "]\n";
    for (const RegistryValue& value : key.values) AppendValue(value, out);
    out += '\n';
  }
  for (const auto& [name, subkey] : key.subkeys) AppendKey(*subkey, path + '\\' + name, false, out);
}

}  // namespace

bool RegistryNameLess::operator()(std::string_view a, std::string_view b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(LowerAscii(x)) < static_cast<unsigned char>(LowerAscii(y));
  });
}

bool RegistryNamesEqual(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return LowerAscii(x) == LowerAscii(y);
         });
}

RegistryKey* RegistryKey::Subkey(std::string_view subkey_name) const {
  const auto found = subkeys.find(subkey_name);
  return found == subkeys.end() ? nullptr : found->second.get();
}

RegistryValue* RegistryKey::Value(std::string_view value_name) {
  const auto found = std::find_if(values.begin(), values.end(), [&](const RegistryValue& value) {
    return RegistryNamesEqual(value.name, value_name);
  });
  return found == values.end() ? nullptr : &*found;
}

RegistryKey& RegistryKey::AddSubkey(std::string_view subkey_name) {
  if (RegistryKey* existing = Subkey(subkey_name)) return *existing;
  return *subkeys.emplace(subkey_name, std::make_unique<RegistryKey>()).first->second;
}

bool ParseRegistryText(std::string_view text, RegistryTree& tree) {
  bool header_seen = false;
  RegistryKey* key = nullptr;
  while (!text.empty()) {
    const size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.find_first_not_of(" \t") == std::string_view::npos || line.starts_with(';')) continue;
    if (!header_seen) {
      if (line != kHeader && line != kOldHeader) return false;
      header_seen = true;
    } else if (line.starts_with('[')) {
      if (!(key = ParseSection(line, tree))) return false;
    } else if (!key || !ParseValueLine(line, *key)) {
      return false;
    }
  }
  return true;
}

std::string RegistryText(const RegistryTree& tree) {
  std::string out(kHeader);
  out += "\n\n";
  for (int root = 0; root < kRegistryRootCount; ++root)
    AppendKey(tree.roots[root], kRegistryRootNames[root], true, out);
  return out;
}
