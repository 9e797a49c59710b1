// PostLoad: the launcher's registration and the one update that follows it.
#include <functional>

#include "tests/events/scope_host.h"
#include "tests/support/hresult.h"
#include "tests/support/under_wine.h"

namespace {

struct Registration {
  const char* name;
  std::function<void(ScopeHostTest&)> arrange;
  HRESULT result;
  bool registered;
  bool updated;
};

const Registration kRegistrations[] = {
    {"Allowed", [](ScopeHostTest&) {}, S_OK, true, true},
    {"NoRack", [](ScopeHostTest& t) { (void)t.addin->SetRack(nullptr); }, E_FAIL, false, false},
    {"NoTestOptions", [](ScopeHostTest& t) { t.rack->PutObject(OLESTR("TestOptions"), nullptr); }, E_FAIL, false,
     false},
    {"AutomationOff", [](ScopeHostTest& t) { t.root->PutValue(OLESTR("SupportAutomation"), HostI4(0)); }, S_OK,
     false, false},
    {"AutomationAsText",
     [](ScopeHostTest& t) { t.root->PutValue(OLESTR("SupportAutomation"), HostBstr(OLESTR("1"))); }, S_OK, false,
     false},
    {"AutomationMissing", [](ScopeHostTest& t) { t.root->EraseValue(OLESTR("SupportAutomation")); }, S_OK, false,
     false},
    {"NoTestSettings", [](ScopeHostTest& t) { t.rack->PutObject(OLESTR("RackTestSettingsAutoObj"), nullptr); },
     CHostObjectRack::kMissingObject, false, false},
    {"TestSettingsFetchGivesNothing",
     [](ScopeHostTest& t) { t.rack->AnswerNullObject(OLESTR("RackTestSettingsAutoObj")); }, E_FAIL, false, false},
    {"NoLaunchers", [](ScopeHostTest& t) { t.settings->PutItem(OLESTR("Launchers"), nullptr); },
     CHostTestSettings::kMissingItem, false, false},
    {"LaunchersGivesNothing", [](ScopeHostTest& t) { t.settings->AnswerNullItem(OLESTR("Launchers")); }, E_FAIL,
     false, false},
    {"LaunchersWithoutTheirInterface", [](ScopeHostTest& t) { t.launchers->HideLaunchersInterface(); }, E_FAIL,
     false, false},
    {"ProgIdNotRegistered", [](ScopeHostTest& t) { t.launcherProgId.reset(); }, CO_E_CLASSSTRING, false, false},
    {"ClassNotRegistered", [](ScopeHostTest& t) { t.launcherClass->Revoke(); }, REGDB_E_CLASSNOTREG, false, false},
    {"LauncherFailsToCreate",
     [](ScopeHostTest& t) { t.launcherClass->Factory().FailOperation(HostOperation::CreateInstance, E_OUTOFMEMORY); },
     E_OUTOFMEMORY, false, false},
    {"LauncherWithoutRackClient", [](ScopeHostTest& t) { t.launcherClass->AnswerRackClient(false); }, S_OK, true,
     true},
    {"AddLauncherFails",
     [](ScopeHostTest& t) { t.launchers->FailOperation(HostOperation::AddLauncher, DISP_E_EXCEPTION); },
     DISP_E_EXCEPTION, false, true},
};

class LauncherRegistration : public ScopeHostTest, public testing::WithParamInterface<Registration> {
 protected:
  void SetUp() override {
    ScopeHostTest::SetUp();
    RegisterLauncherClass();
    SetRunOptions(1);
  }
};

TEST_P(LauncherRegistration, AnswersRegistersAndUpdates) {
  const Registration& row = GetParam();
  row.arrange(*this);
  EXPECT_HR(row.result, startup->PostLoad(data));
  EXPECT_EQ(row.registered ? 1u : 0u, launchers->Launchers().size());
  const std::vector<std::string> updated = {"all on", "commit"};
  EXPECT_EQ(row.updated ? updated : std::vector<std::string>{}, ScopeCalls()) << log->Dump();
}

INSTANTIATE_TEST_SUITE_P(PostLoad, LauncherRegistration, testing::ValuesIn(kRegistrations),
                         [](const testing::TestParamInfo<Registration>& info) { return std::string(info.param.name); });

class LauncherRegistrationTest : public ScopeHostTest {
 protected:
  void SetUp() override {
    ScopeHostTest::SetUp();
    RegisterLauncherClass();
    SetRunOptions(1);
  }
};

TEST_F(LauncherRegistrationTest, LauncherGetsTheRackAndOnlyTheCollectionKeepsIt) {
  ASSERT_HR(S_OK, startup->PostLoad(data));
  ASSERT_EQ(1u, launchers->Launchers().size());
  EXPECT_EQ("Windows Applications", launchers->Launchers()[0].name);
  ASSERT_EQ(1u, launcherClass->History().launchers.size());
  EXPECT_EQ(static_cast<IObjectRack*>(rack), launcherClass->History().launchers[0].rack);
  EXPECT_EQ(1, launcherClass->History().launchers[0].setRackCalls);
  IDispatch* launcher = launchers->Launchers()[0].launcher;
  launcher->AddRef();
  EXPECT_EQ(1u, launcher->Release()) << "the add-in kept a reference to the launcher";
  // Created by IDispatch, handed the rack, registered, then the update.
  EXPECT_EQ((std::vector<std::string>{"launcher class: CreateInstance(IDispatch)", "launcher: SetRack(rack)",
                                      "Launchers: AddLauncher(Windows Applications)",
                                      "RunModeProvider class: CreateInstance(IRunModeComponent)"}),
            log->QualifiedTexts({HostOperation::CreateInstance, HostOperation::SetRack, HostOperation::AddLauncher}));
}

TEST_F(LauncherRegistrationTest, EveryPostLoadRegistersANewLauncher) {
  ASSERT_HR(S_OK, startup->PostLoad(data));
  ASSERT_HR(S_OK, startup->PostLoad(data));
  ASSERT_EQ(2u, launchers->Launchers().size());
  EXPECT_NE(launchers->Launchers()[0].launcher, launchers->Launchers()[1].launcher);
}

TEST_F(LauncherRegistrationTest, NullDataObjectRegistersWithoutUpdating) {
  EXPECT_HR(S_OK, startup->PostLoad(nullptr));
  EXPECT_EQ(1u, launchers->Launchers().size());
  EXPECT_EQ(std::vector<std::string>{}, ScopeCalls());
}

TEST_F(LauncherRegistrationTest, FailingUpdateDoesNotChangeTheResult) {
  data->FailOperation(HostOperation::GetItemByName, E_ACCESSDENIED, HostFailTimes::Always, OLESTR("RUN_OPT"));
  EXPECT_HR(S_OK, startup->PostLoad(data));
  EXPECT_EQ(1u, launchers->Launchers().size());
}

TEST_F(LauncherRegistrationTest, LauncherClassAnsweringNoObject) {
  // Wine's activation queries the object it was given whatever the class
  // said, so a class that answers S_OK without one cannot be shown there.
  if (velmora_test::RunningUnderWine()) GTEST_SKIP() << "Wine's CoCreateInstance needs an object";
  launcherClass->Factory().AnswerNullInstance();
  EXPECT_HR(E_FAIL, startup->PostLoad(data));
  EXPECT_EQ(0u, launchers->Launchers().size());
}

}  // namespace
