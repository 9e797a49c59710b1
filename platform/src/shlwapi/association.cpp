// File associations and the shell's file search.
#include "shlwapi/association.h"

#include <windows.h>
#include <shlwapi.h>

#include <stdlib.h>
#include <sys/stat.h>

#include "kernel32/paths.h"
#include "kernel32/utf_convert.h"

namespace platform_internal {

namespace {

bool StatWindowsPath(const std::u16string& windowsPath, struct stat* info) {
  std::string linuxPath;
  if (!ToLinuxPath(windowsPath, &linuxPath)) return false;
  return stat(linuxPath.c_str(), info) == 0;
}

}  // namespace

bool ReadDefaultText(HKEY root, const std::u16string& subKey, std::u16string* text) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  DWORD type = 0;
  DWORD size = 0;
  bool ok = RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
            (type == REG_SZ || type == REG_EXPAND_SZ);
  std::u16string value;
  if (ok) {
    value.resize(size / sizeof(WCHAR) + 1);
    ok = RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(&value[0]), &size) == ERROR_SUCCESS;
  }
  RegCloseKey(key);
  if (!ok) return false;
  // The stored text may or may not carry its terminator.
  value.resize(size / sizeof(WCHAR));
  const size_t end = value.find(u'\0');
  if (end != std::u16string::npos) value.resize(end);
  *text = value;
  return true;
}

bool VerbCommand(const std::u16string& typeOrProgId, const std::u16string& verb, std::u16string* command) {
  std::u16string progId = typeOrProgId;
  if (!typeOrProgId.empty() && typeOrProgId[0] == u'.') {
    if (!ReadDefaultText(HKEY_CLASSES_ROOT, typeOrProgId, &progId) || progId.empty()) return false;
  }
  const std::u16string commandKey = progId + u"\\shell\\" + verb + u"\\command";
  return ReadDefaultText(HKEY_CLASSES_ROOT, commandKey, command) && !command->empty();
}

bool AppPathOf(const std::u16string& name, std::u16string* path) {
  const std::u16string key = u"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + name;
  return ReadDefaultText(HKEY_LOCAL_MACHINE, key, path) && !path->empty();
}

std::u16string ProgramOfCommand(const std::u16string& command) {
  size_t start = 0;
  while (start < command.size() && command[start] == u' ') ++start;
  if (start < command.size() && command[start] == u'"') {
    const size_t close = command.find(u'"', start + 1);
    const size_t end = close == std::u16string::npos ? command.size() : close;
    return command.substr(start + 1, end - start - 1);
  }
  const size_t blank = command.find(u' ', start);
  return command.substr(start, blank == std::u16string::npos ? std::u16string::npos : blank - start);
}

bool IsProgramFile(const std::u16string& path) {
  const std::u16string extension = FoldCase(PathFindExtensionW(path.c_str()));
  return extension == u".exe" || extension == u".com" || extension == u".bat" || extension == u".cmd" ||
         extension == u".pif";
}

bool HasExtension(const std::u16string& path) { return *PathFindExtensionW(path.c_str()) != 0; }

bool IsRelativePath(const std::u16string& path) {
  if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == u':') return false;
  return path.empty() || !IsPathSeparator(path[0]);
}

bool IsBareName(const std::u16string& path) {
  for (char16_t c : path) {
    if (IsPathSeparator(c) || c == u':') return false;
  }
  return true;
}

bool FileExists(const std::u16string& windowsPath) {
  struct stat info;
  return StatWindowsPath(windowsPath, &info) && !S_ISDIR(info.st_mode);
}

bool FolderExists(const std::u16string& windowsPath) {
  struct stat info;
  return StatWindowsPath(windowsPath, &info) && S_ISDIR(info.st_mode);
}

std::vector<std::u16string> ProgramSearchFolders() {
  std::vector<std::u16string> folders = {u"C:\\windows\\system32", u"C:\\windows"};
  const char* path = getenv("PATH");
  if (!path) return folders;
  std::string list = path;
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(':', start);
    if (end == std::string::npos) end = list.size();
    const std::string folder = list.substr(start, end - start);
    if (!folder.empty() && folder[0] == '/') folders.push_back(ToWindowsPath(folder));
    start = end + 1;
  }
  return folders;
}

std::u16string JoinWindowsPath(const std::u16string& folder, const std::u16string& name) {
  if (folder.empty()) return name;
  if (IsPathSeparator(folder.back())) return folder + name;
  return folder + u"\\" + name;
}

}  // namespace platform_internal
