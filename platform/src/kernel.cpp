// The kernel basics: the thread's last error, handles, sleeping, and the
// process's module, current and temporary folders in Windows form.
#include <windows.h>

#include <errno.h>
#include <limits.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

#include <string>

#include "kernel_objects.h"
#include "modules.h"
#include "paths.h"
#include "text_out.h"

using namespace platform_internal;

namespace {

thread_local DWORD t_lastError = ERROR_SUCCESS;

std::string ExecutablePath() {
  std::string buffer(PATH_MAX, '\0');
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", &buffer[0], buffer.size());
    if (length < 0) return std::string();
    if (static_cast<size_t>(length) < buffer.size()) {
      buffer.resize(static_cast<size_t>(length));
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

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

DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) {
  std::u16string path;
  if (!hModule || hModule == ExecutableModule()) {
    path = ToWindowsPath(ExecutablePath());
  } else if (!ModuleFileName(hModule, &path)) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  if (!lpFilename && nSize > 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (path.size() < nSize) {
    memcpy(lpFilename, path.data(), path.size() * sizeof(WCHAR));
    lpFilename[path.size()] = 0;
    return static_cast<DWORD>(path.size());
  }
  // Too small: as Windows since Vista, as much as fits with its terminator.
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  if (nSize == 0) return 0;
  memcpy(lpFilename, path.data(), (nSize - 1) * sizeof(WCHAR));
  lpFilename[nSize - 1] = 0;
  return nSize;
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
