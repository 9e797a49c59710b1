#include "host/addin_manager.h"

#include <utility>

#include "host/variants.h"

ATL::CComPtr<CHostAddInDescriptor> CHostAddInDescriptor::Create(LPCOLESTR name, std::shared_ptr<CHostCallLog> log) {
  return ATL::CComPtr<CHostAddInDescriptor>(new CHostAddInDescriptor(HostStr(name), std::move(log)));
}

CHostAddInDescriptor::CHostAddInDescriptor(WideString name, std::shared_ptr<CHostCallLog> log)
    : CHostObject("addin " + HostUtf8(name), std::move(log), HostNameMatch::Exact), m_name(std::move(name)) {}

STDMETHODIMP CHostAddInDescriptor::get_Name(BSTR* pVal) {
  return GuardComCall([&]() -> HRESULT {
    CHostCall call = NewCall(HostOperation::GetAddInName);
    if (!pVal) return Finish(call, E_POINTER);
    *pVal = nullptr;
    if (auto injected = Injected(HostOperation::GetAddInName, WideString())) return Finish(call, *injected);
    if (m_nullName) return Finish(call, S_OK);
    *pVal = ::SysAllocStringLen(m_name.c_str(), static_cast<UINT>(m_name.size()));
    return Finish(call, *pVal ? S_OK : E_OUTOFMEMORY);
  });
}

bool CHostAddInDescriptor::Refuses(REFIID iid) const {
  return m_hidden && IsEqualGUID(iid, ATL::IidOf<IAddinObject>());
}

ATL::CComPtr<CHostAddInManager> CHostAddInManager::Create(std::shared_ptr<CHostCallLog> log) {
  return ATL::CComPtr<CHostAddInManager>(new CHostAddInManager(std::move(log)));
}

ATL::CComPtr<CHostAddInDescriptor> CHostAddInManager::AddAddIn(LPCOLESTR name) {
  ATL::CComPtr<CHostAddInDescriptor> addIn = CHostAddInDescriptor::Create(name, Log());
  m_addIns.push_back(addIn);
  return addIn;
}

void CHostAddInManager::AddNullElement() { m_addIns.emplace_back(); }

void CHostAddInManager::ClearFailures() {
  CHostObject::ClearFailures();
  m_shape = HostAddInArray::Interfaces;
  m_failWithArray = S_OK;
}

STDMETHODIMP CHostAddInManager::GetAddIns(SAFEARRAY** ppsaAddIns) {
  return GuardComCall([&]() -> HRESULT {
    CHostCall call = NewCall(HostOperation::GetAddIns);
    if (!ppsaAddIns) return Finish(call, E_POINTER);
    *ppsaAddIns = nullptr;
    if (FAILED(m_failWithArray)) {
      *ppsaAddIns = BuildArray();
      return Finish(call, m_failWithArray);
    }
    if (auto injected = Injected(HostOperation::GetAddIns, WideString())) return Finish(call, *injected);
    if (m_shape == HostAddInArray::NoArray) return Finish(call, S_OK);
    *ppsaAddIns = BuildArray();
    return Finish(call, *ppsaAddIns ? S_OK : E_OUTOFMEMORY);
  });
}

SAFEARRAY* CHostAddInManager::BuildArray() const {
  const ULONG count = static_cast<ULONG>(m_addIns.size());
  SAFEARRAY* psa = nullptr;
  switch (m_shape) {
    case HostAddInArray::Interfaces:
    case HostAddInArray::NoArray:
      psa = ::SafeArrayCreateVector(VT_UNKNOWN, 0, count);
      break;
    case HostAddInArray::LowerBoundOne:
      psa = ::SafeArrayCreateVector(VT_UNKNOWN, 1, count);
      break;
    case HostAddInArray::Variants:
      psa = ::SafeArrayCreateVector(VT_VARIANT, 0, count);
      break;
    case HostAddInArray::Strings:
      psa = ::SafeArrayCreateVector(VT_BSTR, 0, count);
      break;
    case HostAddInArray::TwoDimensional: {
      SAFEARRAYBOUND bounds[2] = {{count, 0}, {1, 0}};
      psa = ::SafeArrayCreate(VT_UNKNOWN, 2, bounds);
      break;
    }
  }
  if (!psa) return nullptr;
  const LONG first = m_shape == HostAddInArray::LowerBoundOne ? 1 : 0;
  for (ULONG i = 0; i < count; ++i) {
    IUnknown* element = m_addIns[i] ? static_cast<IAddinObject*>(m_addIns[i].p) : nullptr;
    LONG indices[2] = {first + static_cast<LONG>(i), 0};
    HRESULT hr = S_OK;
    if (m_shape == HostAddInArray::Variants) {
      ATL::CComVariant cell = HostUnknown(element);
      hr = ::SafeArrayPutElement(psa, indices, cell.AsInput());
    } else if (m_shape == HostAddInArray::Strings) {
      ATL::CComBSTR name(m_addIns[i] ? m_addIns[i]->Name().c_str() : OLESTR(""));
      hr = ::SafeArrayPutElement(psa, indices, name.m_str);
    } else {
      hr = ::SafeArrayPutElement(psa, indices, element);
    }
    if (FAILED(hr)) {
      (void)::SafeArrayDestroy(psa);
      return nullptr;
    }
  }
  return psa;
}
