#include <gtest/gtest.h>

#include <string>

#include "platform/win32/errortext.h"

namespace {

constexpr DWORD kFromSystem = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;

// The text and the count that FormatMessageA gives, or the error when it gives 0.
std::string Text(DWORD flags, DWORD code, DWORD size = 256) {
  char buffer[256] = {};
  const DWORD length = FormatMessageA(
      flags, nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer, size, nullptr);
  if (length == 0) return "error " + std::to_string(GetLastError());
  EXPECT_EQ(length, std::string(buffer).size());
  return buffer;
}

TEST(FormatMessage, GivesThePortugueseSystemTextsInWindows1252) {
  struct Case {
    DWORD flags;
    DWORD code;
    std::string text;
  } cases[] = {
      {kFromSystem, ERROR_ACCESS_DENIED, "Acesso negado.\r\n"},
      {kFromSystem | FORMAT_MESSAGE_MAX_WIDTH_MASK, 0x800706BA,
       "O servidor RPC n\xE3o est\xE1 dispon\xEDvel. "},
      {kFromSystem, 0x80070005, "Acesso negado.\r\n"},
      {kFromSystem, static_cast<DWORD>(E_INVALIDARG), "O par\xE2metro est\xE1 incorreto.\r\n"},
      {kFromSystem, static_cast<DWORD>(REGDB_E_CLASSNOTREG), "Classe n\xE3o registrada\r\n"},
      {kFromSystem, 12345, "error 317"},
      {kFromSystem, 0x80041234, "error 317"},
      {FORMAT_MESSAGE_FROM_STRING, ERROR_ACCESS_DENIED, "error 87"},
  };
  for (const Case& c : cases) EXPECT_EQ(Text(c.flags, c.code), c.text) << std::hex << c.code;
}

TEST(FormatMessage, NeedsRoomForTheTextAndItsZero) {
  EXPECT_EQ(Text(kFromSystem, ERROR_ACCESS_DENIED, 16), "error 122");
  EXPECT_EQ(Text(kFromSystem, ERROR_ACCESS_DENIED, 17), "Acesso negado.\r\n");
}

}  // namespace
