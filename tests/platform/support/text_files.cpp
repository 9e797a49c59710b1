// Text files and environment variables on both builds (text_files.h).
#include "tests/platform/support/text_files.h"

#include <objbase.h>

#ifndef _WIN32
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <velmora_platform/platform_testing.h>
#endif

namespace velmora_test {

std::string ToUtf8(const WideString& text) {
  if (text.empty()) return std::string();
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                       nullptr);
  if (size <= 0) return std::string();
  std::string result(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &result[0], size, nullptr, nullptr);
  return result;
}

WideString FromUtf8(const std::string& text) {
  if (text.empty()) return WideString();
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
  if (size <= 0) return WideString();
  WideString result(static_cast<size_t>(size), OLESTR('\0'));
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &result[0], size);
  return result;
}

#ifdef _WIN32

bool WriteTextFile(const WideString& path, const std::string& text) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == text.size();
}

bool PublishTextFile(const WideString& path, const std::string& text) {
  const WideString part = path + OLESTR(".part");
  if (!WriteTextFile(part, text)) return false;
  return MoveFileExW(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

bool ReadTextFile(const WideString& path, std::string* text) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  text->clear();
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text->append(buffer, read);
  CloseHandle(file);
  return true;
}

bool FileExists(const WideString& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void RemoveFile(const WideString& path) { DeleteFileW(path.c_str()); }

bool CopyProgram(const WideString& from, const WideString& to) {
  return CopyFileW(from.c_str(), to.c_str(), TRUE) != FALSE;
}

bool GetEnvironmentText(const WCHAR* name, WideString* value) {
  WCHAR buffer[2048];
  const DWORD length = GetEnvironmentVariableW(name, buffer, 2048);
  if (length == 0 || length >= 2048) return false;
  *value = WideString(buffer, length);
  return true;
}

void SetEnvironmentText(const WCHAR* name, const WCHAR* value) { SetEnvironmentVariableW(name, value); }

#else

bool WriteTextFile(const WideString& path, const std::string& text) {
  const std::string file = platform_testing::LinuxPathOf(path.c_str());
  FILE* stream = file.empty() ? nullptr : fopen(file.c_str(), "wb");
  if (!stream) return false;
  const bool written = fwrite(text.data(), 1, text.size(), stream) == text.size();
  return fclose(stream) == 0 && written;
}

bool PublishTextFile(const WideString& path, const std::string& text) {
  const WideString part = path + OLESTR(".part");
  if (!WriteTextFile(part, text)) return false;
  const std::string from = platform_testing::LinuxPathOf(part.c_str());
  const std::string to = platform_testing::LinuxPathOf(path.c_str());
  return !to.empty() && rename(from.c_str(), to.c_str()) == 0;
}

bool ReadTextFile(const WideString& path, std::string* text) {
  const std::string file = platform_testing::LinuxPathOf(path.c_str());
  FILE* stream = file.empty() ? nullptr : fopen(file.c_str(), "rb");
  if (!stream) return false;
  text->clear();
  char buffer[4096];
  size_t read;
  while ((read = fread(buffer, 1, sizeof buffer, stream)) > 0) text->append(buffer, read);
  fclose(stream);
  return true;
}

bool FileExists(const WideString& path) {
  const std::string file = platform_testing::LinuxPathOf(path.c_str());
  struct stat info;
  return !file.empty() && stat(file.c_str(), &info) == 0;
}

void RemoveFile(const WideString& path) {
  const std::string file = platform_testing::LinuxPathOf(path.c_str());
  if (!file.empty()) unlink(file.c_str());
}

bool CopyProgram(const WideString& from, const WideString& to) {
  std::string bytes;
  if (!ReadTextFile(from, &bytes) || !WriteTextFile(to, bytes)) return false;
  const std::string file = platform_testing::LinuxPathOf(to.c_str());
  return chmod(file.c_str(), 0755) == 0;
}

bool GetEnvironmentText(const WCHAR* name, WideString* value) {
  const char* text = getenv(ToUtf8(name).c_str());
  if (!text) return false;
  *value = FromUtf8(text);
  return true;
}

void SetEnvironmentText(const WCHAR* name, const WCHAR* value) {
  if (value) {
    setenv(ToUtf8(name).c_str(), ToUtf8(value).c_str(), 1);
  } else {
    unsetenv(ToUtf8(name).c_str());
  }
}

#endif

}  // namespace velmora_test
