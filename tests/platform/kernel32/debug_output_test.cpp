// The Linux layer's debugger output stream, which tests read in place of a
// debugger. (On Windows the stream goes to the debugger or DBWIN_BUFFER.)
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#ifndef _WIN32
#include <velmora_platform/platform_testing.h>

#include <vector>

#include <wide_string.h>

namespace velmora_test {
namespace {


class DebugOutputTest : public testing::Test {
 protected:
  void SetUp() override { platform_testing::ClearDebugOutput(); }
  void TearDown() override { platform_testing::SetDebugOutputSink(nullptr, nullptr); }
};

TEST_F(DebugOutputTest, KeepsEachTextInOrderUntilTaken) {
  OutputDebugStringW(OLESTR("first"));
  OutputDebugStringW(nullptr);
  OutputDebugStringW(OLESTR("second"));
  const std::vector<WideString> lines = platform_testing::TakeDebugOutput();
  ASSERT_EQ(2u, lines.size());
  EXPECT_EQ(WideString(OLESTR("first")), lines[0]);
  EXPECT_EQ(WideString(OLESTR("second")), lines[1]);
  EXPECT_TRUE(platform_testing::TakeDebugOutput().empty());
}

void Collect(const WCHAR* text, void* context) { static_cast<std::vector<WideString>*>(context)->push_back(text); }

TEST_F(DebugOutputTest, SinkSeesEachTextAsItIsWritten) {
  std::vector<WideString> seen;
  platform_testing::SetDebugOutputSink(&Collect, &seen);
  OutputDebugStringW(OLESTR("KexDbg: one"));
  ASSERT_EQ(1u, seen.size());
  EXPECT_EQ(WideString(OLESTR("KexDbg: one")), seen[0]);
  platform_testing::SetDebugOutputSink(nullptr, nullptr);
  OutputDebugStringW(OLESTR("KexDbg: two"));
  EXPECT_EQ(1u, seen.size());
}

}  // namespace
}  // namespace velmora_test

#endif
