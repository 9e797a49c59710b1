// The host's test-settings object ("RackTestSettingsAutoObj" in the rack),
// its launcher collection ("Launchers"), and a stand-in for the launcher
// component for Windows applications that the add-in creates by ProgID.
//
// CHostTestSettings, ITestSettingsAuto:
//   GetSettingsItem(name, out)  the item of that name (exact match), one
//                     reference; unknown name: kMissingItem, *out null. On
//                     demand: an injected failure, or S_OK with a null item
//                     (AnswerNullItem).
// CHostLaunchers, ILaunchers:
//   AddLauncher(name, launcher)  records the name and a reference to the
//                     launcher, as the host's collection keeps it; a null
//                     launcher: E_POINTER. An injected failure records
//                     nothing. HideLaunchersInterface: the collection
//                     answers IUnknown only.
// CHostLauncher, the launcher component: answers IDispatch (no type
//   information, no Invoke) and, unless its class was told otherwise,
//   IObjectRackClient, whose SetRack is recorded with the rack it was handed
//   (its identity: the stand-in keeps no reference, so that the rack, the
//   settings, the collection and the launcher form no cycle). GetRack answers
//   E_NOTIMPL.
// CHostLauncherClass: the launcher's class object, registered in-process
//   under kLauncherClsid while it lives; the tests map the ProgID to it.
// Calls are logged with "RackTestSettingsAutoObj", "Launchers", "launcher"
// and "launcher class" as the objects.
#ifndef VELMORA_HOST_TEST_SETTINGS_H
#define VELMORA_HOST_TEST_SETTINGS_H

#include <memory>
#include <string>
#include <vector>

#include "host/call_log.h"
#include "host/class_factory.h"
#include "host/host_object.h"
#include "host/host_text.h"

class CHostLaunchers final : public CHostObject<ILaunchers> {
 public:
  struct Registered {
    std::string name;
    ATL::CComPtr<IDispatch> launcher;
  };

  static ATL::CComPtr<CHostLaunchers> Create(std::shared_ptr<CHostCallLog> log = nullptr);

  // ILaunchers
  STDMETHOD(AddLauncher)(BSTR bstrName, IDispatch* pLauncher) override;

  const std::vector<Registered>& Launchers() const { return m_launchers; }
  void HideLaunchersInterface(bool hide = true) { m_hidden = hide; }

 private:
  explicit CHostLaunchers(std::shared_ptr<CHostCallLog> log)
      : CHostObject("Launchers", std::move(log), HostNameMatch::Exact) {}

  bool Refuses(REFIID iid) const override;

  std::vector<Registered> m_launchers;
  bool m_hidden = false;
};

class CHostTestSettings final : public CHostObject<ITestSettingsAuto> {
 public:
  static constexpr HRESULT kMissingItem = E_INVALIDARG;

  static ATL::CComPtr<CHostTestSettings> Create(std::shared_ptr<CHostCallLog> log = nullptr);

  // ITestSettingsAuto
  STDMETHOD(Reserved1)() override { return E_NOTIMPL; }
  STDMETHOD(Reserved2)() override { return E_NOTIMPL; }
  STDMETHOD(Reserved3)() override { return E_NOTIMPL; }
  STDMETHOD(Reserved4)() override { return E_NOTIMPL; }
  STDMETHOD(GetSettingsItem)(BSTR bstrName, IUnknown** ppItem) override;

  // Unlogged; null removes.
  void PutItem(LPCOLESTR name, IUnknown* item);
  void AnswerNullItem(LPCOLESTR name, bool answer = true);
  void ClearFailures() override;

 private:
  struct Item {
    WideString name;
    ATL::CComPtr<IUnknown> object;
  };

  explicit CHostTestSettings(std::shared_ptr<CHostCallLog> log)
      : CHostObject("RackTestSettingsAutoObj", std::move(log), HostNameMatch::Exact) {}

  std::vector<Item> m_items;
  std::vector<WideString> m_nullAnswers;
};

// What the launcher class knows of the launchers it made.
struct CHostLauncherHistory {
  bool answersRackClient = true;
  // One entry per launcher created, in order: the rack its SetRack got
  // (identity only; null when it got none or a null one) and how often.
  struct Launcher {
    IObjectRack* rack = nullptr;
    int setRackCalls = 0;
  };
  std::vector<Launcher> launchers;
};

class CHostLauncher final : public CHostDispatchObject<IDispatch>, public IObjectRackClient {
 public:
  static ATL::CComPtr<CHostLauncher> Create(std::shared_ptr<CHostLauncherHistory> history,
                                            std::shared_ptr<CHostCallLog> log);

  // One IUnknown for both tables.
  STDMETHOD(QueryInterface)(REFIID iid, void** out) override;
  STDMETHOD_(ULONG, AddRef)() override { return CHostDispatchObject::AddRef(); }
  STDMETHOD_(ULONG, Release)() override { return CHostDispatchObject::Release(); }

  // IObjectRackClient
  STDMETHOD(GetRack)(IObjectRack** ppObjectRack) override;
  STDMETHOD(SetRack)(IObjectRack* pObjectRack) override;

 private:
  CHostLauncher(std::shared_ptr<CHostLauncherHistory> history, std::shared_ptr<CHostCallLog> log);

  std::shared_ptr<CHostLauncherHistory> m_history;
  size_t m_index;
};

class CHostLauncherClass {
 public:
  // The launcher's class identifier; fixed, so a test can map the ProgID to it.
  static const CLSID kLauncherClsid;

  explicit CHostLauncherClass(std::shared_ptr<CHostCallLog> log = nullptr);
  CHostLauncherClass(const CHostLauncherClass&) = delete;
  CHostLauncherClass& operator=(const CHostLauncherClass&) = delete;

  HRESULT Register() { return m_registration.Register(kLauncherClsid, m_factory); }
  void Revoke() { m_registration.Revoke(); }

  // Launchers created from now on answer IObjectRackClient or not.
  void AnswerRackClient(bool answer) { m_history->answersRackClient = answer; }
  const CHostLauncherHistory& History() const { return *m_history; }
  CHostClassFactory& Factory() { return *m_factory; }

 private:
  std::shared_ptr<CHostLauncherHistory> m_history;
  ATL::CComPtr<CHostClassFactory> m_factory;
  CHostClassRegistration m_registration;
};

#endif  // VELMORA_HOST_TEST_SETTINGS_H
