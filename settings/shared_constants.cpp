#include "settings/shared_constants.h"

namespace {

CSharedConstants g_constants;
bool g_loaded = false;

struct NamedString {
  BSTR CSharedConstants::*member;
  const OLECHAR* text;
};

// The host matches names itself; they are passed exactly as written here.
const NamedString kStrings[] = {
    {&CSharedConstants::bstrRunOpt, OLESTR("RUN_OPT")},
    {&CSharedConstants::bstrOvDscOpt, OLESTR("OV_DSC_OPT")},
    {&CSharedConstants::bstrExplDscOpt, OLESTR("EXPL_DSC_OPT")},
    {&CSharedConstants::bstrSpecAppDscOpt, OLESTR("SPECAPP_DSC_OPT")},
    {&CSharedConstants::bstrFilesList, OLESTR("FILES_LIST")},
    {&CSharedConstants::bstrAppsList, OLESTR("APPS_LIST")},
    {&CSharedConstants::bstrDirsList, OLESTR("DIRS_LIST")},
    {&CSharedConstants::bstrArgsList, OLESTR("ARGS_LIST")},
    {&CSharedConstants::bstrLnchList, OLESTR("LNCH_LIST")},
    {&CSharedConstants::bstrDescList, OLESTR("DESC_LIST")},
    {&CSharedConstants::bstrTestOptions, OLESTR("TestOptions")},
    {&CSharedConstants::bstrHooks, OLESTR("Hooks")},
    {&CSharedConstants::bstrHooksMgr, OLESTR("HooksMgr")},
    {&CSharedConstants::bstrDllInjector, OLESTR("DllInjector")},
    {&CSharedConstants::bstrAlways, OLESTR("ALWAYS")},
    {&CSharedConstants::bstrAll, OLESTR("all")},
    {&CSharedConstants::bstrDefault, OLESTR("DEFAULT")},
    {&CSharedConstants::bstrBbHook, OLESTR("bbHook")},
    {&CSharedConstants::bstrGetMessageHook, OLESTR("GetMessageHook")},
    {&CSharedConstants::bstrWndProcHook, OLESTR("WndProcHook")},
    {&CSharedConstants::bstrChildProcBbHook, OLESTR("ChildProc_bbHook")},
    {&CSharedConstants::bstrChildProcGetMessageHook, OLESTR("ChildProc_GetMessageHook")},
    {&CSharedConstants::bstrChildProcWndProcHook, OLESTR("ChildProc_WndProcHook")},
    {&CSharedConstants::bstrEnabled, OLESTR("Enabled")},
    {&CSharedConstants::bstrUseDefault, OLESTR("UseDefault")},
    {&CSharedConstants::bstrChildProcesses, OLESTR("ChildProcesses")},
    {&CSharedConstants::bstrRackFileLocator, OLESTR("RACK_FILE_LOCATOR")},
    {&CSharedConstants::bstrRackAddInManager, OLESTR("AddIn Manager")},
    {&CSharedConstants::bstrRackTestSettings, OLESTR("RackTestSettingsAutoObj")},
    {&CSharedConstants::bstrWebAddIn, OLESTR("Web")},
    {&CSharedConstants::bstrSiebelAddIn, OLESTR("Siebel")},
    {&CSharedConstants::bstrBrowserProcess, OLESTR("iexplore.exe")},
    {&CSharedConstants::bstrExplorerProcess, OLESTR("Explorer.exe")},
    {&CSharedConstants::bstrHostProcessFallback, OLESTR("Orvanto.exe")},
    {&CSharedConstants::bstrSupportAutomation, OLESTR("SupportAutomation")},
    {&CSharedConstants::bstrLaunchers, OLESTR("Launchers")},
    {&CSharedConstants::bstrWindowsApplications, OLESTR("Windows Applications")},
    {&CSharedConstants::bstrLauncherProgId, OLESTR("Kestrix.Tarvik.TarvikObj")},
};

void SetI4(VARIANT& v, LONG value) {
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = value;
}

}  // namespace

HRESULT LoadSharedConstants() {
  if (g_loaded) return S_OK;
  for (const NamedString& s : kStrings) {
    BSTR text = SysAllocString(s.text);
    if (!text) {
      FreeSharedConstants();
      return E_OUTOFMEMORY;
    }
    g_constants.*s.member = text;
  }
  SetI4(g_constants.varOne, 1);
  SetI4(g_constants.varZero, 0);
  SetI4(g_constants.varMinusOne, -1);
  g_loaded = true;
  return S_OK;
}

void FreeSharedConstants() {
  for (const NamedString& s : kStrings) {
    SysFreeString(g_constants.*s.member);
    g_constants.*s.member = nullptr;
  }
  // VT_I4 values: nothing to release, nothing that can fail.
  (void)VariantClear(&g_constants.varOne);
  (void)VariantClear(&g_constants.varZero);
  (void)VariantClear(&g_constants.varMinusOne);
  g_loaded = false;
}

bool SharedConstantsLoaded() { return g_loaded; }

const CSharedConstants& SharedConstants() { return g_constants; }
