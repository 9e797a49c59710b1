/*
 * wide_crt.h: part of the Linux build's platform layer (no SDK counterpart).
 * The C runtime's wide-string functions exist on Linux only for the 32-bit
 * wchar_t. The add-in's strings are UTF-16 on every build, so these are the
 * same functions as C++ overloads on the 16-bit type; on Windows the calls
 * resolve to the C runtime itself. Lower-casing maps UTF-16 units one by one
 * through the C library's towlower, as the Windows runtime does.
 */
#ifndef VELMORA_WIDE_CRT_H
#define VELMORA_WIDE_CRT_H

#ifdef __cplusplus
#include <stddef.h>

size_t wcslen(const char16_t* s);
int wcscmp(const char16_t* a, const char16_t* b);
int wcsncmp(const char16_t* a, const char16_t* b, size_t n);
int _wcsicmp(const char16_t* a, const char16_t* b);
int _wcsnicmp(const char16_t* a, const char16_t* b, size_t n);
char16_t* wcscpy(char16_t* dst, const char16_t* src);
char16_t* wcsncpy(char16_t* dst, const char16_t* src, size_t n);
char16_t* wcscat(char16_t* dst, const char16_t* src);
const char16_t* wcschr(const char16_t* s, char16_t c);
char16_t* wcschr(char16_t* s, char16_t c);
const char16_t* wcsrchr(const char16_t* s, char16_t c);
char16_t* wcsrchr(char16_t* s, char16_t c);
const char16_t* wcsstr(const char16_t* s, const char16_t* sub);
char16_t* wcsstr(char16_t* s, const char16_t* sub);
char16_t towlower(char16_t c);
char16_t towupper(char16_t c);
char16_t* _wcslwr(char16_t* s);
char16_t* _wcsupr(char16_t* s);
int iswspace(char16_t c);
#endif

#endif /* VELMORA_WIDE_CRT_H */
