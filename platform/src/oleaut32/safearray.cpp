// SAFEARRAY lifetime: descriptors, data, creation, destruction, copy and Redim.
//
// Bounds are stored in the reverse of the order callers name dimensions:
// SafeArrayCreate takes the leftmost dimension first and it ends up in
// rgsabound[cDims - 1]; rgsabound[0] is the rightmost dimension, which
// varies slowest in memory and is the one SafeArrayRedim changes.
#include <oleauto.h>

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "oleaut32/safearray_cells.h"

using velmora_platform::ClearCells;
using velmora_platform::CopyCells;
using velmora_platform::CountCells;
using velmora_platform::ElementSizeOf;
using velmora_platform::HiddenArea;
using velmora_platform::HiddenVartype;
using velmora_platform::kHiddenBytes;

namespace {

// Data that the array does not own: it lives on the stack, in static
// storage or inside another structure, and is never freed or resized here.
constexpr USHORT kForeignData = FADF_AUTO | FADF_STATIC | FADF_EMBEDDED;
// Set on arrays made by SafeArrayCreateVector, as Windows sets it, and
// cleared from copies so that a copy is an ordinary array.
constexpr USHORT kCreateVector = 0x2000;
constexpr USHORT kMaxDims = 0xFFFF;

size_t DescriptorBytes(UINT cDims) { return offsetof(SAFEARRAY, rgsabound) + cDims * sizeof(SAFEARRAYBOUND); }

// The feature flags and the hidden slot that say what the elements are.
// Interface arrays record their IID rather than their VARTYPE, as Windows
// does; SafeArrayGetVartype then reads FADF_UNKNOWN or FADF_DISPATCH.
void SetElementType(SAFEARRAY* psa, VARTYPE vt) {
  psa->cbElements = ElementSizeOf(vt);
  switch (vt) {
    case VT_UNKNOWN:
      psa->fFeatures = FADF_HAVEIID | FADF_UNKNOWN;
      memcpy(HiddenArea(psa), &IID_IUnknown, sizeof(IID));
      return;
    case VT_DISPATCH:
      psa->fFeatures = FADF_HAVEIID | FADF_DISPATCH;
      memcpy(HiddenArea(psa), &IID_IDispatch, sizeof(IID));
      return;
    case VT_BSTR:
      psa->fFeatures = FADF_HAVEVARTYPE | FADF_BSTR;
      break;
    case VT_VARIANT:
      psa->fFeatures = FADF_HAVEVARTYPE | FADF_VARIANT;
      break;
    default:
      psa->fFeatures = FADF_HAVEVARTYPE;
      break;
  }
  *HiddenVartype(psa) = vt;
}

bool DataBytes(const SAFEARRAY* psa, size_t* bytes) {
  size_t cells = 0;
  if (!CountCells(psa, &cells)) return false;
  if (psa->cbElements != 0 && cells > SIZE_MAX / psa->cbElements) return false;
  *bytes = cells * psa->cbElements;
  return true;
}

}  // namespace

HRESULT SafeArrayAllocDescriptor(UINT cDims, SAFEARRAY** ppsaOut) {
  if (!ppsaOut) return E_INVALIDARG;
  *ppsaOut = nullptr;
  if (cDims == 0 || cDims > kMaxDims) return E_INVALIDARG;
  BYTE* block = static_cast<BYTE*>(calloc(1, kHiddenBytes + DescriptorBytes(cDims)));
  if (!block) return E_OUTOFMEMORY;
  SAFEARRAY* psa = reinterpret_cast<SAFEARRAY*>(block + kHiddenBytes);
  psa->cDims = static_cast<USHORT>(cDims);
  *ppsaOut = psa;
  return S_OK;
}

HRESULT SafeArrayAllocDescriptorEx(VARTYPE vt, UINT cDims, SAFEARRAY** ppsaOut) {
  // Any VARTYPE is recorded; one no array can hold gets cbElements 0, and
  // SafeArrayCreate is where such a type is refused.
  const HRESULT hr = SafeArrayAllocDescriptor(cDims, ppsaOut);
  if (FAILED(hr)) return hr;
  SetElementType(*ppsaOut, vt);
  return S_OK;
}

HRESULT SafeArrayAllocData(SAFEARRAY* psa) {
  if (!psa) return E_INVALIDARG;
  size_t bytes = 0;
  if (!DataBytes(psa, &bytes)) return E_OUTOFMEMORY;
  // An empty array still gets a block, so that pvData says "allocated".
  void* data = calloc(1, bytes ? bytes : 1);
  if (!data) return E_OUTOFMEMORY;
  psa->pvData = data;
  return S_OK;
}

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT cDims, SAFEARRAYBOUND* rgsabound) {
  if (!rgsabound || ElementSizeOf(vt) == 0) return nullptr;
  SAFEARRAY* psa = nullptr;
  if (FAILED(SafeArrayAllocDescriptorEx(vt, cDims, &psa))) return nullptr;
  for (UINT i = 0; i < cDims; ++i) psa->rgsabound[cDims - 1 - i] = rgsabound[i];
  if (FAILED(SafeArrayAllocData(psa))) {
    SafeArrayDestroyDescriptor(psa);
    return nullptr;
  }
  return psa;
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements) {
  SAFEARRAYBOUND bound = {cElements, lLbound};
  SAFEARRAY* psa = SafeArrayCreate(vt, 1, &bound);
  if (psa) psa->fFeatures |= kCreateVector;
  return psa;
}

HRESULT SafeArrayDestroyData(SAFEARRAY* psa) {
  if (!psa) return E_INVALIDARG;
  if (psa->cLocks > 0) return DISP_E_ARRAYISLOCKED;
  if (!psa->pvData) return S_OK;
  size_t cells = 0;
  if (CountCells(psa, &cells)) ClearCells(psa, 0, cells);
  if (!(psa->fFeatures & kForeignData)) {
    free(psa->pvData);
    psa->pvData = nullptr;
  }
  return S_OK;
}

HRESULT SafeArrayDestroyDescriptor(SAFEARRAY* psa) {
  if (!psa) return E_INVALIDARG;
  if (psa->cLocks > 0) return DISP_E_ARRAYISLOCKED;
  free(HiddenArea(psa));
  return S_OK;
}

HRESULT SafeArrayDestroy(SAFEARRAY* psa) {
  if (!psa) return S_OK;
  if (psa->cLocks > 0) return DISP_E_ARRAYISLOCKED;
  const HRESULT hr = SafeArrayDestroyData(psa);
  if (FAILED(hr)) return hr;
  return SafeArrayDestroyDescriptor(psa);
}

HRESULT SafeArrayCopy(SAFEARRAY* psa, SAFEARRAY** ppsaOut) {
  if (!ppsaOut) return E_INVALIDARG;
  *ppsaOut = nullptr;
  if (!psa) return S_OK;
  SAFEARRAY* copy = nullptr;
  HRESULT hr = SafeArrayAllocDescriptor(psa->cDims, &copy);
  if (FAILED(hr)) return hr;
  memcpy(HiddenArea(copy), HiddenArea(psa), kHiddenBytes);
  // The copy's data is on the heap and its own, whatever the source's was,
  // and its size is the copy's owner's to change: a fixed size is a
  // property of where the source lives (a structure's member, a static
  // table), not of its contents.
  copy->fFeatures = psa->fFeatures & ~(kForeignData | kCreateVector | FADF_FIXEDSIZE);
  copy->cbElements = psa->cbElements;
  memcpy(copy->rgsabound, psa->rgsabound, psa->cDims * sizeof(SAFEARRAYBOUND));
  if (psa->pvData) {
    size_t cells = 0;
    hr = CountCells(psa, &cells) ? SafeArrayAllocData(copy) : E_OUTOFMEMORY;
    if (SUCCEEDED(hr)) hr = CopyCells(psa, copy, cells);
    if (FAILED(hr)) {
      SafeArrayDestroy(copy);
      return hr;
    }
  }
  *ppsaOut = copy;
  return S_OK;
}

HRESULT SafeArrayRedim(SAFEARRAY* psa, SAFEARRAYBOUND* psaboundNew) {
  if (!psa || !psaboundNew) return E_INVALIDARG;
  if (psa->cLocks > 0 || psa->fFeatures & (FADF_FIXEDSIZE | kForeignData)) return DISP_E_ARRAYISLOCKED;

  // Cells per index of the redimensioned (slowest-varying) dimension.
  size_t slab = 1;
  for (USHORT i = 1; i < psa->cDims; ++i) {
    const size_t extent = psa->rgsabound[i].cElements;
    if (extent != 0 && slab > SIZE_MAX / extent) return E_OUTOFMEMORY;
    slab *= extent;
  }
  const size_t old_cells = slab * psa->rgsabound[0].cElements;
  const size_t new_count = psaboundNew->cElements;
  if (new_count != 0 && slab > SIZE_MAX / new_count) return E_OUTOFMEMORY;
  const size_t new_cells = slab * new_count;
  if (psa->cbElements != 0 && new_cells > SIZE_MAX / psa->cbElements) return E_OUTOFMEMORY;

  if (!psa->pvData) {
    psa->rgsabound[0] = *psaboundNew;
    const HRESULT hr = SafeArrayAllocData(psa);
    if (FAILED(hr)) psa->rgsabound[0].cElements = 0;
    return hr;
  }
  if (new_cells < old_cells) ClearCells(psa, new_cells, old_cells - new_cells);
  const size_t new_bytes = new_cells * psa->cbElements;
  void* data = realloc(psa->pvData, new_bytes ? new_bytes : 1);
  if (!data) {
    // Only a growing array can get here: nothing has been cleared.
    if (new_cells < old_cells) psa->rgsabound[0] = *psaboundNew;
    return new_cells < old_cells ? S_OK : E_OUTOFMEMORY;
  }
  if (new_cells > old_cells) {
    memset(static_cast<BYTE*>(data) + old_cells * psa->cbElements, 0, (new_cells - old_cells) * psa->cbElements);
  }
  psa->pvData = data;
  psa->rgsabound[0] = *psaboundNew;
  return S_OK;
}
