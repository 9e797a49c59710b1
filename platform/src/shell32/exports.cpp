// shell32.dll as LoadLibraryW finds it: the functions a caller may look up by name.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "kernel32/modules.h"

using platform_internal::ExportOf;

namespace {

const platform_internal::ModuleRegistration kShell32(
    u"shell32.dll", {{"FindExecutableW", ExportOf(&FindExecutableW)},
                     {"ShellExecuteExW", ExportOf(&ShellExecuteExW)},
                     {"SHGetMalloc", ExportOf(&SHGetMalloc)},
                     {"SHGetDesktopFolder", ExportOf(&SHGetDesktopFolder)},
                     {"SHGetSpecialFolderLocation", ExportOf(&SHGetSpecialFolderLocation)},
                     {"ILFree", ExportOf(&ILFree)},
                     {"ILGetSize", ExportOf(&ILGetSize)},
                     {"ILIsEqual", ExportOf(&ILIsEqual)}});

}  // namespace
