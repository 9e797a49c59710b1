// CHookConfigurator: writes the hook scope into the host's option tree.
//
// It holds two nodes of the tree, opened when the host hands over its rack:
// the Hooks node (root "TestOptions" -> "Hooks") and the ALWAYS node
// ("TestOptions" -> "HooksMgr" -> "DllInjector" -> "ALWAYS"). Each update of
// the scope reverts what the previous one wrote, adds its processes, sets or
// clears the "all"/"DEFAULT" switches and commits. The add-in never deletes
// an entry: entries it created are reset with -1 at every later update, and
// entries that existed before are rewritten and later restored from the
// flags saved here.
#ifndef VELMORA_HOOKS_HOOK_CONFIGURATOR_H
#define VELMORA_HOOKS_HOOK_CONFIGURATOR_H

#include <atlbase.h>

#include <deque>

#include <host.h>
#include <velmora.h>

#include "launch/app_details.h"

class CHookConfigurator {
 public:
  CHookConfigurator() = default;
  CHookConfigurator(const CHookConfigurator&) = delete;
  CHookConfigurator& operator=(const CHookConfigurator&) = delete;
  // Releases the Hooks node, then the ALWAYS node; writes nothing.
  ~CHookConfigurator();

  // Opens both nodes from the rack's "TestOptions" root; a null rack releases
  // them. The four lists are kept either way.
  [[nodiscard]] HRESULT Attach(IObjectRack* pRack);

  [[nodiscard]] HRESULT SetAllMode(bool bOn);
  [[nodiscard]] HRESULT AddProcess(const CAppDetails& app);
  [[nodiscard]] HRESULT RevertPrevious();
  [[nodiscard]] HRESULT Commit();

  // For tests and diagnostics: what the configurator holds.
  bool HasHooksNode() const { return m_spHooksNode != nullptr; }
  bool HasAlwaysNode() const { return m_spAlwaysNode != nullptr; }
  const std::deque<CComBSTR>& CreatedHooksEntries() const { return m_createdHooks; }
  const std::deque<CComBSTR>& CreatedAlwaysEntries() const { return m_createdAlways; }
  const std::deque<CAppDetails>& SavedAlwaysEntries() const { return m_savedAlways; }
  const std::deque<CAppDetails>& SavedHooksEntries() const { return m_savedHooks; }

 private:
  [[nodiscard]] HRESULT OpenEntry(const CAppDetails& app, CComBSTR& name) const;
  [[nodiscard]] static HRESULT GetChildNode(IOptionsNode* pParent, BSTR bstrName, CComPtr<IOptionsNode>& out);

  [[nodiscard]] HRESULT CreateHookEntry(const CAppDetails& app);
  [[nodiscard]] HRESULT RewriteHookEntry(const CAppDetails& app);
  [[nodiscard]] HRESULT CreateInjectorEntry(const CAppDetails& app);
  [[nodiscard]] HRESULT RewriteInjectorEntry(const CAppDetails& app);

  std::deque<CComBSTR> m_createdHooks;
  std::deque<CComBSTR> m_createdAlways;
  std::deque<CAppDetails> m_savedAlways;
  std::deque<CAppDetails> m_savedHooks;
  CComPtr<IOptionsNode> m_spAlwaysNode;
  CComPtr<IOptionsNode> m_spHooksNode;
};

#endif  // VELMORA_HOOKS_HOOK_CONFIGURATOR_H
