#include "platform/win32/codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Windows-1252 at 0x80..0x9F, from the code page's published table; the five undefined bytes
// keep their own value as Windows maps them.
constexpr char16_t kExpectedAt80[32] = {
    u'€', 0x0081, u'‚', u'ƒ', u'„', u'…', u'†', u'‡', u'ˆ', u'‰', u'Š', u'‹', u'Œ', 0x008D, u'Ž', 0x008F,
    0x0090, u'‘', u'’', u'“', u'”', u'•', u'–', u'—', u'˜', u'™', u'š', u'›', u'œ', 0x009D, u'ž', u'Ÿ'};

std::string AllBytes() {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
  return bytes;
}

char16_t ExpectedWide(int byte) { return byte >= 0x80 && byte <= 0x9F ? kExpectedAt80[byte - 0x80] : static_cast<char16_t>(byte); }

}  // namespace

TEST(Codepage, EveryAnsiByteMapsToItsCharacterAndBack) {
  const std::string bytes = AllBytes();
  const std::u16string wide = WideFromAnsi(bytes);
  ASSERT_EQ(wide.size(), 256u);
  for (int b = 0; b < 256; ++b) EXPECT_EQ(wide[b], ExpectedWide(b)) << "byte " << b;
  EXPECT_EQ(AnsiFromWide(wide), bytes);
  EXPECT_EQ(AnsiFromUtf8(Utf8FromAnsi(bytes)), bytes);
  EXPECT_EQ(WideFromUtf8(Utf8FromAnsi(bytes)), wide);

  // The same through the Win32 calls, with an explicit length (the zero byte included).
  char16_t converted[256];
  ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, bytes.data(), 256, converted, 256), 256);
  EXPECT_EQ(std::u16string(converted, 256), wide);
  char back[256];
  BOOL used_default = TRUE;
  ASSERT_EQ(WideCharToMultiByte(1252, 0, converted, 256, back, 256, nullptr, &used_default), 256);
  EXPECT_EQ(std::string(back, 256), bytes);
  EXPECT_EQ(used_default, FALSE);
}

TEST(Codepage, EuroSignAndAccentsInEachEncoding) {
  EXPECT_EQ(Utf8FromAnsi("\x80"), "€");
  EXPECT_EQ(Utf8FromAnsi("Produ\xE7\xE3o"), "Produção");
  EXPECT_EQ(AnsiFromUtf8("€ “Ação”"), "\x80 \x93""A\xE7\xE3o\x94");
  EXPECT_EQ(WideFromAnsi("\x80"), u"€");
  EXPECT_EQ(Utf8FromWide(u"a€😀"), "a€😀");
  EXPECT_EQ(WideFromUtf8("a€😀"), u"a€😀");
}

TEST(Codepage, CharactersOutsideWindows1252BecomeQuestionMarks) {
  struct Case { const char* utf8; const char* ansi; } cases[] = {
      {"Ā", "?"},              // no best fit to 'A'
      {"日本", "??"},
      {"x😀y", "x?y"},          // one character, one mark
      {"\xC2\x80", "?"},       // U+0080 is not the euro sign's byte
      {"\xC3", "?"},           // cut sequence
      {"\xE2\x82", "?"},       // cut sequence, one mark for its valid start
      {"\xC0\xAF", "??"},      // overlong form
      {"\xED\xA0\x80", "???"},  // encoded surrogate
      {"\xF4\x90\x80\x80", "????"},  // above U+10FFFF
  };
  for (const Case& c : cases) EXPECT_EQ(AnsiFromUtf8(c.utf8), c.ansi) << c.utf8;
  EXPECT_EQ(AnsiFromWide(u"Ā\xD800z\xDC00"), "??z?");  // lone surrogates too
  EXPECT_EQ(WideFromUtf8("\xC0\xAF"), u"\uFFFD\uFFFD");
  EXPECT_EQ(Utf8FromWide(std::u16string(1, 0xD800)), "\xEF\xBF\xBD");
}

TEST(Codepage, Win32CallsFollowWindowsLengthConventions) {
  // -1: up to and including the terminator, which counts.
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a\xE7", -1, nullptr, 0), 3);
  char16_t wide[3];
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a\xE7", -1, wide, 3), 3);
  EXPECT_EQ(std::u16string(wide), u"aç");
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a\xE7", -1, wide, 2), 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  // An explicit length counts no terminator; UTF-8 in, UTF-8 out.
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a😀", 5, nullptr, 0), 3);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"ç€", 2, nullptr, 0, nullptr, nullptr), 5);
  char utf8[8];
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"ç€", -1, utf8, 8, nullptr, nullptr), 6);
  EXPECT_STREQ(utf8, "ç€");

  struct Bad { UINT code_page; const char* text; int length; int size; } bad[] = {
      {CP_ACP, "a", 0, 4}, {CP_ACP, "a", -2, 4}, {CP_ACP, nullptr, -1, 4}, {437, "a", -1, 4},
      {CP_ACP, "a", -1, -1},
  };
  for (const Bad& b : bad) {
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(b.code_page, 0, b.text, b.length, wide, b.size), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  }
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a", -1, nullptr, 4), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(Codepage, DefaultCharacterAndInvalidInputFlags) {
  char ansi[8];
  BOOL used_default = FALSE;
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"aĀ😀", 4, ansi, 8, "*", &used_default), 3);
  EXPECT_EQ(std::string(ansi, 3), "a**");
  EXPECT_EQ(used_default, TRUE);
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"a", 1, ansi, 8, nullptr, &used_default), 1);
  EXPECT_EQ(used_default, FALSE);
  // UTF-8 has no default character.
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", 1, ansi, 8, "*", nullptr), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

  char16_t wide[4];
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a\xFF", 2, wide, 4), 2);
  EXPECT_EQ(wide[1], 0xFFFD);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xFF", 2, wide, 4), 0);
  EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
  const char16_t lone[] = {u'a', 0xDC00};
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, lone, 2, ansi, 8, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
}

TEST(Codepage, AnsiLiteralConvertsAtCompileTime) {
  static_assert(std::string_view("Importação concluída"_ansi) == "Importa\xE7\xE3o conclu\xED""da");
  EXPECT_STREQ("Operação “cancelada” – 5€"_ansi, "Opera\xE7\xE3o \x93""cancelada\x94 \x96 5\x80");
  EXPECT_STREQ(""_ansi, "");
  // The same literal twice is the same storage: cheap to use in message tables.
  EXPECT_EQ("Versão"_ansi, "Versão"_ansi);
}
