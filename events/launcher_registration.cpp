// Registering the host's launcher for Windows applications when loading
// completes.
#include "events/launcher_registration.h"

namespace launcher_registration {

HRESULT Register(IDataObj*, IObjectRack*) { return S_OK; }

}  // namespace launcher_registration
