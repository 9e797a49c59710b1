// The launch pass: starts the applications the user marked for launching.
#ifndef VELMORA_LAUNCH_LAUNCH_PASS_H
#define VELMORA_LAUNCH_LAUNCH_PASS_H

#include <windows.h>

#include <velmora.h>

namespace launch_pass {

[[nodiscard]] HRESULT Run(IDataObj* pDataObj, IObjectRack* pRack);

}  // namespace launch_pass

#endif  // VELMORA_LAUNCH_LAUNCH_PASS_H
