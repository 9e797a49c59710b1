// CComPtr: owns one reference to a COM interface.
//
// Unlike ATL's, taking the address (&sp) of a non-empty pointer releases what
// it held instead of asserting, so an out-parameter call can never leak.
#ifndef VELMORA_ATL_ATLCOMPTR_H
#define VELMORA_ATL_ATLCOMPTR_H

#include <windows.h>
#include <objbase.h>

#include <memory>

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
    // addressof: operator& is overloaded (and releases the pointer).
    if (this != std::addressof(other)) {
      Release();
      p = other.p;
      other.p = nullptr;
    }
    return *this;
  }

  operator T*() const { return p; }
  T* operator->() const { return p; }
  T** operator&() {
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
  template <class Q>
  HRESULT QueryInterface(REFIID iid, Q** out) const {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!p) return E_POINTER;
    return p->QueryInterface(iid, reinterpret_cast<void**>(out));
  }

  T* p = nullptr;
};

}  // namespace ATL

#endif  // VELMORA_ATL_ATLCOMPTR_H
