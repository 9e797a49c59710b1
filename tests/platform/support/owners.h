// Small owners for the tests, so that every BSTR, VARIANT and SAFEARRAY a
// test makes is released on every path (the Linux run checks for leaks).
#ifndef VELMORA_TESTS_PLATFORM_SUPPORT_OWNERS_H
#define VELMORA_TESTS_PLATFORM_SUPPORT_OWNERS_H

#include "tests/platform/support/known_deviation.h"
#include "tests/support/under_wine.h"
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <string>

namespace platform_test {

class Bstr {
 public:
  explicit Bstr(BSTR value = nullptr) : value_(value) {}
  explicit Bstr(const OLECHAR* text) : value_(SysAllocString(text)) {}
  ~Bstr() { SysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;

  BSTR get() const { return value_; }
  BSTR* out() { return &value_; }

 private:
  BSTR value_;
};

class Variant {
 public:
  Variant() { VariantInit(&value_); }
  ~Variant() { VariantClear(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;

  VARIANT* get() { return &value_; }
  VARIANT* operator->() { return &value_; }

 private:
  VARIANT value_;
};

class SafeArray {
 public:
  explicit SafeArray(SAFEARRAY* value = nullptr) : value_(value) {}
  ~SafeArray() { SafeArrayDestroy(value_); }
  SafeArray(const SafeArray&) = delete;
  SafeArray& operator=(const SafeArray&) = delete;

  SAFEARRAY* get() const { return value_; }
  SAFEARRAY** out() { return &value_; }
  SAFEARRAY* operator->() const { return value_; }

 private:
  SAFEARRAY* value_;
};

// UTF-16 text as ASCII for failure messages ('?' for anything else).
inline std::string Narrow(const OLECHAR* text) {
  if (!text) return "(null)";
  std::string result;
  for (; *text; ++text) result += *text < 0x80 ? static_cast<char>(*text) : '?';
  return result;
}

// The hidden 32-bit slot just before a SAFEARRAY descriptor.
inline DWORD HiddenVartype(SAFEARRAY* psa) { return reinterpret_cast<DWORD*>(psa)[-1]; }

using velmora_test::AsDocumented;
using velmora_test::HrAsDocumented;
using velmora_test::RunningUnderWine;

}  // namespace platform_test

#endif  // VELMORA_TESTS_PLATFORM_SUPPORT_OWNERS_H
