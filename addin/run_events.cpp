// The host's run events. Each one either does nothing, records a phase in
// one of the two run flags, or hands the event's data object on. The flags
// change before the forwarded work runs and are not restored when it fails.
// No event checks the data object itself: the receiving work answers a null
// one.
#include "addin/velmora_obj.h"

HRESULT CVelmoraObj::NotHandled() { return E_NOTIMPL; }

STDMETHODIMP CVelmoraObj::StartRecord(IDataObj* pDataObj) {
  m_bBPTRun = 0;
  // A launch that fails must not fail the host's recording or run.
  (void)LaunchApplications(pDataObj);
  return S_OK;
}

STDMETHODIMP CVelmoraObj::StopRecord(IDataObj*) { return NotHandled(); }

STDMETHODIMP CVelmoraObj::StartReplay(IDataObj* pDataObj) { return StartRecord(pDataObj); }

STDMETHODIMP CVelmoraObj::StopReplay(IDataObj*) { return NotHandled(); }

STDMETHODIMP CVelmoraObj::StartIteration(IDataObj* pDataObj) {
  // Inside a business component or a business-process run the components
  // launch what they need; the test's own list is not launched again.
  if (m_bBCActive || m_bBPTRun) return S_OK;
  return LaunchApplications(pDataObj);
}

STDMETHODIMP CVelmoraObj::StopIteration(IDataObj*) { return NotHandled(); }

STDMETHODIMP CVelmoraObj::CloseTest(IDataObj*) { return NotHandled(); }

STDMETHODIMP CVelmoraObj::UpdateDataObject(IDataObj* pDataObj, BSTR, BSTR) { return UpdateHookScope(pDataObj); }

STDMETHODIMP CVelmoraObj::StartPartialReplay(IDataObj*) { return NotHandled(); }

STDMETHODIMP CVelmoraObj::PostLoad(IDataObj* pDataObj) { return RegisterLauncher(pDataObj); }

STDMETHODIMP CVelmoraObj::StartBPTRun(IDataObj*) {
  m_bBPTRun = 1;
  return ClearBCApps();
}

STDMETHODIMP CVelmoraObj::EndBPTRun(IDataObj*) {
  const HRESULT hr = ClearBCApps();
  m_bBPTRun = 0;
  return hr;
}

STDMETHODIMP CVelmoraObj::StartBCRecord(IDataObj*) {
  // A component being recorded ends the business-process state.
  m_bBPTRun = 0;
  m_bBCActive = 1;
  return S_OK;
}

STDMETHODIMP CVelmoraObj::StopBCRecord(IDataObj*) {
  m_bBCActive = 0;
  return S_OK;
}

STDMETHODIMP CVelmoraObj::StartBCReplay(IDataObj* pDataObj) {
  m_bBCActive = 1;
  if (!m_bBPTRun) return S_OK;
  return AccumulateBCApps(pDataObj);
}

STDMETHODIMP CVelmoraObj::StopBCReplay(IDataObj*) {
  m_bBCActive = 0;
  return S_OK;
}
