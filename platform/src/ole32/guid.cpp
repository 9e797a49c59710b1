// The standard interface identifiers and the registry form of a GUID.
#include <objbase.h>
#include <oaidl.h>

#include <stdio.h>

extern "C" const GUID GUID_NULL = {0x00000000, 0x0000, 0x0000, {0, 0, 0, 0, 0, 0, 0, 0}};
extern "C" const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
extern "C" const IID IID_IClassFactory = {0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
extern "C" const IID IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

int StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax) {
  // "{" 8 "-" 4 "-" 4 "-" 4 "-" 12 "}" and the terminator.
  constexpr int kChars = 39;
  if (!lpsz || cchMax < kChars) return 0;
  char text[kChars + 1];
  snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", rguid.Data1, rguid.Data2,
           rguid.Data3, rguid.Data4[0], rguid.Data4[1], rguid.Data4[2], rguid.Data4[3], rguid.Data4[4], rguid.Data4[5],
           rguid.Data4[6], rguid.Data4[7]);
  for (int i = 0; i < kChars; ++i) lpsz[i] = static_cast<OLECHAR>(static_cast<unsigned char>(text[i]));
  return kChars;
}
