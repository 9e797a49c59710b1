#include "host/test_settings.h"

#include <algorithm>
#include <utility>

ATL::CComPtr<CHostLaunchers> CHostLaunchers::Create(std::shared_ptr<CHostCallLog> log) {
  return ATL::CComPtr<CHostLaunchers>(new CHostLaunchers(std::move(log)));
}

STDMETHODIMP CHostLaunchers::AddLauncher(BSTR bstrName, IDispatch* pLauncher) {
  return GuardComCall([&]() -> HRESULT {
    const WideString name = HostBstrStr(bstrName);
    CHostCall call = NewCall(HostOperation::AddLauncher);
    call.entry = HostUtf8(name);
    if (!pLauncher) return Finish(call, E_POINTER);
    if (auto injected = Injected(HostOperation::AddLauncher, name)) return Finish(call, *injected);
    m_launchers.push_back(Registered{HostUtf8(name), pLauncher});
    return Finish(call, S_OK);
  });
}

bool CHostLaunchers::Refuses(REFIID iid) const { return m_hidden && IsEqualGUID(iid, ATL::IidOf<ILaunchers>()); }

ATL::CComPtr<CHostTestSettings> CHostTestSettings::Create(std::shared_ptr<CHostCallLog> log) {
  return ATL::CComPtr<CHostTestSettings>(new CHostTestSettings(std::move(log)));
}

STDMETHODIMP CHostTestSettings::GetSettingsItem(BSTR bstrName, IUnknown** ppItem) {
  return GuardComCall([&]() -> HRESULT {
    const WideString name = HostBstrStr(bstrName);
    CHostCall call = NewCall(HostOperation::GetSettingsItem);
    call.entry = HostUtf8(name);
    if (!ppItem) return Finish(call, E_POINTER);
    *ppItem = nullptr;
    if (auto injected = Injected(HostOperation::GetSettingsItem, name)) return Finish(call, *injected);
    if (std::find(m_nullAnswers.begin(), m_nullAnswers.end(), name) != m_nullAnswers.end()) {
      return Finish(call, S_OK);
    }
    for (const Item& item : m_items) {
      if (item.name != name) continue;
      *ppItem = item.object;
      (*ppItem)->AddRef();
      return Finish(call, S_OK);
    }
    return Finish(call, kMissingItem);
  });
}

void CHostTestSettings::PutItem(LPCOLESTR name, IUnknown* item) {
  const WideString itemName = HostStr(name);
  // The item a name held is released last, when the list is whole again.
  ATL::CComPtr<IUnknown> previous;
  auto it = std::find_if(m_items.begin(), m_items.end(), [&](const Item& entry) { return entry.name == itemName; });
  if (it != m_items.end()) {
    previous.Attach(it->object.Detach());
    if (item) {
      it->object = item;
    } else {
      m_items.erase(it);
    }
    return;
  }
  if (item) m_items.push_back(Item{itemName, item});
}

void CHostTestSettings::AnswerNullItem(LPCOLESTR name, bool answer) {
  const WideString itemName = HostStr(name);
  m_nullAnswers.erase(std::remove(m_nullAnswers.begin(), m_nullAnswers.end(), itemName), m_nullAnswers.end());
  if (answer) m_nullAnswers.push_back(itemName);
}

void CHostTestSettings::ClearFailures() {
  CHostObject::ClearFailures();
  m_nullAnswers.clear();
}

ATL::CComPtr<CHostLauncher> CHostLauncher::Create(std::shared_ptr<CHostLauncherHistory> history,
                                                  std::shared_ptr<CHostCallLog> log) {
  return ATL::CComPtr<CHostLauncher>(new CHostLauncher(std::move(history), std::move(log)));
}

CHostLauncher::CHostLauncher(std::shared_ptr<CHostLauncherHistory> history, std::shared_ptr<CHostCallLog> log)
    : CHostDispatchObject("launcher", std::move(log), HostNameMatch::Exact),
      m_history(std::move(history)),
      m_index(m_history->launchers.size()) {
  m_history->launchers.emplace_back();
}

STDMETHODIMP CHostLauncher::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  const bool rackClient =
      IsEqualGUID(iid, ATL::IidOf<IObjectRackClient>()) || IsEqualGUID(iid, ATL::IidOf<IObjectRackProvider>());
  if (!rackClient) return CHostDispatchObject::QueryInterface(iid, out);
  *out = nullptr;
  if (!m_history->answersRackClient) return E_NOINTERFACE;
  *out = static_cast<IObjectRackClient*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP CHostLauncher::GetRack(IObjectRack** ppObjectRack) {
  if (ppObjectRack) *ppObjectRack = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CHostLauncher::SetRack(IObjectRack* pObjectRack) {
  return GuardComCall([&]() -> HRESULT {
    CHostCall call = NewCall(HostOperation::SetRack);
    call.entry = pObjectRack ? "rack" : "null";
    CHostLauncherHistory::Launcher& record = m_history->launchers[m_index];
    record.rack = pObjectRack;
    ++record.setRackCalls;
    return Finish(call, S_OK);
  });
}

// {6f1d3a52-9c0e-4b7a-8e15-2d4c7b90a3e1}
const CLSID CHostLauncherClass::kLauncherClsid = {
    0x6f1d3a52, 0x9c0e, 0x4b7a, {0x8e, 0x15, 0x2d, 0x4c, 0x7b, 0x90, 0xa3, 0xe1}};

CHostLauncherClass::CHostLauncherClass(std::shared_ptr<CHostCallLog> log)
    : m_history(std::make_shared<CHostLauncherHistory>()) {
  if (!log) log = CHostCallLog::Create();
  std::shared_ptr<CHostLauncherHistory> history = m_history;
  m_factory = CHostClassFactory::Create(
      "launcher",
      [history, log](REFIID iid, void** out) {
        ATL::CComPtr<CHostLauncher> launcher = CHostLauncher::Create(history, log);
        return launcher->QueryInterface(iid, out);
      },
      log);
}
