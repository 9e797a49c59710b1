// The applications of the business components started during a
// business-process run, gathered in one array (the add-in object's
// accumulator) so that every rebuilt hook scope covers them.
#ifndef VELMORA_EVENTS_BC_APPS_H
#define VELMORA_EVENTS_BC_APPS_H

#include <windows.h>

#include <velmora.h>

#include "settings/kex_safe_array.h"

namespace bc_apps {

// Appends the application files that pDataObj names to saBCApps.
[[nodiscard]] HRESULT Accumulate(CKexSafeArray& saBCApps, IDataObj* pDataObj);
// Empties the accumulator.
void Clear(CKexSafeArray& saBCApps);

}  // namespace bc_apps

#endif  // VELMORA_EVENTS_BC_APPS_H
