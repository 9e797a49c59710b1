// The test controls of the kernel's modules and drives (platform_testing.h).
#include <velmora_platform/platform_testing.h>

#include "kernel32/kernel_objects.h"
#include "kernel32/modules.h"
#include "kernel32/paths.h"

namespace platform_testing {

void SetModuleMissing(const WCHAR* module, bool missing) {
  if (module) platform_internal::SetModuleMissing(module, missing);
}

void SetExportMissing(const WCHAR* module, const char* proc, bool missing) {
  if (module && proc) platform_internal::SetExportMissing(module, proc, missing);
}

void ResetModules() { platform_internal::ResetModuleControls(); }

LONG ModuleLoadCount(const WCHAR* module) { return module ? platform_internal::ModuleLoadCount(module) : 0; }

void SetDriveFolder(WCHAR letter, const char* linuxFolder) {
  platform_internal::SetDriveFolder(letter, linuxFolder ? linuxFolder : "");
}

void ResetDriveFolders() { platform_internal::ResetDriveFolders(); }

LONG OpenHandleCount() { return platform_internal::HandleCount(); }

std::string LinuxPathOf(const WCHAR* windowsPath) {
  std::string linuxPath;
  if (!windowsPath || !platform_internal::ToLinuxPath(windowsPath, &linuxPath)) return std::string();
  return linuxPath;
}

std::u16string WindowsPathOf(const char* linuxPath) {
  if (!linuxPath || linuxPath[0] != '/') return std::u16string();
  return platform_internal::ToWindowsPath(linuxPath);
}

}  // namespace platform_testing
