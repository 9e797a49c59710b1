// The layer's loader: the DLLs whose functions a program may look up at run
// time with LoadLibraryW/GetProcAddress. The loader knows no DLL by itself:
// each DLL group of the layer registers its file name and export table (its
// exports.cpp) when the program starts, so that the kernel depends on none
// of the groups above it.
#ifndef VELMORA_PLATFORM_MODULES_H
#define VELMORA_PLATFORM_MODULES_H

#include <windef.h>

#include <initializer_list>
#include <string>

namespace platform_internal {

struct ModuleExport {
  const char* name;
  FARPROC proc;
};

// Through void(*)(): the cast that says the signature is the caller's business.
template <class F>
FARPROC ExportOf(F* function) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

// One DLL of the layer, registered when the program starts: a DLL group
// defines one at namespace scope. A name registered twice keeps its first table.
class ModuleRegistration {
 public:
  ModuleRegistration(const char16_t* fileName, std::initializer_list<ModuleExport> exports);
};

// Test controls (see platform_testing.h).
void SetModuleMissing(const std::u16string& name, bool missing);
void SetExportMissing(const std::u16string& module, const std::string& proc, bool missing);
void ResetModuleControls();
LONG ModuleLoadCount(const std::u16string& name);

}  // namespace platform_internal

#endif  // VELMORA_PLATFORM_MODULES_H
