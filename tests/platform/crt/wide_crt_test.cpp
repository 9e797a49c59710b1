// The C runtime's wide-string functions on UTF-16: the same calls reach our
// overloads on Linux and the runtime itself on Windows. The add-in trims
// paths with iswspace and lower-cases process names with _wcslwr, so white
// space and case beyond ASCII are what these cases hold to: Unicode's spaces
// are white space, but in the C locale only ASCII letters change case.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <wctype.h>

#include <cstdio>
#include <string>

namespace velmora_test {
namespace {

std::string CodePoint(unsigned c) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", c);
  return text;
}

TEST(WideCrt, WhiteSpaceIncludesUnicodeSpaces) {
  const unsigned spaces[] = {0x09, 0x0A, 0x0D, 0x20, 0xA0, 0x2000, 0x2003, 0x200A, 0x2028, 0x202F, 0x205F, 0x3000};
  for (unsigned c : spaces) EXPECT_NE(0, iswspace(static_cast<WCHAR>(c))) << CodePoint(c);
  // Zero-width characters and the C1 next-line control are not white space.
  const unsigned others[] = {0x00, 0x41, 0x85, 0x200B, 0xFEFF, 0x5F};
  for (unsigned c : others) EXPECT_EQ(0, iswspace(static_cast<WCHAR>(c))) << CodePoint(c);
}

TEST(WideCrt, CaseMapsAsciiOnlyInTheCLocale) {
  // A program that never calls setlocale runs in the C locale, where the
  // runtime maps the ASCII letters alone.
  EXPECT_EQ(static_cast<unsigned>('a'), static_cast<unsigned>(towlower(OLESTR('A'))));
  EXPECT_EQ(static_cast<unsigned>('Z'), static_cast<unsigned>(towupper(OLESTR('z'))));
  for (unsigned c : {0xC4u, 0xE4u, 0xD6u, 0x3A9u, 0x416u, 0x100u, 0x30u, 0x5Fu}) {
    EXPECT_EQ(c, static_cast<unsigned>(towlower(static_cast<WCHAR>(c)))) << CodePoint(c);
    EXPECT_EQ(c, static_cast<unsigned>(towupper(static_cast<WCHAR>(c))))
        << CodePoint(c);
  }
}

TEST(WideCrt, LowerCasingAProcessNameKeepsOtherLetters) {
  WCHAR name[] = {0xC4, 'P', 'P', '.', 'E', 'X', 'E', 0};
  _wcslwr(name);
  const WCHAR expected[] = {0xC4, 'p', 'p', '.', 'e', 'x', 'e', 0};
  EXPECT_EQ(0, wcscmp(expected, name));
}

TEST(WideCrt, CaseInsensitiveCompareFoldsToLowerCase) {
  EXPECT_EQ(0, _wcsicmp(OLESTR("Tool.EXE"), OLESTR("tool.exe")));
  // Beyond ASCII nothing folds: Ä (U+00C4) sorts before ä (U+00E4).
  const WCHAR upper[] = {0xC4, 0};
  const WCHAR lower[] = {0xE4, 0};
  EXPECT_LT(_wcsicmp(upper, lower), 0);
  // Folded to lower case, '_' (0x5F) sorts before 'a' though after 'A'.
  EXPECT_LT(_wcsicmp(OLESTR("_"), OLESTR("A")), 0);
  EXPECT_LT(_wcsicmp(OLESTR("abc"), OLESTR("ABD")), 0);
  EXPECT_GT(_wcsnicmp(OLESTR("abcz"), OLESTR("ABCA"), 4), 0);
  EXPECT_EQ(0, _wcsnicmp(OLESTR("abcz"), OLESTR("ABCA"), 3));
}

}  // namespace
}  // namespace velmora_test
