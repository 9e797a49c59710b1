// Whether the Windows build is running under Wine, for the few places where
// Wine's behaviour differs from what Windows documents. The tests expect the
// documented behaviour everywhere else (the Linux layer implements that).
#ifndef VELMORA_TESTS_PLATFORM_SHELL_WINE_H
#define VELMORA_TESTS_PLATFORM_SHELL_WINE_H

#include <windows.h>

namespace velmora_test {

inline bool RunningUnderWine() {
#ifdef _WIN32
  HMODULE ntdll = GetModuleHandleW(OLESTR("ntdll.dll"));
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
  return false;
#endif
}

}  // namespace velmora_test

#endif  // VELMORA_TESTS_PLATFORM_SHELL_WINE_H
