// A substitute option tree shaped as the host keeps it, behind a rack, with
// one log for all its calls, and a hook configurator to drive it.
#ifndef VELMORA_TESTS_HOOKS_HOOK_TREE_H
#define VELMORA_TESTS_HOOKS_HOOK_TREE_H

#include <gtest/gtest.h>

#include <atlbase.h>

#include <memory>
#include <string>
#include <vector>

#include "host/call_log.h"
#include "host/object_counter.h"
#include "host/object_rack.h"
#include "host/options_node.h"
#include "host/variants.h"
#include "hooks/hook_configurator.h"
#include "launch/app_details.h"
#include "tests/host/live_objects.h"

extern const char kHooksPath[];   // the Hooks node, as the log names it
extern const char kAlwaysPath[];  // the ALWAYS node

struct HookTree {
  HookTree();

  std::shared_ptr<CHostCallLog> log;
  CComPtr<CHostOptionsNode> root;
  CComPtr<CHostOptionsNode> hooks;
  CComPtr<CHostOptionsNode> always;
  CComPtr<CHostObjectRack> rack;
};

// A record naming one process, with the flags given; level 1 unless told.
CAppDetails App(const OLECHAR* processName, bool hook, bool children, LONG level = 1);

// A value of an entry below node, as text ("I4 1"; "missing" when absent).
std::string ValueOf(CHostOptionsNode* node, const OLECHAR* entry, const OLECHAR* valueName);

// Every test starts from a full tree with the configurator attached, and
// ends by checking that every host object the configurator held was released.
class HookConfiguratorTest : public HostObjectsTest {
 protected:
  void SetUp() override;

  // The qualified texts of the calls of the given operations.
  std::vector<std::string> Calls(const std::vector<HostOperation>& operations) const {
    return tree->log->QualifiedTexts(operations);
  }

  // Destroyed in reverse: the configurator lets go of the nodes first.
  std::unique_ptr<HookTree> tree;
  std::unique_ptr<CHookConfigurator> config;
};

#endif  // VELMORA_TESTS_HOOKS_HOOK_TREE_H
