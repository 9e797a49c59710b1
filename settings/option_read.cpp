#include "settings/option_read.h"

#include <atlbase.h>

COptionValue ReadOption(IDataObj* pDataObj, BSTR bstrKey, LONG lDefault) {
  CComVariant value(static_cast<int>(lDefault));
  COptionValue result = {S_OK, false, 0};
  result.hr = pDataObj->GetItemByName(bstrKey, value.AsInput());
  if (value.vt == VT_I4) {
    result.bIsSet = true;
    result.lValue = value.lVal;
  }
  return result;
}
