// shell32.dll as LoadLibraryW finds it: the functions a caller may look up by name.
#include <windows.h>
#include <shellapi.h>

#include "kernel32/modules.h"

using platform_internal::ExportOf;

namespace {

const platform_internal::ModuleRegistration kShell32(u"shell32.dll",
                                                     {{"FindExecutableW", ExportOf(&FindExecutableW)}});

}  // namespace
