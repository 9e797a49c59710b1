// The program the process and shell tests start: a plain console program.
// It records how it was started (its process id, working folder and
// arguments) in the file that VELMORA_TARGET_RECORD names, then runs until
// the test tells it to exit:
//   <record>.stop  appears: exit, with the code written in it (0 if none);
//   <record>.ping  appears: remove it and write <record>.pong, to show that
//                  it still runs;
// and after 60 s without a stop it exits on its own with 124, so that a test
// that failed to stop it leaves nothing behind for long. The files are
// polled every 20 ms. Without the variable it exits at once with 3.
//
// The record is UTF-8, one "key<TAB>value" line each: "pid", "folder", then
// one "arg" per argument, the program as written first.
#include <windows.h>
#include <objbase.h>
#ifdef _WIN32
#include <shellapi.h>
#endif

#include <stdlib.h>

#include <string>
#include <vector>

#include "tests/platform/support/text_files.h"

using namespace velmora_test;

namespace {

constexpr DWORD kPollMilliseconds = 20;
constexpr DWORD kSafetyMilliseconds = 60000;
constexpr int kNoRecord = 3;
constexpr int kTimedOut = 124;

std::vector<WideString> Arguments(int argc, char** argv) {
  std::vector<WideString> arguments;
#ifdef _WIN32
  // The command line as Windows passed it, split by the documented rules.
  int count = 0;
  LPWSTR* split = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!split) return arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(split[i]);
  LocalFree(split);
#else
  for (int i = 0; i < argc; ++i) arguments.push_back(FromUtf8(argv[i]));
#endif
  return arguments;
}

WideString CurrentFolder() {
  WCHAR buffer[4096];
  const DWORD length = GetCurrentDirectoryW(4096, buffer);
  return length > 0 && length < 4096 ? WideString(buffer, length) : WideString();
}

}  // namespace

int main(int argc, char** argv) {
  WideString record;
  if (!GetEnvironmentText(OLESTR("VELMORA_TARGET_RECORD"), &record) || record.empty()) return kNoRecord;

  std::string text = "pid\t" + std::to_string(GetCurrentProcessId()) + "\n";
  text += "folder\t" + ToUtf8(CurrentFolder()) + "\n";
  for (const WideString& argument : Arguments(argc, argv)) text += "arg\t" + ToUtf8(argument) + "\n";
  if (!PublishTextFile(record, text)) return kNoRecord;

  const WideString stop = record + OLESTR(".stop");
  const WideString ping = record + OLESTR(".ping");
  const WideString pong = record + OLESTR(".pong");
  for (DWORD waited = 0; waited < kSafetyMilliseconds; waited += kPollMilliseconds) {
    std::string code;
    if (ReadTextFile(stop, &code)) return atoi(code.c_str());
    if (FileExists(ping)) {
      RemoveFile(ping);
      PublishTextFile(pong, "pong\n");
    }
    Sleep(kPollMilliseconds);
  }
  return kTimedOut;
}
