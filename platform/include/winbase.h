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

#define WAIT_OBJECT_0 0x00000000
#define WAIT_TIMEOUT 0x00000102
#define WAIT_FAILED 0xFFFFFFFF

#define STARTF_USESHOWWINDOW 0x00000001
#define CREATE_NEW_CONSOLE 0x00000010
#define CREATE_UNICODE_ENVIRONMENT 0x00000400

typedef struct _SECURITY_ATTRIBUTES {
  DWORD nLength;
  LPVOID lpSecurityDescriptor;
  BOOL bInheritHandle;
} SECURITY_ATTRIBUTES, *PSECURITY_ATTRIBUTES, *LPSECURITY_ATTRIBUTES;

typedef struct _STARTUPINFOW {
  DWORD cb;
  LPWSTR lpReserved;
  LPWSTR lpDesktop;
  LPWSTR lpTitle;
  DWORD dwX;
  DWORD dwY;
  DWORD dwXSize;
  DWORD dwYSize;
  DWORD dwXCountChars;
  DWORD dwYCountChars;
  DWORD dwFillAttribute;
  DWORD dwFlags;
  WORD wShowWindow;
  WORD cbReserved2;
  LPBYTE lpReserved2;
  HANDLE hStdInput;
  HANDLE hStdOutput;
  HANDLE hStdError;
} STARTUPINFOW, *LPSTARTUPINFOW;

typedef struct _PROCESS_INFORMATION {
  HANDLE hProcess;
  HANDLE hThread;
  DWORD dwProcessId;
  DWORD dwThreadId;
} PROCESS_INFORMATION, *PPROCESS_INFORMATION, *LPPROCESS_INFORMATION;

EXTERN_C DWORD WINAPI GetLastError(void);
EXTERN_C void WINAPI SetLastError(DWORD dwErrCode);
EXTERN_C BOOL WINAPI CloseHandle(HANDLE hObject);
EXTERN_C void WINAPI Sleep(DWORD dwMilliseconds);
EXTERN_C void WINAPI OutputDebugStringW(LPCWSTR lpOutputString);
EXTERN_C DWORD WINAPI GetCurrentProcessId(void);

// Processes are Linux processes: the program is a native executable found
// where the command line's Windows path maps (see CreateProcessW's source).
EXTERN_C BOOL WINAPI CreateProcessW(LPCWSTR lpApplicationName, LPWSTR lpCommandLine,
                                    LPSECURITY_ATTRIBUTES lpProcessAttributes,
                                    LPSECURITY_ATTRIBUTES lpThreadAttributes, BOOL bInheritHandles,
                                    DWORD dwCreationFlags, LPVOID lpEnvironment, LPCWSTR lpCurrentDirectory,
                                    LPSTARTUPINFOW lpStartupInfo, LPPROCESS_INFORMATION lpProcessInformation);
EXTERN_C BOOL WINAPI GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode);
EXTERN_C BOOL WINAPI TerminateProcess(HANDLE hProcess, UINT uExitCode);
EXTERN_C DWORD WINAPI GetProcessId(HANDLE Process);
EXTERN_C DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);

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
