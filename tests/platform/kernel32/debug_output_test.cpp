// The Linux layer's debugger output stream, which tests read in place of a
// debugger. (On Windows the stream goes to the debugger or DBWIN_BUFFER.)
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#ifndef _WIN32
#include <velmora_platform/platform_testing.h>

#include <vector>

namespace velmora_test {
namespace {

typedef std::basic_string<WCHAR> Text;

class DebugOutputTest : public testing::Test {
 protected:
  void SetUp() override { platform_testing::ClearDebugOutput(); }
  void TearDown() override { platform_testing::SetDebugOutputSink(nullptr, nullptr); }
};

TEST_F(DebugOutputTest, KeepsEachTextInOrderUntilTaken) {
  OutputDebugStringW(OLESTR("first"));
  OutputDebugStringW(nullptr);
  OutputDebugStringW(OLESTR("second"));
  const std::vector<Text> lines = platform_testing::TakeDebugOutput();
  ASSERT_EQ(2u, lines.size());
  EXPECT_EQ(Text(OLESTR("first")), lines[0]);
  EXPECT_EQ(Text(OLESTR("second")), lines[1]);
  EXPECT_TRUE(platform_testing::TakeDebugOutput().empty());
}

void Collect(const WCHAR* text, void* context) { static_cast<std::vector<Text>*>(context)->push_back(text); }

TEST_F(DebugOutputTest, SinkSeesEachTextAsItIsWritten) {
  std::vector<Text> seen;
  platform_testing::SetDebugOutputSink(&Collect, &seen);
  OutputDebugStringW(OLESTR("KexDbg: one"));
  ASSERT_EQ(1u, seen.size());
  EXPECT_EQ(Text(OLESTR("KexDbg: one")), seen[0]);
  platform_testing::SetDebugOutputSink(nullptr, nullptr);
  OutputDebugStringW(OLESTR("KexDbg: two"));
  EXPECT_EQ(1u, seen.size());
}

}  // namespace
}  // namespace velmora_test

#endif
