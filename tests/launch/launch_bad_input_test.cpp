// Launch requests the host's list can make out of odd text: each gets a
// clear HRESULT and no handle, and nothing is left open.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <atlbase.h>

#include "launch/launch_application.h"
#include "tests/platform/support/target_session.h"
#include "tests/platform/support/text_files.h"
#include "tests/support/hresult.h"

namespace velmora_test {
namespace {

TEST(LaunchBadInput, OddCommandLinesFailCleanly) {
  const WideString longPath = OLESTR("C:\\") + WideString(32800, OLESTR('a')) + OLESTR(".exe");
  const struct {
    const char* name;
    WideString command;
  } cases[] = {
      {"an unbalanced quote", OLESTR("\"C:\\velmora no such\\program.exe arg")},
      {"only blanks", OLESTR("   ")},
      {"an empty command", OLESTR("")},
      {"a path beyond 32,767 characters", longPath},
  };
  const LONG before = OpenHandles();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CAppDetails app(c.command.c_str(), OLESTR(""));
    CHandle process;
    EXPECT_HR(E_FAIL, launch_application::LaunchDirect(app, process));
    EXPECT_FALSE(process.IsValid());
  }
  EXPECT_EQ(before, OpenHandles());
}

TEST(LaunchBadInput, OddFilesMapTheShellsAnswer) {
  TargetSession session;
  ASSERT_TRUE(session.IsValid());
  const struct {
    const char* name;
    WideString path;
  } cases[] = {
      {"a file that does not exist", session.Folder().PathOf(OLESTR("missing.vlmnone"))},
  };
  const LONG before = OpenHandles();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CAppDetails app(nullptr, OLESTR("x"), nullptr, nullptr, true, false);
    app.m_strPath = c.path;
    CHandle process;
    EXPECT_HR(E_INVALIDARG, launch_application::Launch(app, process));
    EXPECT_FALSE(process.IsValid());
  }
  EXPECT_EQ(before, OpenHandles());
}

// A working folder that does not exist, or is a file, is not used: the
// program starts in the folder of its command line.
TEST(LaunchBadInput, WorkingFolderThatIsNoFolder) {
  TargetSession session;
  ASSERT_TRUE(session.IsValid());
  const WideString file = session.Folder().PathOf(OLESTR("not-a-folder.txt"));
  ASSERT_TRUE(WriteTextFile(file, "not a folder"));
  for (const WideString& folder : {session.Folder().PathOf(OLESTR("missing")), file}) {
    TargetSession run;
    ASSERT_TRUE(run.IsValid());
    CAppDetails app(TargetProgramPath().c_str(), folder.c_str());
    CHandle process;
    ASSERT_HR(S_OK, launch_application::LaunchDirect(app, process));
    TargetStart start;
    ASSERT_TRUE(run.AwaitStart(&start));
    EXPECT_EQ(TargetProgramFolder(), start.folder);
    EXPECT_TRUE(run.Stop());
  }
}

}  // namespace
}  // namespace velmora_test
