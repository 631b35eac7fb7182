#include "platform/com/registrar.h"

#include <cstdlib>
#include <optional>
#include <string_view>

#include "platform/win32/path.h"
#include "platform/win32/registry.h"

namespace {

constexpr HRESULT kUnreadableScript = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);

struct Value {
  std::string name;  // empty: the key's default value
  DWORD type;
  std::string text;
  DWORD number;
};

struct Key {
  std::string name;
  bool no_remove = false;
  bool force_remove = false;
  std::vector<Value> values;
  std::vector<Key> keys;
};

struct Root {
  HKEY hkey;
  std::vector<Key> keys;
};

struct RootName {
  std::string_view short_name;
  std::string_view long_name;
  HKEY hkey;
};

const RootName kRoots[] = {
    {"HKCR", "HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {"HKCU", "HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKLM", "HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
};

std::optional<std::string> ReplaceParameters(std::string_view script,
                                             const std::vector<RegistrarParameter>& parameters) {
  std::string out;
  for (size_t at = 0; at < script.size(); ++at) {
    if (script[at] != '%') {
      out += script[at];
      continue;
    }
    const size_t end = script.find('%', at + 1);
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view name = script.substr(at + 1, end - at - 1);
    at = end;
    if (name.empty()) {
      out += '%';
      continue;
    }
    const RegistrarParameter* found = nullptr;
    for (const RegistrarParameter& parameter : parameters)
      if (EqualNoCase(parameter.name, name)) found = &parameter;
    if (!found) return std::nullopt;
    out += found->value;
  }
  return out;
}

enum class TokenKind { kWord, kQuoted, kOpen, kClose, kEquals };

struct Token {
  TokenKind kind;
  std::string text;
};

bool IsBlank(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; }

std::optional<std::vector<Token>> Tokens(std::string_view text) {
  std::vector<Token> tokens;
  size_t at = 0;
  while (at < text.size()) {
    const char ch = text[at];
    if (IsBlank(ch)) {
      ++at;
    } else if (ch == '=') {
      tokens.push_back({TokenKind::kEquals, "="});
      ++at;
    } else if (ch == '\'') {
      std::string quoted;
      for (++at;; ++at) {
        if (at >= text.size()) return std::nullopt;
        if (text[at] != '\'') {
          quoted += text[at];
        } else if (at + 1 < text.size() && text[at + 1] == '\'') {
          quoted += '\'';
          ++at;
        } else {
          break;
        }
      }
      ++at;
      tokens.push_back({TokenKind::kQuoted, std::move(quoted)});
    } else {
      const size_t start = at;
      while (at < text.size() && !IsBlank(text[at]) && text[at] != '=' && text[at] != '\'') ++at;
      std::string word(text.substr(start, at - start));
      const TokenKind kind = word == "{"   ? TokenKind::kOpen
                             : word == "}" ? TokenKind::kClose
                                           : TokenKind::kWord;
      tokens.push_back({kind, std::move(word)});
    }
  }
  return tokens;
}

class Parser {
 public:
  explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

  bool Parse(std::vector<Root>* roots) {
    while (at_ < tokens_.size()) {
      Root root{};
      if (!RootKey(&root.hkey) || !Take(TokenKind::kOpen) || !Entries(&root.keys, nullptr))
        return false;
      roots->push_back(std::move(root));
    }
    return true;
  }

 private:
  bool Is(TokenKind kind) const { return at_ < tokens_.size() && tokens_[at_].kind == kind; }
  bool IsWord(std::string_view word) const {
    return Is(TokenKind::kWord) && EqualNoCase(tokens_[at_].text, word);
  }
  bool Take(TokenKind kind) {
    if (!Is(kind)) return false;
    ++at_;
    return true;
  }

  bool RootKey(HKEY* hkey) {
    if (!Is(TokenKind::kWord)) return false;
    for (const RootName& root : kRoots)
      if (EqualNoCase(tokens_[at_].text, root.short_name) ||
          EqualNoCase(tokens_[at_].text, root.long_name)) {
        *hkey = root.hkey;
        ++at_;
        return true;
      }
    return false;
  }

  bool Name(std::string* name) {
    if (!Is(TokenKind::kWord) && !Is(TokenKind::kQuoted)) return false;
    *name = tokens_[at_++].text;
    return true;
  }

  // After the '=': s 'text' or d number.
  bool Data(Value* value) {
    const bool text = IsWord("s");
    if (!text && !IsWord("d")) return false;
    ++at_;
    std::string data;
    if (!Name(&data)) return false;
    value->type = text ? REG_SZ : REG_DWORD;
    if (text) {
      value->text = std::move(data);
      return true;
    }
    char* end = nullptr;
    value->number = static_cast<DWORD>(std::strtoul(data.c_str(), &end, 0));
    return !data.empty() && *end == '\0';
  }

  // The entries of a block, after its '{' and up to and with its '}'. `values` is null at a root.
  bool Entries(std::vector<Key>* keys, std::vector<Value>* values) {
    while (!Take(TokenKind::kClose)) {
      if (at_ >= tokens_.size()) return false;
      if (IsWord("val")) {
        ++at_;
        Value value{};
        if (!values || !Name(&value.name) || !Take(TokenKind::kEquals) || !Data(&value))
          return false;
        values->push_back(std::move(value));
        continue;
      }
      Key key;
      for (;; ++at_) {
        if (IsWord("NoRemove")) {
          key.no_remove = true;
        } else if (IsWord("ForceRemove")) {
          key.force_remove = true;
        } else {
          break;
        }
      }
      if (!Name(&key.name)) return false;
      if (Take(TokenKind::kEquals)) {
        Value value{};
        if (!Data(&value)) return false;
        key.values.push_back(std::move(value));
      }
      if (Take(TokenKind::kOpen) && !Entries(&key.keys, &key.values)) return false;
      keys->push_back(std::move(key));
    }
    return true;
  }

  std::vector<Token> tokens_;
  size_t at_ = 0;
};

HRESULT Failure(LONG error) { return HRESULT_FROM_WIN32(static_cast<DWORD>(error)); }

bool Gone(LONG error) { return error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND; }

LONG WriteValue(HKEY key, const Value& value) {
  const char* name = value.name.empty() ? nullptr : value.name.c_str();
  if (value.type == REG_DWORD)
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value.number),
                          sizeof value.number);
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.text.c_str()),
                        static_cast<DWORD>(value.text.size() + 1));
}

LONG RegisterKey(HKEY parent, const Key& key) {
  if (key.force_remove) {
    const LONG error = RegDeleteTreeA(parent, key.name.c_str());
    if (!Gone(error)) return error;
  }
  HKEY opened;
  LONG error = RegCreateKeyExA(parent, key.name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_ALL_ACCESS, nullptr, &opened, nullptr);
  if (error != ERROR_SUCCESS) return error;
  for (const Value& value : key.values)
    if ((error = WriteValue(opened, value)) != ERROR_SUCCESS) break;
  for (const Key& subkey : key.keys) {
    if (error != ERROR_SUCCESS) break;
    error = RegisterKey(opened, subkey);
  }
  RegCloseKey(opened);
  return error;
}

LONG UnregisterKey(HKEY parent, const Key& key) {
  if (!key.no_remove) {
    const LONG error = RegDeleteTreeA(parent, key.name.c_str());
    return Gone(error) ? ERROR_SUCCESS : error;
  }
  HKEY opened;
  LONG error = RegOpenKeyExA(parent, key.name.c_str(), 0, KEY_ALL_ACCESS, &opened);
  if (error != ERROR_SUCCESS) return Gone(error) ? ERROR_SUCCESS : error;
  for (const Key& subkey : key.keys)
    if ((error = UnregisterKey(opened, subkey)) != ERROR_SUCCESS) break;
  RegCloseKey(opened);
  return error;
}

}  // namespace

HRESULT UpdateRegistryFromScript(const char* script,
                                 const std::vector<RegistrarParameter>& parameters,
                                 bool do_register) {
  if (!script) return E_INVALIDARG;
  const std::optional<std::string> text = ReplaceParameters(script, parameters);
  if (!text) return kUnreadableScript;
  std::optional<std::vector<Token>> tokens = Tokens(*text);
  std::vector<Root> roots;
  if (!tokens || !Parser(std::move(*tokens)).Parse(&roots)) return kUnreadableScript;
  for (const Root& root : roots)
    for (const Key& key : root.keys) {
      const LONG error = do_register ? RegisterKey(root.hkey, key) : UnregisterKey(root.hkey, key);
      if (error != ERROR_SUCCESS) return Failure(error);
    }
  return S_OK;
}
