// The launch pass with real processes: the target program is started through
// the pass (directly for a command row, through the shell for a file row),
// kept while it runs, started again once it has exited, and never stopped by
// the add-in; every handle the pass opened is closed by the end.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <atlbase.h>

#include <memory>

#include "host/data_obj.h"
#include "host/variants.h"
#include "launch/launch_pass.h"
#include "tests/host/live_objects.h"
#include "tests/platform/support/target_session.h"
#include "tests/support/hresult.h"

namespace velmora_test {
namespace {

WideString Quoted(const WideString& path) { return OLESTR("\"") + path + OLESTR("\""); }

class LaunchPassProcessTest : public HostObjectsTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(session.IsValid());
    handlesBefore = OpenHandles();
  }
  void TearDown() override {
    // The table goes first (its handles closed), then the targets are stopped
    // by the test itself: the pass never stops what it launched.
    table.reset();
    EXPECT_TRUE(session.Stop());
    EXPECT_EQ(handlesBefore, OpenHandles()) << "every handle the pass opened is closed";
  }

  // One row of the list: a command row (app) or a file row (file).
  void SetRow(const WideString& app, const WideString& file, const WideString& dir, bool launch) {
    data = CHostDataObj::Create();
    ASSERT_HR(S_OK, data->SetList(OLESTR("FILES_LIST"), {HostBstr(file.c_str())}));
    ASSERT_HR(S_OK, data->SetList(OLESTR("APPS_LIST"), {HostBstr(app.c_str())}));
    ASSERT_HR(S_OK, data->SetList(OLESTR("DIRS_LIST"), {HostBstr(dir.c_str())}));
    ASSERT_HR(S_OK, data->SetList(OLESTR("ARGS_LIST"), {HostBstr(OLESTR("from-the-list"))}));
    ASSERT_HR(S_OK, data->SetList(OLESTR("LNCH_LIST"), {HostBool(launch)}));
    ASSERT_HR(S_OK, data->SetList(OLESTR("DESC_LIST"), {HostBool(false)}));
  }
  void SetCommandRow(bool launch = true) {
    SetRow(Quoted(TargetProgramPath()) + OLESTR(" direct"), OLESTR(""), session.Folder().Path(), launch);
  }

  HANDLE OnlyHandle() const {
    const auto entries = table->Entries();
    return entries.size() == 1 ? entries[0].process : nullptr;
  }

  TargetSession session;
  LONG handlesBefore = 0;
  std::unique_ptr<LaunchedAppTable> table = std::make_unique<LaunchedAppTable>();
  CComPtr<CHostDataObj> data;
};

TEST_F(LaunchPassProcessTest, CommandRowStartsOnceWhileItRuns) {
  SetCommandRow();
  ASSERT_HR(S_OK, launch_pass::Run(data, nullptr, table));
  TargetStart start;
  ASSERT_TRUE(session.AwaitStart(&start));
  EXPECT_EQ(session.Folder().Path(), start.folder) << "started in the row's folder";
  ASSERT_EQ(2u, start.arguments.size());
  EXPECT_EQ(WideString(OLESTR("direct")), start.arguments[1]);
  const HANDLE first = OnlyHandle();
  ASSERT_NE(nullptr, first);

  // Still running: the second pass launches nothing and keeps the handle.
  ASSERT_HR(S_OK, launch_pass::Run(data, nullptr, table));
  EXPECT_EQ(first, OnlyHandle());
  EXPECT_TRUE(session.IsResponding());
}

TEST_F(LaunchPassProcessTest, ExitedApplicationIsStartedAgain) {
  SetCommandRow();
  ASSERT_HR(S_OK, launch_pass::Run(data, nullptr, table));
  TargetStart start;
  ASSERT_TRUE(session.AwaitStart(&start));
  ASSERT_TRUE(session.Stop(3));

  // The second start records into a session of its own.
  TargetSession second;
  ASSERT_TRUE(second.IsValid());
  ASSERT_HR(S_OK, launch_pass::Run(data, nullptr, table));
  TargetStart again;
  ASSERT_TRUE(second.AwaitStart(&again));
  EXPECT_NE(start.processId, again.processId);
  ASSERT_NE(nullptr, OnlyHandle());
  EXPECT_EQ(again.processId, GetProcessId(OnlyHandle())) << "the table holds the new process";
  table.reset();
  EXPECT_TRUE(second.Stop());
}

// A row no longer marked gives up its handle; the process keeps running.
TEST_F(LaunchPassProcessTest, UnmarkedRowLetsGoWithoutStopping) {
  SetCommandRow();
  ASSERT_HR(S_OK, launch_pass::Run(data, nullptr, table));
  TargetStart start;
  ASSERT_TRUE(session.AwaitStart(&start));

  SetCommandRow(false);
  ASSERT_HR(S_OK, launch_pass::Run(data, nullptr, table));
  EXPECT_EQ(0u, table->Size());
  EXPECT_TRUE(session.IsResponding()) << "the add-in never stops a process";
}

// A row whose folder changed is another application: the running one is let
// go (its handle closed, the process left running) and the row is launched
// again in its new folder.
TEST_F(LaunchPassProcessTest, ChangedFolderLaunchesAgainAndLetsTheOldOneRun) {
  SetCommandRow();
  ASSERT_HR(S_OK, launch_pass::Run(data, nullptr, table));
  TargetStart start;
  ASSERT_TRUE(session.AwaitStart(&start));

  TargetSession second;
  ASSERT_TRUE(second.IsValid());
  SetRow(Quoted(TargetProgramPath()) + OLESTR(" direct"), OLESTR(""), second.Folder().Path(), true);
  ASSERT_HR(S_OK, launch_pass::Run(data, nullptr, table));
  TargetStart again;
  ASSERT_TRUE(second.AwaitStart(&again));
  EXPECT_EQ(second.Folder().Path(), again.folder);
  ASSERT_NE(nullptr, OnlyHandle());
  EXPECT_EQ(again.processId, GetProcessId(OnlyHandle()));
  EXPECT_TRUE(session.IsResponding()) << "the first process was let go, not stopped";
  table.reset();
  EXPECT_TRUE(second.Stop());
}

// The table's teardown closes its handles and leaves the processes running.
TEST_F(LaunchPassProcessTest, TeardownLeavesTheProcessRunning) {
  SetCommandRow();
  ASSERT_HR(S_OK, launch_pass::Run(data, nullptr, table));
  TargetStart start;
  ASSERT_TRUE(session.AwaitStart(&start));
  table.reset();
  EXPECT_TRUE(session.IsResponding());
}

// A file row goes through the shell, with the row's arguments and folder.
TEST_F(LaunchPassProcessTest, FileRowOpensThroughTheShell) {
  SetRow(OLESTR(""), TargetProgramPath(), session.Folder().Path(), true);
  ASSERT_HR(S_OK, launch_pass::Run(data, nullptr, table));
  TargetStart start;
  ASSERT_TRUE(session.AwaitStart(&start));
  ASSERT_EQ(2u, start.arguments.size());
  EXPECT_EQ(WideString(OLESTR("from-the-list")), start.arguments[1]);
  EXPECT_NE(nullptr, OnlyHandle());
}

// Rows that are the same application for the table: two identical rows are
// both launched and the table keeps one of them; rows that differ only by
// the child flag are two applications. Both targets of a case record into
// the same session and stop on its one signal.
TEST_F(LaunchPassProcessTest, RowsThatAreOneApplicationOrTwo) {
  const struct {
    const char* name;
    bool secondChildren;
    size_t entries;
  } cases[] = {
      {"two identical rows", false, 1u},
      {"rows differing only by the child flag", true, 2u},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TargetSession both;
    ASSERT_TRUE(both.IsValid());
    data = CHostDataObj::Create();
    const WideString target = TargetProgramPath();
    ASSERT_HR(S_OK, data->SetList(OLESTR("FILES_LIST"), {HostBstr(target.c_str()), HostBstr(target.c_str())}));
    ASSERT_HR(S_OK, data->SetList(OLESTR("APPS_LIST"), {HostBstr(OLESTR("")), HostBstr(OLESTR(""))}));
    ASSERT_HR(S_OK, data->SetList(OLESTR("DIRS_LIST"), {HostBstr(OLESTR("")), HostBstr(OLESTR(""))}));
    ASSERT_HR(S_OK, data->SetList(OLESTR("ARGS_LIST"), {HostBstr(OLESTR("")), HostBstr(OLESTR(""))}));
    ASSERT_HR(S_OK, data->SetList(OLESTR("LNCH_LIST"), {HostBool(true), HostBool(true)}));
    ASSERT_HR(S_OK, data->SetList(OLESTR("DESC_LIST"), {HostBool(false), HostBool(c.secondChildren)}));
    ASSERT_HR(S_OK, launch_pass::Run(data, nullptr, table));
    EXPECT_EQ(c.entries, table->Size());
    TargetStart start;
    ASSERT_TRUE(both.AwaitStart(&start));
    // Let both targets record and start polling before they are told to go.
    Sleep(500);
    EXPECT_TRUE(both.Stop());
    for (const auto& entry : table->Entries()) {
      EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(entry.process, kTargetTimeoutMilliseconds))
          << "every process the table kept has stopped";
    }
    table = std::make_unique<LaunchedAppTable>();
  }
}

// A launch that fails leaves no entry and is tried again at the next pass.
TEST_F(LaunchPassProcessTest, FailedLaunchesMapToTheirResult) {
  const struct {
    const char* name;
    WideString app;
    WideString file;
    HRESULT expected;
  } cases[] = {
      {"a command that does not exist", OLESTR("velmora-no-such-program.exe"), OLESTR(""), E_FAIL},
      {"a file that does not exist", OLESTR(""), session.Folder().PathOf(OLESTR("missing.exe")), E_INVALIDARG},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetRow(c.app, c.file, OLESTR(""), true);
    EXPECT_HR(c.expected, launch_pass::Run(data, nullptr, table));
    EXPECT_EQ(0u, table->Size());
  }
  EXPECT_TRUE(session.NoStartWithin(0));
}

}  // namespace
}  // namespace velmora_test
