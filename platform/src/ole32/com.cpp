// The COM library's initialisation and task allocator. There are no
// apartments in this layer: initialisation only counts per thread and
// remembers the threading model, so that the return values match Windows.
#include <objbase.h>

#include <stdlib.h>

namespace {

// Asking a thread for a threading model other than the one it already has.
constexpr HRESULT kChangedMode = static_cast<HRESULT>(0x80010106);

struct ThreadCom {
  ULONG count = 0;
  DWORD model = 0;
};

thread_local ThreadCom t_com;

DWORD ModelOf(DWORD coinit) { return coinit & COINIT_APARTMENTTHREADED; }

}  // namespace

HRESULT CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit) {
  if (pvReserved) return E_INVALIDARG;
  const DWORD model = ModelOf(dwCoInit);
  if (t_com.count > 0 && t_com.model != model) return kChangedMode;
  t_com.model = model;
  return t_com.count++ == 0 ? S_OK : S_FALSE;
}

HRESULT CoInitialize(LPVOID pvReserved) { return CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED); }

void CoUninitialize(void) {
  if (t_com.count > 0) --t_com.count;
}

LPVOID CoTaskMemAlloc(SIZE_T cb) {
  // A zero-byte request still gets a distinct, freeable block.
  return malloc(cb ? cb : 1);
}

void CoTaskMemFree(LPVOID pv) { free(pv); }
