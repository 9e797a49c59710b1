// Copying a result string into a caller's buffer, the two ways the API does it.
#ifndef VELMORA_PLATFORM_TEXT_OUT_H
#define VELMORA_PLATFORM_TEXT_OUT_H

#include <windef.h>

#include <string>

namespace platform_internal {

// The kernel's convention (GetCurrentDirectoryW, GetLongPathNameW, ...): when
// the text and its terminator fit, copies them and returns the length without
// the terminator; otherwise leaves the buffer alone and returns the size the
// buffer needs, terminator included.
DWORD CopyOrRequiredSize(const std::u16string& text, LPWSTR buffer, DWORD size);

}  // namespace platform_internal

#endif  // VELMORA_PLATFORM_TEXT_OUT_H
