#include "platform/com/guid.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/com/taskmem.h"
#include "platform/com/unknown.h"

namespace {

constexpr GUID kDistinct = {0x12345678, 0x9ABC, 0xDEF0, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};

}  // namespace

TEST(Guid, TextIsBracedUpperCaseWithFieldsInOrder) {
  struct Case { GUID guid; const char16_t* text; } cases[] = {
      {IID_IUnknown, u"{00000000-0000-0000-C000-000000000046}"},
      {kDistinct, u"{12345678-9ABC-DEF0-0123-456789ABCDEF}"},
      {GUID_NULL, u"{00000000-0000-0000-0000-000000000000}"},
  };
  for (const Case& c : cases) {
    char16_t text[40] = {};
    EXPECT_EQ(StringFromGUID2(c.guid, text, 40), 39);
    EXPECT_EQ(std::u16string(text), c.text);
    GUID back = GUID_NULL;
    EXPECT_EQ(CLSIDFromString(text, &back), S_OK);
    EXPECT_EQ(back, c.guid);
  }
  EXPECT_EQ(GuidToText(kDistinct), "{12345678-9ABC-DEF0-0123-456789ABCDEF}");
}

TEST(Guid, ShortBufferGetsNothing) {
  char16_t text[39];
  EXPECT_EQ(StringFromGUID2(kDistinct, text, 38), 0);
  EXPECT_EQ(StringFromGUID2(kDistinct, nullptr, 39), 0);
  EXPECT_EQ(StringFromGUID2(kDistinct, text, 39), 39);
}

TEST(Guid, StringFromClsidAllocatesWithTheTaskAllocator) {
  const int32_t before = TaskMemoryOutstandingBlocks();
  LPOLESTR text = nullptr;
  ASSERT_EQ(StringFromCLSID(kDistinct, &text), S_OK);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), before + 1);
  EXPECT_EQ(std::u16string(text), u"{12345678-9ABC-DEF0-0123-456789ABCDEF}");
  CoTaskMemFree(text);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), before);
}

TEST(Guid, ReadsLowerCase) {
  IID iid = GUID_NULL;
  EXPECT_EQ(IIDFromString(u"{12345678-9abc-def0-0123-456789abcdef}", &iid), S_OK);
  EXPECT_EQ(iid, kDistinct);
  GUID narrow = GUID_NULL;
  EXPECT_TRUE(TextToGuid("{12345678-9abc-DEF0-0123-456789abcdef}", &narrow));
  EXPECT_EQ(narrow, kDistinct);
}

TEST(Guid, RefusesMalformedTextAndLeavesOutputAlone) {
  const char16_t* bad[] = {
      u"12345678-9ABC-DEF0-0123-456789ABCDEF",     // no braces
      u"{12345678-9ABC-DEF0-0123-456789ABCDEF",    // no closing brace
      u"{12345678-9ABC-DEF0-0123-456789ABCDEF}x",  // trailing character
      u"{12345678-9ABC-DEF00123-456789ABCDEF0}",   // dash moved
      u"{12345678-9ABC-DEF0-0123-456789ABCDEG}",   // not a hex digit
      u"{1234567-89ABC-DEF0-0123-456789ABCDEF}",   // first field short
      u"{+2345678-9ABC-DEF0-0123-456789ABCDEF}",   // sign
      u"{12345678-9ABC-DEF0-0123-456789ABCD\u00c9F}",  // non-ASCII
      u"",
  };
  for (size_t i = 0; i < std::size(bad); ++i) {
    const char16_t* text = bad[i];
    CLSID clsid = IID_IUnknown;
    EXPECT_EQ(CLSIDFromString(text, &clsid), CO_E_CLASSSTRING) << "case " << i;
    EXPECT_EQ(clsid, IID_IUnknown);
    IID iid = IID_IUnknown;
    EXPECT_EQ(IIDFromString(text, &iid), CO_E_CLASSSTRING);
    EXPECT_EQ(iid, IID_IUnknown);
  }
  CLSID clsid = IID_IUnknown;
  EXPECT_EQ(CLSIDFromString(nullptr, &clsid), CO_E_CLASSSTRING);
  EXPECT_FALSE(TextToGuid("{12345678-9ABC-DEF0-0123-456789ABCDEF", &clsid));
  EXPECT_EQ(clsid, IID_IUnknown);
}
