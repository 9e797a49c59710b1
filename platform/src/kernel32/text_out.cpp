// Result strings into caller buffers.
#include "kernel32/text_out.h"

#include <string.h>

namespace platform_internal {

DWORD CopyOrRequiredSize(const std::u16string& text, LPWSTR buffer, DWORD size) {
  const size_t needed = text.size() + 1;
  if (!buffer || needed > size) return static_cast<DWORD>(needed);
  memcpy(buffer, text.data(), text.size() * sizeof(WCHAR));
  buffer[text.size()] = 0;
  return static_cast<DWORD>(text.size());
}

}  // namespace platform_internal
