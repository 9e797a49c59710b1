/*
 * winnls.h: the Linux build's simplified stand-in for the Windows SDK header.
 * Text conversion between UTF-16 and a code page; the layer knows one code
 * page, UTF-8.
 */
#ifndef _WINNLS_
#define _WINNLS_

#include <windef.h>

#define CP_ACP 0
#define CP_OEMCP 1
#define CP_UTF8 65001

#define MB_PRECOMPOSED 0x00000001
#define MB_COMPOSITE 0x00000002
#define MB_USEGLYPHCHARS 0x00000004
#define MB_ERR_INVALID_CHARS 0x00000008

#define WC_COMPOSITECHECK 0x00000200
#define WC_DISCARDNS 0x00000010
#define WC_SEPCHARS 0x00000020
#define WC_DEFAULTCHAR 0x00000040
#define WC_ERR_INVALID_CHARS 0x00000080
#define WC_NO_BEST_FIT_CHARS 0x00000400

EXTERN_C int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                                        LPWSTR lpWideCharStr, int cchWideChar);
EXTERN_C int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                                        LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                                        LPBOOL lpUsedDefaultChar);

#endif /* _WINNLS_ */
