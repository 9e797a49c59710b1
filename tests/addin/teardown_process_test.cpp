// The add-in object's teardown with launched processes in its table: every
// handle is closed, no process is stopped.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <atlbase.h>
#include <atlcom.h>

#include "addin/velmora_obj.h"
#include "host/data_obj.h"
#include "host/variants.h"
#include "tests/host/live_objects.h"
#include "tests/platform/support/target_session.h"
#include "tests/support/hresult.h"

namespace velmora_test {
namespace {

class TeardownProcessTest : public HostObjectsTest {};

TEST_F(TeardownProcessTest, ReleasingTheObjectClosesHandlesAndLeavesProcessesRunning) {
  TargetSession session;
  ASSERT_TRUE(session.IsValid());
  const LONG before = OpenHandles();
  {
    CComObject<CVelmoraObj>* raw = nullptr;
    ASSERT_HR(S_OK, CComObject<CVelmoraObj>::CreateInstance(&raw));
    CComPtr<CComObject<CVelmoraObj>> object(raw);
    CComPtr<IStartupClient3> startup;
    ASSERT_HR(S_OK, object.QueryInterface(startup.Receive()));

    CComPtr<CHostDataObj> data = CHostDataObj::Create();
    const WideString command = OLESTR("\"") + TargetProgramPath() + OLESTR("\"");
    ASSERT_HR(S_OK, data->SetList(OLESTR("FILES_LIST"), {HostBstr(OLESTR(""))}));
    ASSERT_HR(S_OK, data->SetList(OLESTR("APPS_LIST"), {HostBstr(command.c_str())}));
    for (const WCHAR* key : {OLESTR("DIRS_LIST"), OLESTR("ARGS_LIST"), OLESTR("DESC_LIST")}) {
      ASSERT_HR(S_OK, data->SetList(key, {HostBstr(OLESTR(""))}));
    }
    ASSERT_HR(S_OK, data->SetList(OLESTR("LNCH_LIST"), {HostBool(true)}));

    ASSERT_HR(S_OK, startup->StartRecord(data));
    TargetStart start;
    ASSERT_TRUE(session.AwaitStart(&start));
    // No working folder: a quoted command line starts in its program's folder.
    EXPECT_EQ(TargetProgramFolder(), start.folder);
    EXPECT_EQ(1u, object->LaunchedApps().Size());
  }
  EXPECT_EQ(before, OpenHandles()) << "the object's teardown closed the process handle";
  EXPECT_TRUE(session.IsResponding()) << "and left the process running";
  EXPECT_TRUE(session.Stop());
}

}  // namespace
}  // namespace velmora_test
