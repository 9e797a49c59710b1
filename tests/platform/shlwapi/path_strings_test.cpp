// The shell's path string helpers, as tables of input and result. The same
// tables run against shlwapi under Wine and against the Linux layer.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlwapi.h>

#include <string>

#include "tests/support/temp_dir.h"

namespace velmora_test {
namespace {

struct EditCase {
  const WCHAR* input;
  const WCHAR* expected;
};

std::string Narrow(const WCHAR* text) {
  std::string out;
  for (; text && *text; ++text) out += *text < 0x80 ? static_cast<char>(*text) : '?';
  return out;
}

void PrintTo(const EditCase& c, std::ostream* os) { *os << '"' << Narrow(c.input) << '"'; }

WideString Edited(void(WINAPI* edit)(LPWSTR), const WCHAR* input) {
  WideString buffer(input);
  buffer.push_back(0);
  edit(&buffer[0]);
  return WideString(buffer.c_str());
}

class PathRemoveArgsTest : public testing::TestWithParam<EditCase> {};

TEST_P(PathRemoveArgsTest, CutsAtFirstBlankOutsideQuotes) {
  EXPECT_EQ(WideString(GetParam().expected), Edited(PathRemoveArgsW, GetParam().input));
}

INSTANTIATE_TEST_SUITE_P(
    Table, PathRemoveArgsTest,
    testing::Values(EditCase{OLESTR("c:\\a\\b\\FileA Arg1 Arg2"), OLESTR("c:\\a\\b\\FileA")},
                    EditCase{OLESTR("\"C:\\Program Files\\Tool\\Tool.exe\" /x"),
                             OLESTR("\"C:\\Program Files\\Tool\\Tool.exe\"")},
                    // Without quotes the blank inside the folder name starts the arguments.
                    EditCase{OLESTR("C:\\Program Files\\Tool\\Tool.exe"), OLESTR("C:\\Program")},
                    EditCase{OLESTR("notepad"), OLESTR("notepad")},
                    EditCase{OLESTR("a  b"), OLESTR("a")},
                    // Quotes count wherever they are, not only around the first token.
                    EditCase{OLESTR("a\"b c\"d e"), OLESTR("a\"b c\"d")},
                    EditCase{OLESTR("\"a b\"c d"), OLESTR("\"a b\"c")},
                    // An unclosed quote protects the rest of the text, but
                    // not a blank at its very end.
                    EditCase{OLESTR("\"ab c"), OLESTR("\"ab c")},
                    EditCase{OLESTR("\"ab c  "), OLESTR("\"ab c ")},
                    EditCase{OLESTR(" lead"), OLESTR("")},
                    EditCase{OLESTR("trail "), OLESTR("trail")},
                    // Only the blank separates arguments; a tab does not.
                    EditCase{OLESTR("a\tb"), OLESTR("a\tb")},
                    EditCase{OLESTR(""), OLESTR("")}));

class PathStripPathTest : public testing::TestWithParam<EditCase> {};

TEST_P(PathStripPathTest, KeepsTheFileName) {
  EXPECT_EQ(WideString(GetParam().expected), Edited(PathStripPathW, GetParam().input));
}

INSTANTIATE_TEST_SUITE_P(Table, PathStripPathTest,
                         testing::Values(EditCase{OLESTR("c:\\dir\\file.txt"), OLESTR("file.txt")},
                                         // A trailing backslash stays with the last name.
                                         EditCase{OLESTR("c:\\dir\\"), OLESTR("dir\\")},
                                         EditCase{OLESTR("c:\\dir\\\\"), OLESTR("dir\\\\")},
                                         EditCase{OLESTR("c:\\"), OLESTR("c:\\")},
                                         EditCase{OLESTR("c:"), OLESTR("c:")},
                                         EditCase{OLESTR("c:file"), OLESTR("file")},
                                         EditCase{OLESTR("file"), OLESTR("file")},
                                         EditCase{OLESTR("\\\\server\\share"), OLESTR("share")},
                                         EditCase{OLESTR("a/b"), OLESTR("b")},
                                         // A closing quote is part of the name.
                                         EditCase{OLESTR("\"c:\\x y\\z.exe\""), OLESTR("z.exe\"")},
                                         EditCase{OLESTR("dir\\a b"), OLESTR("a b")},
                                         EditCase{OLESTR("\\"), OLESTR("\\")},
                                         EditCase{OLESTR(""), OLESTR("")}));

class PathRemoveBlanksTest : public testing::TestWithParam<EditCase> {};

TEST_P(PathRemoveBlanksTest, StripsLeadingAndTrailingBlanks) {
  EXPECT_EQ(WideString(GetParam().expected), Edited(PathRemoveBlanksW, GetParam().input));
}

INSTANTIATE_TEST_SUITE_P(Table, PathRemoveBlanksTest,
                         testing::Values(EditCase{OLESTR("  a b  "), OLESTR("a b")},
                                         // Blanks only: tabs are not removed.
                                         EditCase{OLESTR("\t a \t"), OLESTR("\t a \t")},
                                         EditCase{OLESTR(" \" a \" "), OLESTR("\" a \"")},
                                         EditCase{OLESTR("   "), OLESTR("")},
                                         EditCase{OLESTR("a"), OLESTR("a")},
                                         EditCase{OLESTR(""), OLESTR("")}));

struct FindCase {
  const WCHAR* input;
  // Offset of the returned pointer into the input.
  size_t offset;
};

void PrintTo(const FindCase& c, std::ostream* os) { *os << '"' << Narrow(c.input) << '"'; }

class PathFindExtensionTest : public testing::TestWithParam<FindCase> {};

TEST_P(PathFindExtensionTest, PointsAtTheDotOrTheEnd) {
  const WCHAR* input = GetParam().input;
  EXPECT_EQ(GetParam().offset, static_cast<size_t>(PathFindExtensionW(input) - input));
}

INSTANTIATE_TEST_SUITE_P(Table, PathFindExtensionTest,
                         testing::Values(FindCase{OLESTR("file.txt"), 4}, FindCase{OLESTR("a.b.c"), 3},
                                         FindCase{OLESTR("file."), 4}, FindCase{OLESTR("a..b"), 2},
                                         FindCase{OLESTR("a.verylongext"), 1},
                                         // A dot in a folder name is no extension of the file.
                                         FindCase{OLESTR("c:\\dir.d\\file"), 13},
                                         FindCase{OLESTR("a.b\\"), 4},
                                         // A name that starts with a dot is all extension.
                                         FindCase{OLESTR(".profile"), 0}, FindCase{OLESTR("c:\\x\\.profile"), 5},
                                         // An extension holds no blank.
                                         FindCase{OLESTR("a.b c"), 5}, FindCase{OLESTR("a. b"), 4},
                                         FindCase{OLESTR("a.b c.d"), 5},
                                         // Only the backslash ends a name here, not "/" or ":".
                                         FindCase{OLESTR("y.z/w"), 1}, FindCase{OLESTR("x/y.z"), 3},
                                         FindCase{OLESTR("a.b:c"), 1}, FindCase{OLESTR("notepad"), 7},
                                         FindCase{OLESTR(""), 0}));

class PathFindFileNameTest : public testing::TestWithParam<FindCase> {};

TEST_P(PathFindFileNameTest, PointsAfterTheLastSeparator) {
  const WCHAR* input = GetParam().input;
  EXPECT_EQ(GetParam().offset, static_cast<size_t>(PathFindFileNameW(input) - input));
}

INSTANTIATE_TEST_SUITE_P(Table, PathFindFileNameTest,
                         testing::Values(FindCase{OLESTR("c:\\dir\\file.txt"), 7}, FindCase{OLESTR("c:\\dir\\"), 3},
                                         FindCase{OLESTR("c:\\"), 0}, FindCase{OLESTR("c:"), 0},
                                         FindCase{OLESTR("c:file"), 2}, FindCase{OLESTR("a:b"), 2},
                                         FindCase{OLESTR("a\\b:"), 2}, FindCase{OLESTR("a//b"), 3},
                                         FindCase{OLESTR("a/"), 0}, FindCase{OLESTR("/"), 0},
                                         FindCase{OLESTR("\\\\server\\share"), 9},
                                         FindCase{OLESTR("c:\\a b\\c d"), 7}, FindCase{OLESTR(""), 0}));

struct RemoveFileSpecCase {
  const WCHAR* input;
  const WCHAR* expected;
  BOOL removed;
};

void PrintTo(const RemoveFileSpecCase& c, std::ostream* os) { *os << '"' << Narrow(c.input) << '"'; }

class PathRemoveFileSpecTest : public testing::TestWithParam<RemoveFileSpecCase> {};

TEST_P(PathRemoveFileSpecTest, RemovesTheLastNameKeepingTheRoot) {
  WideString buffer(GetParam().input);
  buffer.push_back(0);
  const BOOL removed = PathRemoveFileSpecW(&buffer[0]);
  EXPECT_EQ(WideString(GetParam().expected), WideString(buffer.c_str()));
  EXPECT_EQ(GetParam().removed, removed != FALSE);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PathRemoveFileSpecTest,
    testing::Values(RemoveFileSpecCase{OLESTR("c:\\dir\\file.txt"), OLESTR("c:\\dir"), TRUE},
                    RemoveFileSpecCase{OLESTR("c:\\dir\\"), OLESTR("c:\\dir"), TRUE},
                    RemoveFileSpecCase{OLESTR("c:\\dir\\\\"), OLESTR("c:\\dir\\"), TRUE},
                    RemoveFileSpecCase{OLESTR("c:\\file"), OLESTR("c:\\"), TRUE},
                    RemoveFileSpecCase{OLESTR("c:\\"), OLESTR("c:\\"), FALSE},
                    RemoveFileSpecCase{OLESTR("c:file"), OLESTR("c:"), TRUE},
                    RemoveFileSpecCase{OLESTR("c:"), OLESTR("c:"), FALSE},
                    RemoveFileSpecCase{OLESTR("ab:"), OLESTR("ab:"), FALSE},
                    // The character after a colon never separates.
                    RemoveFileSpecCase{OLESTR("c::"), OLESTR("c:"), TRUE},
                    RemoveFileSpecCase{OLESTR("c::dir"), OLESTR("c:"), TRUE},
                    RemoveFileSpecCase{OLESTR("\\dir:x:y"), OLESTR("\\dir:x:"), TRUE},
                    RemoveFileSpecCase{OLESTR("a:b\\c"), OLESTR("a:b"), TRUE},
                    RemoveFileSpecCase{OLESTR("file"), OLESTR(""), TRUE},
                    RemoveFileSpecCase{OLESTR("a\\b\\c"), OLESTR("a\\b"), TRUE},
                    RemoveFileSpecCase{OLESTR("\\file"), OLESTR("\\"), TRUE},
                    RemoveFileSpecCase{OLESTR("\\"), OLESTR("\\"), FALSE},
                    RemoveFileSpecCase{OLESTR("\\\\server\\share"), OLESTR("\\\\server"), TRUE},
                    RemoveFileSpecCase{OLESTR("\\\\server"), OLESTR("\\\\"), TRUE},
                    RemoveFileSpecCase{OLESTR("\\\\"), OLESTR("\\\\"), FALSE},
                    // "/" is not a separator for this function.
                    RemoveFileSpecCase{OLESTR("a/b"), OLESTR(""), TRUE},
                    RemoveFileSpecCase{OLESTR(""), OLESTR(""), FALSE}));

TEST(PathStringNullInput, FindersReturnNullAndEditorsDoNothing) {
  EXPECT_EQ(nullptr, PathFindExtensionW(nullptr));
  EXPECT_EQ(nullptr, PathFindFileNameW(nullptr));
  PathRemoveArgsW(nullptr);
  PathStripPathW(nullptr);
  PathRemoveBlanksW(nullptr);
  EXPECT_FALSE(PathRemoveFileSpecW(nullptr));
}

}  // namespace
}  // namespace velmora_test
