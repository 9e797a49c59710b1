#include "tests/events/scope_host.h"

#include <vector>

#include "host/host_text.h"
#include "launch/app_details.h"
#include "tests/support/hresult.h"

namespace {

const char kHooksPath[] = "TestOptions/Hooks";

// An integer value as text; "-" when it is missing or no VT_I4.
std::string IntOf(CHostOptionsNode* node, const OLECHAR* valueName) {
  if (!node || !node->HasValue(valueName)) return "-";
  const CComVariant value = node->PeekValue(valueName);
  return value.vt == VT_I4 ? std::to_string(static_cast<long long>(value.lVal)) : HostVariantText(value);
}

std::string IntText(const CComVariant& value) {
  return value.vt == VT_I4 ? std::to_string(static_cast<long long>(value.lVal)) : HostVariantText(value);
}

}  // namespace

std::string ProcessNameOf(const OLECHAR* path) {
  const CAppDetails app(nullptr, path, nullptr, nullptr, true, true);
  return HostUtf8(app.m_strProcessName);
}

const std::string& HostProcessName() {
  static const std::string name = [] {
    std::vector<WCHAR> buffer(1041, 0);
    (void)GetModuleFileNameW(nullptr, buffer.data(), 1040);
    return ProcessNameOf(buffer.data());
  }();
  return name;
}

ScopeHostTest::ScopeHostTest() {
  root = CHostOptionsNode::CreateRoot(OLESTR("TestOptions"), log);
  hooks = root->AddChild(OLESTR("Hooks"));
  always = root->AddChildPath(OLESTR("HooksMgr/DllInjector/ALWAYS"));
  root->PutValue(OLESTR("SupportAutomation"), HostI4(1));
  // The switches the host keeps, as it ships them: hooks on for the chosen
  // processes only.
  CComPtr<CHostOptionsNode> all = hooks->AddChild(OLESTR("all"));
  all->PutValue(OLESTR("bbHook"), HostI4(1));
  all->PutValue(OLESTR("GetMessageHook"), HostI4(0));
  all->PutValue(OLESTR("WndProcHook"), HostI4(0));
  always->AddChild(OLESTR("DEFAULT"))->PutValue(OLESTR("Enabled"), HostI4(0));
  rack = CHostObjectRack::Create(log);
  rack->PutObject(OLESTR("TestOptions"), root);
  manager = CHostAddInManager::Create(log);
  rack->PutObject(OLESTR("AddIn Manager"), static_cast<IAddInManager*>(manager));
  settings = CHostTestSettings::Create(log);
  launchers = CHostLaunchers::Create(log);
  settings->PutItem(OLESTR("Launchers"), static_cast<ILaunchers*>(launchers));
  rack->PutObject(OLESTR("RackTestSettingsAutoObj"), static_cast<ITestSettingsAuto*>(settings));
  data = CHostDataObj::Create(log);
  runMode = std::make_unique<CHostRunModeClass>(log);
  launcherClass = std::make_unique<CHostLauncherClass>(log);
}

void ScopeHostTest::SetUp() {
  ASSERT_HR(S_OK, runMode->Register());
  CComObject<CVelmoraObj>* object = nullptr;
  ASSERT_HR(S_OK, CComObject<CVelmoraObj>::CreateInstance(&object));
  addin = object;
  ASSERT_HR(S_OK, addin.QueryInterface(startup.Receive()));
  ASSERT_HR(S_OK, addin.QueryInterface(bc.Receive()));
  ASSERT_HR(S_OK, addin->SetRack(rack));
  log->Clear();
}

void ScopeHostTest::TearDown() {
  bc.Release();
  startup.Release();
  addin.Release();
  launcherProgId.reset();
  launcherClass->Revoke();
  runMode->Revoke();
}

void ScopeHostTest::SetRunOptions(LONG runOpt, LONG ownChildren, LONG explorer, LONG listed) {
  data->SetItem(OLESTR("RUN_OPT"), HostI4(runOpt));
  const struct {
    const OLECHAR* key;
    LONG value;
  } options[] = {{OLESTR("OV_DSC_OPT"), ownChildren}, {OLESTR("EXPL_DSC_OPT"), explorer},
                 {OLESTR("SPECAPP_DSC_OPT"), listed}};
  for (const auto& option : options) {
    if (option.value < 0) {
      data->RemoveItem(option.key);
    } else {
      data->SetItem(option.key, HostI4(option.value));
    }
  }
}

void ScopeHostTest::SetRows(const std::vector<HostAppRow>& rows) { ASSERT_HR(S_OK, HostSetAppRows(*data, rows)); }

void ScopeHostTest::RegisterLauncherClass() {
  ASSERT_HR(S_OK, launcherClass->Register());
  launcherProgId = std::make_unique<velmora_test::TestProgId>(OLESTR("Kestrix.Tarvik.TarvikObj"),
                                                               CHostLauncherClass::kLauncherClsid);
  ASSERT_TRUE(launcherProgId->IsValid());
}

HRESULT ScopeHostTest::Update(IDataObj* dataObj) {
  return startup->UpdateDataObject(dataObj, nullptr, nullptr);
}

std::string ScopeHostTest::Label(const std::string& processName) {
  static const std::string browser = ProcessNameOf(OLESTR("iexplore.exe"));
  static const std::string explorer = ProcessNameOf(OLESTR("Explorer.exe"));
  if (processName == HostProcessName()) return "<host>";
  if (processName == browser) return "iexplore.exe";
  if (processName == explorer) return "explorer.exe";
  return processName;
}

std::vector<std::string> ScopeHostTest::ScopeCalls() const {
  // An entry is written through the Hooks node (SetNodeValue, the child
  // named in the call) or, when the add-in created it, through the entry's
  // own node (SetValue).
  const std::string prefix = std::string(kHooksPath) + "/";
  std::vector<std::string> steps;
  std::string pendingHook = "-";
  for (const CHostCall& call : log->Calls({HostOperation::SetValue, HostOperation::SetNodeValue})) {
    std::string entry;
    if (call.operation == HostOperation::SetNodeValue && call.object == kHooksPath) {
      entry = *call.entry;
    } else if (call.operation == HostOperation::SetValue && call.object.rfind(prefix, 0) == 0) {
      entry = call.object.substr(prefix.size());
    } else {
      continue;
    }
    const std::string& name = call.operation == HostOperation::SetValue ? *call.entry : *call.valueName;
    const std::string value = IntText(*call.value);
    if (entry == "all") {
      if (name == "GetMessageHook") steps.push_back(value == "1" ? "all on" : "all off");
      if (name == "bbHook") steps.push_back("commit");
      continue;
    }
    if (name != "bbHook" && name != "ChildProc_bbHook") continue;
    if (value == "-1") {
      if (name == "bbHook") steps.push_back("reset " + Label(entry));
      continue;
    }
    if (name == "bbHook") {
      pendingHook = value;
    } else {
      steps.push_back("add " + Label(entry) + " hook " + pendingHook + " children " + value);
    }
  }
  return steps;
}

std::vector<std::string> ScopeHostTest::Tree() const {
  std::vector<std::string> lines;
  for (const std::string& name : hooks->ChildNames()) {
    const WideString wide(name.begin(), name.end());
    CComPtr<CHostOptionsNode> entry = hooks->Child(wide.c_str());
    if (name == "all") {
      lines.push_back("all GetMessageHook " + IntOf(entry, OLESTR("GetMessageHook")) + " WndProcHook " +
                      IntOf(entry, OLESTR("WndProcHook")));
      continue;
    }
    CComPtr<CHostOptionsNode> injected = always->Child(wide.c_str());
    lines.push_back(Label(name) + " hook " + IntOf(entry, OLESTR("bbHook")) + " children " +
                    IntOf(entry, OLESTR("ChildProc_bbHook")) + " enabled " + IntOf(injected, OLESTR("Enabled")) +
                    " childprocs " + IntOf(injected, OLESTR("ChildProcesses")));
  }
  if (CComPtr<CHostOptionsNode> all = always->Child(OLESTR("DEFAULT"))) {
    lines.push_back("DEFAULT Enabled " + IntOf(all, OLESTR("Enabled")));
  }
  return lines;
}

std::vector<std::string> ScopeHostTest::Hooked() const {
  std::vector<std::string> names;
  for (const std::string& name : hooks->ChildNames()) {
    const WideString wide(name.begin(), name.end());
    if (name != "all" && IntOf(hooks->Child(wide.c_str()), OLESTR("bbHook")) == "1") names.push_back(Label(name));
  }
  return names;
}
