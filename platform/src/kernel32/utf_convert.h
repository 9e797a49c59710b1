// UTF-16 (the API's strings) to and from UTF-8 (what Linux file names and
// environment variables hold, and CP_UTF8 in the text conversion functions).
// The layer's one UTF-8 encoder and decoder.
//
// Malformed input never fails here: each malformed piece becomes one U+FFFD,
// as Windows converts with flags 0, and the caller learns that something
// was replaced. In UTF-16 a malformed piece is an unpaired surrogate. In
// UTF-8 it is, as the Unicode standard recommends, a byte that cannot start
// a sequence, or the start of a sequence cut short by a byte that cannot
// continue it, which is then read again on its own (a second byte that
// would make the sequence overlong, a surrogate or beyond U+10FFFF cannot
// continue it either).
#ifndef VELMORA_PLATFORM_UTF_CONVERT_H
#define VELMORA_PLATFORM_UTF_CONVERT_H

#include <stddef.h>

#include <string>

namespace platform_internal {

std::string ToUtf8(const std::u16string& text);
std::u16string FromUtf8(const std::string& text);

// The same over a counted text, which may hold zeros; `replaced`, when not
// null, says whether any U+FFFD stands for malformed input.
std::string ToUtf8(const char16_t* text, size_t length, bool* replaced);
std::u16string FromUtf8(const char* text, size_t length, bool* replaced);

}  // namespace platform_internal

#endif  // VELMORA_PLATFORM_UTF_CONVERT_H
