// Class objects registered in this process, activation over them, and the
// ProgID-to-CLSID lookup in the registry.
#include <objbase.h>
#include <winreg.h>

#include <mutex>
#include <vector>

namespace {

struct Registration {
  DWORD cookie;
  CLSID clsid;
  IUnknown* object;  // one reference, held until revoked
};

std::mutex g_lock;
std::vector<Registration> g_registrations;
DWORD g_nextCookie = 1;

int HexValue(OLECHAR c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads count hex digits at text[at]; false on any other character.
bool ReadHex(LPCOLESTR text, int at, int count, unsigned long long& value) {
  value = 0;
  for (int i = 0; i < count; ++i) {
    const int digit = HexValue(text[at + i]);
    if (digit < 0) return false;
    value = value * 16 + static_cast<unsigned>(digit);
  }
  return true;
}

}  // namespace

HRESULT CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid) {
  if (!pclsid) return E_INVALIDARG;
  *pclsid = GUID_NULL;
  // A null or empty string is the null CLSID.
  if (!lpsz || !*lpsz) return S_OK;
  // "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}" exactly.
  for (int i = 0; i < 38; ++i) {
    if (!lpsz[i]) return CO_E_CLASSSTRING;
  }
  if (lpsz[38] != 0 || lpsz[0] != '{' || lpsz[37] != '}' || lpsz[9] != '-' || lpsz[14] != '-' || lpsz[19] != '-' ||
      lpsz[24] != '-') {
    return CO_E_CLASSSTRING;
  }
  unsigned long long v = 0;
  CLSID clsid;
  if (!ReadHex(lpsz, 1, 8, v)) return CO_E_CLASSSTRING;
  clsid.Data1 = static_cast<DWORD>(v);
  if (!ReadHex(lpsz, 10, 4, v)) return CO_E_CLASSSTRING;
  clsid.Data2 = static_cast<WORD>(v);
  if (!ReadHex(lpsz, 15, 4, v)) return CO_E_CLASSSTRING;
  clsid.Data3 = static_cast<WORD>(v);
  const int bytes[8] = {20, 22, 25, 27, 29, 31, 33, 35};
  for (int i = 0; i < 8; ++i) {
    if (!ReadHex(lpsz, bytes[i], 2, v)) return CO_E_CLASSSTRING;
    clsid.Data4[i] = static_cast<BYTE>(v);
  }
  *pclsid = clsid;
  return S_OK;
}

HRESULT CoRegisterClassObject(REFCLSID rclsid, LPUNKNOWN pUnk, DWORD, DWORD, LPDWORD lpdwRegister) {
  if (!pUnk || !lpdwRegister) return E_INVALIDARG;
  std::lock_guard<std::mutex> hold(g_lock);
  pUnk->AddRef();
  const DWORD cookie = g_nextCookie++;
  g_registrations.push_back({cookie, rclsid, pUnk});
  *lpdwRegister = cookie;
  return S_OK;
}

HRESULT CoRevokeClassObject(DWORD dwRegister) {
  IUnknown* object = nullptr;
  {
    std::lock_guard<std::mutex> hold(g_lock);
    for (auto it = g_registrations.begin(); it != g_registrations.end(); ++it) {
      if (it->cookie != dwRegister) continue;
      object = it->object;
      g_registrations.erase(it);
      break;
    }
  }
  // A token that names no registration is an invalid argument.
  if (!object) return E_INVALIDARG;
  // Released outside the lock: the object may call back into COM.
  object->Release();
  return S_OK;
}

HRESULT CoGetClassObject(REFCLSID rclsid, DWORD, COSERVERINFO*, REFIID riid, LPVOID* ppv) {
  if (!ppv) return E_INVALIDARG;
  *ppv = nullptr;
  IUnknown* object = nullptr;
  {
    std::lock_guard<std::mutex> hold(g_lock);
    // The latest registration of a class wins.
    for (auto it = g_registrations.rbegin(); it != g_registrations.rend(); ++it) {
      if (!IsEqualCLSID(it->clsid, rclsid)) continue;
      object = it->object;
      object->AddRef();
      break;
    }
  }
  if (!object) return REGDB_E_CLASSNOTREG;
  const HRESULT hr = object->QueryInterface(riid, ppv);
  object->Release();
  return hr;
}

HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  IClassFactory* factory = nullptr;
  HRESULT hr = CoGetClassObject(rclsid, dwClsContext, nullptr, IID_IClassFactory, reinterpret_cast<void**>(&factory));
  if (FAILED(hr)) return hr;
  hr = factory->CreateInstance(pUnkOuter, riid, ppv);
  factory->Release();
  if (FAILED(hr)) *ppv = nullptr;
  return hr;
}

HRESULT CLSIDFromProgID(LPCOLESTR lpszProgID, LPCLSID lpclsid) {
  if (!lpszProgID || !lpclsid) return E_INVALIDARG;
  *lpclsid = GUID_NULL;
  // HKEY_CLASSES_ROOT\<ProgID>\CLSID holds the class's identifier as text.
  const OLECHAR kSuffix[] = OLESTR("\\CLSID");
  std::vector<OLECHAR> path;
  for (LPCOLESTR p = lpszProgID; *p; ++p) path.push_back(*p);
  if (path.empty()) return CO_E_CLASSSTRING;
  for (OLECHAR c : kSuffix) path.push_back(c);
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.data(), 0, KEY_READ, &key) != ERROR_SUCCESS) return CO_E_CLASSSTRING;
  OLECHAR text[64] = {};
  DWORD type = 0;
  DWORD bytes = sizeof text - sizeof(OLECHAR);
  const LSTATUS status = RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(text), &bytes);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_SZ) return CO_E_CLASSSTRING;
  return CLSIDFromString(text, lpclsid) == S_OK ? S_OK : CO_E_CLASSSTRING;
}
