// The host an add-in object meets in these tests: the option tree behind a
// rack, the AddIn Manager, the run-mode provider's class, the test settings
// with their launcher collection, the launcher component's class and its
// ProgID, and the data object of the events. One log sees every call, in
// order. Each piece can be left out or made to fail before the test drives
// the add-in object; when the test ends every host object is gone again.
#ifndef VELMORA_TESTS_EVENTS_SCOPE_HOST_H
#define VELMORA_TESTS_EVENTS_SCOPE_HOST_H

#include <gtest/gtest.h>

#include <atlbase.h>
#include <atlcom.h>

#include <memory>
#include <string>
#include <vector>

#include "addin/velmora_obj.h"
#include "host/addin_manager.h"
#include "host/app_rows.h"
#include "host/call_log.h"
#include "host/data_obj.h"
#include "host/object_rack.h"
#include "host/options_node.h"
#include "host/run_mode_provider.h"
#include "host/test_settings.h"
#include "host/variants.h"
#include "tests/host/live_objects.h"
#include "tests/platform/support/test_registrations.h"

// The process name the add-in derives for a file path, as UTF-8.
std::string ProcessNameOf(const OLECHAR* path);
// The process name of this test program, as the add-in finds it.
const std::string& HostProcessName();

// Scenario tables arrange the host through the fixture's members, so they
// are public.
class ScopeHostTest : public HostObjectsTest {
 public:
  ScopeHostTest();
  void SetUp() override;
  void TearDown() override;

  // The settings of a whole update: RUN_OPT and the three options (a
  // negative option: the item is left out), and the application list.
  void SetRunOptions(LONG runOpt, LONG ownChildren = 1, LONG explorer = 0, LONG listed = 1);
  void SetRows(const std::vector<HostAppRow>& rows);

  // Registers the launcher's class and maps its ProgID to it.
  void RegisterLauncherClass();

  // Drives the add-in object.
  HRESULT Update(IDataObj* data);
  HRESULT Update() { return Update(data); }

  // Process names as the tests write them: this program is "<host>", and
  // the shell's names of the browser and Explorer are the plain ones.
  static std::string Label(const std::string& processName);

  // What the update did to the option tree, in order, from the host's
  // calls on the Hooks node: "reset x" (an entry written back to -1),
  // "add x hook H children C", "all on" / "all off", "commit".
  std::vector<std::string> ScopeCalls() const;
  // The option tree's entries now: "name hook H children C enabled E childprocs P"
  // per process entry, "all GetMessageHook V WndProcHook W" and
  // "DEFAULT Enabled V" when present.
  std::vector<std::string> Tree() const;
  // The names of the processes now hooked (bbHook 1), in tree order.
  std::vector<std::string> Hooked() const;

  std::shared_ptr<CHostCallLog> log = CHostCallLog::Create();
  CComPtr<CHostOptionsNode> root;
  CComPtr<CHostOptionsNode> hooks;
  CComPtr<CHostOptionsNode> always;
  CComPtr<CHostObjectRack> rack;
  CComPtr<CHostAddInManager> manager;
  CComPtr<CHostTestSettings> settings;
  CComPtr<CHostLaunchers> launchers;
  CComPtr<CHostDataObj> data;
  std::unique_ptr<CHostRunModeClass> runMode;
  std::unique_ptr<CHostLauncherClass> launcherClass;
  std::unique_ptr<velmora_test::TestProgId> launcherProgId;
  // Released first, while every host object still stands.
  CComPtr<CComObject<CVelmoraObj>> addin;
  CComPtr<IStartupClient3> startup;
  CComPtr<IBCStartupClnt> bc;
};

#endif  // VELMORA_TESTS_EVENTS_SCOPE_HOST_H
