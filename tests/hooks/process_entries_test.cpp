// One process entering the hook scope: the exact writes under both nodes,
// the switches, and what each host failure leaves behind.
#include <functional>

#include "tests/hooks/hook_tree.h"
#include "tests/support/hresult.h"

namespace {

using Texts = std::vector<std::string>;

const std::vector<HostOperation> kWrites = {HostOperation::AddNode, HostOperation::SetValue,
                                            HostOperation::SetNodeValue};

std::string Hooks(const std::string& call) { return std::string(kHooksPath) + ": " + call; }
std::string Always(const std::string& call) { return std::string(kAlwaysPath) + ": " + call; }
std::string HooksEntry(const char* name, const std::string& call) {
  return std::string(kHooksPath) + "/" + name + ": " + call;
}
std::string AlwaysEntry(const char* name, const std::string& call) {
  return std::string(kAlwaysPath) + "/" + name + ": " + call;
}

TEST_F(HookConfiguratorTest, NewProcessCreatesBothEntries) {
  EXPECT_HR(S_OK, config->AddProcess(App(OLESTR("tool.exe"), true, false, 7)));
  const Texts expected = {
      Hooks("AddNode(tool.exe)"),
      HooksEntry("tool.exe", "SetValue(bbHook, I4 1, level 7)"),
      HooksEntry("tool.exe", "SetValue(GetMessageHook, I4 1, level 7)"),
      HooksEntry("tool.exe", "SetValue(WndProcHook, I4 1, level 7)"),
      HooksEntry("tool.exe", "SetValue(ChildProc_bbHook, I4 0, level 7)"),
      HooksEntry("tool.exe", "SetValue(ChildProc_GetMessageHook, I4 0, level 7)"),
      HooksEntry("tool.exe", "SetValue(ChildProc_WndProcHook, I4 0, level 7)"),
      Always("AddNode(tool.exe)"),
      AlwaysEntry("tool.exe", "SetValue(Enabled, I4 1, level 7)"),
      AlwaysEntry("tool.exe", "SetValue(UseDefault, I4 1, level 7)"),
      AlwaysEntry("tool.exe", "SetValue(ChildProcesses, I4 0, level 7)"),
  };
  EXPECT_EQ(expected, Calls(kWrites)) << tree->log->Dump();
  ASSERT_EQ(1u, config->CreatedHooksEntries().size());
  EXPECT_EQ(0, wcscmp(OLESTR("tool.exe"), config->CreatedHooksEntries()[0]));
  EXPECT_EQ(1u, config->CreatedAlwaysEntries().size());
  EXPECT_TRUE(config->SavedHooksEntries().empty());
  EXPECT_TRUE(config->SavedAlwaysEntries().empty());
}

TEST_F(HookConfiguratorTest, ExistingEntriesAreRewrittenAndTheirFlagsSaved) {
  CComPtr<CHostOptionsNode> hooksEntry = tree->hooks->AddChild(OLESTR("tool.exe"));
  hooksEntry->PutValue(OLESTR("bbHook"), HostI4(0));
  hooksEntry->PutValue(OLESTR("GetMessageHook"), HostI4(1));
  hooksEntry->PutValue(OLESTR("ChildProc_bbHook"), HostBstr(OLESTR("1")));  // converts to VT_I4
  CComPtr<CHostOptionsNode> alwaysEntry = tree->always->AddChild(OLESTR("tool.exe"));
  alwaysEntry->PutValue(OLESTR("Enabled"), HostI4(-1));  // a reset entry reads as set
  alwaysEntry->PutValue(OLESTR("UseDefault"), HostI4(0));
  // "ChildProcesses" missing: the app's own flag stands in the saved copy.

  // Level 4, not 1: the rewrite and the later restore both carry the
  // record's level, and 1 is what a configurator that ignored it would write.
  EXPECT_HR(S_OK, config->AddProcess(App(OLESTR("tool.exe"), true, false, 4)));
  const Texts expected = {
      Hooks("SetNodeValue(tool.exe, bbHook, I4 1, flag 0, level 4)"),
      Hooks("SetNodeValue(tool.exe, GetMessageHook, I4 1, flag 0, level 4)"),
      Hooks("SetNodeValue(tool.exe, WndProcHook, I4 1, flag 0, level 4)"),
      Hooks("SetNodeValue(tool.exe, ChildProc_bbHook, I4 0, flag 0, level 4)"),
      Hooks("SetNodeValue(tool.exe, ChildProc_GetMessageHook, I4 0, flag 0, level 4)"),
      Hooks("SetNodeValue(tool.exe, ChildProc_WndProcHook, I4 0, flag 0, level 4)"),
      Always("SetNodeValue(tool.exe, Enabled, I4 1, flag 0, level 4)"),
      Always("SetNodeValue(tool.exe, UseDefault, I4 1, flag 0, level 4)"),
      Always("SetNodeValue(tool.exe, ChildProcesses, I4 0, flag 0, level 4)"),
  };
  EXPECT_EQ(expected, Calls(kWrites)) << tree->log->Dump();
  EXPECT_TRUE(config->CreatedHooksEntries().empty());
  EXPECT_TRUE(config->CreatedAlwaysEntries().empty());

  ASSERT_EQ(1u, config->SavedHooksEntries().size());
  EXPECT_FALSE(config->SavedHooksEntries()[0].m_bHook);
  EXPECT_TRUE(config->SavedHooksEntries()[0].m_bChildProcesses);
  ASSERT_EQ(1u, config->SavedAlwaysEntries().size());
  EXPECT_TRUE(config->SavedAlwaysEntries()[0].m_bHook);
  EXPECT_FALSE(config->SavedAlwaysEntries()[0].m_bChildProcesses);

  // The next update restores the former flags: the former "bbHook" stands for
  // all three hooks, and "UseDefault" stays 1.
  tree->log->Clear();
  EXPECT_HR(S_OK, config->RevertPrevious());
  // Only restores: nothing was created, so nothing is reset at level 3.
  const std::vector<CHostCall> restores = tree->log->Calls({HostOperation::SetNodeValue});
  EXPECT_EQ(9u, restores.size()) << tree->log->Dump();
  for (const CHostCall& call : restores) EXPECT_EQ(4, *call.level) << call.QualifiedText();
  for (const OLECHAR* hook : {OLESTR("bbHook"), OLESTR("GetMessageHook"), OLESTR("WndProcHook")}) {
    EXPECT_EQ("I4 0", ValueOf(tree->hooks, OLESTR("tool.exe"), hook));
  }
  for (const OLECHAR* hook : {OLESTR("ChildProc_bbHook"), OLESTR("ChildProc_GetMessageHook"),
                              OLESTR("ChildProc_WndProcHook")}) {
    EXPECT_EQ("I4 1", ValueOf(tree->hooks, OLESTR("tool.exe"), hook));
  }
  EXPECT_EQ("I4 1", ValueOf(tree->always, OLESTR("tool.exe"), OLESTR("Enabled")));
  EXPECT_EQ("I4 1", ValueOf(tree->always, OLESTR("tool.exe"), OLESTR("UseDefault")));
  EXPECT_EQ("I4 0", ValueOf(tree->always, OLESTR("tool.exe"), OLESTR("ChildProcesses")));
  EXPECT_TRUE(config->SavedHooksEntries().empty());
  EXPECT_TRUE(config->SavedAlwaysEntries().empty());
}

TEST_F(HookConfiguratorTest, SetAllModeWritesTheThreeSwitches) {
  tree->hooks->AddChild(OLESTR("all"));
  tree->always->AddChild(OLESTR("DEFAULT"));
  for (bool on : {true, false}) {
    tree->log->Clear();
    EXPECT_HR(S_OK, config->SetAllMode(on));
    const std::string v = on ? "I4 1" : "I4 0";
    const Texts expected = {
        Hooks("SetNodeValue(all, GetMessageHook, " + v + ", flag 1, level 3)"),
        Hooks("SetNodeValue(all, WndProcHook, " + v + ", flag 1, level 3)"),
        Always("SetNodeValue(DEFAULT, Enabled, " + v + ", flag 1, level 3)"),
    };
    EXPECT_EQ(expected, tree->log->Writes());
  }
  EXPECT_EQ("missing", ValueOf(tree->hooks, OLESTR("all"), OLESTR("bbHook"))) << "bbHook is the commit's alone";
}

// The host gives the reserved arguments no meaning yet; the configurator
// passes 0 for each, through every kind of write and read it makes.
TEST_F(HookConfiguratorTest, EveryReservedArgumentIsZero) {
  tree->hooks->AddChild(OLESTR("all"))->PutValue(OLESTR("bbHook"), HostI4(1));
  tree->always->AddChild(OLESTR("DEFAULT"));
  tree->hooks->AddChild(OLESTR("old.exe"));
  tree->always->AddChild(OLESTR("old.exe"));
  EXPECT_HR(S_OK, config->AddProcess(App(OLESTR("new.exe"), true, true, 2)));
  EXPECT_HR(S_OK, config->AddProcess(App(OLESTR("old.exe"), true, true, 2)));
  EXPECT_HR(S_OK, config->SetAllMode(true));
  EXPECT_HR(S_OK, config->Commit());
  EXPECT_HR(S_OK, config->RevertPrevious());

  struct Case {
    HostOperation operation;
    size_t reservedCount;
  };
  const Case cases[] = {{HostOperation::AddNode, 1},
                        {HostOperation::SetValue, 3},
                        {HostOperation::GetNodeValue, 2},
                        {HostOperation::SetNodeValue, 3}};
  for (const Case& c : cases) {
    const std::vector<CHostCall> calls = tree->log->Calls({c.operation});
    EXPECT_FALSE(calls.empty()) << HostOperationName(c.operation) << " never called";
    for (const CHostCall& call : calls) {
      EXPECT_EQ(std::vector<LONG>(c.reservedCount, 0), call.reserved) << call.QualifiedText();
    }
  }
}

TEST_F(HookConfiguratorTest, SetAllModeReturnsTheDefaultSwitchResult) {
  // "all" exists, "DEFAULT" does not: the "all" writes' results are dropped,
  // the "DEFAULT" write's failure is the result.
  tree->hooks->AddChild(OLESTR("all"));
  EXPECT_HR(CHostOptionsNode::kMissingNode, config->SetAllMode(true));
  tree->always->AddChild(OLESTR("DEFAULT"));
  tree->hooks->RemoveChild(OLESTR("all"));
  EXPECT_HR(S_OK, config->SetAllMode(true));
}

struct RefusalCase {
  const char* name;
  bool attach;
  const OLECHAR* processName;
  HRESULT expected;
};

const RefusalCase kRefusals[] = {
    {"empty process name", true, OLESTR(""), E_INVALIDARG},
    {"never attached", false, OLESTR("tool.exe"), E_POINTER},
    {"never attached, empty name", false, OLESTR(""), E_POINTER},
};

class Refusals : public testing::TestWithParam<RefusalCase> {};

TEST_P(Refusals, WriteNothingAndKeepTheLists) {
  const RefusalCase& c = GetParam();
  SCOPED_TRACE(c.name);
  HookTree tree;
  CHookConfigurator config;
  if (c.attach) {
    ASSERT_HR(S_OK, config.Attach(tree.rack));
  }
  tree.log->Clear();
  EXPECT_HR(c.expected, config.AddProcess(App(c.processName, true, true)));
  if (!c.attach) {
    EXPECT_HR(E_POINTER, config.SetAllMode(true));
  }
  EXPECT_TRUE(tree.log->All().empty()) << tree.log->Dump();
  EXPECT_TRUE(config.CreatedHooksEntries().empty());
  EXPECT_TRUE(config.CreatedAlwaysEntries().empty());
}

INSTANTIATE_TEST_SUITE_P(AddProcess, Refusals, testing::ValuesIn(kRefusals));

TEST_F(HookConfiguratorTest, WithoutHooksNodeNothingIsWrittenAnywhere) {
  tree->root->RemoveChild(OLESTR("Hooks"));
  ASSERT_HR(S_OK, config->Attach(tree->rack));
  tree->log->Clear();
  EXPECT_HR(E_POINTER, config->AddProcess(App(OLESTR("tool.exe"), true, true)));
  EXPECT_HR(E_POINTER, config->SetAllMode(false));
  EXPECT_HR(E_POINTER, config->Commit());
  EXPECT_TRUE(tree->log->All().empty()) << tree->log->Dump();
}

// What a host failure in one half leaves behind, and what AddProcess returns.
struct FailureCase {
  const char* name;
  std::function<void(HookTree&)> fail;
  HRESULT expected;
  size_t createdHooks;
  size_t createdAlways;
};

const FailureCase kFailures[] = {
    {"NodeExists fails: counts as missing, entries created",
     [](HookTree& t) {
       t.hooks->FailOperation(HostOperation::NodeExists, E_FAIL);
       t.always->FailOperation(HostOperation::NodeExists, E_FAIL);
     },
     S_OK, 1, 1},
    {"AddNode fails under Hooks: not recorded, ALWAYS half goes on",
     [](HookTree& t) { t.hooks->FailOperation(HostOperation::AddNode, E_ACCESSDENIED); }, S_OK, 0, 1},
    {"AddNode fails under ALWAYS: its failure is the result",
     [](HookTree& t) { t.always->FailOperation(HostOperation::AddNode, E_ACCESSDENIED); }, E_ACCESSDENIED, 1, 0},
    {"GetNode fails under ALWAYS", [](HookTree& t) { t.always->FailOperation(HostOperation::GetNode, E_OUTOFMEMORY); },
     E_OUTOFMEMORY, 1, 0},
    {"GetNode under ALWAYS succeeds without a node: success, recorded, nothing written",
     [](HookTree& t) { t.always->AnswerGetNode(OLESTR("tool.exe"), HostNodeAnswer::NoObject); }, S_OK, 1, 1},
    {"GetNode under Hooks answers a number: success, recorded",
     [](HookTree& t) { t.hooks->AnswerGetNode(OLESTR("tool.exe"), HostNodeAnswer::NotAnObject); }, S_OK, 1, 1},
};

class Failures : public HostObjectsTest, public testing::WithParamInterface<FailureCase> {};

TEST_P(Failures, LeaveTheListsAsTheyShould) {
  const FailureCase& c = GetParam();
  SCOPED_TRACE(c.name);
  {
    HookTree tree;
    CHookConfigurator config;
    ASSERT_HR(S_OK, config.Attach(tree.rack));
    c.fail(tree);
    EXPECT_HR(c.expected, config.AddProcess(App(OLESTR("tool.exe"), true, true)));
    EXPECT_EQ(c.createdHooks, config.CreatedHooksEntries().size());
    EXPECT_EQ(c.createdAlways, config.CreatedAlwaysEntries().size());
  }
}

INSTANTIATE_TEST_SUITE_P(AddProcess, Failures, testing::ValuesIn(kFailures));

TEST_F(HookConfiguratorTest, EntryThatIsNotAnOptionNodeFailsWithoutWriting) {
  // The entry is created by AddNode, then answers no IOptionsNode.
  tree->always->AddChild(OLESTR("tool.exe"))->HideOptionsNodeInterface();
  tree->always->FailOperation(HostOperation::NodeExists, E_FAIL);  // so that it is "created"
  EXPECT_HR(E_FAIL, config->AddProcess(App(OLESTR("tool.exe"), true, true)));
  EXPECT_TRUE(config->CreatedAlwaysEntries().empty());
  EXPECT_TRUE(tree->log->CallsOf(std::string(kAlwaysPath) + "/tool.exe", {HostOperation::SetValue}).empty());
}

TEST_F(HookConfiguratorTest, FailedAlwaysRewriteIsNotSaved) {
  tree->hooks->AddChild(OLESTR("tool.exe"));
  tree->always->AddChild(OLESTR("tool.exe"));
  tree->always->FailOperation(HostOperation::SetNodeValue, E_ACCESSDENIED, HostFailTimes::Always, OLESTR("tool.exe"));
  EXPECT_HR(E_ACCESSDENIED, config->AddProcess(App(OLESTR("tool.exe"), true, true)));
  EXPECT_EQ(1u, config->SavedHooksEntries().size()) << "the Hooks rewrite reports success whatever the writes gave";
  EXPECT_TRUE(config->SavedAlwaysEntries().empty());
}

}  // namespace
