#include "tests/hooks/hook_tree.h"

#include "host/host_text.h"
#include "tests/support/hresult.h"

const char kHooksPath[] = "TestOptions/Hooks";
const char kAlwaysPath[] = "TestOptions/HooksMgr/DllInjector/ALWAYS";

HookTree::HookTree() : log(CHostCallLog::Create()) {
  root = CHostOptionsNode::CreateRoot(OLESTR("TestOptions"), log);
  hooks = root->AddChild(OLESTR("Hooks"));
  always = root->AddChildPath(OLESTR("HooksMgr/DllInjector/ALWAYS"));
  rack = CHostObjectRack::Create(log);
  rack->PutObject(OLESTR("TestOptions"), root);
}

CAppDetails App(const OLECHAR* processName, bool hook, bool children, LONG level) {
  CAppDetails app(processName, OLESTR(""));
  app.m_strProcessName = processName;
  app.m_bHook = hook;
  app.m_bChildProcesses = children;
  app.m_nLevel = level;
  return app;
}

std::string ValueOf(CHostOptionsNode* node, const OLECHAR* entry, const OLECHAR* valueName) {
  CComPtr<CHostOptionsNode> child = node->Child(entry);
  if (!child || !child->HasValue(valueName)) return "missing";
  return HostVariantText(child->PeekValue(valueName));
}

void HookConfiguratorTest::SetUp() {
  tree = std::make_unique<HookTree>();
  config = std::make_unique<CHookConfigurator>();
  ASSERT_HR(S_OK, config->Attach(tree->rack));
  tree->log->Clear();
}
