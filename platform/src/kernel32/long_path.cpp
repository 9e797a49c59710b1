// GetLongPathNameW: the long spelling of each name of a path, as the
// directory entries have it.
#include <windows.h>

#include <string>

#include "kernel32/paths.h"
#include "kernel32/text_out.h"
#include "kernel32/utf_convert.h"

using namespace platform_internal;

namespace {

std::string LinuxCurrentFolder() {
  std::string folder;
  if (!ToLinuxPath(CurrentDirectory(), &folder)) return "/";
  return folder;
}

std::string ParentFolder(const std::string& folder, const std::string& root) {
  if (folder.size() <= root.size()) return root;
  const size_t slash = folder.find_last_of('/');
  if (slash == std::string::npos || slash < root.size()) return root;
  return slash == 0 ? std::string("/") : folder.substr(0, slash);
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

// A name that could be an 8.3 short name. Only such names are looked up for
// their long spelling; a name that is long already is kept as written (Wine
// does the same, and Windows documents skipping the lookup for them).
bool HasShortNameShape(const std::u16string& name) {
  const size_t dot = name.find(u'.');
  if (dot != name.rfind(u'.')) return false;
  const size_t baseLength = dot == std::u16string::npos ? name.size() : dot;
  const size_t extLength = dot == std::u16string::npos ? 0 : name.size() - dot - 1;
  if (baseLength == 0 || baseLength > 8 || extLength > 3) return false;
  for (char16_t c : name) {
    if (c == u' ' || c == u'+' || c == u',' || c == u';' || c == u'=' || c == u'[' || c == u']') return false;
  }
  return true;
}

// The Linux folder a path starts from, and the text of its start ("C:\",
// "\", or nothing for a relative path). False for forms the layer does not map.
bool StartOf(const std::u16string& path, size_t* consumed, std::string* folder, std::string* root) {
  size_t at = 0;
  if (path.compare(0, 4, u"\\\\?\\") == 0) at = 4;
  if (path.size() >= at + 2 && IsPathSeparator(path[at]) && IsPathSeparator(path[at + 1])) return false;
  const std::u16string current = CurrentDirectory();
  if (path.size() >= at + 2 && IsDriveLetter(path[at]) && path[at + 1] == u':') {
    *root = DriveFolder(path[at]);
    if (root->empty()) return false;
    at += 2;
    const bool sameDrive = towlower(path[at - 2]) == towlower(current[0]);
    *folder = (at < path.size() && IsPathSeparator(path[at])) || !sameDrive ? *root : LinuxCurrentFolder();
  } else if (!path.empty() && IsPathSeparator(path[at])) {
    *root = DriveFolder(current[0]);
    *folder = *root;
  } else {
    *root = DriveFolder(current[0]);
    *folder = LinuxCurrentFolder();
  }
  *consumed = at;
  return !root->empty();
}

}  // namespace

DWORD WINAPI GetLongPathNameW(LPCWSTR lpszShortPath, LPWSTR lpszLongPath, DWORD cchBuffer) {
  if (!lpszShortPath) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  // A copy: the result may go into the same buffer.
  const std::u16string path(lpszShortPath);
  size_t at = 0;
  std::string folder;
  std::string root;
  if (path.empty() || !StartOf(path, &at, &folder, &root)) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return 0;
  }
  std::u16string result = path.substr(0, at);
  while (at < path.size()) {
    if (IsPathSeparator(path[at])) {
      result += path[at++];
      continue;
    }
    size_t end = at;
    while (end < path.size() && !IsPathSeparator(path[end])) ++end;
    const std::u16string name = path.substr(at, end - at);
    at = end;
    if (name == u".") {
      result += name;
      continue;
    }
    if (name == u"..") {
      result += name;
      folder = ParentFolder(folder, root);
      continue;
    }
    std::string onDisk;
    if (!FindEntry(folder, name, &onDisk)) {
      SetLastError(ERROR_FILE_NOT_FOUND);
      return 0;
    }
    result += HasShortNameShape(name) ? FromUtf8(onDisk) : name;
    folder = Join(folder, onDisk);
  }
  return CopyOrRequiredSize(result, lpszLongPath, cchBuffer);
}
