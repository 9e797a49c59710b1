// IObjectRackClientImpl<T>: the add-in's side of the host's rack protocol.
// It keeps the rack the host hands over (one reference) and gives it back.
// The class that derives from it carries IObjectRackClient through it, and
// overrides SetRack to do more with the rack than keep it.
#ifndef VELMORA_ADDIN_OBJECT_RACK_CLIENT_IMPL_H
#define VELMORA_ADDIN_OBJECT_RACK_CLIENT_IMPL_H

#include <atlbase.h>

#include <velmora.h>

template <class T>
class IObjectRackClientImpl : public IObjectRackClient {
 public:
  STDMETHOD(GetRack)(IObjectRack** ppObjectRack) override {
    if (!ppObjectRack) return E_POINTER;
    return m_spRack.CopyTo(ppObjectRack);
  }

  // Handing over the pointer that is already stored changes no reference.
  STDMETHOD(SetRack)(IObjectRack* pObjectRack) override {
    m_spRack = pObjectRack;
    return S_OK;
  }

 protected:
  CComPtr<IObjectRack> m_spRack;
};

#endif  // VELMORA_ADDIN_OBJECT_RACK_CLIENT_IMPL_H
