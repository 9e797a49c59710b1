// The base of every host object: IUnknown over one interface and the
// interfaces it derives from, with a real reference count (not interlocked:
// host objects live in one apartment) and deletion at zero. Each object is
// counted by CHostObjectCounter while alive.
//
// Objects are created with a count of 0 and handed out at once in a CComPtr,
// which takes the first reference.
#ifndef VELMORA_HOST_HOST_OBJECT_H
#define VELMORA_HOST_HOST_OBJECT_H

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <velmora.h>
#include <host.h>

#include <atlbase.h>
#include <atlguard.h>

#include <new>

#include "host/object_counter.h"

// The IID of each interface a host object can implement. The add-in's own
// interfaces are here too, so that a test can make a stand-in of one with
// CHostObject (CHostObject<IStartupClient2, IStartupClient>).
template <class Interface>
const IID& HostInterfaceId();
template <> inline const IID& HostInterfaceId<IUnknown>() { return IID_IUnknown; }
template <> inline const IID& HostInterfaceId<IDispatch>() { return IID_IDispatch; }
template <> inline const IID& HostInterfaceId<IOptionsNode>() { return IID_IOptionsNode; }
template <> inline const IID& HostInterfaceId<IFileLocator>() { return IID_IFileLocator; }
template <> inline const IID& HostInterfaceId<IDataObj>() { return IID_IDataObj; }
template <> inline const IID& HostInterfaceId<IObjectRack>() { return IID_IObjectRack; }
template <> inline const IID& HostInterfaceId<IObjectRackProvider>() { return IID_IObjectRackProvider; }
template <> inline const IID& HostInterfaceId<IObjectRackClient>() { return IID_IObjectRackClient; }
template <> inline const IID& HostInterfaceId<IStartupClient>() { return IID_IStartupClient; }
template <> inline const IID& HostInterfaceId<IStartupClient2>() { return IID_IStartupClient2; }
template <> inline const IID& HostInterfaceId<IStartupClient3>() { return IID_IStartupClient3; }
template <> inline const IID& HostInterfaceId<IBCStartupClnt>() { return IID_IBCStartupClnt; }
template <> inline const IID& HostInterfaceId<IVelmoraObj>() { return IID_IVelmoraObj; }
template <> inline const IID& HostInterfaceId<IVelmoraHooks>() { return IID_IVelmoraHooks; }

// Interface is the most derived interface; Bases are the other interfaces
// QueryInterface answers (IUnknown is always answered).
template <class Interface, class... Bases>
class CHostObject : public Interface {
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
  CHostObject() { CHostObjectCounter::Created(); }
  virtual ~CHostObject() { CHostObjectCounter::Destroyed(); }

  // An object made to deny one of its interfaces says so here.
  virtual bool Refuses(REFIID iid) const { return false; }

 private:
  static bool Implements(REFIID iid) {
    return IsEqualGUID(iid, IID_IUnknown) || IsEqualGUID(iid, HostInterfaceId<Interface>()) ||
           (IsEqualGUID(iid, HostInterfaceId<Bases>()) || ...);
  }

  ULONG m_refs = 0;
};

// A host object whose interface is dual: IDispatch is answered, but the host's
// callers use the vtable, so there is no type information and no Invoke.
template <class Interface, class... Bases>
class CHostDispatchObject : public CHostObject<Interface, IDispatch, Bases...> {
 public:
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
