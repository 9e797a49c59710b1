// The process-wide names and values: built once, exactly as the host spells
// them, and gone after they are freed.
#include <gtest/gtest.h>

#include "settings/shared_constants.h"

namespace {

// Every name, each read through its own member: a typo in any one of them
// would send the add-in's reads and writes to a key the host never looks at.
struct NameCase {
  BSTR CSharedConstants::*member;
  const OLECHAR* text;
};

const NameCase kNames[] = {
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

TEST(SharedConstants, EveryNameIsTheHostsSpelling) {
  const CSharedConstants& k = SharedConstants();
  for (const NameCase& name : kNames) {
    const BSTR value = k.*name.member;
    ASSERT_NE(nullptr, value);
    EXPECT_EQ(0, wcscmp(name.text, value));
    EXPECT_EQ(wcslen(name.text), SysStringLen(value)) << "a real BSTR, with its length";
  }
}

TEST(SharedConstants, EveryValueIsAnI4OfItsOwn) {
  const CSharedConstants& k = SharedConstants();
  const struct {
    VARIANT CSharedConstants::*member;
    LONG value;
  } values[] = {
      {&CSharedConstants::varOne, 1},
      {&CSharedConstants::varZero, 0},
      {&CSharedConstants::varMinusOne, -1},
  };
  for (const auto& c : values) {
    EXPECT_EQ(VT_I4, (k.*c.member).vt) << c.value;
    EXPECT_EQ(c.value, (k.*c.member).lVal);
  }
}

TEST(SharedConstants, FreeThenLoadAgain) {
  FreeSharedConstants();
  EXPECT_FALSE(SharedConstantsLoaded());
  EXPECT_EQ(nullptr, SharedConstants().bstrRunOpt);
  EXPECT_EQ(VT_EMPTY, SharedConstants().varOne.vt);
  ASSERT_EQ(S_OK, LoadSharedConstants());
  EXPECT_TRUE(SharedConstantsLoaded());
  EXPECT_EQ(S_OK, LoadSharedConstants()) << "a second load keeps what is there";
  EXPECT_EQ(0, wcscmp(OLESTR("RUN_OPT"), SharedConstants().bstrRunOpt));
}

}  // namespace
