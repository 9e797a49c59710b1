// CHostDataObj: the host's IDataObj (dual; IDispatch answers no Invoke), named
// items (VARIANTs) the add-in reads its run's settings from. Names match
// exactly (case counts).
//   GetItemByName(name, item)  held: VariantCopy(item, held) - which clears
//                      *item first - and its HRESULT (S_OK). Absent: *item is
//                      left untouched and the absent-item result is returned,
//                      S_OK unless AnswerAbsentItems chose another. Null item:
//                      E_POINTER. Injected failure: *item untouched.
//   SetItemByName(name, item, global), SetItemByNameEx(name, item, global, dirty)
//                      store a copy; an empty name or a VT_BYREF item give
//                      E_INVALIDARG, a null item E_POINTER.
//   GetHistoryByName / SetHistoryByName   E_NOTIMPL (*history set to null).
// Calls are logged with "dataobj" as the object and the item name as the
// entry; the Set calls record the value and, as the flag, bSetInGlobalSettings.
#ifndef VELMORA_HOST_DATA_OBJ_H
#define VELMORA_HOST_DATA_OBJ_H

#include <memory>
#include <string>
#include <vector>

#include "host/call_log.h"
#include "host/failures.h"
#include "host/host_object.h"
#include "host/host_text.h"
#include "host/variants.h"

class CHostDataObj final : public CHostDispatchObject<IDataObj> {
 public:
  static ATL::CComPtr<CHostDataObj> Create(std::shared_ptr<CHostCallLog> log = nullptr);

  // IDataObj
  STDMETHOD(GetItemByName)(BSTR name, VARIANT* item) override;
  STDMETHOD(SetItemByName)(BSTR name, VARIANT* item, LONG setInGlobalSettings) override;
  STDMETHOD(GetHistoryByName)(BSTR name, SAFEARRAY** history) override;
  STDMETHOD(SetHistoryByName)(BSTR name, SAFEARRAY* history) override;
  STDMETHOD(SetItemByNameEx)(BSTR name, VARIANT* item, LONG setInGlobalSettings, LONG setDirtyBit) override;

  // Items, unlogged. SetItem stores a copy (an option: HostI4(1), CComVariant(OLESTR("text"))).
  void SetItem(LPCOLESTR name, const VARIANT& value);
  // A list as the host hands it (see HostVariantTable): column 1 of row r
  // holds column1[r]. Returns E_INVALIDARG (storing nothing) when columns < 2.
  HRESULT SetList(LPCOLESTR name, const std::vector<ATL::CComVariant>& column1, ULONG columns = 2);
  // A one-dimensional VT_ARRAY|VT_VARIANT (see HostVariantVector).
  HRESULT SetOneDimensionalList(LPCOLESTR name, const std::vector<ATL::CComVariant>& cells);
  bool HasItem(LPCOLESTR name) const;
  ATL::CComVariant PeekItem(LPCOLESTR name) const;  // VT_EMPTY when absent
  bool RemoveItem(LPCOLESTR name);
  std::vector<std::string> ItemNames() const;

  // What GetItemByName returns for an absent item (S_OK: the default).
  void AnswerAbsentItems(HRESULT hr) { m_absentResult = hr; }
  // Failures on demand (FailOperation): GetItemByName, SetItemByName ...; a
  // key limits them to calls about that item.
  void ClearFailures() override;

 private:
  struct Item {
    WideString name;
    ATL::CComVariant value;
  };

  explicit CHostDataObj(std::shared_ptr<CHostCallLog> log)
      : CHostDispatchObject("dataobj", std::move(log), HostNameMatch::Exact) {}

  HRESULT StoreFromCaller(HostOperation operation, BSTR name, VARIANT* item, LONG setInGlobalSettings);
  HRESULT StoreBuilt(LPCOLESTR name, const ATL::CComVariant& value);
  const Item* FindItem(const WideString& name) const;
  CHostCall NewCall(HostOperation operation, const WideString& name) const;

  std::vector<Item> m_items;
  HRESULT m_absentResult = S_OK;
};

#endif  // VELMORA_HOST_DATA_OBJ_H
