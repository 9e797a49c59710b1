#include "host/class_factory.h"

#include <utility>

ATL::CComPtr<CHostClassFactory> CHostClassFactory::Create(const std::string& className, Creator creator,
                                                          std::shared_ptr<CHostCallLog> log) {
  return ATL::CComPtr<CHostClassFactory>(new CHostClassFactory(className, std::move(creator), std::move(log)));
}

STDMETHODIMP CHostClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
  return GuardComCall([&]() -> HRESULT {
    CHostCall call = NewCall(HostOperation::CreateInstance);
    call.iid = iid;
    if (!out) return Finish(call, E_POINTER);
    *out = nullptr;
    if (outer) return Finish(call, CLASS_E_NOAGGREGATION);
    if (auto injected = Injected(HostOperation::CreateInstance, WideString())) return Finish(call, *injected);
    if (m_nullInstance) return Finish(call, S_OK);
    const HRESULT hr = m_creator(iid, out);
    if (FAILED(hr)) *out = nullptr;
    return Finish(call, hr);
  });
}

void CHostClassFactory::ClearFailures() {
  CHostObject::ClearFailures();
  m_nullInstance = false;
}

HRESULT CHostClassRegistration::Register(REFCLSID clsid, IUnknown* classObject) {
  Revoke();
  return ::CoRegisterClassObject(clsid, classObject, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_cookie);
}

void CHostClassRegistration::Revoke() {
  if (m_cookie == 0) return;
  (void)::CoRevokeClassObject(m_cookie);
  m_cookie = 0;
}
