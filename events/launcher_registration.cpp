// Registering the host's launcher for Windows applications when loading
// completes.
#include "events/launcher_registration.h"

#include <objbase.h>
#include <oleauto.h>

#include <atlbase.h>

#include <host.h>

#include "settings/rack_lookup.h"
#include "settings/shared_constants.h"

namespace launcher_registration {

namespace {

// A call that reported success without an object answers E_FAIL.
HRESULT FailureOr(HRESULT hr) { return FAILED(hr) ? hr : E_FAIL; }

// Whether the host's test options allow automation: only a non-zero VT_I4.
bool AutomationAllowed(IOptionsNode* pTestOptions) {
  const CSharedConstants& k = SharedConstants();
  // The value lives on the node itself: no child name.
  CComBSTR self(OLESTR(""));
  CComVariant value;
  if (FAILED(pTestOptions->GetNodeValue(self, k.bstrSupportAutomation, value.Receive(), 0, 0))) return false;
  return value.vt == VT_I4 && value.lVal != 0;
}

// The launcher component, created by its ProgID.
[[nodiscard]] HRESULT CreateLauncher(CComPtr<IDispatch>& launcher) {
  CLSID clsid;
  HRESULT hr = ::CLSIDFromProgID(SharedConstants().bstrLauncherProgId, &clsid);
  if (FAILED(hr)) return hr;
  return ::CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IidOf<IDispatch>(),
                            reinterpret_cast<void**>(launcher.Receive()));
}

}  // namespace

HRESULT Register(IDataObj* pDataObj, IObjectRack* pRack, const std::function<HRESULT(IDataObj*)>& updateHookScope) {
  if (!pRack) return E_FAIL;
  const CSharedConstants& k = SharedConstants();

  CComPtr<IOptionsNode> testOptions;
  if (FAILED(LookupRackObject(pRack, k.bstrTestOptions, testOptions))) return E_FAIL;
  if (!AutomationAllowed(testOptions)) return S_OK;

  CComPtr<ITestSettingsAuto> settings;
  HRESULT hr = LookupRackObject(pRack, k.bstrRackTestSettings, settings);
  if (FAILED(hr)) return hr;

  CComPtr<IUnknown> item;
  const HRESULT hrItem = settings->GetSettingsItem(k.bstrLaunchers, item.Receive());
  if (FAILED(hrItem) || !item) return FailureOr(hrItem);
  CComPtr<ILaunchers> launchers;
  if (FAILED(QueryTo(item, launchers)) || !launchers) return FailureOr(hrItem);

  CComPtr<IDispatch> launcher;
  hr = CreateLauncher(launcher);
  if (FAILED(hr) || !launcher) return FailureOr(hr);

  CComPtr<IObjectRackClient> rackClient;
  // A launcher that takes no rack is registered all the same.
  if (SUCCEEDED(QueryTo(launcher, rackClient)) && rackClient) (void)rackClient->SetRack(pRack);

  const HRESULT hrAdd = launchers->AddLauncher(k.bstrWindowsApplications, launcher);
  // The registration's own result stands, whatever the update gives.
  (void)updateHookScope(pDataObj);
  return hrAdd;
}

}  // namespace launcher_registration
