// A small folder tree for the tests of the path queries: a file, a folder with
// a file, and a folder and file whose names cannot be 8.3 short names. Names
// are in mixed case, so that a lookup that ignores case shows.
#ifndef VELMORA_TESTS_PLATFORM_SUPPORT_SAMPLE_TREE_H
#define VELMORA_TESTS_PLATFORM_SUPPORT_SAMPLE_TREE_H

#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <ostream>

#include "tests/support/temp_dir.h"

namespace velmora_test {

class SampleTreeTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.IsValid());
    ASSERT_FALSE(m_dir.MakeFile(OLESTR("VelTool.EXE")).empty());
    ASSERT_FALSE(m_dir.MakeFolder(OLESTR("SubDir")).empty());
    ASSERT_FALSE(m_dir.MakeFile(OLESTR("SubDir\\Doc.Txt")).empty());
    ASSERT_FALSE(m_dir.MakeFolder(OLESTR("Long Folder Name")).empty());
    ASSERT_FALSE(m_dir.MakeFile(OLESTR("Long Folder Name\\MixedCaseName.Text")).empty());
  }

  TempDir m_dir;
};

// A path below the tree, for test names and failure messages.
inline void PrintPathTo(const WCHAR* path, std::ostream* os) {
  for (const WCHAR* p = path; *p; ++p) *os << static_cast<char>(*p < 0x80 ? *p : '?');
}

}  // namespace velmora_test

#endif  // VELMORA_TESTS_PLATFORM_SUPPORT_SAMPLE_TREE_H
