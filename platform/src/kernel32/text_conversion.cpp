// MultiByteToWideChar and WideCharToMultiByte for CP_UTF8, over the layer's
// UTF-8 conversion. Both follow one pattern: the input's length (-1, or any
// negative length, for a zero-terminated text whose terminator is converted
// too), a size query with a zero output size, and a zero result with
// ERROR_INSUFFICIENT_BUFFER, the output left alone, when the result does not
// fit. With flags 0 malformed input becomes U+FFFD; with the ERR_INVALID
// flag it fails the call with ERROR_NO_UNICODE_TRANSLATION.
#include <windows.h>

#include <string.h>

#include <string>

#include "kernel32/utf_convert.h"

using namespace platform_internal;

namespace {

// The length of the input, counting the terminator of a zero-terminated one.
template <class Char>
size_t InputLength(const Char* text, int length) {
  if (length >= 0) return static_cast<size_t>(length);
  size_t count = 0;
  while (text[count]) ++count;
  return count + 1;
}

int Fail(DWORD error) {
  SetLastError(error);
  return 0;
}

// Copies a result into the caller's buffer, or only measures it.
template <class Char>
int Deliver(const std::basic_string<Char>& result, Char* buffer, int size) {
  if (result.size() > 0x7FFFFFFF) return Fail(ERROR_INSUFFICIENT_BUFFER);
  const int needed = static_cast<int>(result.size());
  if (size == 0) return needed;
  if (needed > size) return Fail(ERROR_INSUFFICIENT_BUFFER);
  memcpy(buffer, result.data(), result.size() * sizeof(Char));
  return needed;
}

}  // namespace

int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                               LPWSTR lpWideCharStr, int cchWideChar) {
  if (!lpMultiByteStr || cbMultiByte == 0 || cchWideChar < 0 || (cchWideChar > 0 && !lpWideCharStr) ||
      static_cast<const void*>(lpMultiByteStr) == static_cast<const void*>(lpWideCharStr)) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  if (CodePage != CP_UTF8) return Fail(ERROR_INVALID_PARAMETER);
  if (dwFlags & ~static_cast<DWORD>(MB_ERR_INVALID_CHARS)) return Fail(ERROR_INVALID_FLAGS);
  bool replaced = false;
  const std::u16string result = FromUtf8(lpMultiByteStr, InputLength(lpMultiByteStr, cbMultiByte), &replaced);
  if (replaced && (dwFlags & MB_ERR_INVALID_CHARS)) return Fail(ERROR_NO_UNICODE_TRANSLATION);
  return Deliver(result, lpWideCharStr, cchWideChar);
}

int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                               LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                               LPBOOL lpUsedDefaultChar) {
  if (!lpWideCharStr || cchWideChar == 0 || cbMultiByte < 0 || (cbMultiByte > 0 && !lpMultiByteStr) ||
      static_cast<const void*>(lpMultiByteStr) == static_cast<const void*>(lpWideCharStr)) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  if (CodePage != CP_UTF8) return Fail(ERROR_INVALID_PARAMETER);
  if (dwFlags & ~static_cast<DWORD>(WC_ERR_INVALID_CHARS)) return Fail(ERROR_INVALID_FLAGS);
  // Every character has a UTF-8 form: there is no default character to use.
  if (lpDefaultChar || lpUsedDefaultChar) return Fail(ERROR_INVALID_PARAMETER);
  bool replaced = false;
  const std::string result = ToUtf8(lpWideCharStr, InputLength(lpWideCharStr, cchWideChar), &replaced);
  if (replaced && (dwFlags & WC_ERR_INVALID_CHARS)) return Fail(ERROR_NO_UNICODE_TRANSLATION);
  return Deliver(result, lpMultiByteStr, cbMultiByte);
}
