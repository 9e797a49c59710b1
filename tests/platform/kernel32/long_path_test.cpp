// GetLongPathNameW on a folder the test makes: names are found whatever
// their case, and the on-disk spelling comes back for names that could be
// short (8.3) names.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include "tests/platform/support/sample_tree.h"

namespace velmora_test {
namespace {

class FileNamesTest : public SampleTreeTest {
 protected:
  // GetLongPathNameW into a roomy buffer; empty on failure.
  static WideString LongPath(const WideString& path, DWORD* result = nullptr) {
    WCHAR buffer[1041] = {};
    const DWORD length = GetLongPathNameW(path.c_str(), buffer, 1041);
    if (result) *result = length;
    return length > 0 && length < 1041 ? WideString(buffer) : WideString();
  }
};

struct LongPathCase {
  const WCHAR* asked;     // below the temporary folder
  const WCHAR* expected;  // below the temporary folder
};

void PrintTo(const LongPathCase& c, std::ostream* os) { PrintPathTo(c.asked, os); }

class LongPathTest : public FileNamesTest, public testing::WithParamInterface<LongPathCase> {};

TEST_P(LongPathTest, GivesTheOnDiskSpellingOfShortShapedNames) {
  DWORD length = 0;
  const WideString result = LongPath(m_dir.PathOf(GetParam().asked), &length);
  const WideString expected = m_dir.PathOf(GetParam().expected);
  EXPECT_EQ(expected, result);
  EXPECT_EQ(expected.size(), length);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LongPathTest,
    testing::Values(LongPathCase{OLESTR("veltool.exe"), OLESTR("VelTool.EXE")},
                    LongPathCase{OLESTR("VELTOOL.EXE"), OLESTR("VelTool.EXE")},
                    LongPathCase{OLESTR("subdir\\doc.txt"), OLESTR("SubDir\\Doc.Txt")},
                    LongPathCase{OLESTR("subdir\\"), OLESTR("SubDir\\")},
                    // Names that cannot be short names are kept as written, but
                    // they must exist.
                    LongPathCase{OLESTR("long folder name\\mixedcasename.text"),
                                 OLESTR("long folder name\\mixedcasename.text")},
                    // "." and ".." stay in the text.
                    LongPathCase{OLESTR("subdir\\..\\subdir\\.\\doc.txt"), OLESTR("SubDir\\..\\SubDir\\.\\Doc.Txt")},
                    // So do forward slashes.
                    LongPathCase{OLESTR("subdir/doc.txt"), OLESTR("SubDir/Doc.Txt")}));

class MissingLongPathTest : public FileNamesTest, public testing::WithParamInterface<const WCHAR*> {};

TEST_P(MissingLongPathTest, FailsWithFileNotFound) {
  WCHAR buffer[1041] = {OLESTR('#')};
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(0u, GetLongPathNameW(m_dir.PathOf(GetParam()).c_str(), buffer, 1041));
  EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
  EXPECT_EQ(OLESTR('#'), buffer[0]);
}

INSTANTIATE_TEST_SUITE_P(Table, MissingLongPathTest,
                         testing::Values(OLESTR("nosuch.exe"), OLESTR("nosuchdir\\veltool.exe"),
                                         OLESTR("long folder name\\no such long file name.text"),
                                         OLESTR("no such long folder\\x.txt")));

TEST_F(FileNamesTest, LongPathTooSmallBufferGivesTheSizeNeeded) {
  const WideString expected = m_dir.PathOf(OLESTR("VelTool.EXE"));
  const WideString asked = m_dir.PathOf(OLESTR("veltool.exe"));
  WCHAR buffer[1041];
  for (WCHAR& c : buffer) c = OLESTR('#');
  const DWORD size = static_cast<DWORD>(expected.size());
  EXPECT_EQ(size + 1, GetLongPathNameW(asked.c_str(), buffer, size));
  EXPECT_EQ(OLESTR('#'), buffer[0]);
  EXPECT_EQ(size + 1, GetLongPathNameW(asked.c_str(), nullptr, 0));
  EXPECT_EQ(size, GetLongPathNameW(asked.c_str(), buffer, size + 1));
  EXPECT_EQ(expected, WideString(buffer));
}

TEST_F(FileNamesTest, LongPathIntoTheSameBuffer) {
  WideString text = m_dir.PathOf(OLESTR("veltool.exe"));
  text.resize(1041);
  const DWORD length = GetLongPathNameW(text.c_str(), &text[0], 1041);
  EXPECT_EQ(m_dir.PathOf(OLESTR("VelTool.EXE")), WideString(text.c_str()));
  EXPECT_EQ(static_cast<DWORD>(wcslen(text.c_str())), length);
}

TEST_F(FileNamesTest, LongPathOfRelativeNameStaysRelative) {
  WCHAR saved[1024] = {};
  ASSERT_GT(GetCurrentDirectoryW(1024, saved), 0u);
  ASSERT_TRUE(SetCurrentDirectoryW(m_dir.Path().c_str()));
  const WideString result = LongPath(OLESTR("subdir\\doc.txt"));
  SetCurrentDirectoryW(saved);
  EXPECT_EQ(WideString(OLESTR("SubDir\\Doc.Txt")), result);
}

TEST_F(FileNamesTest, LongPathOfEmptyTextFailsWithPathNotFound) {
  WCHAR buffer[16];
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(0u, GetLongPathNameW(OLESTR(""), buffer, 16));
  EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), GetLastError());
}

}  // namespace
}  // namespace velmora_test
