// The names and values several parts of the add-in share: the record-and-run
// item names of the host's data object, the names of the hook entries and
// values in the host's option tree, and the three VT_I4 values written there.
//
// They are process-wide BSTRs and VARIANTs, built once when the module loads
// (before any object exists) and freed when it unloads; in between they are
// only read, so they need no lock.
#ifndef VELMORA_SETTINGS_SHARED_CONSTANTS_H
#define VELMORA_SETTINGS_SHARED_CONSTANTS_H

#include <windows.h>
#include <oleauto.h>

struct CSharedConstants {
  // Options of the data object, each read as VT_I4.
  BSTR bstrRunOpt;
  BSTR bstrOvDscOpt;
  BSTR bstrExplDscOpt;
  BSTR bstrSpecAppDscOpt;
  // The six parallel lists of the user's application list.
  BSTR bstrFilesList;
  BSTR bstrAppsList;
  BSTR bstrDirsList;
  BSTR bstrArgsList;
  BSTR bstrLnchList;
  BSTR bstrDescList;
  // The host's option tree: the nodes on the way to the hook entries,
  BSTR bstrTestOptions;
  BSTR bstrHooks;
  BSTR bstrHooksMgr;
  BSTR bstrDllInjector;
  BSTR bstrAlways;
  // the "all" and "DEFAULT" switch entries,
  BSTR bstrAll;
  BSTR bstrDefault;
  // the values of a Hooks entry,
  BSTR bstrBbHook;
  BSTR bstrGetMessageHook;
  BSTR bstrWndProcHook;
  BSTR bstrChildProcBbHook;
  BSTR bstrChildProcGetMessageHook;
  BSTR bstrChildProcWndProcHook;
  // and the values of an ALWAYS entry.
  BSTR bstrEnabled;
  BSTR bstrUseDefault;
  BSTR bstrChildProcesses;
  // Host objects in the object rack,
  BSTR bstrRackFileLocator;
  BSTR bstrRackAddInManager;
  BSTR bstrRackTestSettings;
  // the add-ins whose pages open in the web browser, and the processes the
  // hook scope names itself,
  BSTR bstrWebAddIn;
  BSTR bstrSiebelAddIn;
  BSTR bstrBrowserProcess;
  BSTR bstrExplorerProcess;
  BSTR bstrHostProcessFallback;
  // and what the registration at load reads, asks for and registers.
  BSTR bstrSupportAutomation;
  BSTR bstrLaunchers;
  BSTR bstrWindowsApplications;
  BSTR bstrLauncherProgId;
  // Written for a set flag, a clear flag and an entry that is reset.
  VARIANT varOne;
  VARIANT varZero;
  VARIANT varMinusOne;
};

// Builds the constants; on failure nothing stays allocated and the module's
// load must fail (E_OUTOFMEMORY).
[[nodiscard]] HRESULT LoadSharedConstants();
void FreeSharedConstants();
bool SharedConstantsLoaded();

// Only valid between LoadSharedConstants and FreeSharedConstants.
const CSharedConstants& SharedConstants();

#endif  // VELMORA_SETTINGS_SHARED_CONSTANTS_H
