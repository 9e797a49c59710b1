// The launch pass: when recording, a run or an iteration starts, launches
// the applications the user marked for launching, except those still running
// from an earlier pass. The table of launched processes carries over from
// pass to pass; a pass swaps in a new one.
#ifndef VELMORA_LAUNCH_LAUNCH_PASS_H
#define VELMORA_LAUNCH_LAUNCH_PASS_H

#include <windows.h>

#include <velmora.h>

#include <memory>

#include "launch/launched_app_table.h"

namespace launch_pass {

// E_INVALIDARG without a data object; S_OK with nothing done unless
// "RUN_OPT" is VT_I4 2 and "SPECAPP_DSC_OPT" a non-zero VT_I4; E_FAIL when
// the list does not load (the table untouched); else the HRESULT of the last
// launch, or of the "SPECAPP_DSC_OPT" read when nothing was launched.
[[nodiscard]] HRESULT Run(IDataObj* pDataObj, IObjectRack* pRack, std::unique_ptr<LaunchedAppTable>& table);

}  // namespace launch_pass

#endif  // VELMORA_LAUNCH_LAUNCH_PASS_H
