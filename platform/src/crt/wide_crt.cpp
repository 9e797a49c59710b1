// The C runtime's wide-string functions over UTF-16.
#include <velmora_platform/wide_crt.h>

#include <wctype.h>

size_t wcslen(const char16_t* s) {
  const char16_t* p = s;
  while (*p) ++p;
  return static_cast<size_t>(p - s);
}

int wcscmp(const char16_t* a, const char16_t* b) {
  while (*a && *a == *b) {
    ++a;
    ++b;
  }
  return static_cast<int>(*a) - static_cast<int>(*b);
}

int wcsncmp(const char16_t* a, const char16_t* b, size_t n) {
  for (; n > 0; --n, ++a, ++b) {
    if (*a != *b || *a == 0) return static_cast<int>(*a) - static_cast<int>(*b);
  }
  return 0;
}

char16_t towlower(char16_t c) { return static_cast<char16_t>(::towlower(static_cast<wint_t>(c))); }

char16_t towupper(char16_t c) { return static_cast<char16_t>(::towupper(static_cast<wint_t>(c))); }

// The white space of the Windows runtime: the ASCII blanks and Unicode's
// space separators, line and paragraph separators, whatever the C library's
// locale says. U+0085 and the zero-width characters are not white space.
int iswspace(char16_t c) {
  switch (c) {
    case 0x09: case 0x0A: case 0x0B: case 0x0C: case 0x0D: case 0x20: case 0xA0: case 0x1680: case 0x2028:
    case 0x2029: case 0x202F: case 0x205F: case 0x3000:
      return 1;
    default:
      return c >= 0x2000 && c <= 0x200A ? 1 : 0;
  }
}

int _wcsnicmp(const char16_t* a, const char16_t* b, size_t n) {
  for (; n > 0; --n, ++a, ++b) {
    const int ca = towlower(*a);
    const int cb = towlower(*b);
    if (ca != cb || ca == 0) return ca - cb;
  }
  return 0;
}

int _wcsicmp(const char16_t* a, const char16_t* b) { return _wcsnicmp(a, b, static_cast<size_t>(-1)); }

char16_t* wcscpy(char16_t* dst, const char16_t* src) {
  char16_t* d = dst;
  while ((*d++ = *src++) != 0) {
  }
  return dst;
}

char16_t* wcsncpy(char16_t* dst, const char16_t* src, size_t n) {
  size_t i = 0;
  for (; i < n && src[i]; ++i) dst[i] = src[i];
  for (; i < n; ++i) dst[i] = 0;
  return dst;
}

char16_t* wcscat(char16_t* dst, const char16_t* src) {
  wcscpy(dst + wcslen(dst), src);
  return dst;
}

const char16_t* wcschr(const char16_t* s, char16_t c) {
  for (;; ++s) {
    if (*s == c) return s;
    if (*s == 0) return nullptr;
  }
}

char16_t* wcschr(char16_t* s, char16_t c) { return const_cast<char16_t*>(wcschr(const_cast<const char16_t*>(s), c)); }

const char16_t* wcsrchr(const char16_t* s, char16_t c) {
  const char16_t* found = nullptr;
  for (;; ++s) {
    if (*s == c) found = s;
    if (*s == 0) return found;
  }
}

char16_t* wcsrchr(char16_t* s, char16_t c) {
  return const_cast<char16_t*>(wcsrchr(const_cast<const char16_t*>(s), c));
}

const char16_t* wcsstr(const char16_t* s, const char16_t* sub) {
  const size_t n = wcslen(sub);
  if (n == 0) return s;
  for (; *s; ++s) {
    if (wcsncmp(s, sub, n) == 0) return s;
  }
  return nullptr;
}

char16_t* wcsstr(char16_t* s, const char16_t* sub) {
  return const_cast<char16_t*>(wcsstr(const_cast<const char16_t*>(s), sub));
}

char16_t* _wcslwr(char16_t* s) {
  for (char16_t* p = s; *p; ++p) *p = towlower(*p);
  return s;
}

char16_t* _wcsupr(char16_t* s) {
  for (char16_t* p = s; *p; ++p) *p = towupper(*p);
  return s;
}
