// Splitting a command line into arguments, by the rules Microsoft documents
// for its C runtime ("Parsing C command-line arguments"): a Linux program has
// no runtime of its own to do it, so the layer hands it the arguments its
// Windows build would see.
#include "kernel32/command_line.h"

namespace platform_internal {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

}  // namespace

std::vector<std::u16string> SplitCommandLine(const std::u16string& commandLine) {
  std::vector<std::u16string> arguments;
  size_t at = 0;
  const size_t end = commandLine.size();

  // The program name: no escapes, a quote only opens and closes it.
  std::u16string program;
  if (at < end && commandLine[at] == u'"') {
    ++at;
    while (at < end && commandLine[at] != u'"') program += commandLine[at++];
    if (at < end) ++at;
  } else {
    while (at < end && !IsBlank(commandLine[at])) program += commandLine[at++];
  }
  arguments.push_back(program);

  for (;;) {
    while (at < end && IsBlank(commandLine[at])) ++at;
    if (at >= end) break;
    std::u16string argument;
    bool quoted = false;
    while (at < end && (quoted || !IsBlank(commandLine[at]))) {
      size_t backslashes = 0;
      while (at < end && commandLine[at] == u'\\') {
        ++backslashes;
        ++at;
      }
      if (at < end && commandLine[at] == u'"') {
        // 2n backslashes and a quote: n backslashes, and the quote delimits;
        // 2n+1: n backslashes and a literal quote.
        argument.append(backslashes / 2, u'\\');
        if (backslashes % 2 == 1) {
          argument += u'"';
          ++at;
          continue;
        }
        // Inside quotes, a doubled quote is a literal one.
        if (quoted && at + 1 < end && commandLine[at + 1] == u'"') {
          argument += u'"';
          at += 2;
          continue;
        }
        quoted = !quoted;
        ++at;
        continue;
      }
      argument.append(backslashes, u'\\');
      if (at < end && (quoted || !IsBlank(commandLine[at]))) argument += commandLine[at++];
    }
    arguments.push_back(argument);
  }
  return arguments;
}

}  // namespace platform_internal
