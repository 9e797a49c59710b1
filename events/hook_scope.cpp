// Rebuilding the hook scope from the record-and-run settings.
#include "addin/velmora_obj.h"

HRESULT CVelmoraObj::UpdateHookScope(IDataObj* pDataObj) {
  if (!pDataObj) return E_INVALIDARG;
  return S_OK;
}
