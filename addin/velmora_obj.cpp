#include "addin/velmora_obj.h"

#include <atlguard.h>

namespace {

// QueryInterface order; IUnknown is answered with the first row. The three
// IStartupClient identifiers share one vtable, since each extends the last.
const CInterfaceEntry<CVelmoraObj> kInterfaces[] = {
    {&IID_IVelmoraObj, &InterfaceCast<IVelmoraObj, CVelmoraObj>},
    {&IID_IStartupClient, &InterfaceCast<IStartupClient3, CVelmoraObj>},
    {&IID_IStartupClient2, &InterfaceCast<IStartupClient3, CVelmoraObj>},
    {&IID_IStartupClient3, &InterfaceCast<IStartupClient3, CVelmoraObj>},
    {&IID_IBCStartupClnt, &InterfaceCast<IBCStartupClnt, CVelmoraObj>},
    {&IID_IVelmoraHooks, &InterfaceCast<IVelmoraHooks, CVelmoraObj>},
    {&IID_IObjectRackClient, &InterfaceCast<IObjectRackClient, CVelmoraObj>},
};

}  // namespace

const CInterfaceEntry<CVelmoraObj>* CVelmoraObj::GetInterfaceTable(size_t* count) {
  *count = sizeof kInterfaces / sizeof kInterfaces[0];
  return kInterfaces;
}

STDMETHODIMP CVelmoraObj::SetRack(IObjectRack* pObjectRack) {
  IObjectRackClientImpl<CVelmoraObj>::SetRack(pObjectRack);
  // A rack without usable option nodes is still the host's rack: the
  // configurator's result is not the host's business.
  GuardComCall([&] { return m_hookConfig.Attach(pObjectRack); });
  return S_OK;
}

STDMETHODIMP CVelmoraObj::External_SetHooks(LONG, BSTR, BSTR, BSTR, LONG, LONG) { return E_NOTIMPL; }
