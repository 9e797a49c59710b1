// Debug output capture for the launch tests.
#include "launch/debug_capture.h"

#include <objbase.h>

#include <cstring>

#ifndef _WIN32
#include <platform_testing.h>
#endif

namespace velmora_test {

#ifdef _WIN32

namespace {

// The DBWIN buffer: the writer's process id, then the text in the ANSI code page.
const DWORD kBufferBytes = 4096;
const DWORD kTextOffset = sizeof(DWORD);

std::basic_string<WCHAR> FromAnsi(const char* text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (length <= 1) return std::basic_string<WCHAR>();
  std::basic_string<WCHAR> wide(static_cast<size_t>(length), 0);
  MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length);
  wide.resize(static_cast<size_t>(length - 1));
  return wide;
}

}  // namespace

DebugOutputCapture::DebugOutputCapture() {
  m_bufferReady = CreateEventW(nullptr, FALSE, FALSE, OLESTR("DBWIN_BUFFER_READY"));
  m_dataReady = CreateEventW(nullptr, FALSE, FALSE, OLESTR("DBWIN_DATA_READY"));
  m_mapping =
      CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBufferBytes, OLESTR("DBWIN_BUFFER"));
  if (m_mapping) m_view = static_cast<const char*>(MapViewOfFile(m_mapping, FILE_MAP_READ, 0, 0, kBufferBytes));
  // Drop a text left over from an earlier capture, then wait for the next.
  if (IsListening()) {
    WaitForSingleObject(m_dataReady, 0);
    SetEvent(m_bufferReady);
  }
}

DebugOutputCapture::~DebugOutputCapture() {
  if (m_view) UnmapViewOfFile(m_view);
  if (m_mapping) CloseHandle(m_mapping);
  if (m_dataReady) CloseHandle(m_dataReady);
  if (m_bufferReady) CloseHandle(m_bufferReady);
}

bool DebugOutputCapture::IsListening() const { return m_bufferReady && m_dataReady && m_view; }

std::vector<std::basic_string<WCHAR>> DebugOutputCapture::Take() {
  std::vector<std::basic_string<WCHAR>> texts;
  if (!IsListening()) return texts;
  while (WaitForSingleObject(m_dataReady, 0) == WAIT_OBJECT_0) {
    // The text ends with its terminator within the buffer.
    char text[kBufferBytes - kTextOffset + 1];
    memcpy(text, m_view + kTextOffset, kBufferBytes - kTextOffset);
    text[kBufferBytes - kTextOffset] = 0;
    texts.push_back(FromAnsi(text));
    SetEvent(m_bufferReady);
  }
  return texts;
}

#else

DebugOutputCapture::DebugOutputCapture() { platform_testing::ClearDebugOutput(); }

DebugOutputCapture::~DebugOutputCapture() = default;

bool DebugOutputCapture::IsListening() const { return true; }

std::vector<std::basic_string<WCHAR>> DebugOutputCapture::Take() { return platform_testing::TakeDebugOutput(); }

#endif

}  // namespace velmora_test
