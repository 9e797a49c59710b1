// Rebuilding the hook scope from the record-and-run settings.
#include "events/hook_scope.h"

#include <objbase.h>
#include <oleauto.h>

#include <atlbase.h>

#include <host.h>

#include <vector>

#include "events/bc_apps.h"
#include "launch/app_details.h"
#include "settings/app_list.h"
#include "settings/option_read.h"
#include "settings/rack_lookup.h"
#include "settings/shared_constants.h"

namespace hook_scope {

namespace {

// GetModuleFileNameW writes at most kPathLimit units into a zeroed buffer
// one longer, so a truncated path is still terminated.
const DWORD kPathBufferChars = 1041;
const DWORD kPathLimit = 1040;
const LONG kRunModeRestricted = 1;
const LONG kScopeAll = 1;
const LONG kScopeChosen = 2;

// The host's run mode; 0 when its provider cannot be created or asked.
LONG ReadRunMode() {
  CComPtr<IRunModeComponent> component;
  const HRESULT hr = ::CoCreateInstance(CLSID_RunModeProvider, nullptr, CLSCTX_ALL, IidOf<IRunModeComponent>(),
                                        reinterpret_cast<void**>(component.Receive()));
  if (FAILED(hr) || !component) return 0;
  CComPtr<IRunModeProvider> provider;
  (void)QueryTo(component, provider);
  LONG mode = 0;
  // Only the value counts; a provider that fails leaves it at 0.
  if (provider) (void)provider->GetRunMode(&mode);
  return mode;
}

// The scope mode "RUN_OPT" holds. An integer of any width is taken from the
// VARIANT's 32-bit field, which was all zero before the read; a string, an
// object, an array or a real number holds no mode (its field would be the
// bits of a pointer or of a float), so it counts as 0.
LONG ScopeModeOf(const VARIANT& runOpt) {
  switch (runOpt.vt) {
    case VT_I1:
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_BOOL:
    case VT_ERROR:
      return runOpt.lVal;
    default:
      return 0;
  }
}

// The add-in's name as its descriptor gives it; empty when it has none, or
// when the element does not describe an add-in at all.
CComBSTR AddInName(IUnknown* element) {
  CComPtr<IAddinObject> addIn;
  CComBSTR name;
  if (FAILED(QueryTo(element, addIn)) || !addIn) return name;
  // A name that cannot be read is no name.
  (void)addIn->get_Name(name.Receive());
  return name;
}

// Whether an array from the host can be read a pointer at a time: one
// dimension of interface pointers. Fetching a cell of any other array into a
// pointer would copy a VARIANT or a string over it, or read past its index.
bool IsInterfaceList(const SAFEARRAY* psa) {
  return psa->cDims == 1 && (psa->fFeatures & (FADF_UNKNOWN | FADF_DISPATCH)) && psa->cbElements == sizeof(IUnknown*);
}

// "iexplore.exe" once for each listed add-in named "Web" or "Siebel". Fails
// only when GetAddIns does, or gives no array (S_OK then): the update stops.
[[nodiscard]] HRESULT AddBrowserForWebAddIns(IObjectRack* pRack, CHookConfigurator& hookConfig, bool& stop) {
  stop = false;
  const CSharedConstants& k = SharedConstants();
  CComPtr<IAddInManager> manager;
  // No manager, for whatever reason: no add-in to look at.
  (void)LookupRackObject(pRack, k.bstrRackAddInManager, manager);
  if (!manager) return S_OK;

  // The array is ours: the wrapper destroys it on every way out.
  CKexSafeArray addIns;
  SAFEARRAY* psa = nullptr;
  const HRESULT hr = manager->GetAddIns(&psa);
  addIns.Attach(psa, true);
  if (FAILED(hr) || !addIns.IsValid()) {
    stop = true;
    return hr;
  }
  if (IsInterfaceList(addIns.Get())) {
    LONG upper = 0;
    if (FAILED(::SafeArrayGetUBound(addIns.Get(), 1, &upper))) upper = 0;
    for (LONG i = 0; i <= upper; ++i) {
      CComPtr<IUnknown> element;
      if (FAILED(::SafeArrayGetElement(addIns.Get(), &i, element.Receive())) || !element) continue;
      const CComBSTR name = AddInName(element);
      const OLECHAR* text = name.m_str ? name.m_str : OLESTR("");
      if (_wcsicmp(text, k.bstrWebAddIn) != 0 && _wcsicmp(text, k.bstrSiebelAddIn) != 0) continue;
      const CAppDetails browser(pRack, k.bstrBrowserProcess, nullptr, nullptr, true, true);
      (void)hookConfig.AddProcess(browser);  // the scope is written as far as the host lets it
    }
  }
  return S_OK;
}

// The path of the process's own executable, or the host's name when it
// cannot be had.
WideString HostExecutablePath() {
  std::vector<WCHAR> buffer(kPathBufferChars, 0);
  if (::GetModuleFileNameW(nullptr, buffer.data(), kPathLimit) == 0 || buffer[0] == 0) {
    return WideString(SharedConstants().bstrHostProcessFallback);
  }
  return WideString(buffer.data());
}

}  // namespace

HRESULT Update(IDataObj* pDataObj, IObjectRack* pRack, CHookConfigurator& hookConfig, CKexSafeArray* psaBCApps) {
  if (!pDataObj) return E_INVALIDARG;
  const CSharedConstants& k = SharedConstants();
  const bool bRestricted = ReadRunMode() == kRunModeRestricted;

  CComVariant runOpt;
  HRESULT hr = pDataObj->GetItemByName(k.bstrRunOpt, runOpt.Receive());
  if (FAILED(hr)) return hr;
  const LONG scopeMode = bRestricted ? kScopeChosen : ScopeModeOf(runOpt);

  // From here on every configurator result is dropped: the host's tree is
  // written as far as it lets it be, and the update goes on.
  (void)hookConfig.RevertPrevious();

  if (pRack) {
    bool stop = false;
    hr = AddBrowserForWebAddIns(pRack, hookConfig, stop);
    if (stop) return hr;
  }

  if (scopeMode == kScopeAll) {
    (void)hookConfig.SetAllMode(true);
  } else if (scopeMode == kScopeChosen) {
    const COptionValue ownChildren = ReadOption(pDataObj, k.bstrOvDscOpt, 1);
    if (ownChildren.bIsSet) {
      const WideString path = HostExecutablePath();
      (void)hookConfig.AddProcess(CAppDetails(pRack, path.c_str(), nullptr, nullptr, false, ownChildren.lValue != 0));
    }
    const COptionValue explorer = ReadOption(pDataObj, k.bstrExplDscOpt, 0);
    if (explorer.bIsSet) {
      // Under a restricted run mode Explorer is written as not hooked.
      const bool bHook = explorer.lValue != 0 && !bRestricted;
      (void)hookConfig.AddProcess(CAppDetails(pRack, k.bstrExplorerProcess, nullptr, nullptr, bHook, bHook));
    }
    const COptionValue listed = ReadOption(pDataObj, k.bstrSpecAppDscOpt, 1);
    if (listed.bIsSet && listed.lValue != 0) {
      CAppList list(pDataObj);
      if (FAILED(list.GetLoadStatus())) return E_FAIL;
      for (ULONG i = 0; i < list.GetCount(); ++i) {
        AppListEntry entry;
        if (FAILED(list.GetEntry(i, entry))) continue;
        const std::unique_ptr<CAppDetails> app = DetailsFromEntry(entry, pRack);
        if (app) (void)hookConfig.AddProcess(*app);
      }
    }
    if (psaBCApps) (void)bc_apps::AddToHookScope(*psaBCApps, pDataObj, pRack, hookConfig);
    (void)hookConfig.SetAllMode(false);
  }

  (void)hookConfig.Commit();
  return S_OK;
}

}  // namespace hook_scope
