// VARIANT lifetime: initialisation, release of what a VARIANT owns, and deep copy.
// A VARIANT owns its BSTR, one reference on its interface pointer and its
// SAFEARRAY; with VT_BYREF it owns nothing.
#include <oleauto.h>

#include "oleaut32/variant_types.h"

using velmora_platform::IsValidVariantType;

void VariantInit(VARIANTARG* pvarg) {
  if (pvarg) pvarg->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANTARG* pvarg) {
  if (!pvarg) return E_INVALIDARG;
  const VARTYPE vt = pvarg->vt;
  if (!IsValidVariantType(vt)) return DISP_E_BADVARTYPE;
  if (vt & VT_ARRAY && !(vt & VT_BYREF)) {
    // A locked array stays where it is, and so does the VARIANT holding it.
    const HRESULT hr = SafeArrayDestroy(pvarg->parray);
    if (FAILED(hr)) return hr;
  } else if (vt == VT_BSTR) {
    SysFreeString(pvarg->bstrVal);
  } else if (vt == VT_DISPATCH || vt == VT_UNKNOWN) {
    if (pvarg->punkVal) pvarg->punkVal->Release();
  }
  pvarg->vt = VT_EMPTY;
  return S_OK;
}

HRESULT VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc) {
  if (!pvargDest || !pvargSrc) return E_INVALIDARG;
  if (!IsValidVariantType(pvargSrc->vt)) return DISP_E_BADVARTYPE;
  if (pvargDest == pvargSrc) return S_OK;
  HRESULT hr = VariantClear(pvargDest);
  if (FAILED(hr)) return hr;

  const VARTYPE vt = pvargSrc->vt;
  VARIANT copy = *pvargSrc;  // scalars and references are complete after this
  if (vt & VT_BYREF) {
    *pvargDest = copy;
    return S_OK;
  }
  if (vt & VT_ARRAY) {
    hr = SafeArrayCopy(pvargSrc->parray, &copy.parray);
    if (FAILED(hr)) return hr;
  } else if (vt == VT_BSTR && pvargSrc->bstrVal) {
    // By byte length, so that odd-length and binary BSTRs survive the copy.
    copy.bstrVal = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(pvargSrc->bstrVal),
                                         SysStringByteLen(pvargSrc->bstrVal));
    if (!copy.bstrVal) return E_OUTOFMEMORY;
  } else if ((vt == VT_DISPATCH || vt == VT_UNKNOWN) && pvargSrc->punkVal) {
    pvargSrc->punkVal->AddRef();
  }
  *pvargDest = copy;
  return S_OK;
}
