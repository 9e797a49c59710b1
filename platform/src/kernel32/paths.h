// Windows paths on Linux, mapped the way Wine maps them: each drive letter is
// a Linux folder (Z: is /, C: a folder of its own), the backslash (or the
// slash) separates names, and names match the directory entries whatever
// their letter case, since Windows file systems ignore case.
#ifndef VELMORA_PLATFORM_PATHS_H
#define VELMORA_PLATFORM_PATHS_H

#include <string>
#include <vector>

namespace platform_internal {

bool IsPathSeparator(char16_t c);
bool IsDriveLetter(char16_t c);

// The text compared the way the file system compares names: case folded unit
// by unit.
std::u16string FoldCase(const std::u16string& text);

// The Linux folder of a drive letter, or empty when the letter is not mapped.
std::string DriveFolder(char16_t letter);
void SetDriveFolder(char16_t letter, const std::string& folder);
void ResetDriveFolders();

// The current directory in Windows form, e.g. "Z:\home\user".
std::u16string CurrentDirectory();

// The full Windows form of a path, "X:\a\b": relative paths are taken against
// the current directory, "." and ".." applied, separators made backslashes.
// False for the forms the layer does not map (UNC shares, empty text).
bool FullWindowsPath(const std::u16string& path, std::u16string* full);

// Splits the part of a full Windows path after "X:\" into its names.
std::vector<std::u16string> SplitNames(const std::u16string& text);

// The name of an entry of `folder` that matches `name` case-insensitively (an
// exact match first), in its on-disk spelling. False when there is none.
bool FindEntry(const std::string& folder, const std::u16string& name, std::string* onDisk);

// Where a Windows path reaches the Linux file system. Names that exist are
// matched case-insensitively; the rest are mapped as written, so that a path
// to a missing file maps to a path that does not exist either.
bool ToLinuxPath(const std::u16string& windowsPath, std::string* linuxPath);

// The Windows form of an absolute Linux path: on the drive whose folder holds
// it (the longest match), otherwise on Z:.
std::u16string ToWindowsPath(const std::string& linuxPath);

}  // namespace platform_internal

#endif  // VELMORA_PLATFORM_PATHS_H
