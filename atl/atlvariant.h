// CComVariant: a VARIANT that clears itself. It is a VARIANT, so &v passes
// it to any VARIANT* parameter.
#ifndef VELMORA_ATL_ATLVARIANT_H
#define VELMORA_ATL_ATLVARIANT_H

#include <windows.h>
#include <oleauto.h>

#include "atlexcept.h"

namespace ATL {

class CComVariant : public VARIANT {
 public:
  CComVariant() { ::VariantInit(this); }
  CComVariant(const VARIANT& other) {  // NOLINT: implicit, as ATL's
    ::VariantInit(this);
    InternalCopy(&other);
  }
  CComVariant(const CComVariant& other) : CComVariant(static_cast<const VARIANT&>(other)) {}
  CComVariant(LPCOLESTR text) {  // NOLINT
    ::VariantInit(this);
    vt = VT_BSTR;
    bstrVal = ::SysAllocString(text);
    if (!bstrVal && text) SetOutOfMemory();
  }
  // One integer constructor only: LONG is int here and long on Windows, and
  // a second one would make CComVariant(0) ambiguous on one of the builds.
  CComVariant(int value) {  // NOLINT
    ::VariantInit(this);
    vt = VT_I4;
    lVal = value;
  }
  CComVariant(IDispatch* value) {  // NOLINT
    ::VariantInit(this);
    vt = VT_DISPATCH;
    pdispVal = value;
    if (value) value->AddRef();
  }
  ~CComVariant() { Clear(); }

  CComVariant& operator=(const VARIANT& other) {
    if (&other != this) InternalCopy(&other);
    return *this;
  }
  CComVariant& operator=(const CComVariant& other) { return *this = static_cast<const VARIANT&>(other); }

  HRESULT Clear() { return ::VariantClear(this); }
  HRESULT Copy(const VARIANT* source) { return InternalCopy(source); }
  // Takes over the content of source, which is left VT_EMPTY. Attaching
  // itself keeps the content.
  HRESULT Attach(VARIANT* source) {
    if (!source) return E_INVALIDARG;
    if (source == this) return S_OK;
    const HRESULT hr = Clear();
    if (FAILED(hr)) return hr;
    *static_cast<VARIANT*>(this) = *source;
    source->vt = VT_EMPTY;
    return S_OK;
  }
  // Hands the content over to dest (cleared first); this is left VT_EMPTY.
  // Detaching into itself keeps the content.
  HRESULT Detach(VARIANT* dest) {
    if (!dest) return E_POINTER;
    if (dest == this) return S_OK;
    const HRESULT hr = ::VariantClear(dest);
    if (FAILED(hr)) return hr;
    *dest = *static_cast<VARIANT*>(this);
    vt = VT_EMPTY;
    return S_OK;
  }
  // The Windows headers declare the source parameters of VariantCopy and
  // VariantChangeType without const; neither function changes its source.
  HRESULT ChangeType(VARTYPE type, const VARIANT* source = nullptr) {
    VARIANT* from = source ? const_cast<VARIANT*>(source) : this;
    return ::VariantChangeType(this, from, 0, type);
  }

 private:
  HRESULT InternalCopy(const VARIANT* source) {
    const HRESULT hr = ::VariantCopy(this, const_cast<VARIANT*>(source));
    if (FAILED(hr)) {
      // VariantCopy may fail before it clears the destination.
      ::VariantClear(this);
      vt = VT_ERROR;
      scode = hr;
    }
    return hr;
  }
  void SetOutOfMemory() {
    vt = VT_ERROR;
    scode = E_OUTOFMEMORY;
  }
};

}  // namespace ATL

#endif  // VELMORA_ATL_ATLVARIANT_H
