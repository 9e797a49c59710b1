// UTF-16 (the API's strings) to and from UTF-8 (what Linux file names and
// environment variables hold). Malformed input never fails: an unpaired
// surrogate or an invalid byte becomes U+FFFD, as the file system layer of
// Windows would show an unreadable name.
#ifndef VELMORA_PLATFORM_UTF_CONVERT_H
#define VELMORA_PLATFORM_UTF_CONVERT_H

#include <string>

namespace platform_internal {

std::string ToUtf8(const std::u16string& text);
std::u16string FromUtf8(const std::string& text);

}  // namespace platform_internal

#endif  // VELMORA_PLATFORM_UTF_CONVERT_H
