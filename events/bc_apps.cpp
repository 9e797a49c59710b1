// The applications of the business components started during a
// business-process run.
#include "events/bc_apps.h"

#include <atlbase.h>

#include <stdexcept>

#include "launch/app_details.h"
#include "settings/shared_constants.h"

namespace bc_apps {

namespace {

const LONG kFileColumn = 0;
const LONG kFlagColumn = 1;
// Where the host keeps a list's values.
const LONG kListValueColumn = 1;

bool IsFile(const VARIANT& cell) { return cell.vt == VT_BSTR && ::SysStringLen(cell.bstrVal) > 0; }

// Reads one of the component's lists into item and views it through list.
// Only a table of VARIANTs is a list.
[[nodiscard]] HRESULT ViewList(IDataObj* pDataObj, BSTR bstrKey, CComVariant& item, CKexSafeArray& list) {
  if (FAILED(pDataObj->GetItemByName(bstrKey, item.Receive()))) return E_FAIL;
  if (item.vt != (VT_ARRAY | VT_VARIANT)) return E_FAIL;
  // item keeps the array and frees it; the wrapper only looks.
  list.Attach(item.parray, false);
  if (!list.HoldsVariants()) return E_FAIL;
  return S_OK;
}

}  // namespace

HRESULT Accumulate(CKexSafeArray& saBCApps, IDataObj* pDataObj) {
  if (!pDataObj) return E_INVALIDARG;
  const CSharedConstants& k = SharedConstants();
  CComVariant filesItem;
  CKexSafeArray files;
  HRESULT hr = ViewList(pDataObj, k.bstrFilesList, filesItem, files);
  if (FAILED(hr)) return hr;
  CComVariant flagsItem;
  CKexSafeArray flags;
  hr = ViewList(pDataObj, k.bstrDescList, flagsItem, flags);
  if (FAILED(hr)) return hr;

  const ULONG n = files.GetRowCount();
  if (n == 0) return S_OK;
  ULONG i = saBCApps.IsValid() ? saBCApps.GetRowCount() : 0;
  if (i != 0) {
    // Room for every file; the rows left unfilled go again at the end.
    hr = saBCApps.Resize(static_cast<LONG>(n + i));
    if (FAILED(hr)) return hr;
  } else {
    try {
      saBCApps.Create2D(static_cast<LONG>(n), 2, VT_VARIANT);
    } catch (const std::runtime_error&) {
      // The wrapper is left without an array.
      return E_OUTOFMEMORY;
    }
  }

  CComVariant cell;
  for (ULONG j = 0; j < n; ++j) {
    const LONG row = static_cast<LONG>(j);
    (void)files.GetElement(cell.Receive(), row, kListValueColumn);
    if (!IsFile(cell)) continue;
    // A file whose flag cannot be stored is overwritten by the next one.
    (void)saBCApps.PutElement(cell.AsInput(), static_cast<LONG>(i), kFileColumn);
    // A flag that cannot be read is stored as VT_EMPTY.
    (void)flags.GetElement(cell.Receive(), row, kListValueColumn);
    if (SUCCEEDED(saBCApps.PutElement(cell.AsInput(), static_cast<LONG>(i), kFlagColumn))) ++i;
  }
  if (i == 0) {
    saBCApps.Destroy();
    return S_FALSE;
  }
  return saBCApps.Resize(static_cast<LONG>(i));
}

HRESULT AddToHookScope(CKexSafeArray& apps, IDataObj* pDataObj, IObjectRack* pRack, CHookConfigurator& hookConfig) {
  if (!pDataObj) return E_INVALIDARG;
  HRESULT result = S_OK;
  if (!apps.IsValid()) return result;
  CComVariant file;
  CComVariant flag;
  const ULONG rows = apps.GetRowCount();
  for (ULONG r = 0; r < rows; ++r) {
    const LONG row = static_cast<LONG>(r);
    (void)apps.GetElement(file.Receive(), row, kFileColumn);
    if (!IsFile(file)) continue;
    (void)apps.GetElement(flag.Receive(), row, kFlagColumn);
    // A flag that is no number counts as set; VT_EMPTY converts to 0.
    bool bChildren = true;
    if (SUCCEEDED(flag.ChangeType(VT_I4)) && flag.vt == VT_I4) bChildren = flag.lVal != 0;
    const CAppDetails app(pRack, file.bstrVal, nullptr, nullptr, true, bChildren);
    result = hookConfig.AddProcess(app);
  }
  return result;
}

void Clear(CKexSafeArray& saBCApps) {
  // Destroy gives up every lock first, so a locked array cannot survive.
  saBCApps.Destroy();
}

}  // namespace bc_apps
