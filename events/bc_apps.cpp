// The applications of the business components started during a
// business-process run.
#include "events/bc_apps.h"

namespace bc_apps {

HRESULT Accumulate(CKexSafeArray&, IDataObj* pDataObj) {
  if (!pDataObj) return E_INVALIDARG;
  return S_OK;
}

void Clear(CKexSafeArray& saBCApps) {
  // Destroy gives up every lock first, so a locked array cannot survive.
  saBCApps.Destroy();
}

}  // namespace bc_apps
