// Element sizes and the ownership of SAFEARRAY cells.
#include "oleaut32/safearray_cells.h"

#include <stdint.h>
#include <string.h>

namespace velmora_platform {

ULONG ElementSizeOf(VARTYPE vt) {
  switch (vt) {
    case VT_I1: case VT_UI1:
      return 1;
    case VT_I2: case VT_UI2: case VT_BOOL:
      return 2;
    case VT_I4: case VT_UI4: case VT_R4: case VT_INT: case VT_UINT: case VT_ERROR:
      return 4;
    case VT_R8: case VT_I8: case VT_UI8: case VT_CY: case VT_DATE:
      return 8;
    case VT_BSTR: case VT_UNKNOWN: case VT_DISPATCH: case VT_INT_PTR: case VT_UINT_PTR:
      return sizeof(void*);
    case VT_VARIANT:
      return sizeof(VARIANT);
    case VT_DECIMAL:
      return sizeof(DECIMAL);
    default:
      return 0;
  }
}

bool CountCells(const SAFEARRAY* psa, size_t* cells) {
  size_t total = 1;
  for (USHORT i = 0; i < psa->cDims; ++i) {
    const size_t extent = psa->rgsabound[i].cElements;
    if (extent != 0 && total > SIZE_MAX / extent) return false;
    total *= extent;
  }
  *cells = total;
  return true;
}

void ClearCells(SAFEARRAY* psa, size_t first, size_t count) {
  if (!psa->pvData || count == 0) return;
  BYTE* start = static_cast<BYTE*>(psa->pvData) + first * psa->cbElements;
  if (psa->fFeatures & FADF_BSTR) {
    BSTR* cells = reinterpret_cast<BSTR*>(start);
    for (size_t i = 0; i < count; ++i) SysFreeString(cells[i]);
  } else if (psa->fFeatures & (FADF_UNKNOWN | FADF_DISPATCH)) {
    IUnknown** cells = reinterpret_cast<IUnknown**>(start);
    for (size_t i = 0; i < count; ++i) {
      if (cells[i]) cells[i]->Release();
    }
  } else if (psa->fFeatures & FADF_VARIANT) {
    VARIANT* cells = reinterpret_cast<VARIANT*>(start);
    for (size_t i = 0; i < count; ++i) VariantClear(&cells[i]);
  }
  memset(start, 0, count * psa->cbElements);
}

HRESULT CopyCells(const SAFEARRAY* from, SAFEARRAY* to, size_t count) {
  if (!from->pvData || count == 0) return S_OK;
  if (from->fFeatures & FADF_BSTR) {
    const BSTR* source = static_cast<const BSTR*>(from->pvData);
    BSTR* target = static_cast<BSTR*>(to->pvData);
    for (size_t i = 0; i < count; ++i) {
      if (!source[i]) continue;
      target[i] = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(source[i]), SysStringByteLen(source[i]));
      if (!target[i]) return E_OUTOFMEMORY;
    }
    return S_OK;
  }
  if (from->fFeatures & FADF_VARIANT) {
    const VARIANT* source = static_cast<const VARIANT*>(from->pvData);
    VARIANT* target = static_cast<VARIANT*>(to->pvData);
    for (size_t i = 0; i < count; ++i) {
      const HRESULT hr = VariantCopy(&target[i], &source[i]);
      if (FAILED(hr)) return hr;
    }
    return S_OK;
  }
  memcpy(to->pvData, from->pvData, count * from->cbElements);
  if (from->fFeatures & (FADF_UNKNOWN | FADF_DISPATCH)) {
    IUnknown* const* cells = static_cast<IUnknown* const*>(to->pvData);
    for (size_t i = 0; i < count; ++i) {
      if (cells[i]) cells[i]->AddRef();
    }
  }
  return S_OK;
}

}  // namespace velmora_platform
