// Rebuilding the hook scope on UpdateDataObject: one update on a fresh tree
// per scenario, with the host's answer, the tree writes in order, and for
// the failure rows what was left undone.
#include <functional>

#include "tests/events/scope_host.h"
#include "tests/support/hresult.h"

namespace {

using Arrange = std::function<void(ScopeHostTest&)>;

struct Scenario {
  const char* name;
  Arrange arrange;
  HRESULT result;
  std::vector<std::string> calls;
};

// The host's executable, Explorer and no listed row: what every scope mode
// 2 update with the shipped options writes before its own rows.
const char kHostDefault[] = "add <host> hook 0 children 1";
const char kExplorerOff[] = "add explorer.exe hook 0 children 0";
const char kBrowser[] = "add iexplore.exe hook 1 children 1";

void Chosen(ScopeHostTest& t) {
  t.SetRunOptions(2);
  t.SetRows({});
}

const Scenario kScenarios[] = {
    {"ScopeAll", [](ScopeHostTest& t) { t.SetRunOptions(1); }, S_OK, {"all on", "commit"}},
    {"ScopeChosenWithShippedOptions", Chosen, S_OK, {kHostDefault, kExplorerOff, "all off", "commit"}},
    {"RestrictedRunModeTurnsAllIntoChosenAndExplorerOff",
     [](ScopeHostTest& t) {
       t.runMode->Answer().mode = 1;
       t.SetRunOptions(1, 1, 1);
       t.SetRows({});
     },
     S_OK,
     {kHostDefault, kExplorerOff, "all off", "commit"}},
    {"ExplorerHookedWhenAskedAndNotRestricted",
     [](ScopeHostTest& t) {
       t.SetRunOptions(2, 0, 1);
       t.SetRows({});
     },
     S_OK,
     {"add <host> hook 0 children 0", "add explorer.exe hook 1 children 1", "all off", "commit"}},
    {"RunModeOtherThanOneIsNotRestricted",
     [](ScopeHostTest& t) {
       t.runMode->Answer().mode = 2;
       t.SetRunOptions(1);
     },
     S_OK,
     {"all on", "commit"}},
    {"RunModeProviderMissing",
     [](ScopeHostTest& t) {
       t.runMode->Revoke();
       t.SetRunOptions(1);
     },
     S_OK,
     {"all on", "commit"}},
    {"RunModeProviderWithoutItsInterface",
     [](ScopeHostTest& t) {
       t.runMode->Answer().mode = 1;
       t.runMode->Answer().answersProvider = false;
       t.SetRunOptions(1);
     },
     S_OK,
     {"all on", "commit"}},
    {"RunModeProviderFailing",
     [](ScopeHostTest& t) {
       t.runMode->Answer().mode = 1;
       t.runMode->Answer().getRunModeResult = E_FAIL;
       t.SetRunOptions(1);
     },
     S_OK,
     {"all on", "commit"}},
    {"RunModeClassFailsToCreate",
     [](ScopeHostTest& t) {
       t.runMode->Factory().FailOperation(HostOperation::CreateInstance, E_OUTOFMEMORY);
       t.SetRunOptions(1);
     },
     S_OK,
     {"all on", "commit"}},
    {"ScopeModeZeroOnlyBrowserAndCommit",
     [](ScopeHostTest& t) {
       t.manager->AddAddIn(OLESTR("Web"));
       t.SetRunOptions(0);
     },
     S_OK,
     {kBrowser, "commit"}},
    {"ScopeModeThreeOnlyBrowserAndCommit",
     [](ScopeHostTest& t) {
       t.manager->AddAddIn(OLESTR("Siebel"));
       t.SetRunOptions(3);
     },
     S_OK,
     {kBrowser, "commit"}},
    {"WebAndSiebelAddTheBrowserTwice",
     [](ScopeHostTest& t) {
       t.manager->AddAddIn(OLESTR("ActiveX"));
       t.manager->AddAddIn(OLESTR("Web"));
       t.manager->AddAddIn(OLESTR("Siebel"));
       t.SetRunOptions(1);
     },
     S_OK,
     {kBrowser, kBrowser, "all on", "commit"}},
    {"AddInNamesCompareIgnoringCaseButNotBlanks",
     [](ScopeHostTest& t) {
       t.manager->AddAddIn(OLESTR("web"));
       t.manager->AddAddIn(OLESTR("Web "));
       t.manager->AddAddIn(OLESTR("SIEBEL"));
       t.manager->AddAddIn(OLESTR("Webb"));
       t.SetRunOptions(1);
     },
     S_OK,
     {kBrowser, kBrowser, "all on", "commit"}},
    {"UnreadableAddInsAreSkipped",
     [](ScopeHostTest& t) {
       t.manager->AddNullElement();
       t.manager->AddAddIn(OLESTR("Web"))->HideAddinObjectInterface();
       t.manager->AddAddIn(OLESTR("Web"))->FailOperation(HostOperation::GetAddInName, E_FAIL);
       t.manager->AddAddIn(OLESTR("Web"))->AnswerNullName();
       t.manager->AddAddIn(OLESTR("Siebel"));
       t.SetRunOptions(1);
     },
     S_OK,
     {kBrowser, "all on", "commit"}},
    {"AddInsWithLowerBoundOne",
     [](ScopeHostTest& t) {
       t.manager->AddAddIn(OLESTR("Web"));
       t.manager->AddAddIn(OLESTR("Siebel"));
       t.manager->AnswerGetAddIns(HostAddInArray::LowerBoundOne);
       t.SetRunOptions(1);
     },
     S_OK,
     {kBrowser, kBrowser, "all on", "commit"}},
    {"NoAddInManagerInTheRack",
     [](ScopeHostTest& t) {
       t.rack->PutObject(OLESTR("AddIn Manager"), nullptr);
       t.SetRunOptions(1);
     },
     S_OK,
     {"all on", "commit"}},
    {"AddInManagerFetchFails",
     [](ScopeHostTest& t) {
       t.manager->AddAddIn(OLESTR("Web"));
       t.rack->FailOperation(HostOperation::GetObject, E_ACCESSDENIED, HostFailTimes::Always,
                             OLESTR("AddIn Manager"));
       t.SetRunOptions(1);
     },
     S_OK,
     {"all on", "commit"}},
    {"GetAddInsFails",
     [](ScopeHostTest& t) {
       t.manager->FailOperation(HostOperation::GetAddIns, E_ACCESSDENIED);
       t.SetRunOptions(1);
     },
     E_ACCESSDENIED,
     {}},
    {"GetAddInsFailsWithAnArray",
     [](ScopeHostTest& t) {
       t.manager->AddAddIn(OLESTR("Web"));
       t.manager->FailWithArray(E_UNEXPECTED);
       t.SetRunOptions(1);
     },
     E_UNEXPECTED,
     {}},
    {"GetAddInsGivesNoArray",
     [](ScopeHostTest& t) {
       t.manager->AnswerGetAddIns(HostAddInArray::NoArray);
       t.SetRunOptions(1);
     },
     S_OK,
     {}},
    {"OwnChildrenOptionAbsentKeepsItsPreset",
     [](ScopeHostTest& t) {
       Chosen(t);
       t.SetRunOptions(2, -1);
     },
     S_OK,
     {"add <host> hook 0 children 1", kExplorerOff, "all off", "commit"}},
    {"OwnChildrenOptionAsTextLeavesTheHostOut",
     [](ScopeHostTest& t) {
       Chosen(t);
       t.data->SetItem(OLESTR("OV_DSC_OPT"), HostBstr(OLESTR("1")));
     },
     S_OK,
     {kExplorerOff, "all off", "commit"}},
    {"ExplorerOptionAbsentWritesItUnhooked",
     [](ScopeHostTest& t) {
       Chosen(t);
       t.SetRunOptions(2, 1, -1);
     },
     S_OK,
     {kHostDefault, kExplorerOff, "all off", "commit"}},
    {"ListedApplications",
     [](ScopeHostTest& t) {
       t.SetRunOptions(2);
       t.SetRows({{OLESTR("tool.exe -x"), nullptr, nullptr, nullptr, 0, 1},
                  {nullptr, nullptr, OLESTR("C:\\dir"), nullptr, 1, 1},
                  {OLESTR("\"C:\\apps\\editor.exe\" a.txt"), OLESTR("velmora_absent_doc.exe"), nullptr, nullptr, 0, 1},
                  {nullptr, OLESTR("velmora_absent_one.exe"), nullptr, OLESTR("-a"), 0, 1},
                  {nullptr, OLESTR("velmora_absent_two.exe"), nullptr, nullptr, 1, 0}});
     },
     S_OK,
     {kHostDefault, kExplorerOff, "add tool.exe hook 1 children 0", "add editor.exe hook 1 children 0",
      "add velmora_absent_one.exe hook 1 children 1", "add velmora_absent_two.exe hook 1 children 0", "all off",
      "commit"}},
    {"ListedApplicationsOptionOff",
     [](ScopeHostTest& t) {
       t.SetRunOptions(2, 1, 0, 0);
       t.SetRows({{OLESTR("tool.exe"), nullptr, nullptr, nullptr, 1, 1}});
     },
     S_OK,
     {kHostDefault, kExplorerOff, "all off", "commit"}},
    {"ListThatCannotLoadStopsBeforeTheSwitchAndCommit",
     [](ScopeHostTest& t) {
       t.SetRunOptions(2);
       t.SetRows({{OLESTR("tool.exe"), nullptr, nullptr, nullptr, 1, 1}});
       t.data->RemoveItem(OLESTR("DIRS_LIST"));
     },
     E_FAIL,
     {kHostDefault, kExplorerOff}},
};

class HookScopeScenario : public ScopeHostTest, public testing::WithParamInterface<Scenario> {};

TEST_P(HookScopeScenario, WritesTheScopeInOrder) {
  const Scenario& scenario = GetParam();
  scenario.arrange(*this);
  EXPECT_HR(scenario.result, Update());
  EXPECT_EQ(scenario.calls, ScopeCalls()) << log->Dump();
}

INSTANTIATE_TEST_SUITE_P(Updates, HookScopeScenario, testing::ValuesIn(kScenarios),
                         [](const testing::TestParamInfo<Scenario>& info) { return std::string(info.param.name); });

class HookScopeTest : public ScopeHostTest {};

TEST_F(HookScopeTest, OneUpdateAsTheHostSeesIt) {
  manager->AddAddIn(OLESTR("Web"));
  SetRunOptions(2, 1, 1);
  SetRows({{OLESTR("tool.exe"), nullptr, nullptr, nullptr, 1, 1}});
  ASSERT_HR(S_OK, Update());
  // Each file entry asks the rack for the host's file locator, which this
  // host does not keep.
  const char kLocator[] = "rack: GetObject(RACK_FILE_LOCATOR, IFileLocator) -> 0x80070057";
  // The provider is asked before anything is read, the add-ins before the
  // options, the options in the order of the writes they decide.
  EXPECT_EQ((std::vector<std::string>{
                "RunModeProvider class: CreateInstance(IRunModeComponent)", "RunModeProvider: GetRunMode()",
                "dataobj: GetItemByName(RUN_OPT)", "rack: GetObject(AddIn Manager, IAddInManager)",
                "AddIn Manager: GetAddIns()", "addin Web: get_Name()", kLocator, "dataobj: GetItemByName(OV_DSC_OPT)",
                kLocator, "dataobj: GetItemByName(EXPL_DSC_OPT)", kLocator, "dataobj: GetItemByName(SPECAPP_DSC_OPT)",
                "dataobj: GetItemByName(FILES_LIST)", "dataobj: GetItemByName(DIRS_LIST)",
                "dataobj: GetItemByName(ARGS_LIST)", "dataobj: GetItemByName(APPS_LIST)",
                "dataobj: GetItemByName(LNCH_LIST)", "dataobj: GetItemByName(DESC_LIST)"}),
            log->QualifiedTexts({HostOperation::CreateInstance, HostOperation::GetRunMode,
                                 HostOperation::GetItemByName, HostOperation::GetAddIns, HostOperation::GetAddInName,
                                 HostOperation::GetObject}))
      << log->Dump();
  EXPECT_EQ((std::vector<std::string>{"all GetMessageHook 0 WndProcHook 0",
                                      "iexplore.exe hook 1 children 1 enabled 1 childprocs 1",
                                      "<host> hook 0 children 1 enabled 0 childprocs 1",
                                      "explorer.exe hook 1 children 1 enabled 1 childprocs 1",
                                      "tool.exe hook 1 children 0 enabled 1 childprocs 0", "DEFAULT Enabled 0"}),
            Tree());
  // The switches and the commit, as the host receives them.
  EXPECT_EQ((std::vector<std::string>{"TestOptions/Hooks: SetNodeValue(all, GetMessageHook, I4 0, flag 1, level 3)",
                                      "TestOptions/Hooks: SetNodeValue(all, WndProcHook, I4 0, flag 1, level 3)",
                                      "TestOptions/HooksMgr/DllInjector/ALWAYS: SetNodeValue(DEFAULT, Enabled, I4 0, "
                                      "flag 1, level 3)",
                                      "TestOptions/Hooks: SetNodeValue(all, bbHook, I4 1, flag 0, level 3)"}),
            log->QualifiedTexts({HostOperation::SetNodeValue}));
}

TEST_F(HookScopeTest, NullDataObjectTouchesNothing) {
  EXPECT_HR(E_INVALIDARG, Update(nullptr));
  EXPECT_EQ("", log->Dump()) << "not even the run-mode provider is created";
}

TEST_F(HookScopeTest, UnreadableRunOptionLeavesThePreviousScope) {
  SetRunOptions(2);
  SetRows({{OLESTR("tool.exe"), nullptr, nullptr, nullptr, 1, 1}});
  ASSERT_HR(S_OK, Update());
  const std::vector<std::string> before = Tree();
  log->Clear();
  data->FailOperation(HostOperation::GetItemByName, E_ACCESSDENIED, HostFailTimes::Once, OLESTR("RUN_OPT"));
  EXPECT_HR(E_ACCESSDENIED, Update());
  EXPECT_EQ(before, Tree());
  EXPECT_EQ((std::vector<std::string>{}), log->Writes());
}

TEST_F(HookScopeTest, GetAddInsWithoutArrayLeavesTheScopeReverted) {
  SetRunOptions(2);
  SetRows({{OLESTR("tool.exe"), nullptr, nullptr, nullptr, 1, 1}});
  ASSERT_HR(S_OK, Update());
  log->Clear();
  manager->AnswerGetAddIns(HostAddInArray::NoArray);
  EXPECT_HR(S_OK, Update());
  EXPECT_EQ((std::vector<std::string>{"reset <host>", "reset explorer.exe", "reset tool.exe"}), ScopeCalls());
  EXPECT_EQ((std::vector<std::string>{}), Hooked());
}

// Arrays that are not a list of interface pointers are not read a pointer
// at a time: nothing of them reaches the scope, and the update completes.
TEST_F(HookScopeTest, AddInArraysOfOtherShapesAreNotRead) {
  const HostAddInArray shapes[] = {HostAddInArray::Variants, HostAddInArray::Strings,
                                   HostAddInArray::TwoDimensional};
  manager->AddAddIn(OLESTR("Web"));
  manager->AddAddIn(OLESTR("Siebel"));
  SetRunOptions(1);
  for (HostAddInArray shape : shapes) {
    log->Clear();
    manager->AnswerGetAddIns(shape);
    EXPECT_HR(S_OK, Update());
    EXPECT_EQ((std::vector<std::string>{"all on", "commit"}), ScopeCalls()) << static_cast<int>(shape);
    EXPECT_EQ(0u, log->Count(HostOperation::GetAddInName));
  }
}

}  // namespace
