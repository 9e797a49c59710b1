// BSTR: length prefix, terminator, null handling and reallocation.
#include <gtest/gtest.h>

#include <string.h>

#include "tests/platform/support/owners.h"

namespace platform_test {
namespace {

// The documented layout: the byte count sits in the four bytes before the text.
DWORD PrefixOf(BSTR text) { return reinterpret_cast<DWORD*>(text)[-1]; }

TEST(Bstr, AllocStringCopiesTextAndStoresByteLengthBeforeIt) {
  Bstr text(OLESTR("hello"));
  ASSERT_NE(text.get(), nullptr);
  EXPECT_EQ(SysStringLen(text.get()), 5u);
  EXPECT_EQ(SysStringByteLen(text.get()), 10u);
  EXPECT_EQ(PrefixOf(text.get()), 10u);
  EXPECT_EQ(wcscmp(text.get(), OLESTR("hello")), 0);
  EXPECT_EQ(text.get()[5], 0);
}

TEST(Bstr, AllocStringOfNullIsNull) { EXPECT_EQ(SysAllocString(nullptr), nullptr); }

TEST(Bstr, EmptyStringIsAllocatedAndTerminated) {
  Bstr text(OLESTR(""));
  ASSERT_NE(text.get(), nullptr);
  EXPECT_EQ(SysStringLen(text.get()), 0u);
  EXPECT_EQ(text.get()[0], 0);
}

TEST(Bstr, AllocStringLenTakesExactlyTheGivenCharactersIncludingZeros) {
  const OLECHAR source[] = {'a', 0, 'b', 'c', 'd'};
  Bstr text(SysAllocStringLen(source, 3));
  ASSERT_NE(text.get(), nullptr);
  EXPECT_EQ(SysStringLen(text.get()), 3u);
  EXPECT_EQ(text.get()[0], 'a');
  EXPECT_EQ(text.get()[1], 0);
  EXPECT_EQ(text.get()[2], 'b');
  EXPECT_EQ(text.get()[3], 0);  // terminator, not 'c'
}

TEST(Bstr, AllocStringLenOfNullAllocatesTheLengthWithTerminator) {
  // The content is undefined by the documentation; only length and terminator are.
  Bstr text(SysAllocStringLen(nullptr, 4));
  ASSERT_NE(text.get(), nullptr);
  EXPECT_EQ(SysStringLen(text.get()), 4u);
  EXPECT_EQ(PrefixOf(text.get()), 8u);
  EXPECT_EQ(text.get()[4], 0);
  for (int i = 0; i < 4; ++i) text.get()[i] = 'x';  // writable
}

TEST(Bstr, AllocStringByteLenKeepsOddByteCountsAndTerminates) {
  Bstr text(SysAllocStringByteLen("abc", 3));
  ASSERT_NE(text.get(), nullptr);
  EXPECT_EQ(SysStringByteLen(text.get()), 3u);
  EXPECT_EQ(SysStringLen(text.get()), 1u);  // whole characters only
  const char* bytes = reinterpret_cast<const char*>(text.get());
  EXPECT_EQ(memcmp(bytes, "abc", 3), 0);
  EXPECT_EQ(bytes[3], 0);
}

TEST(Bstr, AllocStringByteLenOfNullAllocatesTheLength) {
  Bstr text(SysAllocStringByteLen(nullptr, 6));
  ASSERT_NE(text.get(), nullptr);
  EXPECT_EQ(SysStringByteLen(text.get()), 6u);
  EXPECT_EQ(SysStringLen(text.get()), 3u);
}

TEST(Bstr, NullBstrHasZeroLengthAndFreeingItIsHarmless) {
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  EXPECT_EQ(SysStringByteLen(nullptr), 0u);
  SysFreeString(nullptr);
}

TEST(Bstr, ReAllocStringReplacesTheText) {
  Bstr text(OLESTR("short"));
  ASSERT_TRUE(SysReAllocString(text.out(), OLESTR("a longer text")));
  EXPECT_EQ(wcscmp(text.get(), OLESTR("a longer text")), 0);
  EXPECT_EQ(SysStringLen(text.get()), 13u);
}

TEST(Bstr, ReAllocStringFromItsOwnTail) {
  // The new text lies inside the old string, which must outlive the copy.
  Bstr text(OLESTR("prefix-tail"));
  ASSERT_TRUE(SysReAllocString(text.out(), text.get() + 7));
  EXPECT_EQ(wcscmp(text.get(), OLESTR("tail")), 0);
  EXPECT_EQ(SysStringLen(text.get()), 4u);
}

TEST(Bstr, ReAllocStringOfANullBstrAllocates) {
  Bstr text;
  ASSERT_TRUE(SysReAllocString(text.out(), OLESTR("new")));
  EXPECT_EQ(wcscmp(text.get(), OLESTR("new")), 0);
}

}  // namespace
}  // namespace platform_test
