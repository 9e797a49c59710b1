// The stand-in's object root and object wrapper: the reference count, the
// table-driven QueryInterface, and CComObject<T>, which supplies IUnknown on
// top of a class that derives from its interfaces.
//
// The interface table is a plain array of rows in QueryInterface order, each
// made by InterfaceEntry<T, I>() (or <T, I, Base> when I is answered through
// a base that extends it); IUnknown is answered with the first row. A class
// exposes it as
//   static const CInterfaceEntry<T>* GetInterfaceTable(size_t* count);
#ifndef VELMORA_ATL_ATLCOM_H
#define VELMORA_ATL_ATLCOM_H

#include <windows.h>
#include <objbase.h>

#include <limits>

#include <new>
#include <type_traits>

#include "atlguard.h"
#include "atliid.h"

namespace ATL {

// Objects that live in one apartment: a plain count, no interlocking.
class CComSingleThreadModel {
 public:
  static ULONG Increment(LONG* p) { return static_cast<ULONG>(++*p); }
  static ULONG Decrement(LONG* p) { return static_cast<ULONG>(--*p); }
};

template <class T>
struct CInterfaceEntry {
  const IID& (*iid)();
  IUnknown* (*cast)(T* object);
};

// The cast for a row: going through Base* first picks the base that carries
// the interface when T derives from IUnknown more than once.
template <class Base, class T>
IUnknown* InterfaceCast(T* object) {
  return static_cast<Base*>(object);
}

// The row that answers interface I with T's base Base. The IID comes from I
// itself, and Base must extend I, so a row cannot hand out a pointer of
// another interface than the one asked for.
template <class T, class I, class Base = I>
constexpr CInterfaceEntry<T> InterfaceEntry() {
  static_assert(std::is_base_of<I, Base>::value, "the base must extend the interface it answers");
  static_assert(std::is_base_of<Base, T>::value, "the class must derive from the base");
  return {&IidOf<I>, &InterfaceCast<Base, T>};
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
        if (InlineIsEqualGUID(iid, table[i].iid())) match = &table[i];
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
//
// While it is being destroyed its count stands far below zero, so a host
// that calls back into it from FinalRelease (taking and dropping a reference
// while the object lets go of the host's objects) cannot bring the count to
// zero a second time and delete it twice. T::FinalRelease is where T gives
// up what it holds of others: it runs while IUnknown is still this class's.
template <class T>
class CComObject : public T {
 public:
  CComObject() = default;
  virtual ~CComObject() {
    this->m_dwRef = kDestroying;
    T::FinalRelease();
  }

  // The new object has a count of 0: the caller takes the first reference.
  // Nothing is thrown: a constructor or FinalConstruct that throws (the
  // standard containers do when they cannot allocate) gives its HRESULT.
  static HRESULT CreateInstance(CComObject<T>** pp) {
    if (!pp) return E_POINTER;
    *pp = nullptr;
    CComObject<T>* object = nullptr;
    HRESULT hr = GuardComCall([&] {
      object = new CComObject<T>();
      return S_OK;
    });
    if (FAILED(hr)) return hr;
    // FinalConstruct may take and drop references; keep the object alive.
    object->InternalAddRef();
    hr = GuardComCall([&] { return object->FinalConstruct(); });
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

 private:
  static constexpr LONG kDestroying = std::numeric_limits<LONG>::min() / 2;
};

}  // namespace ATL

#endif  // VELMORA_ATL_ATLCOM_H
