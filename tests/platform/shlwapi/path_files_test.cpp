// PathFileExistsW and PathIsDirectoryW on a folder the test makes: names are
// found whatever their case.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlwapi.h>

#include "tests/platform/support/sample_tree.h"

namespace velmora_test {
namespace {

struct ExistsCase {
  const WCHAR* name;  // below the temporary folder
  bool exists;
  bool folder;
};

void PrintTo(const ExistsCase& c, std::ostream* os) { PrintPathTo(c.name, os); }

class ExistsTest : public SampleTreeTest, public testing::WithParamInterface<ExistsCase> {};

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

TEST(PathFileExistsNullInput, NothingExists) {
  EXPECT_FALSE(PathFileExistsW(nullptr));
  EXPECT_FALSE(PathIsDirectoryW(nullptr));
  EXPECT_FALSE(PathFileExistsW(OLESTR("")));
}

}  // namespace
}  // namespace velmora_test
