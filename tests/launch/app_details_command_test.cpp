// CAppDetails from a command line: the process name comes from the text.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include "launch/app_details.h"

namespace {

struct CommandCase {
  const WCHAR* command;
  const WCHAR* workingDir;
  const WCHAR* processName;
  const WCHAR* expectedWorkingDir;
};

void PrintTo(const CommandCase& c, std::ostream* os) {
  for (const WCHAR* p = c.command; *p; ++p) *os << static_cast<char>(*p < 0x80 ? *p : '?');
}

class CommandConstructorTest : public testing::TestWithParam<CommandCase> {};

TEST_P(CommandConstructorTest, ProcessNameFromTheCommandText) {
  const CommandCase& c = GetParam();
  const CAppDetails details(c.command, c.workingDir);
  EXPECT_EQ(WideString(c.processName), details.m_strProcessName);
  EXPECT_EQ(WideString(c.expectedWorkingDir), details.m_strWorkingDir);
  // The command goes to CreateProcessW unchanged, quotes and all.
  EXPECT_EQ(WideString(c.command), details.m_strPath);
  EXPECT_TRUE(details.m_strArgs.empty());
  EXPECT_TRUE(details.m_bHook);
  EXPECT_FALSE(details.m_bChildProcesses);
  EXPECT_EQ(1, details.m_bDirectLaunch);
  EXPECT_EQ(1, details.m_nLevel);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandConstructorTest,
    testing::Values(
        // Nothing to name a process by; the folder still loses its quotes.
        CommandCase{OLESTR(""), OLESTR("\"C:\\Work\""), OLESTR(""), OLESTR("C:\\Work")},
        CommandCase{OLESTR("\"C:\\Program Files\\Tool\\Tool.exe\" /x"), OLESTR(""), OLESTR("tool.exe"), OLESTR("")},
        CommandCase{OLESTR("notepad"), OLESTR("C:\\Work"), OLESTR("notepad.exe"), OLESTR("C:\\Work")},
        // Unquoted, the blank in the folder name starts the arguments.
        CommandCase{OLESTR("C:\\Program Files\\Tool\\Tool.exe"), OLESTR(""), OLESTR("program.exe"), OLESTR("")},
        CommandCase{OLESTR("NOTEPAD.EXE /p C:\\Docs\\file.txt"), OLESTR(""), OLESTR("notepad.exe"), OLESTR("")},
        // A quoted program without extension keeps its blank and gets ".exe".
        CommandCase{OLESTR("\"C:\\Tools\\My App\" -x"), OLESTR(""), OLESTR("my app.exe"), OLESTR("")},
        // A leading blank starts the arguments at once; the empty name still gets ".exe".
        CommandCase{OLESTR("  \"tool.exe\"  "), OLESTR(""), OLESTR(".exe"), OLESTR("")},
        CommandCase{OLESTR("C:\\Tools\\run.cmd"), OLESTR("\"C:\\My \"Work\"\""), OLESTR("run.cmd"),
                    OLESTR("C:\\My Work")}));

TEST(CommandConstructor, NullTextsAreEmpty) {
  const CAppDetails details(nullptr, nullptr);
  EXPECT_TRUE(details.m_strPath.empty());
  EXPECT_TRUE(details.m_strWorkingDir.empty());
  EXPECT_TRUE(details.m_strProcessName.empty());
}

TEST(AppDetailsCopy, CopiesEveryField) {
  CAppDetails original(OLESTR("\"C:\\Tools\\Tool.exe\" /x"), OLESTR("C:\\Work"));
  original.m_strArgs = OLESTR("-y");
  original.m_bHook = false;
  original.m_bChildProcesses = true;
  original.m_nLevel = 3;
  const CAppDetails copy(original);
  EXPECT_EQ(original.m_strPath, copy.m_strPath);
  EXPECT_EQ(original.m_strWorkingDir, copy.m_strWorkingDir);
  EXPECT_EQ(original.m_strArgs, copy.m_strArgs);
  EXPECT_EQ(original.m_strProcessName, copy.m_strProcessName);
  EXPECT_EQ(original.m_bHook, copy.m_bHook);
  EXPECT_EQ(original.m_bChildProcesses, copy.m_bChildProcesses);
  EXPECT_EQ(original.m_bDirectLaunch, copy.m_bDirectLaunch);
  EXPECT_EQ(original.m_nLevel, copy.m_nLevel);
  CAppDetails assigned(nullptr, nullptr);
  assigned = original;
  EXPECT_EQ(original.m_strProcessName, assigned.m_strProcessName);
  EXPECT_EQ(original.m_strArgs, assigned.m_strArgs);
}

// The boolean flags are 8-bit, the launch and level fields 32-bit.
static_assert(sizeof(CAppDetails::m_bHook) == 1 && sizeof(CAppDetails::m_bChildProcesses) == 1, "8-bit flags");
static_assert(sizeof(CAppDetails::m_bDirectLaunch) == 4 && sizeof(CAppDetails::m_nLevel) == 4, "32-bit fields");

}  // namespace
