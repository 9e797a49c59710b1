// What FindExecutableW and AssocQueryStringW share: reading file associations
// from HKEY_CLASSES_ROOT and finding files the way the shell searches.
#ifndef VELMORA_PLATFORM_ASSOCIATION_H
#define VELMORA_PLATFORM_ASSOCIATION_H

#include <windef.h>

#include <string>
#include <vector>

namespace platform_internal {

// The default value of a registry key as text (REG_SZ or REG_EXPAND_SZ).
bool ReadDefaultText(HKEY root, const std::u16string& subKey, std::u16string* text);

// The command of a verb of a file type given as ".ext" or as a ProgID:
// HKCR\.ext's default value names the ProgID, whose shell\<verb>\command
// holds the command line.
bool VerbCommand(const std::u16string& typeOrProgId, const std::u16string& verb, std::u16string* command);

// The App Paths entry of a program name (HKLM\...\App Paths\<name>), as
// stored: quotes, if any, included.
bool AppPathOf(const std::u16string& name, std::u16string* path);

// The program a command line starts: the first token, its quotes removed,
// or the text up to the first blank. Placeholders such as %1 are not part of it.
std::u16string ProgramOfCommand(const std::u16string& command);

// A file that is its own program: .exe, .com, .bat, .cmd, .pif.
bool IsProgramFile(const std::u16string& path);

bool HasExtension(const std::u16string& path);
bool IsRelativePath(const std::u16string& path);
bool IsBareName(const std::u16string& path);

bool FileExists(const std::u16string& windowsPath);
bool FolderExists(const std::u16string& windowsPath);

// The folders a bare program name is looked for in after the caller's own:
// the system folders, then those of PATH (Linux folders, in Windows form).
std::vector<std::u16string> ProgramSearchFolders();

std::u16string JoinWindowsPath(const std::u16string& folder, const std::u16string& name);

}  // namespace platform_internal

#endif  // VELMORA_PLATFORM_ASSOCIATION_H
