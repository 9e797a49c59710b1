#include "host/file_locator.h"

#include <algorithm>
#include <utility>

ATL::CComPtr<CHostFileLocator> CHostFileLocator::Create(std::shared_ptr<CHostCallLog> log) {
  return ATL::CComPtr<CHostFileLocator>(new CHostFileLocator(std::move(log)));
}

HRESULT CHostFileLocator::Reserved(int slot) {
  return GuardComCall([&]() -> HRESULT {
    CHostCall call = NewCall(HostOperation::LocatorReserved);
    call.slot = slot;
    return Finish(call, E_NOTIMPL);
  });
}

STDMETHODIMP CHostFileLocator::LocateFile(BSTR path, LONG flags, BSTR* located, BSTR* extra) {
  return GuardComCall([&]() -> HRESULT {
    const WideString wanted = HostBstrStr(path);
    CHostCall call = NewCall(HostOperation::LocateFile);
    call.entry = HostUtf8(wanted);
    call.flag = flags;
    if (extra) *extra = nullptr;
    if (!located) return Finish(call, E_POINTER);
    *located = nullptr;
    if (auto injected = Injected(HostOperation::LocateFile, wanted)) return Finish(call, *injected);
    auto it = std::find_if(m_mappings.begin(), m_mappings.end(),
                           [&](const Mapping& mapping) { return mapping.path == wanted; });
    if (it == m_mappings.end()) return Finish(call, S_OK);
    BSTR locatedCopy = ::SysAllocStringLen(it->located.data(), static_cast<UINT>(it->located.size()));
    BSTR extraCopy = extra ? ::SysAllocString(OLESTR("extra")) : nullptr;
    if (!locatedCopy || (extra && !extraCopy)) {
      ::SysFreeString(locatedCopy);
      ::SysFreeString(extraCopy);
      return Finish(call, E_OUTOFMEMORY);
    }
    *located = locatedCopy;
    if (extra) *extra = extraCopy;
    return Finish(call, S_OK);
  });
}

void CHostFileLocator::MapPath(LPCOLESTR path, LPCOLESTR located) {
  UnmapPath(path);
  m_mappings.push_back(Mapping{HostStr(path), HostStr(located)});
}

void CHostFileLocator::UnmapPath(LPCOLESTR path) {
  const WideString key = HostStr(path);
  m_mappings.erase(std::remove_if(m_mappings.begin(), m_mappings.end(),
                                  [&](const Mapping& mapping) { return mapping.path == key; }),
                   m_mappings.end());
}
