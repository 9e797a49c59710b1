// Registering the host's launcher for Windows applications when loading
// completes: when the host's test options allow automation, the launcher
// component is created by its ProgID, handed the rack and added to the
// host's launchers as "Windows Applications"; then the hook scope is brought
// up to date once.
#ifndef VELMORA_EVENTS_LAUNCHER_REGISTRATION_H
#define VELMORA_EVENTS_LAUNCHER_REGISTRATION_H

#include <windows.h>

#include <velmora.h>

#include <functional>

namespace launcher_registration {

// E_FAIL without a rack or without "TestOptions"; S_OK, with nothing done,
// unless "SupportAutomation" is a non-zero VT_I4; the failing HRESULT (or
// E_FAIL for a success without an object) of the test settings, their
// launchers, or the launcher's creation; else AddLauncher's HRESULT, after
// updateHookScope ran (its result is dropped).
[[nodiscard]] HRESULT Register(IDataObj* pDataObj, IObjectRack* pRack,
                               const std::function<HRESULT(IDataObj*)>& updateHookScope);

}  // namespace launcher_registration

#endif  // VELMORA_EVENTS_LAUNCHER_REGISTRATION_H
