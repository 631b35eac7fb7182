#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

#include "platform/com/currency.h"
#include "platform/win32/codepage.h"

namespace {

CY Cy(int64_t units) {
  CY value;
  value.int64 = units;
  return value;
}

// The text of a BSTR, freed afterwards.
std::string Take(BSTR bstr) {
  std::string text = AnsiFromWide(std::u16string_view(bstr, SysStringLen(bstr)));
  SysFreeString(bstr);
  return text;
}

// The money format of the value classes: "." between thousands, "," before `decimals` decimals.
NUMBERFMTA MoneyFormat(UINT decimals) { return {decimals, 1, 3, ",", ".", 1}; }

std::string Formatted(const char* value, const NUMBERFMTA& format) {
  char text[100] = "untouched";
  const int written = GetNumberFormatA(0, 0, value, &format, text, sizeof text);
  if (written == 0) return "failed with " + std::to_string(GetLastError());
  EXPECT_EQ(written, static_cast<int>(strlen(text)) + 1) << value;
  return text;
}

}  // namespace

TEST(NumberText, CurrencyTextDropsTrailingZerosOfTheDecimals) {
  struct Case { int64_t units; LCID locale; const char* text; } cases[] = {
      {12345000, LCID_PORTUGUESE_BRAZIL, "1234,5"},
      {20000, LCID_PORTUGUESE_BRAZIL, "2"},
      {-2500, LCID_PORTUGUESE_BRAZIL, "-0,25"},
      {0, LCID_PORTUGUESE_BRAZIL, "0"},
      {1, LCID_PORTUGUESE_BRAZIL, "0,0001"},
      {-1, LCID_PORTUGUESE_BRAZIL, "-0,0001"},
      {12345678901230, LCID_PORTUGUESE_BRAZIL, "1234567890,123"},  // no thousands separator
      {std::numeric_limits<int64_t>::max(), LCID_PORTUGUESE_BRAZIL, "922337203685477,5807"},
      {std::numeric_limits<int64_t>::min(), LCID_PORTUGUESE_BRAZIL, "-922337203685477,5808"},
      {12345000, LCID_ENGLISH_US, "1234.5"},
      {12345000, LOCALE_USER_DEFAULT, "1234,5"},
  };
  for (const Case& c : cases) {
    BSTR text = nullptr;
    ASSERT_EQ(VarBstrFromCy(Cy(c.units), c.locale, LOCALE_NOUSEROVERRIDE, &text), S_OK);
    EXPECT_EQ(Take(text), c.text);
  }
  BSTR untouched = nullptr;
  EXPECT_EQ(VarBstrFromCy(Cy(1), 1031, 0, &untouched), E_INVALIDARG);  // a locale we lack
  EXPECT_EQ(untouched, nullptr);
}

TEST(NumberText, DoubleTextHasFifteenSignificantDigitsAndSwitchesToExponents) {
  struct Case { double value; LCID locale; const char* text; } cases[] = {
      {1234.5, LCID_ENGLISH_US, "1234.5"},
      {-0.5, LCID_ENGLISH_US, "-0.5"},
      {0.0, LCID_ENGLISH_US, "0"},
      {-0.0, LCID_ENGLISH_US, "0"},
      {0.1 + 0.2, LCID_ENGLISH_US, "0.3"},
      {1.0 / 3.0, LCID_ENGLISH_US, "0.333333333333333"},
      {1234567.89, LCID_ENGLISH_US, "1234567.89"},
      {922337203685477.5807, LCID_ENGLISH_US, "922337203685478"},
      {123456789012345.0, LCID_ENGLISH_US, "123456789012345"},
      {1e15, LCID_ENGLISH_US, "1E+15"},
      {1.5e20, LCID_ENGLISH_US, "1.5E+20"},
      {-2.5e-7, LCID_ENGLISH_US, "-2.5E-07"},
      {0.0001, LCID_ENGLISH_US, "0.0001"},
      {0.00001, LCID_ENGLISH_US, "1E-05"},
      {1234.5, LCID_PORTUGUESE_BRAZIL, "1234,5"},
  };
  for (const Case& c : cases) {
    BSTR text = nullptr;
    ASSERT_EQ(VarBstrFromR8(c.value, c.locale, LOCALE_NOUSEROVERRIDE, &text), S_OK);
    EXPECT_EQ(Take(text), c.text) << c.value;
  }
  BSTR untouched = nullptr;
  EXPECT_EQ(VarBstrFromR8(std::numeric_limits<double>::infinity(), LCID_ENGLISH_US, 0, &untouched),
            DISP_E_OVERFLOW);
  EXPECT_EQ(untouched, nullptr);
}

TEST(NumberText, NumberFormatRoundsPadsAndGroups) {
  struct Case { const char* value; UINT decimals; const char* text; } cases[] = {
      {"1234.5", 4, "1.234,5000"},
      {"-0.5", 2, "-0,50"},
      {"1234567.89", 2, "1.234.567,89"},
      {"1234567.89", 0, "1.234.568"},
      {"0.125", 2, "0,13"},          // half away from zero
      {"-0.125", 2, "-0,13"},
      {"0.1249999", 2, "0,12"},
      {"999.995", 2, "1.000,00"},    // carry into a new digit and a new group
      {"-0.004", 2, "0,00"},         // rounds to zero: no sign
      {"0", 2, "0,00"},
      {".5", 2, "0,50"},
      {"5.", 0, "5"},
      {"007", 0, "7"},
      {"123", 2, "123,00"},
      {"123456", 1, "123.456,0"},
      {"1000", 0, "1.000"},
      {"0.00000001", 8, "0,00000001"},
  };
  for (const Case& c : cases) EXPECT_EQ(Formatted(c.value, MoneyFormat(c.decimals)), c.text) << c.value;
}

TEST(NumberText, NumberFormatHonoursTheOtherFormatFields) {
  EXPECT_EQ(Formatted("0.5", {2, 0, 3, ",", ".", 1}), ",50");
  EXPECT_EQ(Formatted("1234567", {0, 1, 0, ",", ".", 1}), "1234567");
  EXPECT_EQ(Formatted("1234567.5", {1, 1, 32, ".", ",", 1}), "12,34,567.5");
  EXPECT_EQ(Formatted("1234567", {0, 1, 4, ",", " ", 1}), "123 4567");
  EXPECT_EQ(Formatted("1234", {0, 1, 3, ",", "--", 1}), "1--234");
  const char* negatives[] = {"(1,5)", "-1,5", "- 1,5", "1,5-", "1,5 -"};
  for (UINT order = 0; order < 5; ++order)
    EXPECT_EQ(Formatted("-1.5", {1, 1, 3, ",", ".", order}), negatives[order]);
}

TEST(NumberText, NumberFormatRefusesBadTextAndFormats) {
  const char* bad_values[] = {"1E-05", "", "-", ".", "1.2.3", " 1", "1 ", "+1", "1,5", "--1", "1-"};
  for (const char* value : bad_values)
    EXPECT_EQ(Formatted(value, MoneyFormat(2)), "failed with 87") << value;
  EXPECT_EQ(Formatted("1", {10, 1, 3, ",", ".", 1}), "failed with 87");
  EXPECT_EQ(Formatted("1", {2, 1, 10, ",", ".", 1}), "failed with 87");
  EXPECT_EQ(Formatted("1", {2, 1, 3, ",", ".", 5}), "failed with 87");
  EXPECT_EQ(Formatted("1", {2, 1, 3, nullptr, ".", 1}), "failed with 87");
  EXPECT_EQ(Formatted("1", {2, 1, 3, ",", nullptr, 1}), "failed with 87");

  const NUMBERFMTA format = MoneyFormat(2);
  char text[16];
  EXPECT_EQ(GetNumberFormatA(0, 0, nullptr, &format, text, sizeof text), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(GetNumberFormatA(1031, 0, "1", &format, text, sizeof text), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(GetNumberFormatA(0, 0, "1", &format, nullptr, 16), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(GetNumberFormatA(0, LOCALE_NOUSEROVERRIDE, "1", &format, text, sizeof text), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
}

TEST(NumberText, NumberFormatReportsTheSizeItNeeds) {
  const NUMBERFMTA format = MoneyFormat(4);
  EXPECT_EQ(GetNumberFormatA(0, 0, "1234.5", &format, nullptr, 0), 11);  // "1.234,5000" + zero
  char text[11];
  SetLastError(0);
  EXPECT_EQ(GetNumberFormatA(0, 0, "1234.5", &format, text, 10), 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(GetNumberFormatA(0, 0, "1234.5", &format, text, 11), 11);
  EXPECT_STREQ(text, "1.234,5000");
}

TEST(NumberText, NumberFormatWithoutFormatUsesTheLocale) {
  char text[32];
  EXPECT_GT(GetNumberFormatA(LCID_ENGLISH_US, LOCALE_NOUSEROVERRIDE, "-1234.567", nullptr, text, 32), 0);
  EXPECT_STREQ(text, "-1,234.57");
  EXPECT_GT(GetNumberFormatA(LCID_PORTUGUESE_BRAZIL, 0, "1234.567", nullptr, text, 32), 0);
  EXPECT_STREQ(text, "1.234,57");
  EXPECT_EQ(GetNumberFormatA(LCID_ENGLISH_US, 1, "1", nullptr, text, 32), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
}

// The money classes' text: the double's text under 1033, then the money format.
TEST(NumberText, DoubleTextFeedsTheNumberFormat) {
  struct Case { double value; UINT decimals; const char* text; } cases[] = {
      {1234.5, 4, "1.234,5000"},
      {-0.5, 2, "-0,50"},
      {1234567.89, 2, "1.234.567,89"},
      {42.0, 0, "42"},
      {0.00001, 8, "failed with 87"},  // "1E-05" is not a number text for the formatter
  };
  for (const Case& c : cases) {
    BSTR bstr = nullptr;
    ASSERT_EQ(VarBstrFromR8(c.value, LCID_ENGLISH_US, LOCALE_NOUSEROVERRIDE, &bstr), S_OK);
    EXPECT_EQ(Formatted(Take(bstr).c_str(), MoneyFormat(c.decimals)), c.text) << c.value;
  }
}
