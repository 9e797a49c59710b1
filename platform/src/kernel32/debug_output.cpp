// OutputDebugStringW: the debugger output stream, kept for the tests to read.
// Nothing reads it in a product run; the bound keeps it from growing.
#include <windows.h>
#include <velmora_platform/platform_testing.h>

#include <stdio.h>
#include <stdlib.h>

#include <deque>
#include <mutex>

#include "kernel32/utf_convert.h"

namespace {

constexpr size_t kMaxKept = 4096;

struct DebugStream {
  std::mutex lock;
  std::deque<std::u16string> lines;
  platform_testing::DebugOutputSink sink = nullptr;
  void* context = nullptr;
};

DebugStream& Stream() {
  static DebugStream stream;
  return stream;
}

// VELMORA_DEBUG_OUTPUT=1 echoes the stream to stderr, as a debugger would show it.
bool EchoToStderr() {
  const char* value = getenv("VELMORA_DEBUG_OUTPUT");
  return value && value[0] == '1';
}

}  // namespace

void WINAPI OutputDebugStringW(LPCWSTR lpOutputString) {
  if (!lpOutputString) return;
  std::u16string text(lpOutputString);
  platform_testing::DebugOutputSink sink = nullptr;
  void* context = nullptr;
  {
    DebugStream& stream = Stream();
    std::lock_guard<std::mutex> guard(stream.lock);
    if (stream.lines.size() == kMaxKept) stream.lines.pop_front();
    stream.lines.push_back(text);
    sink = stream.sink;
    context = stream.context;
  }
  if (EchoToStderr()) fprintf(stderr, "%s\n", platform_internal::ToUtf8(text).c_str());
  if (sink) sink(text.c_str(), context);
}

namespace platform_testing {

std::vector<std::u16string> TakeDebugOutput() {
  DebugStream& stream = Stream();
  std::lock_guard<std::mutex> guard(stream.lock);
  std::vector<std::u16string> lines(stream.lines.begin(), stream.lines.end());
  stream.lines.clear();
  return lines;
}

void ClearDebugOutput() {
  DebugStream& stream = Stream();
  std::lock_guard<std::mutex> guard(stream.lock);
  stream.lines.clear();
}

void SetDebugOutputSink(DebugOutputSink sink, void* context) {
  DebugStream& stream = Stream();
  std::lock_guard<std::mutex> guard(stream.lock);
  stream.sink = sink;
  stream.context = context;
}

}  // namespace platform_testing
