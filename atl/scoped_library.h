// CScopedLibrary: owns one module loaded with LoadLibraryW and frees it when
// it goes, so that a function looked up in it cannot outlive the load by
// accident of an early return.
#ifndef VELMORA_ATL_SCOPED_LIBRARY_H
#define VELMORA_ATL_SCOPED_LIBRARY_H

#include <windows.h>

class CScopedLibrary {
 public:
  CScopedLibrary() = default;
  explicit CScopedLibrary(HMODULE module) : m_hModule(module) {}
  CScopedLibrary(const CScopedLibrary&) = delete;
  CScopedLibrary& operator=(const CScopedLibrary&) = delete;
  ~CScopedLibrary() { Reset(); }

  // Loads name (null when it cannot be loaded), freeing what was held.
  static CScopedLibrary Load(LPCWSTR name) { return CScopedLibrary(::LoadLibraryW(name)); }
  CScopedLibrary(CScopedLibrary&& other) noexcept : m_hModule(other.m_hModule) { other.m_hModule = nullptr; }

  HMODULE Get() const { return m_hModule; }
  bool IsValid() const { return m_hModule != nullptr; }

  // Frees the module held, if any.
  void Reset() {
    HMODULE old = m_hModule;
    m_hModule = nullptr;
    // Nothing can be done about a module that will not unload.
    if (old) (void)::FreeLibrary(old);
  }

 private:
  HMODULE m_hModule = nullptr;
};

#endif  // VELMORA_ATL_SCOPED_LIBRARY_H
