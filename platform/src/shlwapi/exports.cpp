// shlwapi.dll as LoadLibraryW finds it: the functions a caller may look up
// by name. Programs look AssocQueryStringW up at run time rather than link it.
#include <windows.h>
#include <shlwapi.h>

#include "kernel32/modules.h"

using platform_internal::ExportOf;

namespace {

const platform_internal::ModuleRegistration kShlwapi(u"shlwapi.dll",
                                                     {{"AssocQueryStringW", ExportOf(&AssocQueryStringW)},
                                                      {"PathFileExistsW", ExportOf(&PathFileExistsW)},
                                                      {"PathFindExtensionW", ExportOf(&PathFindExtensionW)},
                                                      {"PathFindFileNameW", ExportOf(&PathFindFileNameW)},
                                                      {"PathIsDirectoryW", ExportOf(&PathIsDirectoryW)},
                                                      {"PathRemoveArgsW", ExportOf(&PathRemoveArgsW)},
                                                      {"PathRemoveBlanksW", ExportOf(&PathRemoveBlanksW)},
                                                      {"PathRemoveFileSpecW", ExportOf(&PathRemoveFileSpecW)},
                                                      {"PathStripPathW", ExportOf(&PathStripPathW)}});

}  // namespace
