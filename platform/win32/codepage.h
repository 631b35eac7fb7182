// Code pages. The system's text is single-byte Windows-1252 (the "ANSI" code page of the machines
// it ran on): records, data files and the message catalogue hold it, and a field's width in bytes
// is its width in characters. UTF-16 appears only in OLE strings (BSTR, GUID texts) and UTF-8 only
// at the edges (terminal, logs, HTML) and in our own source files.
//
// Source literals: a literal with accents that ends up in a record or a catalogue is written as
// "Importação concluída"_ansi, which converts it to Windows-1252 at compile time and fails to
// compile when it holds a character that Windows-1252 lacks. Text that arrives at run time goes
// through AnsiFromUtf8 and friends.
//
// Kept from the original: Windows-1252 exactly, the five bytes that it leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) mapping to the control characters of the same value; the argument
// conventions of MultiByteToWideChar and WideCharToMultiByte. Not kept: the "best fit" mapping
// (U+0100 to 'A' and the like): every character without a Windows-1252 byte becomes the default
// character; code pages other than CP_ACP (which is 1252 here), 1252 and CP_UTF8.
// Everything here is stateless and may run on any thread.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/win32/base.h"

constexpr UINT CP_ACP = 0;
constexpr UINT CP_WINDOWS_1252 = 1252;
constexpr UINT CP_UTF8 = 65001;

constexpr DWORD MB_PRECOMPOSED = 0x00000001;
constexpr DWORD MB_ERR_INVALID_CHARS = 0x00000008;
constexpr DWORD WC_ERR_INVALID_CHARS = 0x00000080;
constexpr DWORD WC_NO_BEST_FIT_CHARS = 0x00000400;

// `length` -1 reads up to and including the terminator, which then counts in the result; a `size`
// of 0 returns the size needed without writing. Returns the characters written, or 0 with the
// last error ERROR_INSUFFICIENT_BUFFER (output too small), ERROR_INVALID_PARAMETER (null text, a
// length of 0 or below -1, unknown code page, a default character given for UTF-8) or
// ERROR_NO_UNICODE_TRANSLATION (invalid UTF-8 or lone surrogates under the *_ERR_INVALID_CHARS
// flags; without them they become U+FFFD). Other flags change nothing.
int MultiByteToWideChar(UINT code_page, DWORD flags, LPCSTR text, int length, LPWSTR wide, int size);
// A character without a Windows-1252 byte becomes `default_char` (first byte; '?' when null) and
// sets *used_default_char; a surrogate pair counts as one such character.
int WideCharToMultiByte(UINT code_page, DWORD flags, LPCWSTR wide, int length, LPSTR text, int size,
                        LPCSTR default_char, BOOL* used_default_char);

// Plain conversions for the layer and the domain. Invalid input (bad UTF-8, lone surrogates) and
// characters without a Windows-1252 byte become '?' in Windows-1252 and U+FFFD in UTF-8/UTF-16.
std::string Utf8FromAnsi(std::string_view ansi);
std::string AnsiFromUtf8(std::string_view utf8);
std::u16string WideFromAnsi(std::string_view ansi);
std::string AnsiFromWide(std::u16string_view wide);
std::u16string WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::u16string_view wide);

namespace codepage {

// Windows-1252 at 0x80..0x9F; every other byte is the code point of its own value.
inline constexpr char16_t kWindows1252At80[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t CodePointOfAnsi(unsigned char byte) {
  return (byte >= 0x80 && byte <= 0x9F) ? kWindows1252At80[byte - 0x80] : byte;
}

// The Windows-1252 byte of a code point, or -1 when it has none.
constexpr int AnsiOfCodePoint(char32_t code_point) {
  if (code_point < 0x80 || (code_point >= 0xA0 && code_point <= 0xFF))
    return static_cast<int>(code_point);
  for (int i = 0; i < 32; ++i)
    if (kWindows1252At80[i] == code_point) return 0x80 + i;
  return -1;
}

constexpr char32_t kReplacementCharacter = 0xFFFD;

struct DecodedCharacter {
  char32_t code_point;  // kReplacementCharacter when not valid
  size_t length;        // bytes consumed, at least 1
  bool valid;
};

// One UTF-8 character at the start of `text` (which is not empty). Overlong forms, surrogates and
// code points above U+10FFFF are invalid; an invalid sequence consumes its longest valid start.
constexpr DecodedCharacter DecodeUtf8(std::string_view text) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return {lead, 1, true};
  size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  char32_t code_point = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code_point = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code_point = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code_point = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return {kReplacementCharacter, 1, false};
  }
  for (size_t i = 1; i < length; ++i) {
    const unsigned char min = i == 1 ? low : 0x80, max = i == 1 ? high : 0xBF;
    if (i >= text.size() || byte(i) < min || byte(i) > max) return {kReplacementCharacter, i, false};
    code_point = (code_point << 6) | (byte(i) & 0x3F);
  }
  return {code_point, length, true};
}

// A UTF-8 string literal as a template argument, for operator""_ansi.
template <size_t N>
struct Utf8Literal {
  char bytes[N] = {};
  consteval Utf8Literal(const char (&text)[N]) {
    for (size_t i = 0; i < N; ++i) bytes[i] = text[i];
  }
  constexpr std::string_view view() const { return {bytes, N - 1}; }
};

// Not constexpr on purpose: reaching it during constant evaluation stops the compilation.
void LiteralHasCharacterOutsideWindows1252();

template <size_t Length, size_t N>
consteval std::array<char, Length + 1> AnsiOfLiteral(const Utf8Literal<N>& literal) {
  std::array<char, Length + 1> ansi = {};
  size_t out = 0;
  for (std::string_view rest = literal.view(); !rest.empty();) {
    const DecodedCharacter c = DecodeUtf8(rest);
    const int ansi_byte = c.valid ? AnsiOfCodePoint(c.code_point) : -1;
    if (ansi_byte < 0) LiteralHasCharacterOutsideWindows1252();
    ansi[out++] = static_cast<char>(ansi_byte);
    rest.remove_prefix(c.length);
  }
  return ansi;
}

template <size_t N>
consteval size_t CharacterCount(const Utf8Literal<N>& literal) {
  size_t count = 0;
  for (std::string_view rest = literal.view(); !rest.empty(); ++count)
    rest.remove_prefix(DecodeUtf8(rest).length);
  return count;
}

template <Utf8Literal literal>
struct AnsiLiteral {
  static constexpr std::array text = AnsiOfLiteral<CharacterCount(literal)>(literal);
};

}  // namespace codepage

// "Operação concluída"_ansi: the literal in Windows-1252, terminated, in static storage.
template <codepage::Utf8Literal literal>
consteval const char* operator""_ansi() {
  return codepage::AnsiLiteral<literal>::text.data();
}
