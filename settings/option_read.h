// Reading one integer option of the host's data object: the VARIANT is
// preset to the caller's default, which stands whenever the data object
// leaves it as it was. The option counts as set only when the VARIANT comes
// back as VT_I4; nothing else is converted.
#ifndef VELMORA_SETTINGS_OPTION_READ_H
#define VELMORA_SETTINGS_OPTION_READ_H

#include <windows.h>
#include <oleauto.h>

#include <velmora.h>

struct COptionValue {
  HRESULT hr;    // what GetItemByName returned
  bool bIsSet;   // the VARIANT held VT_I4 afterwards
  LONG lValue;   // its value when bIsSet, else 0
};

// pDataObj must not be null.
COptionValue ReadOption(IDataObj* pDataObj, BSTR bstrKey, LONG lDefault);

#endif  // VELMORA_SETTINGS_OPTION_READ_H
