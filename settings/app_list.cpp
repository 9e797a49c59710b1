#include "settings/app_list.h"

#include "settings/shared_constants.h"

namespace {

// The value of a row is in the list's second column.
const LONG kValueColumn = 1;

struct Binding {
  CKexSafeArray CAppList::*list;
  BSTR CSharedConstants::*key;
};

}  // namespace

AppListEntry::AppListEntry()
    : m_bstrApp(OLESTR("")), m_bstrFile(OLESTR("")), m_bstrDir(OLESTR("")), m_bstrArgs(OLESTR("")) {}

CAppList::CAppList(IDataObj* pDataObj) : m_spDataObj(pDataObj) { m_hrLoad = Load(); }

HRESULT CAppList::Load() {
  if (!m_spDataObj) return E_FAIL;
  // The order of loading; after the first failure no later key is asked for.
  static const Binding kBindings[] = {
      {&CAppList::m_saFiles, &CSharedConstants::bstrFilesList},
      {&CAppList::m_saDirs, &CSharedConstants::bstrDirsList},
      {&CAppList::m_saArgs, &CSharedConstants::bstrArgsList},
      {&CAppList::m_saApps, &CSharedConstants::bstrAppsList},
      {&CAppList::m_saLaunch, &CSharedConstants::bstrLnchList},
      {&CAppList::m_saChildren, &CSharedConstants::bstrDescList},
  };
  const CSharedConstants& k = SharedConstants();
  for (const Binding& binding : kBindings) {
    CComVariant item;
    if (FAILED(m_spDataObj->GetItemByName(k.*binding.key, item.Receive()))) return E_UNEXPECTED;
    if (item.vt != (VT_ARRAY | VT_VARIANT)) return E_UNEXPECTED;
    // The list is the reader's now; the VARIANT lets go of it.
    CKexSafeArray& list = this->*binding.list;
    list.Attach(item.parray, true);
    item.vt = VT_EMPTY;
    item.parray = nullptr;
    // An item that says VT_ARRAY|VT_VARIANT while its array holds strings or
    // smaller cells would have them copied into the reader's VARIANT as
    // something else: such a list is no list.
    if (!list.HoldsVariants()) return E_UNEXPECTED;
  }
  return S_OK;
}

void CAppList::ReadString(CKexSafeArray& list, ULONG i, CComVariant& cell, CComBSTR& field) {
  // A missing cell leaves the VARIANT empty, and the field as it was.
  (void)list.GetElement(cell.Receive(), static_cast<LONG>(i), kValueColumn);
  if (cell.vt != VT_BSTR) return;
  // The whole string, by its length: a null one makes the field null.
  if (!cell.bstrVal) {
    field.Empty();
    return;
  }
  field = CComBSTR(static_cast<int>(::SysStringLen(cell.bstrVal)), cell.bstrVal);
}

void CAppList::ReadFlag(CKexSafeArray& list, ULONG i, CComVariant& cell, VARIANT_BOOL& field) {
  // A missing cell converts from VT_EMPTY to 0: false. A value that does not
  // convert keeps the flag as it was.
  (void)list.GetElement(cell.Receive(), static_cast<LONG>(i), kValueColumn);
  if (FAILED(cell.ChangeType(VT_I4)) || cell.vt != VT_I4) return;
  field = cell.lVal != 0 ? VARIANT_TRUE : VARIANT_FALSE;
}

HRESULT CAppList::GetEntry(ULONG i, AppListEntry& entry) {
  if (i >= GetCount()) return E_INVALIDARG;
  // One VARIANT for every cell; Receive clears it before each read.
  CComVariant cell;
  ReadString(m_saFiles, i, cell, entry.m_bstrFile);
  ReadString(m_saArgs, i, cell, entry.m_bstrArgs);
  ReadString(m_saApps, i, cell, entry.m_bstrApp);
  ReadString(m_saDirs, i, cell, entry.m_bstrDir);
  ReadFlag(m_saLaunch, i, cell, entry.m_bLaunch);
  ReadFlag(m_saChildren, i, cell, entry.m_bChildren);
  return S_OK;
}
