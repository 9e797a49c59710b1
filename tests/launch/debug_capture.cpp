// Debug output capture for the launch tests.
#include "tests/launch/debug_capture.h"

#include <objbase.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#ifndef _WIN32
#include <velmora_platform/platform_testing.h>
#endif

namespace velmora_test {

#ifdef _WIN32

namespace {

// The DBWIN buffer: the writer's process id, then the text in the ANSI code page.
const DWORD kBufferBytes = 4096;
const DWORD kTextOffset = sizeof(DWORD);
const char kMarkPrefix[] = "velmora-debug-capture-mark ";

WideString FromAnsi(const char* text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (length <= 1) return WideString();
  WideString wide(static_cast<size_t>(length), 0);
  MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length);
  wide.resize(static_cast<size_t>(length - 1));
  return wide;
}

}  // namespace

DebugOutputCapture::DebugOutputCapture() {
  m_bufferReady = CreateEventW(nullptr, FALSE, FALSE, OLESTR("DBWIN_BUFFER_READY"));
  m_dataReady = CreateEventW(nullptr, FALSE, FALSE, OLESTR("DBWIN_DATA_READY"));
  m_stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  m_mapping =
      CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBufferBytes, OLESTR("DBWIN_BUFFER"));
  if (m_mapping) m_view = static_cast<const char*>(MapViewOfFile(m_mapping, FILE_MAP_READ, 0, 0, kBufferBytes));
  if (IsListening()) m_listener = std::thread([this] { Listen(); });
}

DebugOutputCapture::~DebugOutputCapture() {
  if (m_listener.joinable()) {
    SetEvent(m_stop);
    m_listener.join();
  }
  if (m_view) UnmapViewOfFile(m_view);
  for (HANDLE handle : {m_mapping, m_stop, m_dataReady, m_bufferReady}) {
    if (handle) CloseHandle(handle);
  }
}

bool DebugOutputCapture::IsListening() const { return m_bufferReady && m_dataReady && m_stop && m_view; }

void DebugOutputCapture::Listen() {
  const DWORD self = GetCurrentProcessId();
  const HANDLE waits[] = {m_stop, m_dataReady};
  for (;;) {
    SetEvent(m_bufferReady);
    if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) return;
    DWORD writer = 0;
    memcpy(&writer, m_view, sizeof(writer));
    if (writer != self) continue;
    char text[kBufferBytes - kTextOffset + 1];
    memcpy(text, m_view + kTextOffset, kBufferBytes - kTextOffset);
    text[kBufferBytes - kTextOffset] = 0;
    std::lock_guard<std::mutex> guard(m_lock);
    m_texts.push_back(FromAnsi(text));
  }
}

bool DebugOutputCapture::Flush() {
  char mark[64];
  std::snprintf(mark, sizeof mark, "%s%u", kMarkPrefix, ++m_marks);
  const WideString wanted = FromAnsi(mark);
  OutputDebugStringA(mark);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (std::chrono::steady_clock::now() < deadline) {
    {
      std::lock_guard<std::mutex> guard(m_lock);
      if (!m_texts.empty() && m_texts.back() == wanted) {
        m_texts.pop_back();
        return true;
      }
    }
    Sleep(1);
  }
  return false;
}

std::vector<WideString> DebugOutputCapture::Take() {
  std::vector<WideString> texts;
  if (!IsListening() || !Flush()) return texts;
  std::lock_guard<std::mutex> guard(m_lock);
  texts.swap(m_texts);
  return texts;
}

#else

DebugOutputCapture::DebugOutputCapture() { platform_testing::ClearDebugOutput(); }

DebugOutputCapture::~DebugOutputCapture() = default;

bool DebugOutputCapture::IsListening() const { return true; }

std::vector<WideString> DebugOutputCapture::Take() { return platform_testing::TakeDebugOutput(); }

#endif

}  // namespace velmora_test
