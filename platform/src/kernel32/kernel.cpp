// The kernel basics: the thread's last error, handles, sleeping, and the
// process's current and temporary folders in Windows form.
#include <windows.h>

#include <errno.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <string>

#include "kernel32/kernel_objects.h"
#include "kernel32/paths.h"
#include "kernel32/text_out.h"

using namespace platform_internal;

namespace {

thread_local DWORD t_lastError = ERROR_SUCCESS;

std::string TemporaryFolder() {
  const char* folder = getenv("TMPDIR");
  if (folder && folder[0] == '/') return folder;
  return "/tmp";
}

}  // namespace

DWORD WINAPI GetLastError(void) { return t_lastError; }

void WINAPI SetLastError(DWORD dwErrCode) { t_lastError = dwErrCode; }

BOOL WINAPI CloseHandle(HANDLE hObject) {
  if (!RemoveHandle(hObject)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

void WINAPI Sleep(DWORD dwMilliseconds) {
  if (dwMilliseconds == INFINITE) {
    for (;;) pause();
  }
  timespec remaining{static_cast<time_t>(dwMilliseconds / 1000), static_cast<long>(dwMilliseconds % 1000) * 1000000L};
  while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
  }
}

DWORD WINAPI GetCurrentDirectoryW(DWORD nBufferLength, LPWSTR lpBuffer) {
  return CopyOrRequiredSize(CurrentDirectory(), lpBuffer, nBufferLength);
}

BOOL WINAPI SetCurrentDirectoryW(LPCWSTR lpPathName) {
  std::string folder;
  if (!lpPathName || !*lpPathName || !ToLinuxPath(lpPathName, &folder)) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  if (chdir(folder.c_str()) != 0) {
    SetLastError(errno == ENOENT || errno == ENOTDIR ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED);
    return FALSE;
  }
  return TRUE;
}

DWORD WINAPI GetTempPathW(DWORD nBufferLength, LPWSTR lpBuffer) {
  std::u16string path = ToWindowsPath(TemporaryFolder());
  if (path.back() != u'\\') path += u'\\';
  return CopyOrRequiredSize(path, lpBuffer, nBufferLength);
}
