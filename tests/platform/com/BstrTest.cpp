#include "platform/com/bstr.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/com/taskmem.h"

namespace {

uint32_t PrefixOf(BSTR bstr) {
  uint32_t bytes;
  memcpy(&bytes, reinterpret_cast<const char*>(bstr) - 4, 4);
  return bytes;
}

}  // namespace

TEST(Bstr, CarriesByteLengthBeforeTextAndZeroAfterIt) {
  BSTR text = SysAllocString(u"Ordem");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(PrefixOf(text), 10u);
  EXPECT_EQ(SysStringLen(text), 5u);
  EXPECT_EQ(SysStringByteLen(text), 10u);
  EXPECT_EQ(std::u16string(text), u"Ordem");
  EXPECT_EQ(text[5], u'\0');
  SysFreeString(text);
}

TEST(Bstr, KeepsEmbeddedZerosAndZeroFillsWithoutSource) {
  BSTR text = SysAllocStringLen(u"a\0b\0", 4);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(SysStringLen(text), 4u);
  EXPECT_EQ(std::u16string(text, 5), std::u16string(u"a\0b\0\0", 5));

  BSTR zeros = SysAllocStringLen(nullptr, 3);
  ASSERT_NE(zeros, nullptr);
  EXPECT_EQ(SysStringLen(zeros), 3u);
  EXPECT_EQ(std::u16string(zeros, 4), std::u16string(4, u'\0'));

  BSTR bytes = SysAllocStringByteLen("abc", 3);  // odd byte count: the length rounds down
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(SysStringByteLen(bytes), 3u);
  EXPECT_EQ(SysStringLen(bytes), 1u);
  EXPECT_EQ(memcmp(bytes, "abc\0\0", 5), 0);

  BSTR empty = SysAllocString(u"");
  ASSERT_NE(empty, nullptr);  // an empty BSTR is not a null BSTR
  EXPECT_EQ(SysStringLen(empty), 0u);

  SysFreeString(text);
  SysFreeString(zeros);
  SysFreeString(bytes);
  SysFreeString(empty);
}

TEST(Bstr, NullsAreAcceptedWhereOleAcceptsThem) {
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  EXPECT_EQ(SysStringByteLen(nullptr), 0u);
  SysFreeString(nullptr);
  EXPECT_EQ(SysReAllocString(nullptr, u"x"), FALSE);
  EXPECT_EQ(SysAllocStringLen(nullptr, 0x40000000), nullptr);
}

TEST(Bstr, ReallocationReplacesTextEvenFromItsOwnCharacters) {
  BSTR text = SysAllocString(u"produ\u00e7\u00e3o");
  ASSERT_EQ(SysReAllocString(&text, text + 5), TRUE);  // the tail of the old text itself
  EXPECT_EQ(std::u16string(text), u"\u00e7\u00e3o");
  EXPECT_EQ(SysStringLen(text), 3u);
  ASSERT_EQ(SysReAllocStringLen(&text, u"abcdef", 2), TRUE);
  EXPECT_EQ(std::u16string(text), u"ab");
  ASSERT_EQ(SysReAllocString(&text, nullptr), TRUE);
  EXPECT_EQ(text, nullptr);
}

TEST(Bstr, EachStringIsOneTaskAllocatorBlock) {
  const int32_t before = TaskMemoryOutstandingBlocks();
  BSTR a = SysAllocString(u"a");
  BSTR b = SysAllocStringLen(nullptr, 10);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), before + 2);
  SysReAllocString(&a, u"longer text");
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), before + 2);
  SysFreeString(a);
  SysFreeString(b);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), before);
}
