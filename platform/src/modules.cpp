// LoadLibraryW, GetProcAddress, FreeLibrary and GetModuleHandleW over the
// layer's own modules. A handle is the address of the module's record, so it
// stays the same for every load, as a DLL's base address does.
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <mutex>
#include <set>
#include <vector>

#include "modules.h"
#include "paths.h"

namespace platform_internal {

namespace {

struct Export {
  const char* name;
  FARPROC proc;
};

struct Module {
  const char16_t* fileName;
  std::vector<Export> exports;
  LONG loads = 0;
  bool missing = false;
  std::set<std::string> missingExports;
};

// Through void(*)(): the cast that says the signature is the caller's business.
template <class F>
FARPROC Proc(F* function) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

Module MakeModule(const char16_t* fileName, std::vector<Export> exports) {
  Module module;
  module.fileName = fileName;
  module.exports = std::move(exports);
  return module;
}

struct ModuleTable {
  std::mutex lock;
  std::vector<Module> modules;

  ModuleTable() {
    modules.push_back(MakeModule(u"shlwapi.dll",
                             {{"AssocQueryStringW", Proc(&AssocQueryStringW)},
                              {"PathFileExistsW", Proc(&PathFileExistsW)},
                              {"PathFindExtensionW", Proc(&PathFindExtensionW)},
                              {"PathFindFileNameW", Proc(&PathFindFileNameW)},
                              {"PathIsDirectoryW", Proc(&PathIsDirectoryW)},
                              {"PathRemoveArgsW", Proc(&PathRemoveArgsW)},
                              {"PathRemoveBlanksW", Proc(&PathRemoveBlanksW)},
                              {"PathRemoveFileSpecW", Proc(&PathRemoveFileSpecW)},
                              {"PathStripPathW", Proc(&PathStripPathW)}}));
    modules.push_back(MakeModule(u"shell32.dll", {{"FindExecutableW", Proc(&FindExecutableW)}}));
  }
};

ModuleTable& Modules() {
  static ModuleTable table;
  return table;
}

// Stands for the executable; only its address is used.
char g_executable;

// The module's file name as LoadLibraryW reads it: the folder does not
// matter, and a name without extension means a DLL unless it ends in a dot.
std::u16string CanonicalName(const std::u16string& name) {
  size_t start = 0;
  for (size_t i = 0; i < name.size(); ++i) {
    if (IsPathSeparator(name[i])) start = i + 1;
  }
  std::u16string fileName = name.substr(start);
  if (!fileName.empty() && fileName.back() == u'.') {
    fileName.pop_back();
  } else if (fileName.find(u'.') == std::u16string::npos) {
    fileName += u".dll";
  }
  return FoldCase(fileName);
}

// Caller holds the table's lock.
Module* FindByName(ModuleTable& table, const std::u16string& name) {
  const std::u16string wanted = CanonicalName(name);
  for (Module& module : table.modules) {
    if (FoldCase(module.fileName) == wanted) return &module;
  }
  return nullptr;
}

// Caller holds the table's lock.
Module* FindByHandle(ModuleTable& table, HMODULE handle) {
  for (Module& module : table.modules) {
    if (reinterpret_cast<HMODULE>(&module) == handle) return &module;
  }
  return nullptr;
}

}  // namespace

HMODULE ExecutableModule() { return reinterpret_cast<HMODULE>(&g_executable); }

bool ModuleFileName(HMODULE module, std::u16string* path) {
  ModuleTable& table = Modules();
  std::lock_guard<std::mutex> guard(table.lock);
  Module* found = FindByHandle(table, module);
  if (!found) return false;
  *path = std::u16string(u"C:\\windows\\system32\\") + found->fileName;
  return true;
}

void SetModuleMissing(const std::u16string& name, bool missing) {
  ModuleTable& table = Modules();
  std::lock_guard<std::mutex> guard(table.lock);
  if (Module* module = FindByName(table, name)) module->missing = missing;
}

void SetExportMissing(const std::u16string& moduleName, const std::string& proc, bool missing) {
  ModuleTable& table = Modules();
  std::lock_guard<std::mutex> guard(table.lock);
  Module* module = FindByName(table, moduleName);
  if (!module) return;
  if (missing) {
    module->missingExports.insert(proc);
  } else {
    module->missingExports.erase(proc);
  }
}

void ResetModuleControls() {
  ModuleTable& table = Modules();
  std::lock_guard<std::mutex> guard(table.lock);
  for (Module& module : table.modules) {
    module.missing = false;
    module.missingExports.clear();
  }
}

LONG ModuleLoadCount(const std::u16string& name) {
  ModuleTable& table = Modules();
  std::lock_guard<std::mutex> guard(table.lock);
  Module* module = FindByName(table, name);
  return module ? module->loads : 0;
}

}  // namespace platform_internal

using namespace platform_internal;

HMODULE WINAPI LoadLibraryW(LPCWSTR lpLibFileName) {
  if (!lpLibFileName || !*lpLibFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  ModuleTable& table = Modules();
  std::lock_guard<std::mutex> guard(table.lock);
  Module* module = FindByName(table, lpLibFileName);
  if (!module || module->missing) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  ++module->loads;
  return reinterpret_cast<HMODULE>(module);
}

FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
  ModuleTable& table = Modules();
  std::lock_guard<std::mutex> guard(table.lock);
  Module* module = FindByHandle(table, hModule);
  if (!module) {
    SetLastError(hModule == nullptr || hModule == ExecutableModule() ? ERROR_PROC_NOT_FOUND : ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  // A value below 0x10000 is an ordinal; the layer exports by name only.
  if (reinterpret_cast<ULONG_PTR>(lpProcName) < 0x10000) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  const std::string wanted = lpProcName;
  if (module->missingExports.count(wanted)) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  for (const Export& entry : module->exports) {
    if (wanted == entry.name) return entry.proc;
  }
  SetLastError(ERROR_PROC_NOT_FOUND);
  return nullptr;
}

BOOL WINAPI FreeLibrary(HMODULE hLibModule) {
  if (hLibModule == ExecutableModule()) return TRUE;
  ModuleTable& table = Modules();
  std::lock_guard<std::mutex> guard(table.lock);
  Module* module = FindByHandle(table, hLibModule);
  // Freeing more often than loading is a caller's fault the tests must see.
  if (!module || module->loads == 0) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return FALSE;
  }
  --module->loads;
  return TRUE;
}

HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName) {
  if (!lpModuleName) return ExecutableModule();
  ModuleTable& table = Modules();
  std::lock_guard<std::mutex> guard(table.lock);
  // The layer's modules are part of the program, as DLLs it links are.
  Module* module = FindByName(table, lpModuleName);
  if (!module || module->missing) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<HMODULE>(module);
}
