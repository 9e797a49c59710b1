// The shell's path string helpers. Pure string work on the caller's buffer:
// nothing here looks at the file system.
#include <windows.h>
#include <shlwapi.h>

#include <string.h>

namespace {

bool IsNameSeparator(WCHAR c) { return c == u'\\' || c == u'/' || c == u':'; }

}  // namespace

// Cuts the text at the first blank outside double quotes: what follows are
// the arguments, and the blank goes with them. With no such blank (a quote
// left open) there are no arguments, but a blank at the very end still goes.
void WINAPI PathRemoveArgsW(LPWSTR pszPath) {
  if (!pszPath) return;
  bool quoted = false;
  WCHAR* p = pszPath;
  for (; *p; ++p) {
    if (*p == u'"') {
      quoted = !quoted;
    } else if (*p == u' ' && !quoted) {
      *p = 0;
      return;
    }
  }
  if (p != pszPath && p[-1] == u' ') p[-1] = 0;
}

// The file name starts after the last separator ("\", "/" or the drive's
// ":") that has a name after it; a trailing separator belongs to the name, so
// "C:\dir\" gives "dir\" and "C:\" gives itself.
LPWSTR WINAPI PathFindFileNameW(LPCWSTR pszPath) {
  if (!pszPath) return nullptr;
  LPCWSTR name = pszPath;
  for (LPCWSTR p = pszPath; *p; ++p) {
    if (IsNameSeparator(p[0]) && p[1] && p[1] != u'\\' && p[1] != u'/') name = p + 1;
  }
  return const_cast<LPWSTR>(name);
}

void WINAPI PathStripPathW(LPWSTR pszPath) {
  if (!pszPath) return;
  LPWSTR name = PathFindFileNameW(pszPath);
  if (name != pszPath) memmove(pszPath, name, (wcslen(name) + 1) * sizeof(WCHAR));
}

// Only blanks: tabs and other white space stay.
void WINAPI PathRemoveBlanksW(LPWSTR pszPath) {
  if (!pszPath) return;
  WCHAR* start = pszPath;
  while (*start == u' ') ++start;
  size_t length = wcslen(start);
  while (length > 0 && start[length - 1] == u' ') --length;
  memmove(pszPath, start, length * sizeof(WCHAR));
  pszPath[length] = 0;
}

// The extension is the last dot of the last name and what follows it, unless
// a blank follows the dot: an extension holds no blanks. Only the backslash
// ends a name here. A name that starts with a dot (".profile") is all
// extension.
LPWSTR WINAPI PathFindExtensionW(LPCWSTR pszPath) {
  if (!pszPath) return nullptr;
  LPCWSTR dot = nullptr;
  LPCWSTR p = pszPath;
  for (; *p; ++p) {
    if (*p == u'\\' || *p == u' ') {
      dot = nullptr;
    } else if (*p == u'.') {
      dot = p;
    }
  }
  return const_cast<LPWSTR>(dot ? dot : p);
}

// Removes the last name and the backslash before it, keeping a root ("C:\",
// "\", "\\"). A colon ends a drive, and the character after it belongs to
// that drive's root or name, never separating ("c::" gives "c:"). True when
// the text got shorter.
BOOL WINAPI PathRemoveFileSpecW(LPWSTR pszPath) {
  if (!pszPath) return FALSE;
  size_t cut = 0;
  if (pszPath[0] == u'\\') cut = pszPath[1] == u'\\' ? 2 : 1;
  for (size_t i = cut; pszPath[i]; ++i) {
    if (pszPath[i] == u'\\') {
      cut = i;
    } else if (pszPath[i] == u':') {
      cut = pszPath[i + 1] == u'\\' ? i + 2 : i + 1;
      if (pszPath[i + 1]) ++i;
    }
  }
  if (!pszPath[cut]) return FALSE;
  pszPath[cut] = 0;
  return TRUE;
}
