// CVelmoraObj: the add-in object. One COM object carries all the host's
// interfaces and owns the state that lives from one run event to the next:
// the two run flags, the accumulated business-component applications, the
// hook configurator and the host's object rack.
//
// It lives in the host's single-threaded apartment: every call arrives on
// that thread, one at a time, so nothing here is locked.
#ifndef VELMORA_ADDIN_VELMORA_OBJ_H
#define VELMORA_ADDIN_VELMORA_OBJ_H

#include <atlbase.h>
#include <atlcom.h>

#include <velmora.h>

#include "addin/object_rack_client_impl.h"
#include "hooks/hook_configurator.h"
#include "launch/launched_app_table.h"
#include "settings/kex_safe_array.h"

class CVelmoraObj : public CComObjectRootEx<CComSingleThreadModel>,
                    public IVelmoraObj,
                    public IObjectRackClientImpl<CVelmoraObj>,
                    public IVelmoraHooks,
                    public IStartupClient3,
                    public IBCStartupClnt {
 public:
  // Creates the empty launched-process table; contacts no host object.
  CVelmoraObj();
  CVelmoraObj(const CVelmoraObj&) = delete;
  CVelmoraObj& operator=(const CVelmoraObj&) = delete;

  static const CInterfaceEntry<CVelmoraObj>* GetInterfaceTable(size_t* count);

  // Gives up what the object holds of others, in its teardown order, while
  // the object is still whole: a host object that calls back into it while
  // it is released finds a working IUnknown, not a half-destroyed one.
  void FinalRelease();

  // IObjectRackClient: keeps the rack, then (re)opens the hook settings.
  STDMETHOD(SetRack)(IObjectRack* pObjectRack) override;

  // IVelmoraHooks: not handled by this add-in.
  STDMETHOD(External_SetHooks)(LONG bInstall, BSTR bsCmd, BSTR bsDir, BSTR bsArgs, LONG bChildRec,
                               LONG bChildRecOVRuntime) override;

  // IStartupClient
  STDMETHOD(StartRecord)(IDataObj* pDataObj) override;
  STDMETHOD(StopRecord)(IDataObj* pDataObj) override;
  STDMETHOD(StartReplay)(IDataObj* pDataObj) override;
  STDMETHOD(StopReplay)(IDataObj* pDataObj) override;
  STDMETHOD(StartIteration)(IDataObj* pDataObj) override;
  STDMETHOD(StopIteration)(IDataObj* pDataObj) override;
  STDMETHOD(CloseTest)(IDataObj* pDataObj) override;
  STDMETHOD(UpdateDataObject)(IDataObj* pDataObj, BSTR bstrProductName, BSTR bstrTestVersion) override;
  STDMETHOD(StartPartialReplay)(IDataObj* pDataObj) override;
  // IStartupClient2
  STDMETHOD(PostLoad)(IDataObj* pDataObj) override;
  // IStartupClient3
  STDMETHOD(StartBPTRun)(IDataObj* pDataObj) override;
  STDMETHOD(EndBPTRun)(IDataObj* pDataObj) override;
  // IBCStartupClnt
  STDMETHOD(StartBCRecord)(IDataObj* pDataObj) override;
  STDMETHOD(StopBCRecord)(IDataObj* pDataObj) override;
  STDMETHOD(StartBCReplay)(IDataObj* pDataObj) override;
  STDMETHOD(StopBCReplay)(IDataObj* pDataObj) override;

  // The work the run events forward to, each to the subsystem that does it.
  // Each takes the event's data object as it came (possibly null) and
  // returns an HRESULT; none throws.
  [[nodiscard]] HRESULT LaunchApplications(IDataObj* pDataObj);
  [[nodiscard]] HRESULT UpdateHookScope(IDataObj* pDataObj);
  [[nodiscard]] HRESULT RegisterLauncher(IDataObj* pDataObj);
  [[nodiscard]] HRESULT AccumulateBCApps(IDataObj* pDataObj);
  [[nodiscard]] HRESULT AddBCAppsToHookScope(IDataObj* pDataObj);
  [[nodiscard]] HRESULT ClearBCApps();

  // Read-only views for tests and diagnostics.
  BOOL IsBPTRun() const { return m_bBPTRun; }
  BOOL IsBCActive() const { return m_bBCActive; }
  const CKexSafeArray& BCApps() const { return m_saBCApps; }
  const CHookConfigurator& HookConfigurator() const { return m_hookConfig; }
  const LaunchedAppTable& LaunchedApps() const { return *m_pLaunchedApps; }

 private:
  // The five events the add-in does not handle share this body.
  HRESULT NotHandled();

  std::unique_ptr<LaunchedAppTable> m_pLaunchedApps;
  // 0 or 1 only; changed by the run events alone.
  BOOL m_bBPTRun = 0;
  BOOL m_bBCActive = 0;
  CKexSafeArray m_saBCApps;
  CHookConfigurator m_hookConfig;
};

#endif  // VELMORA_ADDIN_VELMORA_OBJ_H
