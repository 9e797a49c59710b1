// Small text files and environment variables by Windows path and UTF-16 name,
// for the target program and the tests that talk to it through files. On
// Windows through the Windows API; on Linux the layer has no file API, so
// the path is mapped with the layer's control and POSIX does the rest.
#ifndef VELMORA_TESTS_PLATFORM_SUPPORT_TEXT_FILES_H
#define VELMORA_TESTS_PLATFORM_SUPPORT_TEXT_FILES_H

#include <windows.h>

#include <wide_string.h>

#include <string>

namespace velmora_test {

std::string ToUtf8(const WideString& text);
WideString FromUtf8(const std::string& text);

// Writes `text` (UTF-8) to a new file, replacing any file of that name.
bool WriteTextFile(const WideString& path, const std::string& text);
// Writes to "<path>.part" first and renames it, so that a reader never sees
// half of the text.
bool PublishTextFile(const WideString& path, const std::string& text);
bool ReadTextFile(const WideString& path, std::string* text);
bool FileExists(const WideString& path);
void RemoveFile(const WideString& path);
// Copies a program file; on Linux the copy is executable too.
bool CopyProgram(const WideString& from, const WideString& to);

// An environment variable of this process; false when it is not set.
bool GetEnvironmentText(const WCHAR* name, WideString* value);
// Sets a variable, or removes it when `value` is null.
void SetEnvironmentText(const WCHAR* name, const WCHAR* value);

}  // namespace velmora_test

#endif  // VELMORA_TESTS_PLATFORM_SUPPORT_TEXT_FILES_H
