// The shell namespace of the Linux layer (see namespace.cpp): item lists
// made and read by the layer, and their desktop-absolute parsing names.
#ifndef VELMORA_PLATFORM_NAMESPACE_H
#define VELMORA_PLATFORM_NAMESPACE_H

#include <shlobj.h>

#include <string>

namespace platform_internal {

// The list's parsing name relative to the desktop: "::{GUID}" for a virtual
// folder, joined by backslashes when nested ("::{A}\::{B}"), the full
// Windows path for a file or folder, "" for the desktop itself. False for a
// list the layer did not make.
bool ParsingNameOf(PCIDLIST_ABSOLUTE list, std::u16string* name);
// Whether the list names a file or folder of the file system, and its path.
bool FileSystemPathOf(PCIDLIST_ABSOLUTE list, std::u16string* path);

}  // namespace platform_internal

#endif  // VELMORA_PLATFORM_NAMESPACE_H
