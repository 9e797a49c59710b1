// SAFEARRAY locking and the questions callers ask of a descriptor.
// Dimension numbers count from 1 at the leftmost dimension, which is stored
// last in rgsabound.
#include <oleauto.h>

#include "oleaut32/safearray_cells.h"

using velmora_platform::HiddenVartype;

namespace {

const SAFEARRAYBOUND* Dimension(const SAFEARRAY* psa, UINT nDim) {
  if (nDim == 0 || nDim > psa->cDims) return nullptr;
  return &psa->rgsabound[psa->cDims - nDim];
}

}  // namespace

HRESULT SafeArrayLock(SAFEARRAY* psa) {
  if (!psa) return E_INVALIDARG;
  if (psa->cLocks == 0xFFFFFFFFu) return E_UNEXPECTED;
  ++psa->cLocks;
  return S_OK;
}

HRESULT SafeArrayUnlock(SAFEARRAY* psa) {
  if (!psa) return E_INVALIDARG;
  if (psa->cLocks == 0) return E_UNEXPECTED;
  --psa->cLocks;
  return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* psa, void** ppvData) {
  if (!psa || !ppvData) return E_INVALIDARG;
  const HRESULT hr = SafeArrayLock(psa);
  if (FAILED(hr)) {
    *ppvData = nullptr;
    return hr;
  }
  *ppvData = psa->pvData;
  return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* psa) { return SafeArrayUnlock(psa); }

HRESULT SafeArrayGetLBound(SAFEARRAY* psa, UINT nDim, LONG* plLbound) {
  if (!psa || !plLbound) return E_INVALIDARG;
  const SAFEARRAYBOUND* bound = Dimension(psa, nDim);
  if (!bound) return DISP_E_BADINDEX;
  *plLbound = bound->lLbound;
  return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* psa, UINT nDim, LONG* plUbound) {
  if (!psa || !plUbound) return E_INVALIDARG;
  const SAFEARRAYBOUND* bound = Dimension(psa, nDim);
  if (!bound) return DISP_E_BADINDEX;
  // An empty dimension has its upper bound one below its lower bound.
  *plUbound = static_cast<LONG>(static_cast<ULONG>(bound->lLbound) + bound->cElements - 1u);
  return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* psa) { return psa ? psa->cDims : 0; }

UINT SafeArrayGetElemsize(SAFEARRAY* psa) { return psa ? psa->cbElements : 0; }

HRESULT SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* pvt) {
  if (!psa || !pvt) return E_INVALIDARG;
  if (psa->fFeatures & FADF_HAVEVARTYPE) {
    *pvt = static_cast<VARTYPE>(*HiddenVartype(psa));
  } else if (psa->fFeatures & FADF_RECORD) {
    *pvt = VT_RECORD;
  } else if (psa->fFeatures & FADF_DISPATCH) {
    *pvt = VT_DISPATCH;
  } else if (psa->fFeatures & FADF_UNKNOWN) {
    *pvt = VT_UNKNOWN;
  } else {
    // FADF_BSTR and FADF_VARIANT alone say nothing here: arrays of those
    // always carry FADF_HAVEVARTYPE.
    return E_INVALIDARG;
  }
  return S_OK;
}
