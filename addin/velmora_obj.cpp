#include "addin/velmora_obj.h"

#include <atlguard.h>

#include "events/bc_apps.h"
#include "events/hook_scope.h"
#include "events/launcher_registration.h"
#include "launch/launch_pass.h"

namespace {

// QueryInterface order; IUnknown is answered with the first row. The three
// IStartupClient identifiers share one vtable, since each extends the last.
const CInterfaceEntry<CVelmoraObj> kInterfaces[] = {
    InterfaceEntry<CVelmoraObj, IVelmoraObj>(),
    InterfaceEntry<CVelmoraObj, IStartupClient, IStartupClient3>(),
    InterfaceEntry<CVelmoraObj, IStartupClient2, IStartupClient3>(),
    InterfaceEntry<CVelmoraObj, IStartupClient3>(),
    InterfaceEntry<CVelmoraObj, IBCStartupClnt>(),
    InterfaceEntry<CVelmoraObj, IVelmoraHooks>(),
    InterfaceEntry<CVelmoraObj, IObjectRackClient>(),
};

}  // namespace

const CInterfaceEntry<CVelmoraObj>* CVelmoraObj::GetInterfaceTable(size_t* count) {
  *count = sizeof kInterfaces / sizeof kInterfaces[0];
  return kInterfaces;
}

CVelmoraObj::CVelmoraObj() : m_pLaunchedApps(std::make_unique<LaunchedAppTable>()) {}

void CVelmoraObj::FinalRelease() {
  // The launched processes' handles are closed; the processes keep running.
  m_pLaunchedApps.reset();
  (void)m_hookConfig.Attach(nullptr);  // releasing the nodes cannot fail
  if (m_saBCApps.IsOwner()) m_saBCApps.Destroy();
  m_spRack.Release();
}

STDMETHODIMP CVelmoraObj::SetRack(IObjectRack* pObjectRack) {
  // Keeping a pointer always succeeds.
  (void)IObjectRackClientImpl<CVelmoraObj>::SetRack(pObjectRack);
  // A rack without usable option nodes is still the host's rack: the
  // configurator's result is not the host's business.
  (void)GuardComCall([&] { return m_hookConfig.Attach(pObjectRack); });
  return S_OK;
}

HRESULT CVelmoraObj::LaunchApplications(IDataObj* pDataObj) {
  return GuardComCall([&] { return launch_pass::Run(pDataObj, m_spRack, m_pLaunchedApps); });
}

HRESULT CVelmoraObj::UpdateHookScope(IDataObj* pDataObj) {
  return GuardComCall(
      [&] { return hook_scope::Update(pDataObj, m_spRack, m_hookConfig, m_bBPTRun ? &m_saBCApps : nullptr); });
}

HRESULT CVelmoraObj::RegisterLauncher(IDataObj* pDataObj) {
  return GuardComCall([&] {
    return launcher_registration::Register(pDataObj, m_spRack, [this](IDataObj* p) { return UpdateHookScope(p); });
  });
}

HRESULT CVelmoraObj::AccumulateBCApps(IDataObj* pDataObj) {
  return GuardComCall([&] { return bc_apps::Accumulate(m_saBCApps, pDataObj); });
}

HRESULT CVelmoraObj::AddBCAppsToHookScope(IDataObj* pDataObj) {
  return GuardComCall([&] { return bc_apps::AddToHookScope(m_saBCApps, pDataObj, m_spRack, m_hookConfig); });
}

HRESULT CVelmoraObj::ClearBCApps() {
  bc_apps::Clear(m_saBCApps);
  return S_OK;
}

STDMETHODIMP CVelmoraObj::External_SetHooks(LONG, BSTR, BSTR, BSTR, LONG, LONG) { return E_NOTIMPL; }
