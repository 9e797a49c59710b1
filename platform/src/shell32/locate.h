// Finding the file FindExecutableW or ShellExecuteExW is given: an absolute
// path as it is; a relative one in the caller's folder, then the current
// one, then, for a bare name, the system folders and PATH. A name without
// extension is tried as a program (".exe") first.
#ifndef VELMORA_PLATFORM_LOCATE_H
#define VELMORA_PLATFORM_LOCATE_H

#include <windef.h>

#include <string>

namespace platform_internal {

// The full Windows path of the file or folder found; false when none is.
bool LocateFile(const std::u16string& file, LPCWSTR directory, std::u16string* found);

}  // namespace platform_internal

#endif  // VELMORA_PLATFORM_LOCATE_H
