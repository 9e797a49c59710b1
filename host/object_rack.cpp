#include "host/object_rack.h"

#include <algorithm>
#include <utility>

ATL::CComPtr<CHostObjectRack> CHostObjectRack::Create(std::shared_ptr<CHostCallLog> log) {
  return ATL::CComPtr<CHostObjectRack>(new CHostObjectRack(std::move(log)));
}

STDMETHODIMP CHostObjectRack::SetObject(BSTR name, IUnknown* object) {
  return GuardComCall([&]() -> HRESULT {
    const WideString objectName = HostBstrStr(name);
    CHostCall call = NewCall(HostOperation::SetObject, objectName);
    if (objectName.empty()) return Finish(call, E_INVALIDARG);
    if (!object) return Finish(call, E_POINTER);
    if (auto injected = Injected(HostOperation::SetObject, objectName)) return Finish(call, *injected);
    PutObject(objectName.c_str(), object);
    return Finish(call, S_OK);
  });
}

STDMETHODIMP CHostObjectRack::GetObject(BSTR name, REFIID iid, IUnknown** object) {
  return GuardComCall([&]() -> HRESULT {
    const WideString objectName = HostBstrStr(name);
    CHostCall call = NewCall(HostOperation::GetObject, objectName);
    call.iid = iid;
    if (!object) return Finish(call, E_POINTER);
    *object = nullptr;
    if (auto injected = Injected(HostOperation::GetObject, objectName)) return Finish(call, *injected);
    if (AnswersNull(objectName)) return Finish(call, S_OK);
    const Entry* entry = FindEntry(objectName);
    if (!entry) return Finish(call, kMissingObject);
    const HRESULT hr = entry->object->QueryInterface(iid, reinterpret_cast<void**>(object));
    if (FAILED(hr)) *object = nullptr;
    return Finish(call, hr);
  });
}

STDMETHODIMP CHostObjectRack::RemoveObject(BSTR name) {
  return GuardComCall([&]() -> HRESULT {
    const WideString objectName = HostBstrStr(name);
    CHostCall call = NewCall(HostOperation::RemoveObject, objectName);
    if (auto injected = Injected(HostOperation::RemoveObject, objectName)) return Finish(call, *injected);
    if (!FindEntry(objectName)) return Finish(call, kMissingObject);
    PutObject(objectName.c_str(), nullptr);
    return Finish(call, S_OK);
  });
}

void CHostObjectRack::PutObject(LPCOLESTR name, IUnknown* object) {
  const WideString objectName = HostStr(name);
  // The object a name held is released last, when the rack is whole again:
  // its release may call back into the rack.
  ATL::CComPtr<IUnknown> previous;
  auto it = std::find_if(m_objects.begin(), m_objects.end(), [&](const Entry& entry) { return entry.name == objectName; });
  if (it != m_objects.end()) {
    previous.Attach(it->object.Detach());
    if (object) {
      it->object = object;
    } else {
      m_objects.erase(it);
    }
    return;
  }
  if (object) m_objects.push_back(Entry{objectName, object});
}

ATL::CComPtr<IUnknown> CHostObjectRack::PeekObject(LPCOLESTR name) const {
  const Entry* entry = FindEntry(HostStr(name));
  return entry ? entry->object : nullptr;
}

std::vector<std::string> CHostObjectRack::ObjectNames() const {
  std::vector<std::string> names;
  for (const Entry& entry : m_objects) names.push_back(HostUtf8(entry.name));
  return names;
}

void CHostObjectRack::AnswerNullObject(LPCOLESTR name, bool answer) {
  const WideString objectName = HostStr(name);
  m_nullAnswers.erase(std::remove(m_nullAnswers.begin(), m_nullAnswers.end(), objectName), m_nullAnswers.end());
  if (answer) m_nullAnswers.push_back(objectName);
}

void CHostObjectRack::ClearFailures() {
  CHostObject::ClearFailures();
  m_nullAnswers.clear();
}

CHostObjectRack::Entry* CHostObjectRack::FindEntry(const WideString& name) {
  for (Entry& entry : m_objects) {
    if (entry.name == name) return &entry;
  }
  return nullptr;
}

const CHostObjectRack::Entry* CHostObjectRack::FindEntry(const WideString& name) const {
  return const_cast<CHostObjectRack*>(this)->FindEntry(name);
}

bool CHostObjectRack::AnswersNull(const WideString& name) const {
  return std::find(m_nullAnswers.begin(), m_nullAnswers.end(), name) != m_nullAnswers.end();
}

CHostCall CHostObjectRack::NewCall(HostOperation operation, const WideString& name) const {
  CHostCall call = CHostObject::NewCall(operation);
  call.entry = HostUtf8(name);
  return call;
}
