// The order effects across updates: what the revert replays, in which order,
// and what every entry the configurator created ends as.
#include "tests/hooks/hook_tree.h"
#include "tests/support/hresult.h"

namespace {

const OLECHAR* const kHookValues[] = {OLESTR("bbHook"),           OLESTR("GetMessageHook"),
                                      OLESTR("WndProcHook"),      OLESTR("ChildProc_bbHook"),
                                      OLESTR("ChildProc_GetMessageHook"), OLESTR("ChildProc_WndProcHook")};

class UpdateOrderTest : public HookConfiguratorTest {
 protected:
  // One update as the hook scope drives it: revert, the processes, commit.
  void Update(const std::vector<CAppDetails>& apps) {
    EXPECT_HR(S_OK, config->RevertPrevious());
    // The update drops both results, as the hook scope does; what they
    // wrote is what the tests look at.
    for (const CAppDetails& app : apps) (void)config->AddProcess(app);
    (void)config->Commit();
  }

  void ExpectReset(const OLECHAR* name) {
    for (const OLECHAR* value : kHookValues) EXPECT_EQ("I4 -1", ValueOf(tree->hooks, name, value));
    EXPECT_EQ("I4 -1", ValueOf(tree->always, name, OLESTR("Enabled")));
    EXPECT_EQ("I4 1", ValueOf(tree->always, name, OLESTR("UseDefault")));
    EXPECT_EQ("I4 -1", ValueOf(tree->always, name, OLESTR("ChildProcesses")));
  }
};

TEST_F(UpdateOrderTest, CreatedEntriesAreResetAtEveryLaterUpdate) {
  Update({App(OLESTR("tool.exe"), true, true)});
  Update({});
  ExpectReset(OLESTR("tool.exe"));
  tree->log->Clear();
  Update({});
  // Created lists only grow: the reset is written again, at level 3.
  EXPECT_EQ(9u, tree->log->Calls({HostOperation::SetNodeValue}).size()) << tree->log->Dump();
  for (const CHostCall& call : tree->log->Calls({HostOperation::SetNodeValue})) EXPECT_EQ(3, *call.level);
  ExpectReset(OLESTR("tool.exe"));
}

TEST_F(UpdateOrderTest, ProcessInScopeTwiceInARowIsReplayedThenReset) {
  Update({App(OLESTR("tool.exe"), true, false)});
  // Second update: the reset writes -1, then AddProcess finds the entries,
  // saves flags read as set (-1), and rewrites them from the app.
  Update({App(OLESTR("tool.exe"), true, false)});
  EXPECT_EQ("I4 0", ValueOf(tree->hooks, OLESTR("tool.exe"), OLESTR("ChildProc_bbHook")));
  ASSERT_EQ(1u, config->SavedHooksEntries().size());
  EXPECT_TRUE(config->SavedHooksEntries()[0].m_bChildProcesses);

  // Third update: the replays write 1 everywhere, and only after them the
  // resets write -1.
  tree->log->Clear();
  EXPECT_HR(S_OK, config->RevertPrevious());
  std::vector<std::string> values;
  for (const CHostCall& call : tree->log->CallsOf(kHooksPath, {HostOperation::SetNodeValue})) {
    if (*call.valueName == "ChildProc_bbHook") values.push_back(HostVariantText(*call.value));
  }
  EXPECT_EQ((std::vector<std::string>{"I4 1", "I4 -1"}), values);
  ExpectReset(OLESTR("tool.exe"));
}

TEST_F(UpdateOrderTest, NewProcessAddedTwiceInOneUpdate) {
  // Once per loaded add-in, say: the second call finds the entries just
  // created, saves what the first wrote and rewrites them.
  Update({App(OLESTR("iexplore.exe"), true, true), App(OLESTR("iexplore.exe"), true, true)});
  EXPECT_EQ(1u, config->CreatedHooksEntries().size());
  EXPECT_EQ(1u, config->SavedHooksEntries().size());
  EXPECT_EQ(1u, config->SavedAlwaysEntries().size());
  Update({});
  ExpectReset(OLESTR("iexplore.exe"));
}

TEST_F(UpdateOrderTest, SavedAlwaysEntriesRestoreTheEarliestCopySavedHooksTheLatest) {
  CComPtr<CHostOptionsNode> hooksEntry = tree->hooks->AddChild(OLESTR("tool.exe"));
  hooksEntry->PutValue(OLESTR("bbHook"), HostI4(0));
  CComPtr<CHostOptionsNode> alwaysEntry = tree->always->AddChild(OLESTR("tool.exe"));
  alwaysEntry->PutValue(OLESTR("Enabled"), HostI4(0));

  // The first add saves hook flag 0 and writes 1; the second saves the 1.
  Update({App(OLESTR("tool.exe"), true, false), App(OLESTR("tool.exe"), true, false)});
  ASSERT_EQ(2u, config->SavedAlwaysEntries().size());
  EXPECT_TRUE(config->SavedAlwaysEntries()[0].m_bHook) << "inserted at the front";
  EXPECT_FALSE(config->SavedAlwaysEntries()[1].m_bHook);
  ASSERT_EQ(2u, config->SavedHooksEntries().size());
  EXPECT_FALSE(config->SavedHooksEntries()[0].m_bHook) << "appended at the back";

  tree->log->Clear();
  EXPECT_HR(S_OK, config->RevertPrevious());
  // Both lists replay front to back: ALWAYS ends at its state before the
  // add-in, Hooks at the latest copy.
  EXPECT_EQ("I4 0", ValueOf(tree->always, OLESTR("tool.exe"), OLESTR("Enabled")));
  EXPECT_EQ("I4 1", ValueOf(tree->hooks, OLESTR("tool.exe"), OLESTR("bbHook")));
  EXPECT_TRUE(config->CreatedHooksEntries().empty());
}

TEST_F(UpdateOrderTest, RevertWithoutNodesEmptiesTheSavedListsAndWritesNothing) {
  tree->hooks->AddChild(OLESTR("tool.exe"));
  tree->always->AddChild(OLESTR("tool.exe"));
  Update({App(OLESTR("tool.exe"), true, true), App(OLESTR("new.exe"), true, true)});
  ASSERT_EQ(1u, config->SavedAlwaysEntries().size());
  ASSERT_HR(S_OK, config->Attach(nullptr));
  tree->log->Clear();
  EXPECT_HR(S_OK, config->RevertPrevious());
  EXPECT_TRUE(tree->log->All().empty()) << tree->log->Dump();
  EXPECT_TRUE(config->SavedHooksEntries().empty());
  EXPECT_TRUE(config->SavedAlwaysEntries().empty());
  EXPECT_EQ(1u, config->CreatedHooksEntries().size()) << "created names are kept for the next attach";
}

TEST_F(UpdateOrderTest, RevertResetsOnlyTheNodeThatIsHeld) {
  Update({App(OLESTR("tool.exe"), true, true)});
  tree->root->RemoveChild(OLESTR("Hooks"));
  ASSERT_HR(S_OK, config->Attach(tree->rack));
  ASSERT_FALSE(config->HasHooksNode());
  tree->log->Clear();
  EXPECT_HR(S_OK, config->RevertPrevious());
  EXPECT_TRUE(tree->log->CallsOf(kHooksPath).empty());
  EXPECT_EQ(3u, tree->log->CallsOf(kAlwaysPath, {HostOperation::SetNodeValue}).size());
}

TEST_F(UpdateOrderTest, EntryLostByTheHostIsCreatedAgainAndListedTwice) {
  Update({App(OLESTR("tool.exe"), true, true)});
  tree->hooks->RemoveChild(OLESTR("tool.exe"));
  Update({App(OLESTR("tool.exe"), true, true)});
  EXPECT_EQ(2u, config->CreatedHooksEntries().size());
  EXPECT_EQ(1u, config->CreatedAlwaysEntries().size());
}

}  // namespace
