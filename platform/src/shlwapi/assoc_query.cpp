// AssocQueryStringW: strings of a file association. Two ways in: a file type
// (".txt") or ProgID, read from HKEY_CLASSES_ROOT; or, with
// ASSOCF_INIT_BYEXENAME, the name of a program, which is found the way the
// shell finds programs: its App Paths entry, then the folders of PATH.
#include <windows.h>
#include <shlwapi.h>

#include <string.h>

#include "shlwapi/association.h"
#include "kernel32/paths.h"

using namespace platform_internal;

namespace {

HRESULT NoAssociation() { return HRESULT_FROM_WIN32(ERROR_NO_ASSOCIATION); }

std::u16string Unquoted(const std::u16string& text) {
  if (text.size() >= 2 && text.front() == u'"' && text.back() == u'"') return text.substr(1, text.size() - 2);
  return text;
}

HRESULT ProgramByName(const std::u16string& name, std::u16string* program) {
  std::u16string full;
  if (!IsBareName(name)) {
    if (!FullWindowsPath(name, &full) || !FileExists(full)) return NoAssociation();
    *program = full;
    return S_OK;
  }
  const std::u16string fileName = HasExtension(name) ? name : name + u".exe";
  std::u16string registered;
  if (AppPathOf(fileName, &registered)) {
    *program = Unquoted(registered);
    return S_OK;
  }
  for (const std::u16string& folder : ProgramSearchFolders()) {
    const std::u16string candidate = JoinWindowsPath(folder, fileName);
    if (FileExists(candidate) && FullWindowsPath(candidate, &full)) {
      *program = full;
      return S_OK;
    }
  }
  return NoAssociation();
}

// The program of a command, found on disk: a bare name through the
// program folders.
HRESULT ProgramOfVerb(const std::u16string& command, std::u16string* program) {
  const std::u16string named = ProgramOfCommand(command);
  if (named.empty()) return NoAssociation();
  std::u16string full;
  if (!IsBareName(named)) {
    if (!FullWindowsPath(named, &full) || !FileExists(full)) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    *program = named;
    return S_OK;
  }
  for (const std::u16string& folder : ProgramSearchFolders()) {
    const std::u16string candidate = JoinWindowsPath(folder, named);
    if (FileExists(candidate) && FullWindowsPath(candidate, &full)) {
      *program = full;
      return S_OK;
    }
  }
  return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
}

HRESULT Query(ASSOCF flags, ASSOCSTR str, const std::u16string& assoc, const std::u16string& verb,
              std::u16string* text) {
  if (flags & ASSOCF_INIT_BYEXENAME) {
    if (str != ASSOCSTR_EXECUTABLE) return E_NOTIMPL;
    return ProgramByName(assoc, text);
  }
  if (str != ASSOCSTR_EXECUTABLE && str != ASSOCSTR_COMMAND) return E_NOTIMPL;
  std::u16string command;
  if (!VerbCommand(assoc, verb, &command)) return NoAssociation();
  if (str == ASSOCSTR_COMMAND) {
    *text = command;
    return S_OK;
  }
  return ProgramOfVerb(command, text);
}

}  // namespace

HRESULT WINAPI AssocQueryStringW(ASSOCF flags, ASSOCSTR str, LPCWSTR pszAssoc, LPCWSTR pszExtra, LPWSTR pszOut,
                                 DWORD* pcchOut) {
  // The codes for bad arguments are the ones Wine gives.
  if (!pcchOut) return E_UNEXPECTED;
  if (!pszAssoc) return E_INVALIDARG;
  if (!*pszAssoc) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  const std::u16string verb = pszExtra && *pszExtra ? pszExtra : u"open";

  std::u16string text;
  const HRESULT hr = Query(flags, str, pszAssoc, verb, &text);
  if (FAILED(hr)) return hr;

  const DWORD needed = static_cast<DWORD>(text.size() + 1);
  if (!pszOut) {
    *pcchOut = needed;
    return S_FALSE;
  }
  if (*pcchOut < needed) {
    // As documented: the text is cut to the buffer unless the caller asked
    // for all or nothing, and the size it needs comes back either way.
    if (!(flags & ASSOCF_NOTRUNCATE) && *pcchOut > 0) {
      memcpy(pszOut, text.data(), (*pcchOut - 1) * sizeof(WCHAR));
      pszOut[*pcchOut - 1] = 0;
    }
    *pcchOut = needed;
    return E_POINTER;
  }
  memcpy(pszOut, text.data(), needed * sizeof(WCHAR));
  *pcchOut = needed;
  return S_OK;
}
