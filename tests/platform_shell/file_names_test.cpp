// GetLongPathNameW, PathFileExistsW and PathIsDirectoryW on a folder the test
// makes: names are found whatever their case, and the on-disk spelling comes
// back for names that could be short (8.3) names.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlwapi.h>

#include "tests/support/temp_dir.h"

namespace velmora_test {
namespace {

class FileNamesTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.IsValid());
    ASSERT_FALSE(m_dir.MakeFile(OLESTR("VelTool.EXE")).empty());
    ASSERT_FALSE(m_dir.MakeFolder(OLESTR("SubDir")).empty());
    ASSERT_FALSE(m_dir.MakeFile(OLESTR("SubDir\\Doc.Txt")).empty());
    ASSERT_FALSE(m_dir.MakeFolder(OLESTR("Long Folder Name")).empty());
    ASSERT_FALSE(m_dir.MakeFile(OLESTR("Long Folder Name\\MixedCaseName.Text")).empty());
  }

  // GetLongPathNameW into a roomy buffer; empty on failure.
  static WideString LongPath(const WideString& path, DWORD* result = nullptr) {
    WCHAR buffer[1041] = {};
    const DWORD length = GetLongPathNameW(path.c_str(), buffer, 1041);
    if (result) *result = length;
    return length > 0 && length < 1041 ? WideString(buffer) : WideString();
  }

  TempDir m_dir;
};

struct LongPathCase {
  const WCHAR* asked;     // below the temporary folder
  const WCHAR* expected;  // below the temporary folder
};

void PrintTo(const LongPathCase& c, std::ostream* os) {
  for (const WCHAR* p = c.asked; *p; ++p) *os << static_cast<char>(*p < 0x80 ? *p : '?');
}

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

struct ExistsCase {
  const WCHAR* name;  // below the temporary folder
  bool exists;
  bool folder;
};

void PrintTo(const ExistsCase& c, std::ostream* os) {
  for (const WCHAR* p = c.name; *p; ++p) *os << static_cast<char>(*p < 0x80 ? *p : '?');
}

class ExistsTest : public FileNamesTest, public testing::WithParamInterface<ExistsCase> {};

TEST_P(ExistsTest, FileExistsAndIsDirectoryIgnoreCase) {
  const WideString path = m_dir.PathOf(GetParam().name);
  EXPECT_EQ(GetParam().exists, PathFileExistsW(path.c_str()) != FALSE);
  // PathIsDirectoryW returns FILE_ATTRIBUTE_DIRECTORY for a folder.
  EXPECT_EQ(GetParam().folder ? static_cast<BOOL>(FILE_ATTRIBUTE_DIRECTORY) : FALSE, PathIsDirectoryW(path.c_str()));
}

INSTANTIATE_TEST_SUITE_P(Table, ExistsTest,
                         testing::Values(ExistsCase{OLESTR("VelTool.EXE"), true, false},
                                         ExistsCase{OLESTR("veltool.exe"), true, false},
                                         ExistsCase{OLESTR("SUBDIR"), true, true},
                                         ExistsCase{OLESTR("subdir\\DOC.TXT"), true, false},
                                         ExistsCase{OLESTR("Long Folder Name"), true, true},
                                         ExistsCase{OLESTR("nosuch"), false, false},
                                         ExistsCase{OLESTR("nosuch\\doc.txt"), false, false}));

TEST(FileNamesNullInput, NothingExists) {
  EXPECT_FALSE(PathFileExistsW(nullptr));
  EXPECT_FALSE(PathIsDirectoryW(nullptr));
  EXPECT_FALSE(PathFileExistsW(OLESTR("")));
}

}  // namespace
}  // namespace velmora_test
