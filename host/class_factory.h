// The host's classes that the add-in creates by identifier (the run-mode
// provider, the launcher component): a class object, IClassFactory, that
// builds a fresh object on every CreateInstance, and the in-process
// registration that lets CoCreateInstance find it for as long as a test
// holds it.
//   CreateInstance(outer, iid, out)   an outer object: CLASS_E_NOAGGREGATION;
//                     otherwise a new object asked for iid (its failure is
//                     returned, *out null). On demand: an injected failure
//                     (FailOperation(CreateInstance, hr)), or S_OK without
//                     an object (AnswerNullInstance).
//   LockServer        S_OK, unlogged.
// Calls are logged with "<class> class" as the object and the iid.
#ifndef VELMORA_HOST_CLASS_FACTORY_H
#define VELMORA_HOST_CLASS_FACTORY_H

#include <functional>
#include <memory>
#include <string>

#include "host/call_log.h"
#include "host/failures.h"
#include "host/host_object.h"

class CHostClassFactory final : public CHostObject<IClassFactory> {
 public:
  // Builds one new object of the class and answers iid from it.
  using Creator = std::function<HRESULT(REFIID iid, void** out)>;

  static ATL::CComPtr<CHostClassFactory> Create(const std::string& className, Creator creator,
                                                std::shared_ptr<CHostCallLog> log = nullptr);

  // IClassFactory
  STDMETHOD(CreateInstance)(IUnknown* outer, REFIID iid, void** out) override;
  STDMETHOD(LockServer)(BOOL) override { return S_OK; }

  void AnswerNullInstance(bool answer = true) { m_nullInstance = answer; }
  void ClearFailures() override;

 private:
  CHostClassFactory(const std::string& className, Creator creator, std::shared_ptr<CHostCallLog> log)
      : CHostObject(className + " class", std::move(log), HostNameMatch::Exact), m_creator(std::move(creator)) {}

  Creator m_creator;
  bool m_nullInstance = false;
};

// A class object registered in this process under clsid while this lives.
class CHostClassRegistration {
 public:
  CHostClassRegistration() = default;
  CHostClassRegistration(const CHostClassRegistration&) = delete;
  CHostClassRegistration& operator=(const CHostClassRegistration&) = delete;
  ~CHostClassRegistration() { Revoke(); }

  // CoRegisterClassObject's HRESULT; a registration held before is revoked first.
  HRESULT Register(REFCLSID clsid, IUnknown* classObject);
  void Revoke();
  bool IsRegistered() const { return m_cookie != 0; }

 private:
  DWORD m_cookie = 0;
};

#endif  // VELMORA_HOST_CLASS_FACTORY_H
