// Reads what the code under test writes with OutputDebugStringW, in place of
// a debugger. On Windows through the DBWIN_BUFFER protocol that debug output
// viewers use (Wine supports it): the capture owns the shared buffer and its
// two events, and a thread of its own takes each text as it arrives, keeping
// those of this process only (test programs may run side by side). On Linux
// through the platform layer's test controls.
#ifndef VELMORA_TESTS_LAUNCH_DEBUG_CAPTURE_H
#define VELMORA_TESTS_LAUNCH_DEBUG_CAPTURE_H

#include <windows.h>

#include <mutex>
#include <string>

#include <wide_string.h>
#include <thread>
#include <vector>

namespace velmora_test {

class DebugOutputCapture {
 public:

  DebugOutputCapture();
  ~DebugOutputCapture();
  DebugOutputCapture(const DebugOutputCapture&) = delete;
  DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

  bool IsListening() const;
  // The texts this process wrote since the capture started or since the last
  // Take, in order.
  std::vector<WideString> Take();

 private:
#ifdef _WIN32
  void Listen();
  // Waits until the listener has seen everything written before the call.
  bool Flush();

  HANDLE m_bufferReady = nullptr;
  HANDLE m_dataReady = nullptr;
  HANDLE m_stop = nullptr;
  HANDLE m_mapping = nullptr;
  const char* m_view = nullptr;
  std::thread m_listener;
  std::mutex m_lock;
  std::vector<WideString> m_texts;
  unsigned m_marks = 0;
#endif
};

}  // namespace velmora_test

#endif  // VELMORA_TESTS_LAUNCH_DEBUG_CAPTURE_H
