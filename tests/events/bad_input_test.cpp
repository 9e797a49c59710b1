// Data objects whose items are of the wrong kind: the update answers, writes
// no more than the settings it could read allow, and leaks nothing.
#include "tests/events/scope_host.h"
#include "tests/support/hresult.h"

namespace {

struct RunOption {
  const char* name;
  CComVariant value;
  std::vector<std::string> calls;
};

// Only an integer holds a scope mode; anything else is no mode at all.
const RunOption kRunOptions[] = {
    {"I2", [] {
       CComVariant v;
       v.vt = VT_I2;
       v.iVal = 1;
       return v;
     }(), {"all on", "commit"}},
    {"Text", HostBstr(OLESTR("1")), {"commit"}},
    {"Real", [] {
       CComVariant v;
       v.vt = VT_R8;
       v.dblVal = 1.0;
       return v;
     }(), {"commit"}},
    {"NullText", HostBstr(nullptr), {"commit"}},
    {"Null", HostNull(), {"commit"}},
    {"List", HostVariantVector({HostI4(1)}), {"commit"}},
};

class RunOptionOfAnotherKind : public ScopeHostTest, public testing::WithParamInterface<RunOption> {};

TEST_P(RunOptionOfAnotherKind, CountsAsNoMode) {
  data->SetItem(OLESTR("RUN_OPT"), GetParam().value);
  EXPECT_HR(S_OK, Update());
  EXPECT_EQ(GetParam().calls, ScopeCalls());
}

INSTANTIATE_TEST_SUITE_P(RunOpt, RunOptionOfAnotherKind, testing::ValuesIn(kRunOptions),
                         [](const testing::TestParamInfo<RunOption>& info) { return std::string(info.param.name); });

class BadListTest : public ScopeHostTest {
 protected:
  void SetUp() override {
    ScopeHostTest::SetUp();
    SetRunOptions(2, 0);
    SetRows({{OLESTR("tool.exe"), nullptr, nullptr, nullptr, 1, 1}});
  }

  std::vector<std::string> Listed() {
    EXPECT_HR(S_OK, Update());
    std::vector<std::string> calls = ScopeCalls();
    // Past the host executable and Explorer.
    return std::vector<std::string>(calls.begin() + 2, calls.end());
  }
};

TEST_F(BadListTest, NullTextCellsCountAsEmpty) {
  ASSERT_HR(S_OK, data->SetList(OLESTR("APPS_LIST"), {HostBstr(nullptr), HostBstr(OLESTR("two.exe"))}));
  ASSERT_HR(S_OK, data->SetList(OLESTR("FILES_LIST"), {HostBstr(nullptr), HostBstr(nullptr)}));
  EXPECT_EQ((std::vector<std::string>{"add two.exe hook 1 children 0", "all off", "commit"}), Listed());
}

TEST_F(BadListTest, FilesListDecidesTheRowCount) {
  ASSERT_HR(S_OK, data->SetList(OLESTR("APPS_LIST"), {HostBstr(OLESTR("one.exe")), HostBstr(OLESTR("two.exe"))}));
  ASSERT_HR(S_OK, data->SetList(OLESTR("FILES_LIST"), {HostBstr(nullptr)}));
  EXPECT_EQ((std::vector<std::string>{"add one.exe hook 1 children 0", "all off", "commit"}), Listed());
  // A longer "FILES_LIST": the rows past the other lists have no cells.
  ASSERT_HR(S_OK, data->SetList(OLESTR("FILES_LIST"), {HostBstr(nullptr), HostBstr(nullptr), HostBstr(nullptr)}));
  EXPECT_HR(S_OK, Update());
  EXPECT_EQ((std::vector<std::string>{"one.exe", "two.exe"}), Hooked());
}

TEST_F(BadListTest, OneDimensionalListHasNoCells) {
  ASSERT_HR(S_OK, data->SetOneDimensionalList(OLESTR("APPS_LIST"), {HostBstr(OLESTR("one.exe"))}));
  EXPECT_EQ((std::vector<std::string>{"all off", "commit"}), Listed());
}

// Lists of a shape the host never makes: three dimensions (no table at all,
// and no cell read past the wrapper's two indices) or lower bounds of 1 (the
// cells the add-in asks for are not there). Both read as rows without cells.
void PutOddAppsList(CHostDataObj* data, USHORT dims, LONG lbound) {
  SAFEARRAYBOUND bounds[3] = {{2, lbound}, {2, lbound}, {2, lbound}};
  CComVariant list;
  list.vt = VT_ARRAY | VT_VARIANT;
  list.parray = SafeArrayCreate(VT_VARIANT, dims, bounds);
  ASSERT_NE(nullptr, list.parray);
  CComVariant cell(OLESTR("odd.exe"));
  LONG indices[3] = {lbound + 1, lbound, lbound};
  ASSERT_HR(S_OK, SafeArrayPutElement(list.parray, indices, cell.AsInput()));
  data->SetItem(OLESTR("APPS_LIST"), list);
}

TEST_F(BadListTest, ThreeDimensionalListHasNoCells) {
  PutOddAppsList(data, 3, 0);
  EXPECT_EQ((std::vector<std::string>{"all off", "commit"}), Listed());
}

TEST_F(BadListTest, ListWithLowerBoundsOfOneHasNoCellsWhereAsked) {
  PutOddAppsList(data, 2, 1);
  EXPECT_EQ((std::vector<std::string>{"all off", "commit"}), Listed());
}

TEST_F(BadListTest, ListOfTextIsNoList) {
  data->SetItem(OLESTR("LNCH_LIST"), HostBstr(OLESTR("1")));
  EXPECT_HR(E_FAIL, Update());
  EXPECT_EQ((std::vector<std::string>{"add <host> hook 0 children 0", "add explorer.exe hook 0 children 0"}),
            ScopeCalls());
}

}  // namespace
