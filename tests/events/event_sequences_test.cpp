// The hook scope across events: what each update reverts and writes again.
#include "tests/events/scope_host.h"
#include "tests/support/hresult.h"

namespace {

class EventSequenceTest : public ScopeHostTest {
 protected:
  // The scope calls of one event.
  template <class Event>
  std::vector<std::string> CallsOf(Event event) {
    log->Clear();
    event();
    return ScopeCalls();
  }

  CComPtr<CHostDataObj> Component(const OLECHAR* file) {
    CComPtr<CHostDataObj> component = CHostDataObj::Create(log);
    EXPECT_HR(S_OK, component->SetList(OLESTR("FILES_LIST"), {HostBstr(file)}));
    EXPECT_HR(S_OK, component->SetList(OLESTR("DESC_LIST"), {HostI4(1)}));
    return component;
  }
};

TEST_F(EventSequenceTest, BusinessProcessRunWithTwoComponents) {
  SetRunOptions(2, 0);
  SetRows({{OLESTR("tool.exe"), nullptr, nullptr, nullptr, 0, 0}});
  const std::vector<std::string> base = {"add <host> hook 0 children 0", "add explorer.exe hook 0 children 0",
                                         "add tool.exe hook 1 children 0"};
  const std::vector<std::string> resets = {"reset <host>", "reset explorer.exe", "reset tool.exe"};
  auto join = [](std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  EXPECT_EQ(join(base, {"all off", "commit"}), CallsOf([&] { EXPECT_HR(S_OK, Update()); }));

  ASSERT_HR(S_OK, startup->StartBPTRun(data));
  ASSERT_HR(S_OK, bc->StartBCReplay(Component(OLESTR("bc_one.exe"))));
  ASSERT_HR(S_OK, bc->StopBCReplay(data));
  ASSERT_HR(S_OK, bc->StartBCReplay(Component(OLESTR("bc_two.exe"))));
  EXPECT_EQ(join(join(resets, base),
                 {"add bc_one.exe hook 1 children 1", "add bc_two.exe hook 1 children 1", "all off", "commit"}),
            CallsOf([&] { EXPECT_HR(S_OK, Update()); }));
  EXPECT_EQ((std::vector<std::string>{"tool.exe", "bc_one.exe", "bc_two.exe"}), Hooked());

  ASSERT_HR(S_OK, startup->EndBPTRun(data));
  // The entries written twice in a row were saved by the second write, as
  // the flags read back then (the reset's -1 reads as set): the revert
  // replays them before it resets every entry the add-in created.
  const std::vector<std::string> replays = {"add <host> hook 1 children 1", "add explorer.exe hook 1 children 1",
                                            "add tool.exe hook 1 children 1"};
  EXPECT_EQ(join(join(join(join(replays, resets), {"reset bc_one.exe", "reset bc_two.exe"}), base), {"all off", "commit"}),
            CallsOf([&] { EXPECT_HR(S_OK, Update()); }));
  EXPECT_EQ((std::vector<std::string>{"tool.exe"}), Hooked());
}

TEST_F(EventSequenceTest, ThreeUpdatesWithAChangingList) {
  SetRunOptions(2, 0);
  SetRows({{OLESTR("a.exe"), nullptr, nullptr, nullptr, 0, 0}, {OLESTR("b.exe"), nullptr, nullptr, nullptr, 0, 0}});
  ASSERT_HR(S_OK, Update());
  EXPECT_EQ((std::vector<std::string>{"a.exe", "b.exe"}), Hooked());
  SetRows({{OLESTR("b.exe"), nullptr, nullptr, nullptr, 0, 0}, {OLESTR("c.exe"), nullptr, nullptr, nullptr, 0, 0}});
  ASSERT_HR(S_OK, Update());
  EXPECT_EQ((std::vector<std::string>{"b.exe", "c.exe"}), Hooked());
  SetRows({});
  ASSERT_HR(S_OK, Update());
  EXPECT_EQ((std::vector<std::string>{}), Hooked());
  EXPECT_EQ((std::vector<std::string>{"all GetMessageHook 0 WndProcHook 0",
                                      "<host> hook 0 children 0 enabled 0 childprocs 0",
                                      "explorer.exe hook 0 children 0 enabled 0 childprocs 0",
                                      "a.exe hook -1 children -1 enabled -1 childprocs -1",
                                      "b.exe hook -1 children -1 enabled -1 childprocs -1",
                                      "c.exe hook -1 children -1 enabled -1 childprocs -1", "DEFAULT Enabled 0"}),
            Tree());
}

TEST_F(EventSequenceTest, PostLoadWithAndWithoutAutomation) {
  RegisterLauncherClass();
  SetRunOptions(1);
  root->PutValue(OLESTR("SupportAutomation"), HostI4(0));
  EXPECT_EQ(std::vector<std::string>{}, CallsOf([&] { EXPECT_HR(S_OK, startup->PostLoad(data)); }));
  root->PutValue(OLESTR("SupportAutomation"), HostI4(1));
  EXPECT_EQ((std::vector<std::string>{"all on", "commit"}),
            CallsOf([&] { EXPECT_HR(S_OK, startup->PostLoad(data)); }));
  SetRunOptions(2, 0);
  SetRows({});
  EXPECT_EQ((std::vector<std::string>{"add <host> hook 0 children 0", "add explorer.exe hook 0 children 0",
                                      "all off", "commit"}),
            CallsOf([&] { EXPECT_HR(S_OK, Update()); }));
}

}  // namespace
