// Temporary folders for tests, on both builds.
#include "tests/support/temp_dir.h"

#include <objbase.h>

#ifdef _WIN32
#include <cstdio>
#else
#include <fcntl.h>
#include <ftw.h>
#include <velmora_platform/platform_testing.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velmora_test {

#ifdef _WIN32

namespace {

void RemoveTree(const WideString& folder) {
  WIN32_FIND_DATAW entry;
  const WideString pattern = folder + OLESTR("\\*");
  HANDLE find = FindFirstFileW(pattern.c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const WideString name = entry.cFileName;
      if (name == OLESTR(".") || name == OLESTR("..")) continue;
      const WideString path = folder + OLESTR("\\") + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

TempDir::TempDir() {
  WCHAR base[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, base);
  if (length == 0 || length > MAX_PATH) return;
  static LONG s_counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    WCHAR name[64];
    swprintf(name, 64, OLESTR("velmora-test-%lu-%lu-%ld"), GetCurrentProcessId(), GetTickCount(),
             InterlockedIncrement(&s_counter));
    const WideString path = WideString(base) + name;
    if (CreateDirectoryW(path.c_str(), nullptr)) {
      m_path = path;
      return;
    }
  }
}

TempDir::~TempDir() {
  if (IsValid()) RemoveTree(m_path);
}

WideString TempDir::MakeFile(const WCHAR* relative) const {
  const WideString path = PathOf(relative);
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return WideString();
  CloseHandle(file);
  return path;
}

WideString TempDir::MakeFolder(const WCHAR* relative) const {
  const WideString path = PathOf(relative);
  return CreateDirectoryW(path.c_str(), nullptr) ? path : WideString();
}

#else

namespace {

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) { return remove(path); }

}  // namespace

TempDir::TempDir() {
  const char* tmp = getenv("TMPDIR");
  std::string pattern = std::string(tmp && tmp[0] == '/' ? tmp : "/tmp") + "/velmora-test-XXXXXX";
  if (!mkdtemp(&pattern[0])) return;
  m_path = platform_testing::WindowsPathOf(pattern.c_str());
}

TempDir::~TempDir() {
  if (!IsValid()) return;
  const std::string folder = platform_testing::LinuxPathOf(m_path.c_str());
  if (!folder.empty()) nftw(folder.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

WideString TempDir::MakeFile(const WCHAR* relative) const {
  const WideString path = PathOf(relative);
  const std::string file = platform_testing::LinuxPathOf(path.c_str());
  const int fd = file.empty() ? -1 : open(file.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0644);
  if (fd < 0) return WideString();
  close(fd);
  return path;
}

WideString TempDir::MakeFolder(const WCHAR* relative) const {
  const WideString path = PathOf(relative);
  const std::string folder = platform_testing::LinuxPathOf(path.c_str());
  return !folder.empty() && mkdir(folder.c_str(), 0755) == 0 ? path : WideString();
}

#endif

WideString TempDir::PathOf(const WCHAR* relative) const { return m_path + OLESTR("\\") + relative; }

}  // namespace velmora_test
