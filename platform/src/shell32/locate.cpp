// Finding the file a shell function is given, as the shell searches.
#include "shell32/locate.h"

#include "kernel32/paths.h"
#include "shlwapi/association.h"

namespace platform_internal {

namespace {

// A file name without extension stands for a program: "notepad" is found as
// notepad.exe. Taken as it is, it counts only as a folder, or, when the path
// is absolute, as any file.
bool TryCandidate(const std::u16string& candidate, bool relative, std::u16string* found) {
  std::u16string full;
  if (!HasExtension(candidate)) {
    if (FullWindowsPath(candidate + u".exe", &full) && FileExists(full)) {
      *found = full;
      return true;
    }
    if (!FullWindowsPath(candidate, &full)) return false;
    if (FolderExists(full) || (!relative && FileExists(full))) {
      *found = full;
      return true;
    }
    return false;
  }
  if (FullWindowsPath(candidate, &full) && (FileExists(full) || FolderExists(full))) {
    *found = full;
    return true;
  }
  return false;
}

}  // namespace

bool LocateFile(const std::u16string& file, LPCWSTR directory, std::u16string* found) {
  if (!IsRelativePath(file)) return TryCandidate(file, false, found);
  if (directory && *directory && TryCandidate(JoinWindowsPath(directory, file), true, found)) return true;
  if (TryCandidate(file, true, found)) return true;
  if (!IsBareName(file)) return false;
  for (const std::u16string& folder : ProgramSearchFolders()) {
    if (TryCandidate(JoinWindowsPath(folder, file), true, found)) return true;
  }
  return false;
}

}  // namespace platform_internal
