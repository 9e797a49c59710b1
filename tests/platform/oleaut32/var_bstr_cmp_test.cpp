// VarBstrCmp. Windows orders by the locale's collation; the Linux layer
// approximates it (letters alphabetically whatever their case, lower case
// before upper case between strings equal but for case). The cases below are
// the ones where that approximation and the locale order must agree: equality,
// case (in)sensitivity, prefixes, empty and null strings, and alphabetical
// order across cases, which a plain code-unit comparison gets wrong.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "tests/platform/support/owners.h"
#include "tests/support/hresult.h"

namespace platform_test {
namespace {

struct CompareCase {
  const char* name;
  const OLECHAR* left;  // null stands for a null BSTR
  const OLECHAR* right;
  ULONG flags;
  HRESULT expected;
};

void PrintTo(const CompareCase& c, std::ostream* os) { *os << c.name; }

class VarBstrCmpTest : public testing::TestWithParam<CompareCase> {};

TEST_P(VarBstrCmpTest, Compares) {
  const CompareCase& c = GetParam();
  Bstr left(c.left ? SysAllocString(c.left) : nullptr);
  Bstr right(c.right ? SysAllocString(c.right) : nullptr);
  EXPECT_HR(c.expected, VarBstrCmp(left.get(), right.get(), LOCALE_USER_DEFAULT, c.flags));
}

const CompareCase kCompareCases[] = {
    {"SameText", OLESTR("Velmora"), OLESTR("Velmora"), 0, VARCMP_EQ},
    {"CaseDiffersNotEqual", OLESTR("Velmora"), OLESTR("VELMORA"), 0, VARCMP_LT},
    {"CaseDiffersIgnoringCase", OLESTR("Velmora"), OLESTR("VELMORA"), NORM_IGNORECASE, VARCMP_EQ},
    {"LowerCaseFirst", OLESTR("abc"), OLESTR("Abc"), 0, VARCMP_LT},
    {"UpperCaseAfter", OLESTR("Abc"), OLESTR("abc"), 0, VARCMP_GT},
    {"LetterBeatsCase", OLESTR("abd"), OLESTR("ABC"), 0, VARCMP_GT},
    {"AlphabeticalAcrossCase", OLESTR("apple"), OLESTR("Banana"), 0, VARCMP_LT},
    {"AlphabeticalAcrossCaseReversed", OLESTR("Banana"), OLESTR("apple"), 0, VARCMP_GT},
    {"AlphabeticalIgnoringCase", OLESTR("apple"), OLESTR("BANANA"), NORM_IGNORECASE, VARCMP_LT},
    {"PrefixIsLess", OLESTR("abc"), OLESTR("abcd"), 0, VARCMP_LT},
    {"LongerIsGreater", OLESTR("abcd"), OLESTR("abc"), NORM_IGNORECASE, VARCMP_GT},
    {"DigitsBeforeLetters", OLESTR("9"), OLESTR("a"), 0, VARCMP_LT},
    {"DigitsInOrder", OLESTR("item1"), OLESTR("item2"), 0, VARCMP_LT},
    {"BothNull", nullptr, nullptr, 0, VARCMP_EQ},
    {"NullEqualsEmpty", nullptr, OLESTR(""), 0, VARCMP_EQ},
    {"EmptyEqualsNull", OLESTR(""), nullptr, 0, VARCMP_EQ},
    {"NullBeforeText", nullptr, OLESTR("a"), 0, VARCMP_LT},
    {"TextAfterEmpty", OLESTR("a"), OLESTR(""), 0, VARCMP_GT},
};

INSTANTIATE_TEST_SUITE_P(Cases, VarBstrCmpTest, testing::ValuesIn(kCompareCases),
                         [](const testing::TestParamInfo<CompareCase>& info) { return std::string(info.param.name); });

TEST(VarBstrCmp, ComparesTheWholeLengthPastEmbeddedZeros) {
  const OLECHAR left_text[] = {'a', 0, 'b'};
  const OLECHAR right_text[] = {'a', 0, 'c'};
  Bstr left(SysAllocStringLen(left_text, 3));
  Bstr right(SysAllocStringLen(right_text, 3));
  Bstr same(SysAllocStringLen(left_text, 3));
  EXPECT_HR(VARCMP_LT, VarBstrCmp(left.get(), right.get(), LOCALE_USER_DEFAULT, 0));
  EXPECT_HR(VARCMP_EQ, VarBstrCmp(left.get(), same.get(), LOCALE_USER_DEFAULT, 0));
}

}  // namespace
}  // namespace platform_test
