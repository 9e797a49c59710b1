// Reading and writing single SAFEARRAY cells, with the element's ownership
// rules: a read hands out a copy (a new BSTR, an extra reference, a copied
// VARIANT), a write stores a copy and releases what the cell held.
//
// rgIndices names the leftmost dimension first, so rgIndices[i] goes with
// rgsabound[cDims - 1 - i], and the leftmost index varies fastest in memory.
#include <oleauto.h>

#include <stdint.h>
#include <string.h>

namespace {

// The cell that rgIndices names, or null when an index is out of range.
BYTE* Cell(SAFEARRAY* psa, const LONG* rgIndices) {
  size_t cell = 0;
  size_t stride = 1;
  for (USHORT i = 0; i < psa->cDims; ++i) {
    const SAFEARRAYBOUND& bound = psa->rgsabound[psa->cDims - 1 - i];
    const int64_t offset = static_cast<int64_t>(rgIndices[i]) - bound.lLbound;
    if (offset < 0 || offset >= static_cast<int64_t>(bound.cElements)) return nullptr;
    cell += static_cast<size_t>(offset) * stride;
    stride *= bound.cElements;
  }
  return static_cast<BYTE*>(psa->pvData) + cell * psa->cbElements;
}

HRESULT ReadCell(const SAFEARRAY* psa, const BYTE* cell, void* pv) {
  if (psa->fFeatures & FADF_BSTR) {
    BSTR source = *reinterpret_cast<const BSTR*>(cell);
    BSTR copy = nullptr;
    if (source) {
      copy = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(source), SysStringByteLen(source));
      if (!copy) return E_OUTOFMEMORY;
    }
    *static_cast<BSTR*>(pv) = copy;
    return S_OK;
  }
  if (psa->fFeatures & FADF_VARIANT) {
    VARIANT* target = static_cast<VARIANT*>(pv);
    VariantInit(target);
    return VariantCopy(target, reinterpret_cast<const VARIANT*>(cell));
  }
  if (psa->fFeatures & (FADF_UNKNOWN | FADF_DISPATCH)) {
    IUnknown* source = *reinterpret_cast<IUnknown* const*>(cell);
    if (source) source->AddRef();
    *static_cast<IUnknown**>(pv) = source;
    return S_OK;
  }
  memcpy(pv, cell, psa->cbElements);
  return S_OK;
}

HRESULT WriteCell(const SAFEARRAY* psa, BYTE* cell, void* pv) {
  if (psa->fFeatures & FADF_BSTR) {
    // A null BSTR is stored as an allocated empty one, as the platform does.
    BSTR source = static_cast<BSTR>(pv);
    BSTR copy = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(source), SysStringByteLen(source));
    if (!copy) return E_OUTOFMEMORY;
    BSTR* slot = reinterpret_cast<BSTR*>(cell);
    SysFreeString(*slot);
    *slot = copy;
    return S_OK;
  }
  if (psa->fFeatures & (FADF_UNKNOWN | FADF_DISPATCH)) {
    IUnknown* source = static_cast<IUnknown*>(pv);
    if (source) source->AddRef();
    IUnknown** slot = reinterpret_cast<IUnknown**>(cell);
    if (*slot) (*slot)->Release();
    *slot = source;
    return S_OK;
  }
  if (!pv) return E_INVALIDARG;
  if (psa->fFeatures & FADF_VARIANT) return VariantCopy(reinterpret_cast<VARIANT*>(cell), static_cast<VARIANT*>(pv));
  memcpy(cell, pv, psa->cbElements);
  return S_OK;
}

}  // namespace

HRESULT SafeArrayGetElement(SAFEARRAY* psa, LONG* rgIndices, void* pv) {
  if (!psa || !rgIndices || !pv) return E_INVALIDARG;
  if (!psa->pvData) return E_INVALIDARG;
  BYTE* cell = Cell(psa, rgIndices);
  if (!cell) return DISP_E_BADINDEX;
  HRESULT hr = SafeArrayLock(psa);
  if (FAILED(hr)) return hr;
  hr = ReadCell(psa, cell, pv);
  SafeArrayUnlock(psa);
  return hr;
}

HRESULT SafeArrayPutElement(SAFEARRAY* psa, LONG* rgIndices, void* pv) {
  if (!psa || !rgIndices) return E_INVALIDARG;
  if (!psa->pvData) return E_INVALIDARG;
  BYTE* cell = Cell(psa, rgIndices);
  if (!cell) return DISP_E_BADINDEX;
  HRESULT hr = SafeArrayLock(psa);
  if (FAILED(hr)) return hr;
  hr = WriteCell(psa, cell, pv);
  SafeArrayUnlock(psa);
  return hr;
}
