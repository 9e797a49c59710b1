/*
 * shlwapi.h: the Linux build's simplified stand-in for the Windows SDK header.
 * The shell's path helpers Velmora links, and the association query it looks
 * up at run time (so the typedef of its function pointer is what callers use).
 */
#ifndef _INC_SHLWAPI
#define _INC_SHLWAPI

#include <windef.h>
#include <winerror.h>

EXTERN_C void WINAPI PathRemoveArgsW(LPWSTR pszPath);
EXTERN_C void WINAPI PathStripPathW(LPWSTR pszPath);
EXTERN_C void WINAPI PathRemoveBlanksW(LPWSTR pszPath);
EXTERN_C LPWSTR WINAPI PathFindExtensionW(LPCWSTR pszPath);
EXTERN_C LPWSTR WINAPI PathFindFileNameW(LPCWSTR pszPath);
EXTERN_C BOOL WINAPI PathRemoveFileSpecW(LPWSTR pszPath);
EXTERN_C BOOL WINAPI PathIsDirectoryW(LPCWSTR pszPath);
EXTERN_C BOOL WINAPI PathFileExistsW(LPCWSTR pszPath);

typedef DWORD ASSOCF;
#define ASSOCF_NONE 0x00000000
#define ASSOCF_INIT_NOREMAPCLSID 0x00000001
#define ASSOCF_INIT_BYEXENAME 0x00000002
#define ASSOCF_NOTRUNCATE 0x00000020

typedef enum {
  ASSOCSTR_COMMAND = 1,
  ASSOCSTR_EXECUTABLE,
  ASSOCSTR_FRIENDLYDOCNAME,
  ASSOCSTR_FRIENDLYAPPNAME
} ASSOCSTR;

EXTERN_C HRESULT WINAPI AssocQueryStringW(ASSOCF flags, ASSOCSTR str, LPCWSTR pszAssoc, LPCWSTR pszExtra,
                                          LPWSTR pszOut, DWORD* pcchOut);

#endif /* _INC_SHLWAPI */
