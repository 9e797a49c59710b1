// Registering the host's launcher for Windows applications when loading
// completes.
#include "addin/velmora_obj.h"

HRESULT CVelmoraObj::RegisterLauncher(IDataObj*) { return S_OK; }
