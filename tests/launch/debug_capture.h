// Reads what the code under test writes with OutputDebugStringW, in place of
// a debugger. On Windows through the DBWIN_BUFFER protocol that debug output
// viewers use (Wine supports it): the capture owns the shared buffer and its
// two events, and takes one text each time it signals the buffer ready. On
// Linux through the platform layer's test controls.
#ifndef VELMORA_TESTS_LAUNCH_DEBUG_CAPTURE_H
#define VELMORA_TESTS_LAUNCH_DEBUG_CAPTURE_H

#include <windows.h>

#include <string>
#include <vector>

namespace velmora_test {

class DebugOutputCapture {
 public:
  DebugOutputCapture();
  ~DebugOutputCapture();
  DebugOutputCapture(const DebugOutputCapture&) = delete;
  DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

  bool IsListening() const;
  // The texts written since the capture started or since the last Take. On
  // Windows one text can wait in the buffer: take it before the code under
  // test writes the next, or the writer waits for the buffer and gives up.
  std::vector<std::basic_string<WCHAR>> Take();

 private:
#ifdef _WIN32
  HANDLE m_bufferReady = nullptr;
  HANDLE m_dataReady = nullptr;
  HANDLE m_mapping = nullptr;
  const char* m_view = nullptr;
#endif
};

}  // namespace velmora_test

#endif  // VELMORA_TESTS_LAUNCH_DEBUG_CAPTURE_H
