// Windows path <-> Linux path mapping.
#include "kernel32/paths.h"

#include <windef.h>

#include <dirent.h>
#include <errno.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <memory>
#include <mutex>

#include "kernel32/utf_convert.h"

namespace platform_internal {

namespace {

// Where C: lives when no Wine prefix names one.
constexpr const char* kFallbackDriveC = "/tmp/velmora-drive-c";

struct DriveTable {
  std::mutex lock;
  bool configured = false;
  std::map<char16_t, std::string> folders;
};

DriveTable& Drives() {
  static DriveTable table;
  return table;
}

char16_t UpperDrive(char16_t letter) {
  return (letter >= u'a' && letter <= u'z') ? static_cast<char16_t>(letter - u'a' + u'A') : letter;
}

void ConfigureDefaults(DriveTable& table) {
  if (table.configured) return;
  table.configured = true;
  table.folders[u'Z'] = "/";
  const char* prefix = getenv("WINEPREFIX");
  if (prefix && *prefix) {
    table.folders[u'C'] = std::string(prefix) + "/drive_c";
  } else {
    table.folders[u'C'] = kFallbackDriveC;
  }
}

bool IsFallbackFolder(const std::string& folder) { return folder == kFallbackDriveC; }

std::string LinuxCurrentDirectory() {
  std::string buffer(PATH_MAX, '\0');
  while (!getcwd(&buffer[0], buffer.size())) {
    if (errno != ERANGE) return "/";
    buffer.resize(buffer.size() * 2);
  }
  buffer.resize(buffer.find('\0'));
  return buffer;
}

std::string Canonical(const std::string& folder) {
  std::unique_ptr<char, decltype(&free)> resolved(realpath(folder.c_str(), nullptr), &free);
  return resolved ? std::string(resolved.get()) : folder;
}

std::string JoinLinux(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

bool Exists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

}  // namespace

bool IsPathSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool IsDriveLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

std::u16string FoldCase(const std::u16string& text) {
  std::u16string folded(text);
  for (char16_t& c : folded) c = towlower(c);
  return folded;
}

std::string DriveFolder(char16_t letter) {
  DriveTable& table = Drives();
  std::string folder;
  {
    std::lock_guard<std::mutex> guard(table.lock);
    ConfigureDefaults(table);
    auto found = table.folders.find(UpperDrive(letter));
    if (found == table.folders.end()) return std::string();
    folder = found->second;
  }
  // The layer's own C: folder is made on first use; a Wine prefix's is Wine's.
  if (IsFallbackFolder(folder)) mkdir(folder.c_str(), 0777);
  return folder;
}

void SetDriveFolder(char16_t letter, const std::string& folder) {
  DriveTable& table = Drives();
  std::lock_guard<std::mutex> guard(table.lock);
  ConfigureDefaults(table);
  if (folder.empty()) {
    table.folders.erase(UpperDrive(letter));
  } else {
    table.folders[UpperDrive(letter)] = folder;
  }
}

void ResetDriveFolders() {
  DriveTable& table = Drives();
  std::lock_guard<std::mutex> guard(table.lock);
  table.folders.clear();
  table.configured = false;
}

std::u16string CurrentDirectory() { return ToWindowsPath(LinuxCurrentDirectory()); }

std::vector<std::u16string> SplitNames(const std::u16string& text) {
  std::vector<std::u16string> names;
  std::u16string current;
  for (char16_t c : text) {
    if (IsPathSeparator(c)) {
      if (!current.empty()) names.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) names.push_back(current);
  return names;
}

bool FullWindowsPath(const std::u16string& path, std::u16string* full) {
  std::u16string text = path;
  // "\\?\C:\..." names the same file as "C:\...".
  if (text.size() >= 4 && text[0] == u'\\' && text[1] == u'\\' && text[2] == u'?' && text[3] == u'\\') {
    text.erase(0, 4);
  }
  if (text.empty()) return false;
  if (text.size() >= 2 && IsPathSeparator(text[0]) && IsPathSeparator(text[1])) return false;

  const std::u16string current = CurrentDirectory();
  char16_t drive = current[0];
  std::vector<std::u16string> names;
  std::u16string rest;
  if (text.size() >= 2 && IsDriveLetter(text[0]) && text[1] == u':') {
    drive = text[0];
    rest = text.substr(2);
    const bool rooted = !rest.empty() && IsPathSeparator(rest[0]);
    // "C:name" is relative to the current directory when that is on C:.
    if (!rooted && UpperDrive(drive) == UpperDrive(current[0])) names = SplitNames(current.substr(3));
  } else if (IsPathSeparator(text[0])) {
    rest = text;
  } else {
    names = SplitNames(current.substr(3));
    rest = text;
  }
  for (const std::u16string& name : SplitNames(rest)) {
    if (name == u".") continue;
    if (name == u"..") {
      if (!names.empty()) names.pop_back();
      continue;
    }
    names.push_back(name);
  }
  std::u16string result;
  result += drive;
  result += u":\\";
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) result += u'\\';
    result += names[i];
  }
  *full = result;
  return true;
}

bool FindEntry(const std::string& folder, const std::u16string& name, std::string* onDisk) {
  const std::string exact = ToUtf8(name);
  if (Exists(JoinLinux(folder, exact))) {
    *onDisk = exact;
    return true;
  }
  std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
  if (!dir) return false;
  const std::u16string wanted = FoldCase(name);
  while (const dirent* entry = readdir(dir.get())) {
    const std::string entryName = entry->d_name;
    if (entryName == "." || entryName == "..") continue;
    if (FoldCase(FromUtf8(entryName)) == wanted) {
      *onDisk = entryName;
      return true;
    }
  }
  return false;
}

bool ToLinuxPath(const std::u16string& windowsPath, std::string* linuxPath) {
  std::u16string full;
  if (!FullWindowsPath(windowsPath, &full)) return false;
  std::string path = DriveFolder(full[0]);
  if (path.empty()) return false;
  bool resolving = true;
  for (const std::u16string& name : SplitNames(full.substr(3))) {
    std::string onDisk;
    if (resolving && FindEntry(path, name, &onDisk)) {
      path = JoinLinux(path, onDisk);
    } else {
      resolving = false;
      path = JoinLinux(path, ToUtf8(name));
    }
  }
  *linuxPath = path;
  return true;
}

std::u16string ToWindowsPath(const std::string& linuxPath) {
  char16_t drive = u'Z';
  std::string rest = linuxPath;
  size_t bestLength = 0;
  {
    DriveTable& table = Drives();
    std::lock_guard<std::mutex> guard(table.lock);
    ConfigureDefaults(table);
    for (const auto& entry : table.folders) {
      if (entry.first == u'Z') continue;
      const std::string folder = Canonical(entry.second);
      if (folder.size() <= bestLength || folder == "/") continue;
      const bool inside = linuxPath.compare(0, folder.size(), folder) == 0 &&
                          (linuxPath.size() == folder.size() || linuxPath[folder.size()] == '/');
      if (!inside) continue;
      drive = entry.first;
      rest = linuxPath.substr(folder.size());
      bestLength = folder.size();
    }
  }
  std::u16string result;
  result += drive;
  result += u':';
  std::u16string converted = FromUtf8(rest);
  for (char16_t& c : converted) {
    if (c == u'/') c = u'\\';
  }
  // Drop a trailing separator except the root's.
  while (converted.size() > 1 && converted.back() == u'\\') converted.pop_back();
  if (converted.empty()) converted = u"\\";
  if (converted[0] != u'\\') result += u'\\';
  result += converted;
  return result;
}

}  // namespace platform_internal
