// Opening and releasing the Hooks and ALWAYS nodes when the rack arrives or
// goes away, over trees that are whole, partial or answer oddly.
#include <functional>

#include "tests/hooks/hook_tree.h"
#include "tests/support/hresult.h"

namespace {

struct AttachCase {
  const char* name;
  std::function<void(HookTree&)> breakTree;
  HRESULT expected;
  bool hooksHeld;
  bool alwaysHeld;
};

const AttachCase kAttachCases[] = {
    {"whole tree", [](HookTree&) {}, S_OK, true, true},
    {"no TestOptions in the rack", [](HookTree& t) { t.rack->PutObject(OLESTR("TestOptions"), nullptr); }, E_FAIL,
     false, false},
    {"rack lookup fails",
     [](HookTree& t) { t.rack->FailOperation(HostOperation::GetObject, E_ACCESSDENIED, HostFailTimes::Always); }, E_FAIL, false,
     false},
    {"rack answers S_OK without an object", [](HookTree& t) { t.rack->AnswerNullObject(OLESTR("TestOptions")); },
     E_FAIL, false, false},
    {"no Hooks, whole ALWAYS chain", [](HookTree& t) { t.root->RemoveChild(OLESTR("Hooks")); }, S_OK, false, true},
    {"no HooksMgr", [](HookTree& t) { t.root->RemoveChild(OLESTR("HooksMgr")); }, E_FAIL, true, false},
    {"HooksMgr under Hooks is not found",
     [](HookTree& t) {
       t.root->RemoveChild(OLESTR("HooksMgr"));
       t.hooks->AddChildPath(OLESTR("HooksMgr/DllInjector/ALWAYS"));
     },
     E_FAIL, true, false},
    {"no DllInjector", [](HookTree& t) { t.root->Find(OLESTR("HooksMgr"))->RemoveChild(OLESTR("DllInjector")); },
     E_FAIL, true, false},
    {"no ALWAYS",
     [](HookTree& t) { t.root->Find(OLESTR("HooksMgr/DllInjector"))->RemoveChild(OLESTR("ALWAYS")); }, S_OK, true,
     false},
    {"Hooks lookup fails", [](HookTree& t) { t.root->FailOperation(HostOperation::GetNode, E_OUTOFMEMORY, HostFailTimes::Once); },
     S_OK, false, true},
    {"Hooks comes back as a number", [](HookTree& t) { t.root->AnswerGetNode(OLESTR("Hooks"), HostNodeAnswer::NotAnObject); },
     S_OK, false, true},
    {"Hooks comes back as a null dispatch",
     [](HookTree& t) { t.root->AnswerGetNode(OLESTR("Hooks"), HostNodeAnswer::NullDispatch); }, S_OK, false, true},
    {"Hooks comes back as success without an object",
     [](HookTree& t) { t.root->AnswerGetNode(OLESTR("Hooks"), HostNodeAnswer::NoObject); }, S_OK, false, true},
    {"Hooks comes back as VT_UNKNOWN",
     [](HookTree& t) { t.root->AnswerGetNode(OLESTR("Hooks"), HostNodeAnswer::Unknown); }, S_OK, false, true},
    {"Hooks is not an option node", [](HookTree& t) { t.hooks->HideOptionsNodeInterface(); }, S_OK, false, true},
    {"HooksMgr comes back as a null dispatch",
     [](HookTree& t) { t.root->AnswerGetNode(OLESTR("HooksMgr"), HostNodeAnswer::NullDispatch); }, E_FAIL, true,
     false},
    {"ALWAYS is not an option node", [](HookTree& t) { t.always->HideOptionsNodeInterface(); }, S_OK, true, false},
};

class AttachCases : public HostObjectsTest, public testing::WithParamInterface<AttachCase> {};

TEST_P(AttachCases, OpenWhatTheTreeHas) {
  const AttachCase& c = GetParam();
  SCOPED_TRACE(c.name);
  {
    HookTree tree;
    c.breakTree(tree);
    CHookConfigurator config;
    EXPECT_HR(c.expected, config.Attach(tree.rack));
    EXPECT_EQ(c.hooksHeld, config.HasHooksNode());
    EXPECT_EQ(c.alwaysHeld, config.HasAlwaysNode());
    // Opening the nodes writes nothing.
    EXPECT_TRUE(tree.log->Writes().empty()) << tree.log->Dump();
  }
}

INSTANTIATE_TEST_SUITE_P(Attach, AttachCases, testing::ValuesIn(kAttachCases),
                         [](const testing::TestParamInfo<AttachCase>& info) {
                           return "Case" + std::to_string(info.index);
                         });

TEST(Attach, NullBeforeAnyAttachChangesNothing) {
  CHookConfigurator config;
  EXPECT_HR(S_OK, config.Attach(nullptr));
  EXPECT_FALSE(config.HasHooksNode());
  EXPECT_FALSE(config.HasAlwaysNode());
}

TEST_F(HookConfiguratorTest, NullRackReleasesBothNodes) {
  const ULONG hooksRefs = tree->hooks->RefCount();
  const ULONG alwaysRefs = tree->always->RefCount();
  EXPECT_HR(S_OK, config->Attach(nullptr));
  EXPECT_FALSE(config->HasHooksNode());
  EXPECT_FALSE(config->HasAlwaysNode());
  EXPECT_EQ(hooksRefs - 1, tree->hooks->RefCount());
  EXPECT_EQ(alwaysRefs - 1, tree->always->RefCount());
}

TEST_F(HookConfiguratorTest, HoldsOneReferenceOnEachNodeAndNoneOnTheRest) {
  HookTree fresh;
  const ULONG rootRefs = fresh.root->RefCount();
  const ULONG rackRefs = fresh.rack->RefCount();
  CHookConfigurator other;
  ASSERT_HR(S_OK, other.Attach(fresh.rack));
  EXPECT_EQ(rootRefs, fresh.root->RefCount());
  EXPECT_EQ(rackRefs, fresh.rack->RefCount()) << "the configurator must not keep the rack";
  const ULONG alwaysRefs = fresh.always->RefCount();
  ASSERT_HR(S_OK, other.Attach(fresh.rack));
  EXPECT_EQ(alwaysRefs, fresh.always->RefCount()) << "a repeated attach replaces, it does not add";
}

TEST_F(HookConfiguratorTest, ReattachKeepsTheAlwaysNodeWhenItsLookupFails) {
  CComPtr<CHostOptionsNode> heldAlways = tree->always;
  tree->root->Find(OLESTR("HooksMgr/DllInjector"))->RemoveChild(OLESTR("ALWAYS"));
  tree->root->RemoveChild(OLESTR("Hooks"));
  EXPECT_HR(S_OK, config->Attach(tree->rack));
  EXPECT_FALSE(config->HasHooksNode()) << "Hooks always takes the outcome of the new lookup";
  EXPECT_TRUE(config->HasAlwaysNode());
  // The node kept is the one held before: the process entries go there.
  CComPtr<CHostOptionsNode> hooks = tree->root->AddChild(OLESTR("Hooks"));
  ASSERT_HR(S_OK, config->Attach(tree->rack));
  ASSERT_TRUE(config->HasAlwaysNode());
  EXPECT_HR(S_OK, config->AddProcess(App(OLESTR("tool.exe"), true, false)));
  EXPECT_NE(nullptr, heldAlways->Child(OLESTR("tool.exe")));
}

TEST_F(HookConfiguratorTest, ReattachReplacesTheAlwaysNodeThatAnswersNoOptionsNode) {
  tree->always->HideOptionsNodeInterface();
  EXPECT_HR(S_OK, config->Attach(tree->rack));
  EXPECT_TRUE(config->HasHooksNode());
  EXPECT_FALSE(config->HasAlwaysNode());
}

TEST_F(HookConfiguratorTest, ListsSurviveADetach) {
  ASSERT_HR(S_OK, config->AddProcess(App(OLESTR("tool.exe"), true, true)));
  ASSERT_HR(S_OK, config->Attach(nullptr));
  EXPECT_EQ(1u, config->CreatedHooksEntries().size());
  ASSERT_HR(S_OK, config->Attach(tree->rack));
  tree->log->Clear();
  EXPECT_HR(S_OK, config->RevertPrevious());
  EXPECT_EQ("I4 -1", ValueOf(tree->hooks, OLESTR("tool.exe"), OLESTR("bbHook")));
  EXPECT_EQ("I4 -1", ValueOf(tree->always, OLESTR("tool.exe"), OLESTR("Enabled")));
}

}  // namespace
