// Rebuilding the hook scope from the record-and-run settings: what
// UpdateDataObject does, and what the registration at load does once.
//
// Every update starts from a clean slate: the configurator first undoes what
// the previous update wrote, then the new scope is written in full, in this
// order: "iexplore.exe" for each "Web" or "Siebel" add-in the host lists;
// then either "all" (scope mode 1), or (scope mode 2) the host's own
// executable, "Explorer.exe", the user's applications, the accumulated
// business-component applications and "all" off; last the commit.
#ifndef VELMORA_EVENTS_HOOK_SCOPE_H
#define VELMORA_EVENTS_HOOK_SCOPE_H

#include <windows.h>

#include <velmora.h>

#include "hooks/hook_configurator.h"
#include "settings/kex_safe_array.h"

namespace hook_scope {

// Rewrites the whole scope through hookConfig from pDataObj's settings and
// the host objects in pRack (may be null). psaBCApps is the
// business-component accumulator during a business-process run, null
// otherwise. E_INVALIDARG without a data object; "RUN_OPT"'s read failure
// (nothing touched); GetAddIns's failure, or S_OK when it gave no array (the
// scope only reverted); E_FAIL when the application list cannot be loaded
// (no "all" switch, no commit); else S_OK, whatever the configurator said.
[[nodiscard]] HRESULT Update(IDataObj* pDataObj, IObjectRack* pRack, CHookConfigurator& hookConfig,
                             CKexSafeArray* psaBCApps);

}  // namespace hook_scope

#endif  // VELMORA_EVENTS_HOOK_SCOPE_H
