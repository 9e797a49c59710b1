// Whether the test program runs under Wine, for the few cases where Wine's
// automation functions are known to differ from what the add-in needs.
#ifndef VELMORA_TESTS_SAFEARRAY_UNDER_WINE_H
#define VELMORA_TESTS_SAFEARRAY_UNDER_WINE_H

#include <windows.h>

namespace velmora_test {

inline bool UnderWine() {
#ifdef _WIN32
  HMODULE ntdll = ::GetModuleHandleW(OLESTR("ntdll.dll"));
  return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
  return false;
#endif
}

}  // namespace velmora_test

#endif  // VELMORA_TESTS_SAFEARRAY_UNDER_WINE_H
