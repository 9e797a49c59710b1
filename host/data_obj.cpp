#include "host/data_obj.h"

#include <algorithm>
#include <utility>

ATL::CComPtr<CHostDataObj> CHostDataObj::Create(std::shared_ptr<CHostCallLog> log) {
  return ATL::CComPtr<CHostDataObj>(new CHostDataObj(std::move(log)));
}

STDMETHODIMP CHostDataObj::GetItemByName(BSTR name, VARIANT* item) {
  return GuardComCall([&]() -> HRESULT {
    const WideString itemName = HostBstrStr(name);
    CHostCall call = NewCall(HostOperation::GetItemByName, itemName);
    if (!item) return Finish(call, E_POINTER);
    if (auto injected = Injected(HostOperation::GetItemByName, itemName)) return Finish(call, *injected);
    const Item* held = FindItem(itemName);
    if (!held) return Finish(call, m_absentResult);
    return Finish(call, ::VariantCopy(item, held->value.AsInput()));
  });
}

STDMETHODIMP CHostDataObj::SetItemByName(BSTR name, VARIANT* item, LONG setInGlobalSettings) {
  return StoreFromCaller(HostOperation::SetItemByName, name, item, setInGlobalSettings);
}

STDMETHODIMP CHostDataObj::SetItemByNameEx(BSTR name, VARIANT* item, LONG setInGlobalSettings, LONG setDirtyBit) {
  return StoreFromCaller(HostOperation::SetItemByNameEx, name, item, setInGlobalSettings);
}

STDMETHODIMP CHostDataObj::GetHistoryByName(BSTR name, SAFEARRAY** history) {
  return GuardComCall([&]() -> HRESULT {
    CHostCall call = NewCall(HostOperation::GetHistoryByName, HostBstrStr(name));
    if (history) *history = nullptr;
    return Finish(call, E_NOTIMPL);
  });
}

STDMETHODIMP CHostDataObj::SetHistoryByName(BSTR name, SAFEARRAY* history) {
  return GuardComCall([&]() -> HRESULT {
    CHostCall call = NewCall(HostOperation::SetHistoryByName, HostBstrStr(name));
    return Finish(call, E_NOTIMPL);
  });
}

HRESULT CHostDataObj::StoreFromCaller(HostOperation operation, BSTR name, VARIANT* item, LONG setInGlobalSettings) {
  return GuardComCall([&]() -> HRESULT {
    const WideString itemName = HostBstrStr(name);
    CHostCall call = NewCall(operation, itemName);
    if (item) call.value.emplace(*item);
    call.flag = setInGlobalSettings;
    if (itemName.empty()) return Finish(call, E_INVALIDARG);
    if (!item) return Finish(call, E_POINTER);
    if (item->vt & VT_BYREF) return Finish(call, E_INVALIDARG);
    if (auto injected = Injected(operation, itemName)) return Finish(call, *injected);
    SetItem(itemName.c_str(), *item);
    return Finish(call, S_OK);
  });
}

void CHostDataObj::SetItem(LPCOLESTR name, const VARIANT& value) {
  const WideString itemName = HostStr(name);
  for (Item& item : m_items) {
    if (item.name != itemName) continue;
    item.value = value;
    return;
  }
  m_items.push_back(Item{itemName, ATL::CComVariant(value)});
}

HRESULT CHostDataObj::StoreBuilt(LPCOLESTR name, const ATL::CComVariant& value) {
  if (value.vt == VT_ERROR) return value.scode;
  SetItem(name, value);
  return S_OK;
}

HRESULT CHostDataObj::SetList(LPCOLESTR name, const std::vector<ATL::CComVariant>& column1, ULONG columns) {
  return StoreBuilt(name, HostVariantTable(column1, columns));
}

HRESULT CHostDataObj::SetOneDimensionalList(LPCOLESTR name, const std::vector<ATL::CComVariant>& cells) {
  return StoreBuilt(name, HostVariantVector(cells));
}

bool CHostDataObj::HasItem(LPCOLESTR name) const { return FindItem(HostStr(name)) != nullptr; }

ATL::CComVariant CHostDataObj::PeekItem(LPCOLESTR name) const {
  const Item* item = FindItem(HostStr(name));
  return item ? item->value : ATL::CComVariant();
}

bool CHostDataObj::RemoveItem(LPCOLESTR name) {
  const WideString itemName = HostStr(name);
  auto it = std::find_if(m_items.begin(), m_items.end(), [&](const Item& item) { return item.name == itemName; });
  if (it == m_items.end()) return false;
  // The value is cleared after the item list is whole again: it may hold an
  // object whose release calls back into this one.
  ATL::CComVariant removed;
  removed.Attach(it->value.AsInput());
  m_items.erase(it);
  return true;
}

std::vector<std::string> CHostDataObj::ItemNames() const {
  std::vector<std::string> names;
  for (const Item& item : m_items) names.push_back(HostUtf8(item.name));
  return names;
}

void CHostDataObj::ClearFailures() {
  CHostDispatchObject::ClearFailures();
  m_absentResult = S_OK;
}

const CHostDataObj::Item* CHostDataObj::FindItem(const WideString& name) const {
  for (const Item& item : m_items) {
    if (item.name == name) return &item;
  }
  return nullptr;
}

CHostCall CHostDataObj::NewCall(HostOperation operation, const WideString& name) const {
  CHostCall call = CHostDispatchObject::NewCall(operation);
  call.entry = HostUtf8(name);
  return call;
}
