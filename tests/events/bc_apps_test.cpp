// The business-component applications of a business-process run: gathered
// at each StartBCReplay, added to every scope mode 2 update of the run.
#include <functional>

#include "tests/events/scope_host.h"
#include "tests/support/hresult.h"

namespace {

using Column = std::vector<CComVariant>;

class BCAppsTest : public ScopeHostTest {
 protected:
  void SetUp() override {
    ScopeHostTest::SetUp();
    SetRunOptions(2);
    SetRows({});
  }

  // A component's data object with its two lists.
  CComPtr<CHostDataObj> Component(const Column& files, const Column& flags) {
    CComPtr<CHostDataObj> component = CHostDataObj::Create(log);
    EXPECT_HR(S_OK, component->SetList(OLESTR("FILES_LIST"), files));
    EXPECT_HR(S_OK, component->SetList(OLESTR("DESC_LIST"), flags));
    return component;
  }

  // The update's writes after the host executable and Explorer.
  std::vector<std::string> ComponentCalls() {
    log->Clear();
    EXPECT_HR(S_OK, Update());
    std::vector<std::string> calls = ScopeCalls();
    std::vector<std::string> added;
    for (const std::string& call : calls) {
      if (call.rfind("add bc_", 0) == 0) added.push_back(call);
    }
    return added;
  }

  ULONG Rows() const { return addin->BCApps().IsValid() ? addin->BCApps().GetRowCount() : 0; }
};

const CComVariant kOne = HostI4(1);
const CComVariant kZero = HostI4(0);

TEST_F(BCAppsTest, SameFileInTwoComponentsIsAddedTwice) {
  ASSERT_HR(S_OK, startup->StartBPTRun(data));
  EXPECT_HR(S_OK, bc->StartBCReplay(Component({HostBstr(OLESTR("bc_a.exe"))}, {kOne})));
  EXPECT_HR(S_OK, bc->StartBCReplay(Component({HostBstr(OLESTR("bc_a.exe"))}, {kZero})));
  EXPECT_EQ(2u, Rows());
  EXPECT_EQ((std::vector<std::string>{"add bc_a.exe hook 1 children 1", "add bc_a.exe hook 1 children 0"}),
            ComponentCalls());
}

// One component's lists, and what its run adds to the scope.
struct Gathering {
  const char* name;
  Column files;
  Column flags;
  HRESULT result;
  std::vector<std::string> added;
};

const Gathering kGatherings[] = {
    {"EmptyFileIsSkippedFlagsStayWithTheirFiles",
     {HostBstr(OLESTR("bc_a.exe")), HostBstr(OLESTR("")), HostBstr(OLESTR("bc_c.exe"))},
     {kZero, kOne, kOne},
     S_OK,
     {"add bc_a.exe hook 1 children 0", "add bc_c.exe hook 1 children 1"}},
    {"FlagsShorterThanFilesCountAsClear",
     {HostBstr(OLESTR("bc_a.exe")), HostBstr(OLESTR("bc_b.exe"))},
     {kOne},
     S_OK,
     {"add bc_a.exe hook 1 children 1", "add bc_b.exe hook 1 children 0"}},
    {"FlagsThatAreNoNumberCountAsSet",
     {HostBstr(OLESTR("bc_a.exe")), HostBstr(OLESTR("bc_b.exe")), HostBstr(OLESTR("bc_c.exe"))},
     {HostBstr(OLESTR("yes")), HostBool(true), HostBstr(OLESTR("0"))},
     S_OK,
     {"add bc_a.exe hook 1 children 1", "add bc_b.exe hook 1 children 1", "add bc_c.exe hook 1 children 0"}},
    {"OnlyEmptyFilesGatherNothing", {HostBstr(OLESTR("")), HostBstr(nullptr), HostI4(3)}, {kOne, kOne, kOne},
     S_FALSE, {}},
    {"NoFiles", {}, {}, S_OK, {}},
};

class BCAppsGathering : public BCAppsTest, public testing::WithParamInterface<Gathering> {};

TEST_P(BCAppsGathering, AddsWhatWasGathered) {
  const Gathering& row = GetParam();
  ASSERT_HR(S_OK, startup->StartBPTRun(data));
  EXPECT_HR(row.result, bc->StartBCReplay(Component(row.files, row.flags)));
  EXPECT_EQ(row.added.size(), Rows());
  EXPECT_EQ(row.result == S_FALSE || row.added.empty() ? false : true, addin->BCApps().IsValid());
  EXPECT_EQ(row.added, ComponentCalls());
}

INSTANTIATE_TEST_SUITE_P(StartBCReplay, BCAppsGathering, testing::ValuesIn(kGatherings),
                         [](const testing::TestParamInfo<Gathering>& info) { return std::string(info.param.name); });

TEST_F(BCAppsTest, ListsOfStringsAreRefusedAndGatherNothing) {
  ASSERT_HR(S_OK, startup->StartBPTRun(data));
  CComPtr<CHostDataObj> component = CHostDataObj::Create(log);
  SAFEARRAY* psa = SafeArrayCreateVector(VT_BSTR, 0, 1);
  ASSERT_NE(nullptr, psa);
  LONG index = 0;
  CComBSTR file(OLESTR("bc_a.exe"));
  ASSERT_HR(S_OK, SafeArrayPutElement(psa, &index, file.m_str));
  CComVariant files;
  files.vt = VT_ARRAY | VT_BSTR;
  files.parray = psa;
  component->SetItem(OLESTR("FILES_LIST"), files);
  ASSERT_HR(S_OK, component->SetList(OLESTR("DESC_LIST"), {kOne}));
  EXPECT_HR(E_FAIL, bc->StartBCReplay(component));
  EXPECT_EQ(0u, Rows());
  component->RemoveItem(OLESTR("DESC_LIST"));
  ASSERT_HR(S_OK, component->SetList(OLESTR("FILES_LIST"), {HostBstr(OLESTR("bc_a.exe"))}));
  EXPECT_HR(E_FAIL, bc->StartBCReplay(component)) << "a missing flag list fails as well";
  EXPECT_EQ(0u, Rows());
}

TEST_F(BCAppsTest, RowsStayWhenALaterComponentBringsNothing) {
  ASSERT_HR(S_OK, startup->StartBPTRun(data));
  ASSERT_HR(S_OK, bc->StartBCReplay(Component({HostBstr(OLESTR("bc_a.exe"))}, {kOne})));
  EXPECT_HR(S_OK, bc->StartBCReplay(Component({}, {})));
  EXPECT_HR(S_OK, bc->StartBCReplay(Component({HostBstr(OLESTR(""))}, {kOne})));
  EXPECT_EQ(1u, Rows());
}

TEST_F(BCAppsTest, OutsideABusinessProcessRunNothingIsGatheredOrAdded) {
  EXPECT_HR(S_OK, bc->StartBCReplay(nullptr));
  EXPECT_HR(S_OK, bc->StartBCReplay(Component({HostBstr(OLESTR("bc_a.exe"))}, {kOne})));
  EXPECT_EQ(0u, Rows());
  ASSERT_HR(S_OK, startup->StartBPTRun(data));
  ASSERT_HR(S_OK, bc->StartBCReplay(Component({HostBstr(OLESTR("bc_a.exe"))}, {kOne})));
  ASSERT_HR(S_OK, startup->EndBPTRun(data));
  EXPECT_EQ(0u, Rows());
  EXPECT_EQ(std::vector<std::string>{}, ComponentCalls());
}

TEST_F(BCAppsTest, RecordingAComponentKeepsTheRowsButStopsAddingThem) {
  ASSERT_HR(S_OK, startup->StartBPTRun(data));
  ASSERT_HR(S_OK, bc->StartBCReplay(Component({HostBstr(OLESTR("bc_a.exe"))}, {kOne})));
  EXPECT_HR(S_OK, bc->StartBCRecord(data));
  EXPECT_EQ(1u, Rows());
  EXPECT_EQ(std::vector<std::string>{}, ComponentCalls());
}

TEST_F(BCAppsTest, ListedApplicationsOffStillAddsTheComponents) {
  SetRunOptions(2, 1, 0, 0);
  ASSERT_HR(S_OK, startup->StartBPTRun(data));
  ASSERT_HR(S_OK, bc->StartBCReplay(Component({HostBstr(OLESTR("bc_a.exe"))}, {kOne})));
  EXPECT_EQ((std::vector<std::string>{"add bc_a.exe hook 1 children 1"}), ComponentCalls());
}

TEST_F(BCAppsTest, NullDataObjectInsideARun) {
  ASSERT_HR(S_OK, startup->StartBPTRun(data));
  EXPECT_HR(E_INVALIDARG, bc->StartBCReplay(nullptr));
  EXPECT_TRUE(addin->IsBCActive());
}

}  // namespace
