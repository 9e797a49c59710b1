#include "hooks/hook_configurator.h"

#include "settings/rack_lookup.h"
#include "settings/shared_constants.h"

namespace {

// Levels and flags the host expects with each kind of write.
const LONG kSwitchLevel = 3;  // the "all"/"DEFAULT" switches, resets, the commit
const LONG kSwitchFlag = 1;   // the "all"/"DEFAULT" switches
const LONG kEntryFlag = 0;    // rewrites of a process's entry, resets, the commit

const VARIANT& FlagValue(bool bSet) {
  return bSet ? SharedConstants().varOne : SharedConstants().varZero;
}

// The host's interfaces take VARIANT* for values they only read.
VARIANT* In(const VARIANT& v) { return const_cast<VARIANT*>(&v); }

// Reads a value of a child entry and, when it converts to VT_I4, replaces
// flag with (value != 0). A value missing or of another kind keeps flag.
void ReadSavedFlag(IOptionsNode* pNode, BSTR bstrEntry, BSTR bstrValueName, bool& flag) {
  CComVariant value;
  if (FAILED(pNode->GetNodeValue(bstrEntry, bstrValueName, value.Receive(), 0, 0))) return;
  if (FAILED(value.ChangeType(VT_I4)) || value.vt != VT_I4) return;
  flag = value.lVal != 0;
}

// The entry as a child node of pNode, after AddNode: S_OK and the node, a
// successful HRESULT with no node when GetNode gave nothing usable, or a
// failure.
HRESULT AddEntryNode(IOptionsNode* pNode, BSTR bstrName, CComPtr<IOptionsNode>& entry) {
  HRESULT hr = pNode->AddNode(bstrName, 0);
  if (FAILED(hr)) return hr;
  CComVariant name(bstrName);
  CComVariant child;
  hr = pNode->GetNode(name.AsInput(), child.Receive());
  if (FAILED(hr)) return hr;
  if (child.vt != VT_DISPATCH || !child.pdispVal) return hr;
  if (FAILED(QueryTo(child.pdispVal, entry))) return E_FAIL;
  return S_OK;
}

// A Hooks entry's values: the three hooks in the process itself, then the
// same three in the processes it starts.
struct HookValueNames {
  BSTR own[3];
  BSTR child[3];
};

HookValueNames HookValues() {
  const CSharedConstants& k = SharedConstants();
  return {{k.bstrBbHook, k.bstrGetMessageHook, k.bstrWndProcHook},
          {k.bstrChildProcBbHook, k.bstrChildProcGetMessageHook, k.bstrChildProcWndProcHook}};
}

}  // namespace

// The opening every per-process operation shares: both nodes held, and a
// process name to use as the entry's name.
HRESULT CHookConfigurator::OpenEntry(const CAppDetails& app, CComBSTR& name) const {
  if (!m_spAlwaysNode || !m_spHooksNode) return E_POINTER;
  name = app.m_strProcessName.c_str();
  return name.Length() > 0 ? S_OK : E_INVALIDARG;
}

CHookConfigurator::~CHookConfigurator() = default;

HRESULT CHookConfigurator::GetChildNode(IOptionsNode* pParent, BSTR bstrName, CComPtr<IOptionsNode>& out) {
  CComVariant name(bstrName);
  CComVariant child;
  const HRESULT hr = pParent->GetNode(name.AsInput(), child.Receive());
  // The host's own HRESULT is not passed on: a missing child is a missing child.
  if (FAILED(hr) || child.vt != VT_DISPATCH || !child.pdispVal) return E_FAIL;
  CComPtr<IOptionsNode> node;
  // A child that is not an option node is as good as none: the null test
  // below decides.
  (void)QueryTo(child.pdispVal, node);
  out = node;
  return out ? S_OK : E_FAIL;
}

HRESULT CHookConfigurator::Attach(IObjectRack* pRack) {
  if (!pRack) {
    m_spHooksNode.Release();
    m_spAlwaysNode.Release();
    return S_OK;
  }

  const CSharedConstants& k = SharedConstants();
  CComPtr<IOptionsNode> root;
  // Whatever the lookup answers, no root means no hook settings.
  (void)LookupRackObject(pRack, k.bstrTestOptions, root);
  if (!root) return E_FAIL;

  // The Hooks node always takes the outcome of a new lookup, found or not.
  CComPtr<IOptionsNode> hooks;
  (void)GetChildNode(root, k.bstrHooks, hooks);
  m_spHooksNode = hooks;

  // "HooksMgr" is a child of the root, not of "Hooks".
  CComPtr<IOptionsNode> hooksMgr;
  HRESULT hr = GetChildNode(root, k.bstrHooksMgr, hooksMgr);
  if (FAILED(hr)) return hr;
  CComPtr<IOptionsNode> injector;
  hr = GetChildNode(hooksMgr, k.bstrDllInjector, injector);
  if (FAILED(hr)) return hr;
  // A missing "ALWAYS" keeps the node held before; the lookup's result is
  // in what the node holds afterwards.
  (void)GetChildNode(injector, k.bstrAlways, m_spAlwaysNode);
  return S_OK;
}

HRESULT CHookConfigurator::SetAllMode(bool bOn) {
  if (!m_spAlwaysNode || !m_spHooksNode) return E_POINTER;
  const CSharedConstants& k = SharedConstants();
  VARIANT* v = In(FlagValue(bOn));
  // Only the "DEFAULT" switch's result is the caller's: the host treats the
  // two "all" values as hints.
  (void)m_spHooksNode->SetNodeValue(k.bstrAll, k.bstrGetMessageHook, v, kSwitchFlag, 0, 0, kSwitchLevel, 0);
  (void)m_spHooksNode->SetNodeValue(k.bstrAll, k.bstrWndProcHook, v, kSwitchFlag, 0, 0, kSwitchLevel, 0);
  return m_spAlwaysNode->SetNodeValue(k.bstrDefault, k.bstrEnabled, v, kSwitchFlag, 0, 0, kSwitchLevel, 0);
}

HRESULT CHookConfigurator::AddProcess(const CAppDetails& app) {
  CComBSTR name;
  HRESULT hr = OpenEntry(app, name);
  if (FAILED(hr)) return hr;
  CComVariant nameVariant(name);
  const CSharedConstants& k = SharedConstants();

  // The Hooks half, whatever it gives, then the ALWAYS half.
  VARIANT_BOOL exists = VARIANT_FALSE;
  hr = m_spHooksNode->NodeExists(nameVariant.AsInput(), &exists);
  if (SUCCEEDED(hr) && exists) {
    CAppDetails saved(app);
    ReadSavedFlag(m_spHooksNode, name, k.bstrBbHook, saved.m_bHook);
    ReadSavedFlag(m_spHooksNode, name, k.bstrChildProcBbHook, saved.m_bChildProcesses);
    if (SUCCEEDED(RewriteHookEntry(app))) m_savedHooks.push_back(saved);
  } else if (SUCCEEDED(CreateHookEntry(app))) {
    m_createdHooks.push_back(name);
  }

  exists = VARIANT_FALSE;
  hr = m_spAlwaysNode->NodeExists(nameVariant.AsInput(), &exists);
  if (SUCCEEDED(hr) && exists) {
    CAppDetails saved(app);
    ReadSavedFlag(m_spAlwaysNode, name, k.bstrEnabled, saved.m_bHook);
    ReadSavedFlag(m_spAlwaysNode, name, k.bstrChildProcesses, saved.m_bChildProcesses);
    hr = RewriteInjectorEntry(app);
    // Front insertion with front-to-back replay: an entry saved twice is
    // restored last from its earliest copy, its state before the add-in.
    if (SUCCEEDED(hr)) m_savedAlways.push_front(saved);
    return hr;
  }
  hr = CreateInjectorEntry(app);
  if (SUCCEEDED(hr)) m_createdAlways.push_back(name);
  return hr;
}

HRESULT CHookConfigurator::CreateHookEntry(const CAppDetails& app) {
  CComBSTR name;
  HRESULT hr = OpenEntry(app, name);
  if (FAILED(hr)) return hr;
  CComPtr<IOptionsNode> entry;
  hr = AddEntryNode(m_spHooksNode, name, entry);
  if (!entry) return hr;

  // The entry exists now; a value the host refuses leaves it incomplete, but
  // created all the same, so it is recorded and reset by later updates.
  const HookValueNames values = HookValues();
  for (BSTR valueName : values.own) {
    CComVariant hookName(valueName);
    (void)entry->SetValue(hookName.AsInput(), In(FlagValue(app.m_bHook)), app.m_nLevel, 0, 0, 0);
  }
  for (BSTR valueName : values.child) {
    CComVariant hookName(valueName);
    (void)entry->SetValue(hookName.AsInput(), In(FlagValue(app.m_bChildProcesses)), app.m_nLevel, 0, 0, 0);
  }
  return S_OK;
}

HRESULT CHookConfigurator::RewriteHookEntry(const CAppDetails& app) {
  CComBSTR name;
  HRESULT hr = OpenEntry(app, name);
  if (FAILED(hr)) return hr;
  // Each value is written whatever the one before gave: the entry is
  // rewritten as far as the host lets it be.
  const HookValueNames values = HookValues();
  for (BSTR valueName : values.own) {
    (void)m_spHooksNode->SetNodeValue(name, valueName, In(FlagValue(app.m_bHook)), kEntryFlag, 0, 0, app.m_nLevel,
                                      0);
  }
  for (BSTR valueName : values.child) {
    (void)m_spHooksNode->SetNodeValue(name, valueName, In(FlagValue(app.m_bChildProcesses)), kEntryFlag, 0, 0,
                                      app.m_nLevel, 0);
  }
  return S_OK;
}

HRESULT CHookConfigurator::CreateInjectorEntry(const CAppDetails& app) {
  CComBSTR name;
  HRESULT hr = OpenEntry(app, name);
  if (FAILED(hr)) return hr;
  CComPtr<IOptionsNode> entry;
  hr = AddEntryNode(m_spAlwaysNode, name, entry);
  if (!entry) return hr;

  // As for a Hooks entry: created is created, whatever its values gave.
  const CSharedConstants& k = SharedConstants();
  CComVariant enabled(k.bstrEnabled);
  CComVariant useDefault(k.bstrUseDefault);
  CComVariant childProcesses(k.bstrChildProcesses);
  (void)entry->SetValue(enabled.AsInput(), In(FlagValue(app.m_bHook)), app.m_nLevel, 0, 0, 0);
  (void)entry->SetValue(useDefault.AsInput(), In(k.varOne), app.m_nLevel, 0, 0, 0);
  (void)entry->SetValue(childProcesses.AsInput(), In(FlagValue(app.m_bChildProcesses)), app.m_nLevel, 0, 0, 0);
  return S_OK;
}

HRESULT CHookConfigurator::RewriteInjectorEntry(const CAppDetails& app) {
  CComBSTR name;
  HRESULT hr = OpenEntry(app, name);
  if (FAILED(hr)) return hr;
  // The last write's result stands for the rewrite.
  const CSharedConstants& k = SharedConstants();
  (void)m_spAlwaysNode->SetNodeValue(name, k.bstrEnabled, In(FlagValue(app.m_bHook)), kEntryFlag, 0, 0,
                                     app.m_nLevel, 0);
  (void)m_spAlwaysNode->SetNodeValue(name, k.bstrUseDefault, In(k.varOne), kEntryFlag, 0, 0, app.m_nLevel, 0);
  return m_spAlwaysNode->SetNodeValue(name, k.bstrChildProcesses, In(FlagValue(app.m_bChildProcesses)), kEntryFlag,
                                      0, 0, app.m_nLevel, 0);
}

HRESULT CHookConfigurator::RevertPrevious() {
  // Saved entries first, each restored to the flags it had; a replay without
  // nodes writes nothing, and the lists are emptied all the same.
  // A restore that fails cannot be retried usefully: the saved copy goes.
  for (const CAppDetails& saved : m_savedHooks) (void)RewriteHookEntry(saved);
  m_savedHooks.clear();
  for (const CAppDetails& saved : m_savedAlways) (void)RewriteInjectorEntry(saved);
  m_savedAlways.clear();

  // Then every entry the add-in ever created is neutralised, after the
  // replays, so it ends reset even when it was also saved later. Each reset
  // is tried whatever the one before gave.
  const CSharedConstants& k = SharedConstants();
  VARIANT* reset = In(k.varMinusOne);
  if (m_spHooksNode) {
    const HookValueNames values = HookValues();
    for (const CComBSTR& name : m_createdHooks) {
      for (BSTR valueName : values.own) {
        (void)m_spHooksNode->SetNodeValue(name, valueName, reset, kEntryFlag, 0, 0, kSwitchLevel, 0);
      }
      for (BSTR valueName : values.child) {
        (void)m_spHooksNode->SetNodeValue(name, valueName, reset, kEntryFlag, 0, 0, kSwitchLevel, 0);
      }
    }
  }
  if (m_spAlwaysNode) {
    for (const CComBSTR& name : m_createdAlways) {
      (void)m_spAlwaysNode->SetNodeValue(name, k.bstrEnabled, reset, kEntryFlag, 0, 0, kSwitchLevel, 0);
      (void)m_spAlwaysNode->SetNodeValue(name, k.bstrUseDefault, In(k.varOne), kEntryFlag, 0, 0, kSwitchLevel, 0);
      (void)m_spAlwaysNode->SetNodeValue(name, k.bstrChildProcesses, reset, kEntryFlag, 0, 0, kSwitchLevel, 0);
    }
  }
  return S_OK;
}

HRESULT CHookConfigurator::Commit() {
  if (!m_spHooksNode) return E_POINTER;
  const CSharedConstants& k = SharedConstants();
  CComVariant value;
  HRESULT hr = m_spHooksNode->GetNodeValue(k.bstrAll, k.bstrBbHook, value.Receive(), 0, 0);
  if (FAILED(hr)) return hr;
  // Written back exactly as read, whatever its type.
  return m_spHooksNode->SetNodeValue(k.bstrAll, k.bstrBbHook, value.AsInput(), kEntryFlag, 0, 0, kSwitchLevel, 0);
}
