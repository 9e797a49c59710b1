// The base of every host object: IUnknown over one interface and the
// interfaces it derives from, with a real reference count (not interlocked:
// host objects live in one apartment) and deletion at zero, and the call
// log, the failures on demand and the end-of-call bookkeeping of
// CHostCallRecorder. Each object is counted by CHostObjectCounter while alive.
//
// Objects are created with a count of 0 and handed out at once in a CComPtr,
// which takes the first reference.
#ifndef VELMORA_HOST_HOST_OBJECT_H
#define VELMORA_HOST_HOST_OBJECT_H

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <host.h>

#include <atlbase.h>
#include <atlguard.h>
#include <atliid.h>

#include <memory>
#include <new>
#include <string>

#include "host/call_recorder.h"
#include "host/object_counter.h"

// Interface is the most derived interface; Bases are the other interfaces
// QueryInterface answers (IUnknown is always answered).
template <class Interface, class... Bases>
class CHostObject : public Interface, public CHostCallRecorder {
 public:
  CHostObject(const CHostObject&) = delete;
  CHostObject& operator=(const CHostObject&) = delete;

  STDMETHOD(QueryInterface)(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!Implements(iid) || Refuses(iid)) return E_NOINTERFACE;
    *out = static_cast<Interface*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHOD_(ULONG, AddRef)() override { return ++m_refs; }
  STDMETHOD_(ULONG, Release)() override {
    if (m_refs == 0) return 0;  // an extra Release: never delete twice
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
  }

  // The current reference count.
  ULONG RefCount() const { return m_refs; }

 protected:
  CHostObject(std::string object, std::shared_ptr<CHostCallLog> log, HostNameMatch match)
      : CHostCallRecorder(std::move(object), std::move(log), match) {
    CHostObjectCounter::Created();
  }
  ~CHostObject() override { CHostObjectCounter::Destroyed(); }

  // An object made to deny one of its interfaces says so here.
  virtual bool Refuses(REFIID iid) const { return false; }

 private:
  static bool Implements(REFIID iid) {
    return IsEqualGUID(iid, ATL::IidOf<IUnknown>()) || IsEqualGUID(iid, ATL::IidOf<Interface>()) ||
           (IsEqualGUID(iid, ATL::IidOf<Bases>()) || ...);
  }

  ULONG m_refs = 0;
};

// A host object whose interface is dual: IDispatch is answered, but the host's
// callers use the vtable, so there is no type information and no Invoke.
template <class Interface, class... Bases>
class CHostDispatchObject : public CHostObject<Interface, IDispatch, Bases...> {
 public:
  using CHostObject<Interface, IDispatch, Bases...>::CHostObject;

  STDMETHOD(GetTypeInfoCount)(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHOD(Invoke)(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
};

#endif  // VELMORA_HOST_HOST_OBJECT_H
