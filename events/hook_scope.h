// Rebuilding the hook scope from the record-and-run settings: what
// UpdateDataObject does, and what the registration at load does once.
#ifndef VELMORA_EVENTS_HOOK_SCOPE_H
#define VELMORA_EVENTS_HOOK_SCOPE_H

#include <windows.h>

#include <velmora.h>

#include "hooks/hook_configurator.h"
#include "settings/kex_safe_array.h"

namespace hook_scope {

// Rewrites the whole scope through hookConfig from pDataObj's settings and
// the host objects in pRack. psaBCApps is the business-component
// accumulator during a business-process run, null otherwise.
[[nodiscard]] HRESULT Update(IDataObj* pDataObj, IObjectRack* pRack, CHookConfigurator& hookConfig,
                             const CKexSafeArray* psaBCApps);

}  // namespace hook_scope

#endif  // VELMORA_EVENTS_HOOK_SCOPE_H
