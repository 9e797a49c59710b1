// Whether a Windows test program runs under Wine rather than Windows, for the
// few places where Wine is known to differ from what Windows documents; the
// tests expect the documented behaviour everywhere else. Always false on
// Linux, where our own platform layer answers.
#ifndef VELMORA_TESTS_SUPPORT_UNDER_WINE_H
#define VELMORA_TESTS_SUPPORT_UNDER_WINE_H

#include <windows.h>
#include <objbase.h>

namespace velmora_test {

inline bool RunningUnderWine() {
#ifdef _WIN32
  HMODULE ntdll = ::GetModuleHandleW(OLESTR("ntdll.dll"));
  return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
  return false;
#endif
}

}  // namespace velmora_test

#endif  // VELMORA_TESTS_SUPPORT_UNDER_WINE_H
