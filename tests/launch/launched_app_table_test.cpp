// The launched-process table's order, and the launch pass's decisions that
// come before any launch: when it does nothing, and that it leaves the table
// alone then.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <atlbase.h>

#include "host/data_obj.h"
#include "host/variants.h"
#include "launch/launch_pass.h"
#include "launch/launched_app_table.h"
#include "tests/host/live_objects.h"
#include "tests/support/hresult.h"

namespace {

// A record as the table sees it: path, folder, arguments and child flag.
CAppDetails Record(const WCHAR* path, const WCHAR* dir, const WCHAR* args, bool children) {
  CAppDetails app(path, dir);
  app.m_strWorkingDir = dir;  // the command constructor strips quotes; the order does not care
  app.m_strArgs = args;
  app.m_bChildProcesses = children;
  return app;
}

TEST(AppDetailsLess, OrdersByPathFolderArgumentsThenChildFlag) {
  const struct {
    const char* name;
    CAppDetails a;
    CAppDetails b;
    bool aFirst;
    bool bFirst;
  } cases[] = {
      {"path decides", Record(OLESTR("a.exe"), OLESTR("z"), OLESTR("z"), true),
       Record(OLESTR("b.exe"), OLESTR("a"), OLESTR("a"), false), true, false},
      {"case-sensitive, code-unit order", Record(OLESTR("B.exe"), OLESTR(""), OLESTR(""), false),
       Record(OLESTR("a.exe"), OLESTR(""), OLESTR(""), false), true, false},
      {"then the folder", Record(OLESTR("a.exe"), OLESTR("C:\\a"), OLESTR(""), false),
       Record(OLESTR("a.exe"), OLESTR("C:\\b"), OLESTR(""), false), true, false},
      {"then the arguments", Record(OLESTR("a.exe"), OLESTR(""), OLESTR("/x"), false),
       Record(OLESTR("a.exe"), OLESTR(""), OLESTR("/y"), false), true, false},
      {"then without children before with", Record(OLESTR("a.exe"), OLESTR(""), OLESTR(""), false),
       Record(OLESTR("a.exe"), OLESTR(""), OLESTR(""), true), true, false},
      {"equal", Record(OLESTR("a.exe"), OLESTR(""), OLESTR(""), true),
       Record(OLESTR("a.exe"), OLESTR(""), OLESTR(""), true), false, false},
  };
  const AppDetailsLess less;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.aFirst, less(c.a, c.b));
    EXPECT_EQ(c.bFirst, less(c.b, c.a));
  }
}

// The process name, the hook flag, the launch kind and the level are not
// part of what makes two records the same application.
TEST(AppDetailsLess, IgnoresWhatDoesNotLaunch) {
  CAppDetails a = Record(OLESTR("a.exe"), OLESTR(""), OLESTR(""), false);
  CAppDetails b = a;
  b.m_strProcessName = OLESTR("other.exe");
  b.m_bHook = !a.m_bHook;
  b.m_bDirectLaunch = 0;
  b.m_nLevel = 3;
  const AppDetailsLess less;
  EXPECT_FALSE(less(a, b));
  EXPECT_FALSE(less(b, a));
}

TEST(LaunchedAppTable, TakeAndInsertWithoutProcesses) {
  LaunchedAppTable table;
  EXPECT_EQ(nullptr, table.Take(Record(OLESTR("a.exe"), OLESTR(""), OLESTR(""), false)));
  EXPECT_TRUE(table.Insert(std::make_unique<CAppDetails>(Record(OLESTR("a.exe"), OLESTR(""), OLESTR(""), false)),
                           CHandle()));
  EXPECT_FALSE(table.Insert(std::make_unique<CAppDetails>(Record(OLESTR("a.exe"), OLESTR(""), OLESTR(""), false)),
                            CHandle()))
      << "a second record for the same application is not kept";
  EXPECT_EQ(1u, table.Size());
  EXPECT_EQ(nullptr, table.Take(Record(OLESTR("a.exe"), OLESTR(""), OLESTR(""), false)));
  EXPECT_EQ(0u, table.Size());
}

class LaunchPassTest : public HostObjectsTest {
 protected:
  void SetUp() override {
    table = std::make_unique<LaunchedAppTable>();
    ASSERT_TRUE(table->Insert(std::make_unique<CAppDetails>(OLESTR("kept.exe"), OLESTR("")), CHandle()));
    ASSERT_HR(S_OK, data->SetList(OLESTR("FILES_LIST"), {HostBstr(OLESTR(""))}));
    for (const WCHAR* key : {OLESTR("DIRS_LIST"), OLESTR("ARGS_LIST"), OLESTR("LNCH_LIST"), OLESTR("DESC_LIST")}) {
      ASSERT_HR(S_OK, data->SetList(key, {HostBstr(OLESTR(""))}));
    }
    // A row that would launch a program that does not exist.
    ASSERT_HR(S_OK, data->SetList(OLESTR("APPS_LIST"), {HostBstr(OLESTR("velmora-no-such-program.exe"))}));
  }

  std::unique_ptr<LaunchedAppTable> table;
  CComPtr<CHostDataObj> data = CHostDataObj::Create();
};

// Before the list is read, nothing is launched and the table, with its
// handles, stays as it was.
TEST_F(LaunchPassTest, DoesNothingUnlessTheSettingsAskForIt) {
  const struct {
    const char* name;
    CComVariant runOpt;    // VT_EMPTY: absent (default 2)
    CComVariant specApps;  // VT_EMPTY: absent (default 1)
    bool breakList;
    HRESULT expected;
  } cases[] = {
      {"mode 1", HostI4(1), CComVariant(), false, S_OK},
      {"mode 0", HostI4(0), CComVariant(), false, S_OK},
      {"mode 2 as a string", HostBstr(OLESTR("2")), CComVariant(), false, S_OK},
      {"listed applications off", HostI4(2), HostI4(0), false, S_OK},
      {"listed applications not an integer", HostI4(2), HostBstr(OLESTR("1")), false, S_OK},
      {"the list does not load", HostI4(2), HostI4(1), true, E_FAIL},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.runOpt.vt != VT_EMPTY) data->SetItem(OLESTR("RUN_OPT"), c.runOpt);
    if (c.specApps.vt != VT_EMPTY) data->SetItem(OLESTR("SPECAPP_DSC_OPT"), c.specApps);
    if (c.breakList) data->SetItem(OLESTR("DESC_LIST"), HostI4(1));
    LaunchedAppTable* before = table.get();
    EXPECT_HR(c.expected, launch_pass::Run(data, nullptr, table));
    EXPECT_EQ(before, table.get()) << "the same table";
    EXPECT_EQ(1u, table->Size());
  }
  EXPECT_HR(E_INVALIDARG, launch_pass::Run(nullptr, nullptr, table));
}

// A launch that fails leaves no entry, and the table swapped in no longer
// holds what the list does not mark.
TEST_F(LaunchPassTest, FailedLaunchLeavesNoEntry) {
  EXPECT_HR(E_FAIL, launch_pass::Run(data, nullptr, table));
  EXPECT_EQ(0u, table->Size());
}

}  // namespace
