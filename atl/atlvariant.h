// CComVariant: a VARIANT that clears itself.
//
// Out-parameters go through Receive(), as for every owner here: it clears
// what was held and hands out the empty VARIANT. operator& is deleted, so a
// VARIANT* can no longer be taken without saying which way it goes: in-
// parameters take AsInput(). (A reader that fills a VARIANT without clearing
// it first, as SafeArrayGetElement does, would otherwise leak what it held.)
#ifndef VELMORA_ATL_ATLVARIANT_H
#define VELMORA_ATL_ATLVARIANT_H

#include <windows.h>
#include <oleauto.h>

#include "atlexcept.h"

namespace ATL {

class CComVariant : public VARIANT {
 public:
  CComVariant() { ::VariantInit(AsInput()); }
  CComVariant(const VARIANT& other) {  // NOLINT: implicit, as ATL's
    ::VariantInit(AsInput());
    InternalCopy(&other);
  }
  CComVariant(const CComVariant& other) : CComVariant(static_cast<const VARIANT&>(other)) {}
  CComVariant(LPCOLESTR text) {  // NOLINT
    ::VariantInit(AsInput());
    vt = VT_BSTR;
    bstrVal = ::SysAllocString(text);
    if (!bstrVal && text) SetOutOfMemory();
  }
  // One integer constructor only: LONG is int here and long on Windows, and
  // a second one would make CComVariant(0) ambiguous on one of the builds.
  CComVariant(int value) {  // NOLINT
    ::VariantInit(AsInput());
    vt = VT_I4;
    lVal = value;
  }
  CComVariant(IDispatch* value) {  // NOLINT
    ::VariantInit(AsInput());
    vt = VT_DISPATCH;
    pdispVal = value;
    if (value) value->AddRef();
  }
  ~CComVariant() { (void)Clear(); }  // nothing to do about a failure here

  CComVariant& operator=(const VARIANT& other) {
    if (&other != AsInput()) InternalCopy(&other);
    return *this;
  }
  CComVariant& operator=(const CComVariant& other) { return *this = static_cast<const VARIANT&>(other); }

  CComVariant* operator&() = delete;
  const CComVariant* operator&() const = delete;

  // For an out-parameter: clears what is held and returns the empty VARIANT.
  VARIANT* Receive() {
    (void)::VariantClear(AsInput());  // a VARIANT we own always clears
    ::VariantInit(AsInput());
    return AsInput();
  }
  // For an in-parameter; the Windows headers declare many of them without
  // const, though the callee only reads.
  VARIANT* AsInput() const { return const_cast<CComVariant*>(this); }

  HRESULT Clear() { return ::VariantClear(AsInput()); }
  HRESULT Copy(const VARIANT* source) { return InternalCopy(source); }
  // Takes over the content of source, which is left VT_EMPTY. Attaching
  // itself keeps the content.
  HRESULT Attach(VARIANT* source) {
    if (!source) return E_INVALIDARG;
    if (source == AsInput()) return S_OK;
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
    if (dest == AsInput()) return S_OK;
    const HRESULT hr = ::VariantClear(dest);
    if (FAILED(hr)) return hr;
    *dest = *static_cast<VARIANT*>(this);
    vt = VT_EMPTY;
    return S_OK;
  }
  // The Windows headers declare the source parameters of VariantCopy and
  // VariantChangeType without const; neither function changes its source.
  HRESULT ChangeType(VARTYPE type, const VARIANT* source = nullptr) {
    VARIANT* from = source ? const_cast<VARIANT*>(source) : AsInput();
    return ::VariantChangeType(AsInput(), from, 0, type);
  }

 private:
  HRESULT InternalCopy(const VARIANT* source) {
    const HRESULT hr = ::VariantCopy(AsInput(), const_cast<VARIANT*>(source));
    if (FAILED(hr)) {
      // VariantCopy may fail before it clears the destination.
      ::VariantClear(AsInput());
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
