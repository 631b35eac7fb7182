#include "platform/mfc/CString.h"

#include <gtest/gtest.h>

TEST(CString, FormatsLikePrintfAndGrowsPastAnyFixedBuffer) {
  CString s;
  s.Format("%s%05d-%c", "PP", 42, 'x');
  EXPECT_STREQ(s, "PP00042-x");
  std::string wide(5000, 'a');
  s.Format("%s!", wide.c_str());
  EXPECT_EQ(s.GetLength(), 5001);
}

TEST(CString, ComparesWithoutCaseOnlyForAsciiLetters) {
  struct Case { const char* a; const char* b; int sign; } cases[] = {
      {"PPMESTRE.DAT", "ppmestre.dat", 0},
      {"abc", "ABD", -1},
      {"abd", "ABC", 1},
      {"ab", "ABC", -1},
      {"\xC1rea", "\xE1rea", -1},  // Á and á are different bytes under the C locale
      {"", "", 0},
  };
  for (const Case& c : cases) {
    int r = CString(c.a).CompareNoCase(c.b);
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " vs " << c.b;
  }
  EXPECT_NE(CString("abc").Compare("ABC"), 0);
}

TEST(CString, SearchesAndSubstringsClampLikeTheFramework) {
  CString path("\\srv\\qv\\EMP\\PP\\ppmestre.dat");
  EXPECT_EQ(path.Find('\\'), 0);
  EXPECT_EQ(path.Find("PP"), 12);
  EXPECT_EQ(path.Find("PP", 13), -1);
  EXPECT_EQ(path.Find('x', 100), -1);
  EXPECT_EQ(path.ReverseFind('\\'), 14);
  EXPECT_EQ(path.FindOneOf(".:"), 23);
  EXPECT_STREQ(path.Mid(path.ReverseFind('\\') + 1), "ppmestre.dat");
  EXPECT_STREQ(path.Left(4), "\\srv");
  EXPECT_STREQ(path.Right(3), "dat");
  EXPECT_STREQ(path.Left(-1), "");
  EXPECT_STREQ(path.Mid(500, 2), "");
  EXPECT_STREQ(path.Right(999), path);
  EXPECT_STREQ(CString("0225-000025").SpanExcluding("-"), "0225");
  EXPECT_STREQ(CString("123abc").SpanIncluding("0123456789"), "123");
}

TEST(CString, EditsInPlace) {
  CString s("  Ordem de produ\xE7\xE3o \t\n");
  s.TrimLeft();
  s.TrimRight();
  EXPECT_STREQ(s, "Ordem de produ\xE7\xE3o");
  s.MakeUpper();
  EXPECT_STREQ(s, "ORDEM DE PRODU\xE7\xE3O");
  EXPECT_EQ(s.Replace(" ", "__"), 2);
  EXPECT_STREQ(s, "ORDEM__DE__PRODU\xE7\xE3O");
  EXPECT_EQ(s.Remove('_'), 4);
  s.Insert(5, '-');
  s.Delete(0, 2);
  EXPECT_STREQ(s, "DEM-DEPRODU\xE7\xE3O");
  CString zeros("000120");
  zeros.TrimLeft('0');
  EXPECT_STREQ(zeros, "120");
}

TEST(CString, BufferAccessTakesLengthFromTerminator) {
  CString s("abc");
  char* buffer = s.GetBuffer(10);
  snprintf(buffer, 11, "%s", "ninechars");
  s.ReleaseBuffer();
  EXPECT_STREQ(s, "ninechars");
  EXPECT_EQ(s.GetLength(), 9);
  s.GetBufferSetLength(4);
  s.ReleaseBuffer(2);
  EXPECT_STREQ(s, "ni");
  EXPECT_STREQ(CString("abcdef", 3), "abc");
  EXPECT_STREQ(CString(static_cast<const char*>(nullptr)), "");
}
