// CreateProcessW, GetExitCodeProcess, WaitForSingleObject, TerminateProcess
// and CloseHandle on processes, against the target program: on Linux the
// layer starts the native build of it, under Wine Wine starts the .exe.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <vector>

#include "tests/platform/support/known_deviation.h"
#include "tests/platform/support/target_session.h"
#include "tests/platform/support/text_files.h"

#ifndef _WIN32
#include <errno.h>
#include <signal.h>

#include <velmora_platform/platform_testing.h>
#endif

namespace velmora_test {
namespace {

const WCHAR kProgramMark[] = OLESTR("{prog}");
const WCHAR kFolderMark[] = OLESTR("{dir}");

class ProcessTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_session.IsValid());
    ASSERT_TRUE(FileExists(TargetProgramPath())) << "the target program is built beside the tests";
  }

  void TearDown() override {
    EXPECT_TRUE(m_session.Stop());
    Close();
  }

  // The text with {prog} the target's path and {dir} the session's folder.
  WideString Expand(const WCHAR* text) const {
    WideString result = text;
    for (;;) {
      size_t at = result.find(kProgramMark);
      if (at != WideString::npos) {
        result.replace(at, wcslen(kProgramMark), TargetProgramPath());
        continue;
      }
      at = result.find(kFolderMark);
      if (at == WideString::npos) break;
      result.replace(at, wcslen(kFolderMark), m_session.Folder().Path());
    }
    return result;
  }

  // CreateProcessW as the add-in calls it; the command line is writable, as
  // the function requires.
  BOOL Start(const WideString& commandLine, const WCHAR* folder) {
    std::vector<WCHAR> text(commandLine.begin(), commandLine.end());
    text.push_back(0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    m_info = PROCESS_INFORMATION();
    return CreateProcessW(nullptr, text.data(), nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &m_info);
  }

  void Close() {
    if (m_info.hThread) {
      EXPECT_TRUE(CloseHandle(m_info.hThread));
    }
    if (m_info.hProcess) {
      EXPECT_TRUE(CloseHandle(m_info.hProcess));
    }
    m_info = PROCESS_INFORMATION();
  }

  TargetSession m_session;
  PROCESS_INFORMATION m_info = {};
};

struct CommandCase {
  const WCHAR* commandLine;
  std::vector<const WCHAR*> arguments;  // after the program's own
};

void PrintTo(const CommandCase& c, std::ostream* os) {
  for (const WCHAR* p = c.commandLine; *p; ++p) *os << static_cast<char>(*p < 0x80 ? *p : '?');
}

class ProcessCommandLineTest : public ProcessTest, public testing::WithParamInterface<CommandCase> {};

TEST_P(ProcessCommandLineTest, StartsTheProgramWithTheArgumentsItsRuntimeSplits) {
  ASSERT_TRUE(Start(Expand(GetParam().commandLine), nullptr)) << GetLastError();
  EXPECT_NE(nullptr, m_info.hProcess);
  EXPECT_NE(nullptr, m_info.hThread);
  TargetStart start;
  ASSERT_TRUE(m_session.AwaitStart(&start));
  EXPECT_EQ(m_info.dwProcessId, start.processId);
  ASSERT_FALSE(start.arguments.empty());
  const std::vector<WideString> rest(start.arguments.begin() + 1, start.arguments.end());
  std::vector<WideString> expected;
  for (const WCHAR* argument : GetParam().arguments) expected.push_back(argument);
  EXPECT_EQ(expected, rest);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProcessCommandLineTest,
    testing::Values(CommandCase{OLESTR("\"{prog}\""), {}},
                    CommandCase{OLESTR("\"{prog}\" one two"), {OLESTR("one"), OLESTR("two")}},
                    CommandCase{OLESTR("{prog} one"), {OLESTR("one")}},
                    CommandCase{OLESTR("\"{prog}\"   \"a b\"\t c"), {OLESTR("a b"), OLESTR("c")}},
                    // The C runtime's backslash and quote rules.
                    CommandCase{OLESTR("\"{prog}\" a\\\"b c\\\\\"d e\" f\\\\g"),
                                {OLESTR("a\"b"), OLESTR("c\\d e"), OLESTR("f\\\\g")}},
                    CommandCase{OLESTR("\"{prog}\" \"\" x"), {OLESTR(""), OLESTR("x")}}));

TEST_F(ProcessTest, NameWithoutExtensionGetsExe) {
  WideString path = TargetProgramPath();
  path.resize(path.size() - 4);
  ASSERT_TRUE(Start(OLESTR("\"") + path + OLESTR("\" x"), nullptr)) << GetLastError();
  TargetStart start;
  ASSERT_TRUE(m_session.AwaitStart(&start));
  EXPECT_EQ(path, start.arguments[0]);
}

TEST_F(ProcessTest, BareNameIsFoundInTheCallersOwnFolder) {
  ASSERT_TRUE(Start(OLESTR("velmora_target_program x"), nullptr)) << GetLastError();
  TargetStart start;
  ASSERT_TRUE(m_session.AwaitStart(&start));
  EXPECT_EQ(WideString(OLESTR("velmora_target_program")), start.arguments[0]);
}

// Unquoted, each blank ends a candidate name, shortest first: "{dir}\With"
// is tried (as With.exe) before "{dir}\With Space\...". The program still
// splits its command line at the first blank.
TEST_F(ProcessTest, UnquotedPathWithBlanksIsFoundByTheDocumentedSearch) {
  ASSERT_FALSE(m_session.Folder().MakeFolder(OLESTR("With Space")).empty());
  ASSERT_TRUE(CopyProgram(TargetProgramPath(), Expand(OLESTR("{dir}\\With Space\\target.exe"))));
  ASSERT_TRUE(Start(Expand(OLESTR("{dir}\\With Space\\target.exe last")), nullptr)) << GetLastError();
  TargetStart start;
  ASSERT_TRUE(m_session.AwaitStart(&start));
  // Windows passes the command line on as it was given.
  const std::vector<WideString> documented = {Expand(OLESTR("{dir}\\With")), OLESTR("Space\\target.exe"),
                                              OLESTR("last")};
  const std::vector<WideString> wine = {Expand(OLESTR("{dir}\\With Space\\target.exe")), OLESTR("last")};
  EXPECT_TRUE(AsDocumented(start.arguments, documented, wine,
                           "Wine 8 puts the program it found, quoted, in the child's command line"));
}

TEST_F(ProcessTest, ShorterCandidateWinsWhenItExists) {
  ASSERT_FALSE(m_session.Folder().MakeFolder(OLESTR("With Space")).empty());
  ASSERT_TRUE(CopyProgram(TargetProgramPath(), Expand(OLESTR("{dir}\\With.exe"))));
  ASSERT_TRUE(Start(Expand(OLESTR("{dir}\\With Space\\missing.exe")), nullptr)) << GetLastError();
  TargetStart start;
  ASSERT_TRUE(m_session.AwaitStart(&start));
  EXPECT_EQ(Expand(OLESTR("{dir}\\With")), start.arguments[0]);
}

TEST_F(ProcessTest, WorkingFolderIsTheOneGiven) {
  const WideString folder = m_session.Folder().MakeFolder(OLESTR("Work Folder"));
  ASSERT_FALSE(folder.empty());
  ASSERT_TRUE(Start(Expand(OLESTR("\"{prog}\"")), folder.c_str())) << GetLastError();
  TargetStart start;
  ASSERT_TRUE(m_session.AwaitStart(&start));
  EXPECT_EQ(0, _wcsicmp(folder.c_str(), start.folder.c_str())) << ToUtf8(start.folder);
}

TEST_F(ProcessTest, WithoutWorkingFolderTheChildSharesTheCallers) {
  WCHAR own[MAX_PATH] = {};
  ASSERT_GT(GetCurrentDirectoryW(MAX_PATH, own), 0u);
  ASSERT_TRUE(Start(Expand(OLESTR("\"{prog}\"")), nullptr)) << GetLastError();
  TargetStart start;
  ASSERT_TRUE(m_session.AwaitStart(&start));
  EXPECT_EQ(0, _wcsicmp(own, start.folder.c_str())) << ToUtf8(start.folder);
}

struct FailureCase {
  const WCHAR* commandLine;
  const WCHAR* folder;  // null: none
  DWORD error;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
  for (const WCHAR* p = c.commandLine; *p; ++p) *os << static_cast<char>(*p < 0x80 ? *p : '?');
}

class ProcessFailureTest : public ProcessTest, public testing::WithParamInterface<FailureCase> {};

TEST_P(ProcessFailureTest, FailsWithTheDocumentedErrorAndStartsNothing) {
  const WideString folder = GetParam().folder ? Expand(GetParam().folder) : WideString();
  SetLastError(0);
  EXPECT_FALSE(Start(Expand(GetParam().commandLine), GetParam().folder ? folder.c_str() : nullptr));
  EXPECT_EQ(GetParam().error, GetLastError());
  EXPECT_EQ(nullptr, m_info.hProcess);
  EXPECT_EQ(nullptr, m_info.hThread);
  EXPECT_TRUE(m_session.NoStartWithin(200));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProcessFailureTest,
    testing::Values(FailureCase{OLESTR("\"{dir}\\missing.exe\" x"), nullptr, ERROR_FILE_NOT_FOUND},
                    FailureCase{OLESTR("{dir}\\missing.exe"), nullptr, ERROR_FILE_NOT_FOUND},
                    FailureCase{OLESTR("velmora_no_such_program_here x"), nullptr, ERROR_FILE_NOT_FOUND},
                    FailureCase{OLESTR("\"{prog}\""), OLESTR("{dir}\\no such folder"), ERROR_DIRECTORY}));

TEST_F(ProcessTest, ExitCodeIsStillActiveWhileRunningThenTheProgramsOwn) {
  ASSERT_TRUE(Start(Expand(OLESTR("\"{prog}\"")), nullptr)) << GetLastError();
  TargetStart start;
  ASSERT_TRUE(m_session.AwaitStart(&start));
  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeProcess(m_info.hProcess, &code));
  EXPECT_EQ(static_cast<DWORD>(STILL_ACTIVE), code);
  EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(m_info.hProcess, 50));

  ASSERT_TRUE(m_session.Stop(7));
  ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(m_info.hProcess, kTargetTimeoutMilliseconds));
  ASSERT_TRUE(GetExitCodeProcess(m_info.hProcess, &code));
  EXPECT_EQ(7u, code);
  // Asked again, the same answer: the code is kept once the process is gone.
  ASSERT_TRUE(GetExitCodeProcess(m_info.hProcess, &code));
  EXPECT_EQ(7u, code);
}

TEST_F(ProcessTest, ClosingTheHandlesLeavesTheProcessRunning) {
  ASSERT_TRUE(Start(Expand(OLESTR("\"{prog}\"")), nullptr)) << GetLastError();
  TargetStart start;
  ASSERT_TRUE(m_session.AwaitStart(&start));
  Close();
  EXPECT_TRUE(m_session.IsResponding());
  EXPECT_TRUE(m_session.Stop());
}

TEST_F(ProcessTest, TerminateProcessEndsItWithTheGivenCode) {
  ASSERT_TRUE(Start(Expand(OLESTR("\"{prog}\"")), nullptr)) << GetLastError();
  TargetStart start;
  ASSERT_TRUE(m_session.AwaitStart(&start));
  ASSERT_TRUE(TerminateProcess(m_info.hProcess, 42));
  ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(m_info.hProcess, kTargetTimeoutMilliseconds));
  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeProcess(m_info.hProcess, &code));
  EXPECT_EQ(42u, code);
}

TEST(ProcessHandles, UnknownHandlesAreRefused) {
  const HANDLE bogus = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x7ff0));
  DWORD code = 0;
  SetLastError(0);
  EXPECT_FALSE(GetExitCodeProcess(bogus, &code));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
  SetLastError(0);
  EXPECT_FALSE(CloseHandle(bogus));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
  SetLastError(0);
  EXPECT_EQ(static_cast<DWORD>(WAIT_FAILED), WaitForSingleObject(bogus, 0));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
}

#ifndef _WIN32

// Whether the layer has reaped the child: no process, not even a zombie.
bool Reaped(DWORD processId) {
  for (int i = 0; i < 200; ++i) {
    if (kill(static_cast<pid_t>(processId), 0) != 0 && errno == ESRCH) return true;
    Sleep(10);
  }
  return false;
}

// Linux only: what becomes of the child process once Windows would have
// forgotten it, and the handle count the tests of the launching code use.
TEST_F(ProcessTest, LayerCountsTheProcessAndThreadHandles) {
  const LONG before = platform_testing::OpenHandleCount();
  ASSERT_TRUE(Start(Expand(OLESTR("\"{prog}\"")), nullptr)) << GetLastError();
  EXPECT_EQ(before + 2, platform_testing::OpenHandleCount());
  Close();
  EXPECT_EQ(before, platform_testing::OpenHandleCount());
}

TEST_F(ProcessTest, ExitedChildIsReapedWhenItsExitCodeIsAsked) {
  ASSERT_TRUE(Start(Expand(OLESTR("\"{prog}\"")), nullptr)) << GetLastError();
  TargetStart start;
  ASSERT_TRUE(m_session.AwaitStart(&start));
  ASSERT_TRUE(m_session.Stop(3));
  DWORD code = STILL_ACTIVE;
  for (int i = 0; i < 500 && code == static_cast<DWORD>(STILL_ACTIVE); ++i) {
    ASSERT_TRUE(GetExitCodeProcess(m_info.hProcess, &code));
    Sleep(10);
  }
  EXPECT_EQ(3u, code);
  EXPECT_TRUE(Reaped(start.processId));
}

TEST_F(ProcessTest, ChildWhoseHandlesClosedIsReapedWhenItExits) {
  ASSERT_TRUE(Start(Expand(OLESTR("\"{prog}\"")), nullptr)) << GetLastError();
  TargetStart start;
  ASSERT_TRUE(m_session.AwaitStart(&start));
  Close();
  ASSERT_TRUE(m_session.Stop());
  EXPECT_TRUE(Reaped(start.processId));
}

TEST_F(ProcessTest, ChildThatExitedBeforeItsHandlesClosedIsReapedAtTheClose) {
  ASSERT_TRUE(Start(Expand(OLESTR("\"{prog}\"")), nullptr)) << GetLastError();
  TargetStart start;
  ASSERT_TRUE(m_session.AwaitStart(&start));
  ASSERT_TRUE(m_session.Stop());
  // Still a zombie: the open handle keeps it, as it keeps a Windows process object.
  EXPECT_EQ(0, kill(static_cast<pid_t>(start.processId), 0));
  Close();
  EXPECT_EQ(-1, kill(static_cast<pid_t>(start.processId), 0));
}

#endif

}  // namespace
}  // namespace velmora_test
