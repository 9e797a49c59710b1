// The layer's own modules: the DLLs whose functions the add-in may look up at
// run time with LoadLibraryW/GetProcAddress, each a table of its exports.
#ifndef VELMORA_PLATFORM_MODULES_H
#define VELMORA_PLATFORM_MODULES_H

#include <windef.h>

#include <string>

namespace platform_internal {

// What GetModuleHandleW(NULL) returns: the process's executable.
HMODULE ExecutableModule();
// The Windows path of a module's file; false for an unknown handle.
bool ModuleFileName(HMODULE module, std::u16string* path);

// Test controls (see platform_testing.h).
void SetModuleMissing(const std::u16string& name, bool missing);
void SetExportMissing(const std::u16string& module, const std::string& proc, bool missing);
void ResetModuleControls();
LONG ModuleLoadCount(const std::u16string& name);

}  // namespace platform_internal

#endif  // VELMORA_PLATFORM_MODULES_H
