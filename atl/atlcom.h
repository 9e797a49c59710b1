// The stand-in's object root and object wrapper: the reference count, the
// table-driven QueryInterface, and CComObject<T>, which supplies IUnknown on
// top of a class that derives from its interfaces.
//
// The interface table is a plain array of (IID, cast) rows in QueryInterface
// order; IUnknown is answered with the first row. A class exposes it as
//   static const CInterfaceEntry<T>* GetInterfaceTable(size_t* count);
#ifndef VELMORA_ATL_ATLCOM_H
#define VELMORA_ATL_ATLCOM_H

#include <windows.h>
#include <objbase.h>

#include <new>

namespace ATL {

// Objects that live in one apartment: a plain count, no interlocking.
class CComSingleThreadModel {
 public:
  static ULONG Increment(LONG* p) { return static_cast<ULONG>(++*p); }
  static ULONG Decrement(LONG* p) { return static_cast<ULONG>(--*p); }
};

template <class T>
struct CInterfaceEntry {
  const IID* piid;
  IUnknown* (*cast)(T* object);
};

// The row function for interface I of class T. Going through I* first picks
// the base that carries I when T derives from IUnknown more than once.
template <class I, class T>
IUnknown* InterfaceCast(T* object) {
  return static_cast<I*>(object);
}

template <class ThreadModel>
class CComObjectRootEx {
 public:
  ULONG InternalAddRef() { return ThreadModel::Increment(&m_dwRef); }
  ULONG InternalRelease() { return ThreadModel::Decrement(&m_dwRef); }
  HRESULT FinalConstruct() { return S_OK; }
  void FinalRelease() {}

  template <class T>
  static HRESULT InternalQueryInterface(T* object, REFIID iid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    size_t count = 0;
    const CInterfaceEntry<T>* table = T::GetInterfaceTable(&count);
    if (count == 0) return E_NOINTERFACE;
    const CInterfaceEntry<T>* match = nullptr;
    if (InlineIsEqualGUID(iid, IID_IUnknown)) {
      match = &table[0];
    } else {
      for (size_t i = 0; i < count && !match; ++i) {
        if (InlineIsEqualGUID(iid, *table[i].piid)) match = &table[i];
      }
    }
    if (!match) return E_NOINTERFACE;
    IUnknown* unknown = match->cast(object);
    unknown->AddRef();
    *ppv = unknown;
    return S_OK;
  }

 protected:
  LONG m_dwRef = 0;
};

// A heap object of class T with IUnknown; deleted when its count reaches 0.
template <class T>
class CComObject : public T {
 public:
  CComObject() = default;
  virtual ~CComObject() { T::FinalRelease(); }

  // The new object has a count of 0: the caller takes the first reference.
  static HRESULT CreateInstance(CComObject<T>** pp) {
    if (!pp) return E_POINTER;
    *pp = nullptr;
    CComObject<T>* object = new (std::nothrow) CComObject<T>();
    if (!object) return E_OUTOFMEMORY;
    // FinalConstruct may take and drop references; keep the object alive.
    object->InternalAddRef();
    const HRESULT hr = object->FinalConstruct();
    object->InternalRelease();
    if (FAILED(hr)) {
      delete object;
      return hr;
    }
    *pp = object;
    return S_OK;
  }

  STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override {
    return T::template InternalQueryInterface<T>(static_cast<T*>(this), iid, ppv);
  }
  STDMETHOD_(ULONG, AddRef)() override { return T::InternalAddRef(); }
  STDMETHOD_(ULONG, Release)() override {
    const ULONG count = T::InternalRelease();
    if (count == 0) delete this;
    return count;
  }
};

}  // namespace ATL

#endif  // VELMORA_ATL_ATLCOM_H
