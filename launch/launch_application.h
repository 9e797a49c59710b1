// Starting the application one record describes: a command record directly
// (CreateProcessW), a file record through the shell's "open" (ShellExecuteExW),
// where a few names stand for places of the shell namespace. Nothing waits
// for the started process.
#ifndef VELMORA_LAUNCH_LAUNCH_APPLICATION_H
#define VELMORA_LAUNCH_LAUNCH_APPLICATION_H

#include <windows.h>

#include <atlbase.h>

#include "launch/app_details.h"

namespace launch_application {

// Starts app; process receives the started process's handle, or nothing
// (the shell may hand a document to a program already running: S_OK then).
// A shell failure maps its instance code: not found, no association and the
// like E_INVALIDARG, access denied E_ACCESSDENIED, out of memory and DDE
// failures E_FAIL; any other code S_OK. A direct launch that fails is E_FAIL.
[[nodiscard]] HRESULT Launch(const CAppDetails& app, CHandle& process);

// The direct variant: app's path is the command line. The folder to start
// in is the working folder when it is an existing directory, else the
// command line cut at its last backslash (without an opening quote) when
// that is one, else none.
[[nodiscard]] HRESULT LaunchDirect(const CAppDetails& app, CHandle& process);

}  // namespace launch_application

#endif  // VELMORA_LAUNCH_LAUNCH_APPLICATION_H
