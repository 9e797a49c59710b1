// Registering the host's launcher for Windows applications when loading
// completes.
#ifndef VELMORA_EVENTS_LAUNCHER_REGISTRATION_H
#define VELMORA_EVENTS_LAUNCHER_REGISTRATION_H

#include <windows.h>

#include <velmora.h>

namespace launcher_registration {

[[nodiscard]] HRESULT Register(IDataObj* pDataObj, IObjectRack* pRack);

}  // namespace launcher_registration

#endif  // VELMORA_EVENTS_LAUNCHER_REGISTRATION_H
