// LoadLibraryW, GetProcAddress, FreeLibrary, GetModuleHandleW and
// GetModuleFileNameW over the modules the layer's DLL groups registered. A
// handle is the address of the module's record, so it stays the same for
// every load, as a DLL's base address does.
#include <windows.h>

#include <limits.h>
#include <string.h>
#include <unistd.h>

#include <list>
#include <mutex>
#include <set>
#include <vector>

#include "kernel32/modules.h"
#include "kernel32/paths.h"

namespace platform_internal {

namespace {

struct Module {
  const char16_t* fileName;
  std::vector<ModuleExport> exports;
  LONG loads = 0;
  bool missing = false;
  std::set<std::string> missingExports;
};

struct ModuleTable {
  std::mutex lock;
  // A list, so that a record (and the handle that is its address) never moves.
  std::list<Module> modules;
};

ModuleTable& Modules() {
  static ModuleTable table;
  return table;
}

// Stands for the executable; only its address is used.
char g_executable;

HMODULE ExecutableModule() { return reinterpret_cast<HMODULE>(&g_executable); }

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

// The Windows path of a module's file; false for an unknown handle.
bool ModuleFileName(HMODULE module, std::u16string* path) {
  if (!module || module == ExecutableModule()) {
    *path = ToWindowsPath(ExecutablePath());
    return true;
  }
  ModuleTable& table = Modules();
  std::lock_guard<std::mutex> guard(table.lock);
  Module* found = FindByHandle(table, module);
  if (!found) return false;
  *path = std::u16string(u"C:\\windows\\system32\\") + found->fileName;
  return true;
}

}  // namespace

ModuleRegistration::ModuleRegistration(const char16_t* fileName, std::initializer_list<ModuleExport> exports) {
  ModuleTable& table = Modules();
  std::lock_guard<std::mutex> guard(table.lock);
  if (FindByName(table, fileName)) return;
  Module module;
  module.fileName = fileName;
  module.exports.assign(exports.begin(), exports.end());
  table.modules.push_back(std::move(module));
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
  for (const ModuleExport& entry : module->exports) {
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

DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) {
  std::u16string path;
  if (!ModuleFileName(hModule, &path)) {
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
