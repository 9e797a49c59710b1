/*
 * platform_testing.h: part of the Linux build's platform layer (no SDK
 * counterpart), for test programs only. What a test on Windows would do with
 * a debugger, a broken system folder or a fresh registry hive, it does here
 * through these controls.
 */
#ifndef VELMORA_PLATFORM_TESTING_H
#define VELMORA_PLATFORM_TESTING_H

#include <windef.h>

#include <string>
#include <vector>

namespace platform_testing {

// The debugger output stream. Every OutputDebugStringW text is kept (the
// oldest go once a few thousand are waiting) until a test takes them.
std::vector<std::u16string> TakeDebugOutput();
void ClearDebugOutput();
// Also hands each text to `sink` as it is written; null removes the sink.
typedef void (*DebugOutputSink)(const WCHAR* text, void* context);
void SetDebugOutputSink(DebugOutputSink sink, void* context);

// The layer's modules ("Shlwapi.dll", "shell32.dll"). A missing module fails
// LoadLibraryW with ERROR_MOD_NOT_FOUND, a missing export GetProcAddress with
// ERROR_PROC_NOT_FOUND. Handles already given out stay valid.
void SetModuleMissing(const WCHAR* module, bool missing);
void SetExportMissing(const WCHAR* module, const char* proc, bool missing);
void ResetModules();
// LoadLibraryW calls not yet matched by FreeLibrary.
LONG ModuleLoadCount(const WCHAR* module);

// Drive letters. By default Z: is / and C: is $WINEPREFIX/drive_c, or
// /tmp/velmora-drive-c without a prefix. An empty folder unmaps the letter.
void SetDriveFolder(WCHAR letter, const char* linuxFolder);
void ResetDriveFolders();
// Where a Windows path reaches the file system, empty when it cannot.
std::string LinuxPathOf(const WCHAR* windowsPath);
// The Windows form of an absolute Linux path.
std::u16string WindowsPathOf(const char* linuxPath);

// The kernel handles open now (processes, their threads, ...): a test takes
// the count before the code under test runs and compares after, to see that
// every handle it was given was closed.
LONG OpenHandleCount();

// ShellExecuteExW calls, as made: every field the caller set, the item list
// as its parsing name (shell32's namespace: "::{GUID}" for a virtual folder,
// backslash-joined when nested, a full path for a file), and the command
// line that was started, empty when nothing was. Kept (the oldest go once a
// few hundred are waiting) until a test takes them.
struct ShellExecuteRequest {
  ULONG mask = 0;
  std::u16string verb;
  std::u16string file;
  std::u16string parameters;
  std::u16string directory;
  INT show = 0;
  bool hasIdList = false;
  std::u16string idList;
  std::u16string commandLine;
};
std::vector<ShellExecuteRequest> TakeShellExecuteRequests();
// The parsing name of an item list the layer made; empty for any other.
std::u16string ParsingNameOfIdList(const void* idList);

// Empties the registry: only the root keys and their Software\Classes remain.
void ResetRegistry();

}  // namespace platform_testing

#endif  // VELMORA_PLATFORM_TESTING_H
