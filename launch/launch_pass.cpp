// The launch pass: starts the applications the user marked for launching.
#include "launch/launch_pass.h"

namespace launch_pass {

HRESULT Run(IDataObj* pDataObj, IObjectRack*) {
  if (!pDataObj) return E_INVALIDARG;
  return S_OK;
}

}  // namespace launch_pass
