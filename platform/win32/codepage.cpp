#include "platform/win32/codepage.h"

#include <algorithm>
#include <optional>

namespace {

using codepage::kReplacementCharacter;

constexpr char kAnsiDefault = '?';

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

struct WideCharacter {
  char32_t code_point;  // kReplacementCharacter when not valid
  size_t length;        // UTF-16 units consumed
  bool valid;
};

WideCharacter DecodeUtf16(std::u16string_view wide) {
  const char32_t first = wide[0];
  if (IsHighSurrogate(first) && wide.size() > 1 && IsLowSurrogate(wide[1]))
    return {0x10000 + ((first - 0xD800) << 10) + (wide[1] - 0xDC00), 2, true};
  if (IsHighSurrogate(first) || IsLowSurrogate(first)) return {kReplacementCharacter, 1, false};
  return {first, 1, true};
}

void AppendUtf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

void AppendUtf16(char32_t c, std::u16string& out) {
  if (c < 0x10000) {
    out += static_cast<char16_t>(c);
    return;
  }
  out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
  out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
}

// The decoders and encoders behind both the plain helpers and the Win32 calls. `invalid` (when
// given) notes invalid input; `used_default` notes a character without a Windows-1252 byte.
std::u16string DecodeUtf8Text(std::string_view utf8, bool* invalid) {
  std::u16string wide;
  for (std::string_view rest = utf8; !rest.empty();) {
    const codepage::DecodedCharacter c = codepage::DecodeUtf8(rest);
    if (!c.valid && invalid) *invalid = true;
    AppendUtf16(c.code_point, wide);
    rest.remove_prefix(c.length);
  }
  return wide;
}

std::string EncodeUtf8Text(std::u16string_view wide, bool* invalid) {
  std::string utf8;
  for (std::u16string_view rest = wide; !rest.empty();) {
    const WideCharacter c = DecodeUtf16(rest);
    if (!c.valid && invalid) *invalid = true;
    AppendUtf8(c.code_point, utf8);
    rest.remove_prefix(c.length);
  }
  return utf8;
}

std::string EncodeAnsiText(std::u16string_view wide, char default_char, bool* used_default) {
  std::string ansi;
  for (std::u16string_view rest = wide; !rest.empty();) {
    const WideCharacter c = DecodeUtf16(rest);
    const int byte = c.valid ? codepage::AnsiOfCodePoint(c.code_point) : -1;
    if (byte < 0 && used_default) *used_default = true;
    ansi += byte < 0 ? default_char : static_cast<char>(byte);
    rest.remove_prefix(c.length);
  }
  return ansi;
}

bool IsAnsiCodePage(UINT code_page) { return code_page == CP_ACP || code_page == CP_WINDOWS_1252; }

// Windows' length convention: -1 means "up to and including the terminator".
template <typename Char>
std::optional<std::basic_string_view<Char>> InputOf(const Char* text, int length) {
  if (text == nullptr || length == 0 || length < -1) return std::nullopt;
  if (length == -1) return std::basic_string_view<Char>(text, std::char_traits<Char>::length(text) + 1);
  return std::basic_string_view<Char>(text, static_cast<size_t>(length));
}

// Windows' output convention: size 0 asks for the size; a short buffer fails.
template <typename Char>
int Deliver(const std::basic_string<Char>& converted, Char* out, int size) {
  const int needed = static_cast<int>(converted.size());
  if (size == 0) return needed;
  if (size < needed) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::copy(converted.begin(), converted.end(), out);
  return needed;
}

int Fail(DWORD error) {
  SetLastError(error);
  return 0;
}

}  // namespace

int MultiByteToWideChar(UINT code_page, DWORD flags, LPCSTR text, int length, LPWSTR wide, int size) {
  const auto input = InputOf(text, length);
  if (!input || size < 0 || (size > 0 && wide == nullptr)) return Fail(ERROR_INVALID_PARAMETER);
  if (IsAnsiCodePage(code_page)) return Deliver(WideFromAnsi(*input), wide, size);
  if (code_page != CP_UTF8) return Fail(ERROR_INVALID_PARAMETER);
  bool invalid = false;
  const std::u16string converted = DecodeUtf8Text(*input, &invalid);
  if (invalid && (flags & MB_ERR_INVALID_CHARS)) return Fail(ERROR_NO_UNICODE_TRANSLATION);
  return Deliver(converted, wide, size);
}

int WideCharToMultiByte(UINT code_page, DWORD flags, LPCWSTR wide, int length, LPSTR text, int size,
                        LPCSTR default_char, BOOL* used_default_char) {
  const auto input = InputOf(wide, length);
  if (!input || size < 0 || (size > 0 && text == nullptr)) return Fail(ERROR_INVALID_PARAMETER);
  if (IsAnsiCodePage(code_page)) {
    bool used_default = false;
    const std::string converted =
        EncodeAnsiText(*input, default_char ? default_char[0] : kAnsiDefault, &used_default);
    if (used_default_char) *used_default_char = used_default ? TRUE : FALSE;
    return Deliver(converted, text, size);
  }
  if (code_page != CP_UTF8 || default_char || used_default_char) return Fail(ERROR_INVALID_PARAMETER);
  bool invalid = false;
  const std::string converted = EncodeUtf8Text(*input, &invalid);
  if (invalid && (flags & WC_ERR_INVALID_CHARS)) return Fail(ERROR_NO_UNICODE_TRANSLATION);
  return Deliver(converted, text, size);
}

std::string Utf8FromAnsi(std::string_view ansi) {
  std::string utf8;
  for (char byte : ansi) AppendUtf8(codepage::CodePointOfAnsi(static_cast<unsigned char>(byte)), utf8);
  return utf8;
}

std::string AnsiFromUtf8(std::string_view utf8) {
  std::string ansi;
  for (std::string_view rest = utf8; !rest.empty();) {
    const codepage::DecodedCharacter c = codepage::DecodeUtf8(rest);
    const int byte = c.valid ? codepage::AnsiOfCodePoint(c.code_point) : -1;
    ansi += byte < 0 ? kAnsiDefault : static_cast<char>(byte);
    rest.remove_prefix(c.length);
  }
  return ansi;
}

std::u16string WideFromAnsi(std::string_view ansi) {
  std::u16string wide;
  for (char byte : ansi)
    wide += static_cast<char16_t>(codepage::CodePointOfAnsi(static_cast<unsigned char>(byte)));
  return wide;
}

std::string AnsiFromWide(std::u16string_view wide) { return EncodeAnsiText(wide, kAnsiDefault, nullptr); }
std::u16string WideFromUtf8(std::string_view utf8) { return DecodeUtf8Text(utf8, nullptr); }
std::string Utf8FromWide(std::u16string_view wide) { return EncodeUtf8Text(wide, nullptr); }
