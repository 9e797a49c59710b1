// VarBstrCmp. Windows orders by the locale's collation; the Linux layer
// approximates it (letters alphabetically whatever their case, lower case
// before upper case between strings equal but for case). The cases below are
// the ones where that approximation and the locale order must agree: equality,
// case (in)sensitivity in every script, prefixes, empty and null strings,
// zero characters, which weigh nothing, and alphabetical order across cases
// and diacritics,
// which a plain code-unit comparison gets wrong.
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
    // Letters outside ASCII: case folds in every script, and a letter with
    // a diacritic sorts with its base letter.
    {"LatinCaseIgnored", OLESTR("\u00C4pfel"), OLESTR("\u00E4PFEL"), NORM_IGNORECASE, VARCMP_EQ},
    {"LatinCaseCounts", OLESTR("\u00C4"), OLESTR("\u00E4"), 0, VARCMP_GT},
    {"GreekCaseIgnored", OLESTR("\u03A9"), OLESTR("\u03C9"), NORM_IGNORECASE, VARCMP_EQ},
    {"CyrillicCaseIgnored", OLESTR("\u0416\u0430"), OLESTR("\u0436\u0410"), NORM_IGNORECASE, VARCMP_EQ},
    {"DiacriticIsNoCase", OLESTR("\u00E4"), OLESTR("a"), NORM_IGNORECASE, VARCMP_GT},
    {"DiacriticSortsWithItsLetter", OLESTR("\u00E4"), OLESTR("b"), 0, VARCMP_LT},
    {"DiacriticAfterItsLetter", OLESTR("a"), OLESTR("\u00E4"), 0, VARCMP_LT},
};

INSTANTIATE_TEST_SUITE_P(Cases, VarBstrCmpTest, testing::ValuesIn(kCompareCases),
                         [](const testing::TestParamInfo<CompareCase>& info) { return std::string(info.param.name); });

TEST(VarBstrCmp, AZeroCharacterWeighsNothing) {
  // An empty BSTR still sorts first, but past that a string that differs
  // from another only by zero characters equals it.
  const OLECHAR zero[] = {0};
  const OLECHAR a_zero[] = {'a', 0};
  Bstr empty(SysAllocStringLen(nullptr, 0));
  Bstr just_zero(SysAllocStringLen(zero, 1));
  Bstr a(SysAllocString(OLESTR("a")));
  Bstr a_then_zero(SysAllocStringLen(a_zero, 2));
  const ULONG kFlags[] = {0, NORM_IGNORECASE};
  for (ULONG flags : kFlags) {
    EXPECT_HR(VARCMP_LT, VarBstrCmp(empty.get(), just_zero.get(), LOCALE_USER_DEFAULT, flags));
    EXPECT_HR(VARCMP_EQ, VarBstrCmp(a_then_zero.get(), a.get(), LOCALE_USER_DEFAULT, flags));
    EXPECT_HR(VARCMP_EQ, VarBstrCmp(a.get(), a_then_zero.get(), LOCALE_USER_DEFAULT, flags));
  }
}

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
