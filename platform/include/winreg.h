/*
 * winreg.h: the Linux build's simplified stand-in for the Windows SDK header.
 * The registry functions Velmora and its tests call, over the layer's own
 * registry view. HKEY_CLASSES_ROOT is the merged view of the per-user and the
 * machine-wide classes, per-user first, as on Windows.
 */
#ifndef _WINREG_
#define _WINREG_

#include <windef.h>
#include <winerror.h>

typedef LONG LSTATUS;
typedef DWORD REGSAM;
typedef DWORD ACCESS_MASK;

#define HKEY_CLASSES_ROOT ((HKEY)(ULONG_PTR)((LONG)0x80000000))
#define HKEY_CURRENT_USER ((HKEY)(ULONG_PTR)((LONG)0x80000001))
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)((LONG)0x80000002))

#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_ALL_ACCESS 0xF003F

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_MULTI_SZ 7

#define REG_OPTION_NON_VOLATILE 0x0
#define REG_CREATED_NEW_KEY 0x1
#define REG_OPENED_EXISTING_KEY 0x2

EXTERN_C LSTATUS WINAPI RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired,
                                      PHKEY phkResult);
EXTERN_C LSTATUS WINAPI RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass,
                                        DWORD dwOptions, REGSAM samDesired, void* lpSecurityAttributes,
                                        PHKEY phkResult, LPDWORD lpdwDisposition);
EXTERN_C LSTATUS WINAPI RegCloseKey(HKEY hKey);
EXTERN_C LSTATUS WINAPI RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                                         LPBYTE lpData, LPDWORD lpcbData);
EXTERN_C LSTATUS WINAPI RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType,
                                       const BYTE* lpData, DWORD cbData);
EXTERN_C LSTATUS WINAPI RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName);
EXTERN_C LSTATUS WINAPI RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey);
EXTERN_C LSTATUS WINAPI RegDeleteTreeW(HKEY hKey, LPCWSTR lpSubKey);

#endif /* _WINREG_ */
