#include "host/file_locator.h"

#include <algorithm>
#include <utility>

ATL::CComPtr<CHostFileLocator> CHostFileLocator::Create(std::shared_ptr<CHostCallLog> log) {
  if (!log) log = CHostCallLog::Create();
  return ATL::CComPtr<CHostFileLocator>(new CHostFileLocator(std::move(log)));
}

HRESULT CHostFileLocator::Reserved(int slot) {
  return GuardComCall([&]() -> HRESULT {
    CHostCall call;
    call.object = "locator";
    call.operation = "Reserved" + std::to_string(slot);
    call.hr = E_NOTIMPL;
    m_log->Record(std::move(call));
    return E_NOTIMPL;
  });
}

STDMETHODIMP CHostFileLocator::LocateFile(BSTR path, LONG flags, BSTR* located, BSTR* extra) {
  return GuardComCall([&]() -> HRESULT {
    const HostString wanted = HostBstrStr(path);
    CHostCall call;
    call.object = "locator";
    call.operation = "LocateFile";
    call.entry = HostUtf8(wanted);
    call.flag = flags;
    auto finish = [&](HRESULT hr) {
      call.hr = hr;
      m_log->Record(std::move(call));
      return hr;
    };
    if (extra) *extra = nullptr;
    if (!located) return finish(E_POINTER);
    *located = nullptr;
    if (auto injected = m_failures.Take("LocateFile", wanted)) return finish(*injected);
    auto it = std::find_if(m_mappings.begin(), m_mappings.end(),
                           [&](const Mapping& mapping) { return mapping.path == wanted; });
    if (it == m_mappings.end()) return finish(S_OK);
    BSTR locatedCopy = ::SysAllocStringLen(it->located.data(), static_cast<UINT>(it->located.size()));
    BSTR extraCopy = extra ? ::SysAllocString(OLESTR("extra")) : nullptr;
    if (!locatedCopy || (extra && !extraCopy)) {
      ::SysFreeString(locatedCopy);
      ::SysFreeString(extraCopy);
      return finish(E_OUTOFMEMORY);
    }
    *located = locatedCopy;
    if (extra) *extra = extraCopy;
    return finish(S_OK);
  });
}

void CHostFileLocator::MapPath(LPCOLESTR path, LPCOLESTR located) {
  UnmapPath(path);
  m_mappings.push_back(Mapping{HostStr(path), HostStr(located)});
}

void CHostFileLocator::UnmapPath(LPCOLESTR path) {
  const HostString key = HostStr(path);
  m_mappings.erase(std::remove_if(m_mappings.begin(), m_mappings.end(),
                                  [&](const Mapping& mapping) { return mapping.path == key; }),
                   m_mappings.end());
}

void CHostFileLocator::FailOperation(const std::string& operation, HRESULT hr, HostFailTimes times,
                                     LPCOLESTR key) {
  m_failures.Add(operation, hr, times, key);
}
