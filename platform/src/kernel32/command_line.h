// Command lines as Windows writes them: one string, the program first, that
// the started program splits into arguments the way the C runtime does.
#ifndef VELMORA_PLATFORM_COMMAND_LINE_H
#define VELMORA_PLATFORM_COMMAND_LINE_H

#include <string>
#include <vector>

namespace platform_internal {

// The arguments a program's C runtime makes of its command line: the first
// is the program as written (up to the closing quote, or the first blank);
// the rest follow the documented quote and backslash rules.
std::vector<std::u16string> SplitCommandLine(const std::u16string& commandLine);

}  // namespace platform_internal

#endif  // VELMORA_PLATFORM_COMMAND_LINE_H
