// The host's run-mode provider (CLSID_RunModeProvider): a class that
// CoCreateInstance finds while a test holds CHostRunModeClass registered,
// creating a fresh CHostRunModeProvider on every call. Each provider answers
// IRunModeComponent and, unless told not to, IRunModeProvider, whose
// GetRunMode answers the mode the class was given when it was created.
//   GetRunMode(p)   S_OK, *p = the mode; null p: E_POINTER; an injected
//                   failure (FailGetRunMode): that HRESULT, *p untouched.
// Calls are logged with "RunModeProvider" and "RunModeProvider class" as the
// objects.
#ifndef VELMORA_HOST_RUN_MODE_PROVIDER_H
#define VELMORA_HOST_RUN_MODE_PROVIDER_H

#include <memory>

#include "host/call_log.h"
#include "host/class_factory.h"
#include "host/host_object.h"

// What every provider created from now on answers.
struct CHostRunModeAnswer {
  LONG mode = 0;
  bool answersProvider = true;  // false: IRunModeProvider is refused
  HRESULT getRunModeResult = S_OK;  // a failure: GetRunMode fails with it
};

class CHostRunModeProvider final : public CHostObject<IRunModeProvider, IRunModeComponent> {
 public:
  static ATL::CComPtr<CHostRunModeProvider> Create(const CHostRunModeAnswer& answer,
                                                   std::shared_ptr<CHostCallLog> log = nullptr);

  // IRunModeProvider; IRunModeComponent adds nothing to IUnknown, so one
  // table serves both.
  STDMETHOD(Reserved1)() override { return E_NOTIMPL; }
  STDMETHOD(Reserved2)() override { return E_NOTIMPL; }
  STDMETHOD(Reserved3)() override { return E_NOTIMPL; }
  STDMETHOD(GetRunMode)(LONG* plMode) override;

 private:
  CHostRunModeProvider(const CHostRunModeAnswer& answer, std::shared_ptr<CHostCallLog> log)
      : CHostObject("RunModeProvider", std::move(log), HostNameMatch::Exact), m_answer(answer) {}

  bool Refuses(REFIID iid) const override;

  CHostRunModeAnswer m_answer;
};

// The class object and its registration under CLSID_RunModeProvider, for
// the lifetime of this object.
class CHostRunModeClass {
 public:
  explicit CHostRunModeClass(std::shared_ptr<CHostCallLog> log = nullptr);
  CHostRunModeClass(const CHostRunModeClass&) = delete;
  CHostRunModeClass& operator=(const CHostRunModeClass&) = delete;

  HRESULT Register() { return m_registration.Register(CLSID_RunModeProvider, m_factory); }
  void Revoke() { m_registration.Revoke(); }

  // The answer of the providers created from now on.
  CHostRunModeAnswer& Answer() { return *m_answer; }
  CHostClassFactory& Factory() { return *m_factory; }

 private:
  std::shared_ptr<CHostRunModeAnswer> m_answer;
  ATL::CComPtr<CHostClassFactory> m_factory;
  CHostClassRegistration m_registration;
};

#endif  // VELMORA_HOST_RUN_MODE_PROVIDER_H
