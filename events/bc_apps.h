// The applications of the business components started during a
// business-process run, gathered in the add-in object's accumulator so that
// every rebuilt hook scope covers them. The accumulator is a 2-D VARIANT
// array of N rows and 2 columns: the application file (a non-empty BSTR) and
// its descendants flag as the data object gave it (VT_EMPTY when it could
// not be read). Rows keep the order they were appended in; duplicates stay.
#ifndef VELMORA_EVENTS_BC_APPS_H
#define VELMORA_EVENTS_BC_APPS_H

#include <windows.h>

#include <velmora.h>

#include "hooks/hook_configurator.h"
#include "settings/kex_safe_array.h"

namespace bc_apps {

// Appends the files of pDataObj's "FILES_LIST" with the flags of the same
// rows of its "DESC_LIST". E_INVALIDARG without a data object; E_FAIL when
// either list is missing or not a table of VARIANTs (accumulator unchanged);
// a failed resize's HRESULT (unchanged); E_OUTOFMEMORY when a new array
// cannot be made (the accumulator is then empty); S_FALSE, with no array,
// when nothing at all was gathered; else S_OK.
[[nodiscard]] HRESULT Accumulate(CKexSafeArray& saBCApps, IDataObj* pDataObj);

// Adds every accumulated file to the hook scope, hooked, with its flag as
// the child flag (a flag that is no number counts as set, a missing one as
// clear). Returns the last AddProcess's HRESULT, S_OK when none was called,
// E_INVALIDARG without a data object (which is not used otherwise). The
// accumulator is only read (each cell access locks it for the call).
[[nodiscard]] HRESULT AddToHookScope(CKexSafeArray& saBCApps, IDataObj* pDataObj, IObjectRack* pRack,
                                     CHookConfigurator& hookConfig);

// Empties the accumulator.
void Clear(CKexSafeArray& saBCApps);

}  // namespace bc_apps

#endif  // VELMORA_EVENTS_BC_APPS_H
