#include "host/run_mode_provider.h"

#include <utility>

ATL::CComPtr<CHostRunModeProvider> CHostRunModeProvider::Create(const CHostRunModeAnswer& answer,
                                                                std::shared_ptr<CHostCallLog> log) {
  return ATL::CComPtr<CHostRunModeProvider>(new CHostRunModeProvider(answer, std::move(log)));
}

STDMETHODIMP CHostRunModeProvider::GetRunMode(LONG* plMode) {
  return GuardComCall([&]() -> HRESULT {
    CHostCall call = NewCall(HostOperation::GetRunMode);
    if (!plMode) return Finish(call, E_POINTER);
    if (FAILED(m_answer.getRunModeResult)) return Finish(call, m_answer.getRunModeResult);
    *plMode = m_answer.mode;
    return Finish(call, S_OK);
  });
}

bool CHostRunModeProvider::Refuses(REFIID iid) const {
  return !m_answer.answersProvider && IsEqualGUID(iid, ATL::IidOf<IRunModeProvider>());
}

CHostRunModeClass::CHostRunModeClass(std::shared_ptr<CHostCallLog> log)
    : m_answer(std::make_shared<CHostRunModeAnswer>()) {
  if (!log) log = CHostCallLog::Create();
  std::shared_ptr<CHostRunModeAnswer> answer = m_answer;
  m_factory = CHostClassFactory::Create(
      "RunModeProvider",
      [answer, log](REFIID iid, void** out) {
        ATL::CComPtr<CHostRunModeProvider> provider = CHostRunModeProvider::Create(*answer, log);
        return provider->QueryInterface(iid, out);
      },
      log);
}
