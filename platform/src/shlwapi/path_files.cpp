// The shell's questions about a path on disk: PathFileExistsW and
// PathIsDirectoryW, through the kernel's mapping of Windows paths.
#include <windows.h>
#include <shlwapi.h>

#include <sys/stat.h>

#include <string>

#include "kernel32/paths.h"

using namespace platform_internal;

namespace {

bool StatPath(LPCWSTR path, struct stat* info) {
  if (!path || !*path) return false;
  std::string linuxPath;
  if (!ToLinuxPath(path, &linuxPath)) return false;
  return stat(linuxPath.c_str(), info) == 0;
}

}  // namespace

BOOL WINAPI PathFileExistsW(LPCWSTR pszPath) {
  struct stat info;
  return StatPath(pszPath, &info) ? TRUE : FALSE;
}

BOOL WINAPI PathIsDirectoryW(LPCWSTR pszPath) {
  struct stat info;
  if (!StatPath(pszPath, &info) || !S_ISDIR(info.st_mode)) return FALSE;
  return FILE_ATTRIBUTE_DIRECTORY;
}
