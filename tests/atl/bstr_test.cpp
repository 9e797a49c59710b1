// CComBSTR: null and empty strings, copies that own their text, and the
// ways a BSTR is handed in and out without a leak or a double free (the
// Linux build runs these under AddressSanitizer).
#include <gtest/gtest.h>

#include <atlbase.h>

#include <utility>

#include "tests/support/hresult.h"

namespace {

bool Holds(BSTR s, const OLECHAR* text, UINT length) {
  if (::SysStringLen(s) != length) return false;
  for (UINT i = 0; i < length; ++i) {
    if (s[i] != text[i]) return false;
  }
  return true;
}

bool Holds(BSTR s, const OLECHAR* text) {
  UINT length = 0;
  while (text[length]) ++length;
  return Holds(s, text, length);
}

TEST(CComBSTRTest, NullAndEmptyAreBothEmptyButOnlyNullIsNull) {
  CComBSTR none;
  CComBSTR from_null(static_cast<LPCOLESTR>(nullptr));
  CComBSTR empty(OLESTR(""));
  // A const object's address is its own: operator& is for out-parameters.
  for (const CComBSTR* s : {&std::as_const(none), &std::as_const(from_null), &std::as_const(empty)}) {
    EXPECT_EQ(0u, s->Length());
    EXPECT_TRUE(s->IsEmpty());
  }
  EXPECT_EQ(nullptr, none.m_str);
  EXPECT_EQ(nullptr, from_null.m_str);
  EXPECT_TRUE(!none);
  ASSERT_NE(nullptr, empty.m_str);
  EXPECT_FALSE(!empty);
}

TEST(CComBSTRTest, LengthConstructorCopiesThatManyCharacters) {
  CComBSTR prefix(3, OLESTR("abcdef"));
  EXPECT_TRUE(Holds(prefix, OLESTR("abc")));
  EXPECT_EQ(0, prefix.m_str[3]);

  CComBSTR with_nul(5, OLESTR("ab\0cd"));
  EXPECT_TRUE(Holds(with_nul, OLESTR("ab\0cd"), 5));

  CComBSTR nothing(0, OLESTR("abc"));
  ASSERT_NE(nullptr, nothing.m_str);
  EXPECT_EQ(0u, nothing.Length());

  CComBSTR room(4, nullptr);
  ASSERT_NE(nullptr, room.m_str);
  EXPECT_EQ(4u, room.Length());
}

TEST(CComBSTRTest, NegativeLengthThrowsInsteadOfReadingPastTheText) {
  try {
    CComBSTR bad(-1, OLESTR("abc"));
    ADD_FAILURE() << "no exception";
  } catch (const CAtlException& e) {
    EXPECT_HR(E_INVALIDARG, static_cast<HRESULT>(e));
  }
}

TEST(CComBSTRTest, CopiesOwnTheirTextAndKeepEmbeddedNuls) {
  CComBSTR original(5, OLESTR("ab\0cd"));
  CComBSTR copied(original);
  CComBSTR assigned;
  assigned = original;
  for (const CComBSTR* s : {&std::as_const(copied), &std::as_const(assigned)}) {
    EXPECT_NE(original.m_str, s->m_str);
    EXPECT_TRUE(Holds(*s, OLESTR("ab\0cd"), 5));
  }

  BSTR copy = original.Copy();
  EXPECT_NE(original.m_str, copy);
  EXPECT_TRUE(Holds(copy, OLESTR("ab\0cd"), 5));
  ::SysFreeString(copy);

  CComBSTR none;
  EXPECT_EQ(nullptr, none.Copy());
  CComBSTR copy_of_none(none);
  EXPECT_EQ(nullptr, copy_of_none.m_str);
  CComBSTR empty(OLESTR(""));
  CComBSTR copy_of_empty(empty);
  EXPECT_NE(nullptr, copy_of_empty.m_str);
}

TEST(CComBSTRTest, CopyToHandsOutANewCopyOrNull) {
  CComBSTR text(OLESTR("name"));
  EXPECT_HR(E_POINTER, text.CopyTo(nullptr));

  BSTR out = nullptr;
  ASSERT_HR(S_OK, text.CopyTo(&out));
  EXPECT_NE(text.m_str, out);
  EXPECT_TRUE(Holds(out, OLESTR("name")));
  ::SysFreeString(out);

  CComBSTR none;
  out = text.m_str;
  EXPECT_HR(S_OK, none.CopyTo(&out));
  EXPECT_EQ(nullptr, out);
}

TEST(CComBSTRTest, ReceiveFreesWhatIsHeld) {
  CComBSTR text(OLESTR("old"));
  BSTR* slot = text.Receive();
  EXPECT_EQ(nullptr, *slot);
  EXPECT_EQ(nullptr, text.m_str);
  *slot = ::SysAllocString(OLESTR("new"));
  EXPECT_TRUE(Holds(text, OLESTR("new")));
  *text.Receive() = ::SysAllocString(OLESTR("newer"));
  EXPECT_TRUE(Holds(text, OLESTR("newer")));
}

TEST(CComBSTRTest, AttachFreesTheOldStringAndDetachHandsItOut) {
  CComBSTR text(OLESTR("old"));
  BSTR fresh = ::SysAllocString(OLESTR("fresh"));
  text.Attach(fresh);
  EXPECT_EQ(fresh, text.m_str);
  text.Attach(text.m_str);  // attaching what is held frees nothing
  EXPECT_TRUE(Holds(text, OLESTR("fresh")));

  BSTR detached = text.Detach();
  EXPECT_EQ(fresh, detached);
  EXPECT_EQ(nullptr, text.m_str);
  ::SysFreeString(detached);

  text.Attach(nullptr);
  EXPECT_EQ(nullptr, text.m_str);
}

TEST(CComBSTRTest, AssignmentFromItsOwnTextIsSafe) {
  CComBSTR text(OLESTR("hello"));
  text = text.m_str;
  EXPECT_TRUE(Holds(text, OLESTR("hello")));
  text = text;
  EXPECT_TRUE(Holds(text, OLESTR("hello")));
  text = std::move(text);
  EXPECT_TRUE(Holds(text, OLESTR("hello")));
  // A pointer into its own text: copied before the old text goes.
  text = text.m_str + 1;
  EXPECT_TRUE(Holds(text, OLESTR("ello")));

  text = static_cast<LPCOLESTR>(nullptr);
  EXPECT_EQ(nullptr, text.m_str);
}

TEST(CComBSTRTest, MoveLeavesTheSourceNull) {
  CComBSTR source(OLESTR("moved"));
  BSTR const held = source.m_str;
  CComBSTR target(std::move(source));
  EXPECT_EQ(held, target.m_str);
  EXPECT_EQ(nullptr, source.m_str);  // NOLINT: the moved-from state is defined

  CComBSTR other(OLESTR("other"));
  other = std::move(target);
  EXPECT_EQ(held, other.m_str);
  EXPECT_EQ(nullptr, target.m_str);  // NOLINT

  other.Empty();
  EXPECT_EQ(nullptr, other.m_str);
}

}  // namespace
