// CComPtr: owns one reference to a COM interface.
//
// Out-parameters go through Receive(), the one convention of every owner in
// this stand-in (CComBSTR and CComVariant have the same): it gives up what
// was held, visibly at the call site, and hands out the empty slot. There is
// no operator&: &sp is the owner's own address and passes for no T**.
#ifndef VELMORA_ATL_ATLCOMPTR_H
#define VELMORA_ATL_ATLCOMPTR_H

#include <windows.h>
#include <objbase.h>

#include <memory>

#include "atliid.h"

namespace ATL {

template <class T>
class CComPtr {
 public:
  CComPtr() = default;
  CComPtr(T* p) : p(p) {  // NOLINT: implicit, as ATL's
    if (p) p->AddRef();
  }
  CComPtr(const CComPtr& other) : CComPtr(other.p) {}
  CComPtr(CComPtr&& other) noexcept : p(other.p) { other.p = nullptr; }
  ~CComPtr() { Release(); }

  CComPtr& operator=(T* other) {
    if (other != p) {
      if (other) other->AddRef();
      T* old = p;
      p = other;
      if (old) old->Release();
    }
    return *this;
  }
  CComPtr& operator=(const CComPtr& other) { return *this = other.p; }
  CComPtr& operator=(CComPtr&& other) noexcept {
    if (this != &other) {
      Release();
      p = other.p;
      other.p = nullptr;
    }
    return *this;
  }

  operator T*() const { return p; }
  T* operator->() const { return p; }
  // For an out-parameter: releases what is held and returns the empty slot.
  T** Receive() {
    Release();
    return &p;
  }
  bool operator!() const { return p == nullptr; }

  void Release() {
    T* old = p;
    p = nullptr;
    if (old) old->Release();
  }
  // Takes over a reference the caller owns. The reference held before is
  // released even when it is to the same object: the caller's reference is
  // the one kept.
  void Attach(T* other) {
    T* old = p;
    p = other;
    if (old) old->Release();
  }
  // Hands the reference to the caller.
  T* Detach() {
    T* old = p;
    p = nullptr;
    return old;
  }
  HRESULT CopyTo(T** out) const {
    if (!out) return E_POINTER;
    *out = p;
    if (p) p->AddRef();
    return S_OK;
  }
  // The interface asked for is the type of the out-parameter, so the IID
  // and the pointer can never disagree.
  template <class Q>
  [[nodiscard]] HRESULT QueryInterface(Q** out) const {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!p) return E_POINTER;
    return p->QueryInterface(IidOf<Q>(), reinterpret_cast<void**>(out));
  }

  T* p = nullptr;
};

// Asks source for interface Q into out (released first), the IID taken from
// Q: the typed QueryInterface for a raw pointer. E_POINTER without a source.
template <class Q>
[[nodiscard]] HRESULT QueryTo(IUnknown* source, CComPtr<Q>& out) {
  Q** slot = out.Receive();
  if (!source) return E_POINTER;
  return source->QueryInterface(IidOf<Q>(), reinterpret_cast<void**>(slot));
}

}  // namespace ATL

#endif  // VELMORA_ATL_ATLCOMPTR_H
