// The commit: "all"/"bbHook" read and written back unchanged, at level 3.
#include "tests/hooks/hook_tree.h"
#include "tests/support/hresult.h"

namespace {

struct CommitCase {
  const char* name;
  bool hasAll;
  CComVariant bbHook;  // VT_EMPTY: not stored
  HRESULT expected;
  std::vector<std::string> writes;
};

const std::string kWrite = std::string(kHooksPath) + ": SetNodeValue(all, bbHook, ";

TEST_F(HookConfiguratorTest, CommitWritesBackWhatItRead) {
  const CommitCase cases[] = {
      {"bbHook 1", true, HostI4(1), S_OK, {kWrite + "I4 1, flag 0, level 3)"}},
      {"bbHook as a string is not converted", true, HostBstr(OLESTR("yes")), S_OK,
       {kWrite + "BSTR 'yes', flag 0, level 3)"}},
      {"all without bbHook", true, CComVariant(), CHostOptionsNode::kMissingValue, {}},
      {"no all", false, CComVariant(), CHostOptionsNode::kMissingNode, {}},
  };
  for (const CommitCase& c : cases) {
    SCOPED_TRACE(c.name);
    tree->hooks->RemoveChild(OLESTR("all"));
    if (c.hasAll) {
      CComPtr<CHostOptionsNode> all = tree->hooks->AddChild(OLESTR("all"));
      if (c.bbHook.vt != VT_EMPTY) all->PutValue(OLESTR("bbHook"), c.bbHook);
    }
    tree->log->Clear();
    EXPECT_HR(c.expected, config->Commit());
    EXPECT_EQ(c.writes, tree->log->Writes());
    if (c.bbHook.vt != VT_EMPTY) {
      EXPECT_EQ(HostVariantText(c.bbHook), ValueOf(tree->hooks, OLESTR("all"), OLESTR("bbHook")));
    }
  }
}

TEST_F(HookConfiguratorTest, CommitReturnsAFailedWrite) {
  tree->hooks->AddChild(OLESTR("all"))->PutValue(OLESTR("bbHook"), HostI4(1));
  tree->hooks->FailOperation(HostOperation::SetNodeValue, E_ACCESSDENIED);
  EXPECT_HR(E_ACCESSDENIED, config->Commit());
}

TEST_F(HookConfiguratorTest, CommitTouchesNeitherTheAlwaysNodeNorTheLists) {
  tree->hooks->AddChild(OLESTR("all"))->PutValue(OLESTR("bbHook"), HostI4(1));
  ASSERT_HR(S_OK, config->AddProcess(App(OLESTR("tool.exe"), true, true)));
  tree->log->Clear();
  EXPECT_HR(S_OK, config->Commit());
  EXPECT_TRUE(tree->log->CallsOf(kAlwaysPath).empty());
  EXPECT_EQ(1u, config->CreatedHooksEntries().size());
}

}  // namespace
