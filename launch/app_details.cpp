// CAppDetails: building the record of one application from a command line or
// from a file path.
#include "launch/app_details.h"

#include <objbase.h>
#include <oleauto.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <atlbase.h>
#include <host.h>
#include <scoped_library.h>

#include <wctype.h>

#include <algorithm>
#include <vector>

#include "settings/rack_lookup.h"
#include "settings/shared_constants.h"

namespace {

// FindExecutableW and GetLongPathNameW write into a buffer of this many
// characters; AssocQueryStringW is told it has MAX_PATH of them.
const DWORD kExecutableBufferChars = 1041;
const DWORD kAssocQueryChars = 260;
// Any FindExecutableW result up to this one is an error code.
const INT_PTR kLastShellError = 32;
const LONG kLocateFlags = 1;

typedef HRESULT(WINAPI* AssocQueryStringFn)(ASSOCF, ASSOCSTR, LPCWSTR, LPCWSTR, LPWSTR, DWORD*);

WideString TextOf(const WCHAR* text) { return text ? WideString(text) : WideString(); }

void RemoveQuotes(WideString& text) { text.erase(std::remove(text.begin(), text.end(), OLESTR('"')), text.end()); }

void TrimWhiteSpace(WideString& text) {
  size_t end = text.size();
  while (end > 0 && iswspace(text[end - 1])) --end;
  size_t start = 0;
  while (start < end && iswspace(text[start])) ++start;
  text = text.substr(start, end - start);
}

// A zero-terminated, writable copy for the shell's in-place path functions.
std::vector<WCHAR> Writable(const WideString& text) {
  std::vector<WCHAR> buffer(text.begin(), text.end());
  buffer.push_back(0);
  return buffer;
}

}  // namespace

CAppDetails::CAppDetails(const WCHAR* pszCommand, const WCHAR* pszWorkingDir)
    : m_strPath(TextOf(pszCommand)),
      m_strWorkingDir(TextOf(pszWorkingDir)),
      m_bHook(true),
      m_bChildProcesses(false),
      m_bDirectLaunch(1),
      m_nLevel(1) {
  DeriveProcessName();
  // The command keeps its quotes: it goes to CreateProcessW as it is.
  RemoveQuotes(m_strWorkingDir);
}

CAppDetails::CAppDetails(IObjectRack* pRack, const WCHAR* pszPath, const WCHAR* pszWorkingDir, const WCHAR* pszArgs,
                         bool bHook, bool bChildProcesses)
    : m_strPath(TextOf(pszPath)),
      m_strWorkingDir(TextOf(pszWorkingDir)),
      m_strArgs(TextOf(pszArgs)),
      m_bHook(bHook),
      m_bChildProcesses(bChildProcesses),
      m_bDirectLaunch(0),
      m_nLevel(1) {
  RemoveQuotes(m_strPath);
  RemoveQuotes(m_strWorkingDir);
  TrimWhiteSpace(m_strPath);
  LocateFile(pRack);
  OutputDebugStringW((WideString(OLESTR("KexDbg: Located AUT file name: ")) + m_strPath).c_str());
  ResolveExecutable(pszWorkingDir);
}

// The process name from the text of the path alone: its file name, lower
// case, without arguments or quotes, ".exe" when it has no extension.
void CAppDetails::DeriveProcessName() {
  if (m_strPath.empty()) return;
  std::vector<WCHAR> name = Writable(m_strPath);
  _wcslwr(name.data());
  PathRemoveArgsW(name.data());
  PathStripPathW(name.data());
  for (WCHAR* p = name.data(); *p; ++p) {
    if (*p == OLESTR('"')) *p = OLESTR(' ');
  }
  PathRemoveBlanksW(name.data());
  m_strProcessName = name.data();
  if (*PathFindExtensionW(m_strProcessName.c_str()) == 0) m_strProcessName += OLESTR(".exe");
}

// The host's file locator may know where the file really is. Its answer
// replaces the path when it is a different text; a case change counts.
void CAppDetails::LocateFile(IObjectRack* pRack) {
  if (!pRack) return;
  ATL::CComPtr<IFileLocator> locator;
  // No locator, for whatever reason, leaves the path as it is.
  (void)LookupRackObject(pRack, SharedConstants().bstrRackFileLocator, locator);
  if (!locator) return;
  ATL::CComBSTR path(static_cast<int>(m_strPath.size()), m_strPath.c_str());
  ATL::CComBSTR located;
  ATL::CComBSTR extra;
  const HRESULT hr = locator->LocateFile(path, kLocateFlags, located.Receive(), extra.Receive());
  if (FAILED(hr) || located.Length() == 0) return;
  if (VarBstrCmp(located, path, LOCALE_USER_DEFAULT, 0) == VARCMP_EQ) return;
  m_strPath.assign(located.m_str, located.Length());
  RemoveQuotes(m_strPath);
}

// The process name is the file name of the program that opens the path, as
// stored on disk; when no program is found, it comes from the text.
void CAppDetails::ResolveExecutable(const WCHAR* pszWorkingDirAsPassed) {
  std::vector<WCHAR> buffer(kExecutableBufferChars, 0);
  const INT_PTR found =
      reinterpret_cast<INT_PTR>(FindExecutableW(m_strPath.c_str(), pszWorkingDirAsPassed, buffer.data()));
  if (found <= kLastShellError) {
    // Not a document with a program, nor a program found by the search: maybe
    // a program the shell knows by name. The function is looked up at run time.
    const CScopedLibrary shlwapi = CScopedLibrary::Load(OLESTR("Shlwapi.dll"));
    if (!shlwapi.IsValid()) {
      DeriveProcessName();
      return;
    }
    const AssocQueryStringFn query = reinterpret_cast<AssocQueryStringFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(shlwapi.Get(), "AssocQueryStringW")));
    HRESULT hr = E_FAIL;
    if (query) {
      std::fill(buffer.begin(), buffer.end(), 0);
      DWORD size = kAssocQueryChars;
      hr = query(ASSOCF_INIT_BYEXENAME, ASSOCSTR_EXECUTABLE, m_strPath.c_str(), nullptr, buffer.data(), &size);
    }
    if (FAILED(hr)) {
      DeriveProcessName();
      return;
    }
  }

  const WideString executable(buffer.data());
  std::fill(buffer.begin(), buffer.end(), 0);
  const DWORD length = GetLongPathNameW(executable.c_str(), buffer.data(), kExecutableBufferChars);
  // A result of the buffer's size or more is the size it would have needed.
  if (length > 0 && length < kExecutableBufferChars) {
    PathStripPathW(buffer.data());
    m_strProcessName = buffer.data();
    return;
  }
  m_strProcessName.clear();
  DeriveProcessName();
}

std::unique_ptr<CAppDetails> DetailsFromEntry(const AppListEntry& entry, IObjectRack* pRack) {
  if (entry.HasApp()) return std::make_unique<CAppDetails>(entry.m_bstrApp, entry.m_bstrDir);
  if (!entry.HasFile()) return nullptr;
  return std::make_unique<CAppDetails>(pRack, entry.m_bstrFile, entry.m_bstrDir, entry.m_bstrArgs, true,
                                       entry.m_bChildren != VARIANT_FALSE);
}
