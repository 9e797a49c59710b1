/*
 * winbase.h: the Linux build's simplified stand-in for the Windows SDK header.
 * The kernel functions Velmora calls. Paths are Windows paths: they reach the
 * file system as Wine maps them (a drive letter to a folder, Z: to /, the
 * backslash as the separator).
 */
#ifndef _WINBASE_
#define _WINBASE_

#include <windef.h>
#include <winerror.h>

#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)
#define STILL_ACTIVE 259
#define INFINITE 0xFFFFFFFF
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010

EXTERN_C DWORD WINAPI GetLastError(void);
EXTERN_C void WINAPI SetLastError(DWORD dwErrCode);
EXTERN_C BOOL WINAPI CloseHandle(HANDLE hObject);
EXTERN_C void WINAPI Sleep(DWORD dwMilliseconds);
EXTERN_C void WINAPI OutputDebugStringW(LPCWSTR lpOutputString);

EXTERN_C HMODULE WINAPI LoadLibraryW(LPCWSTR lpLibFileName);
EXTERN_C FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName);
EXTERN_C BOOL WINAPI FreeLibrary(HMODULE hLibModule);
EXTERN_C HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName);
EXTERN_C DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize);

EXTERN_C DWORD WINAPI GetLongPathNameW(LPCWSTR lpszShortPath, LPWSTR lpszLongPath, DWORD cchBuffer);
EXTERN_C DWORD WINAPI GetCurrentDirectoryW(DWORD nBufferLength, LPWSTR lpBuffer);
EXTERN_C BOOL WINAPI SetCurrentDirectoryW(LPCWSTR lpPathName);
EXTERN_C DWORD WINAPI GetTempPathW(DWORD nBufferLength, LPWSTR lpBuffer);

#endif /* _WINBASE_ */
