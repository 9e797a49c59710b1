// FindExecutableW: the program that opening a file starts. A bare name with
// an App Paths entry is that entry; otherwise the file is searched for the
// way the shell searches (the caller's folder, the current one, then for a
// bare name the system folders and PATH). A program file is its own program,
// a document is looked up by its extension. What comes back follows Wine:
// the App Paths value as stored, the found file's full path as the caller
// spelled its name, or the program as the association's command names it.
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <string.h>

#include "shlwapi/association.h"
#include "kernel32/paths.h"
#include "shell32/locate.h"

using namespace platform_internal;

namespace {

// What FindExecutableW returns on success; any value above 32 means success.
constexpr INT_PTR kFound = 33;

HINSTANCE Result(INT_PTR value) { return reinterpret_cast<HINSTANCE>(value); }

// The caller's buffer is MAX_PATH characters, as the function documents.
void CopyResult(const std::u16string& text, LPWSTR lpResult) {
  const size_t length = text.size() < MAX_PATH ? text.size() : MAX_PATH - 1;
  memcpy(lpResult, text.data(), length * sizeof(WCHAR));
  lpResult[length] = 0;
}

}  // namespace

HINSTANCE WINAPI FindExecutableW(LPCWSTR lpFile, LPCWSTR lpDirectory, LPWSTR lpResult) {
  // Windows leaves a null result buffer to the caller; the layer refuses it.
  if (!lpResult) return Result(SE_ERR_FNF);
  lpResult[0] = 0;
  if (!lpFile) return Result(SE_ERR_FNF);
  // As under Wine, an empty name "succeeds" with an empty program.
  if (!*lpFile) return Result(kFound);

  std::u16string registered;
  if (IsBareName(lpFile) && AppPathOf(lpFile, &registered)) {
    CopyResult(registered, lpResult);
    return Result(kFound);
  }
  std::u16string found;
  if (!LocateFile(lpFile, lpDirectory, &found)) return Result(SE_ERR_FNF);
  if (FolderExists(found)) return Result(SE_ERR_NOASSOC);
  if (IsProgramFile(found)) {
    CopyResult(found, lpResult);
    return Result(kFound);
  }
  const std::u16string extension = PathFindExtensionW(found.c_str());
  std::u16string command;
  if (extension.empty() || !VerbCommand(extension, u"open", &command)) return Result(SE_ERR_NOASSOC);
  const std::u16string program = ProgramOfCommand(command);
  if (program.empty()) return Result(SE_ERR_NOASSOC);
  CopyResult(program, lpResult);
  return Result(kFound);
}
