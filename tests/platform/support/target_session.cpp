// The test side of the target program (target_session.h).
#include "tests/platform/support/target_session.h"

#ifndef _WIN32
#include <velmora_platform/platform_testing.h>
#endif

#include <objbase.h>

#include <stdlib.h>

#include <string>

#include "tests/platform/support/text_files.h"

#ifndef _WIN32
#include <errno.h>
#include <signal.h>
#include <stdio.h>
#endif

namespace velmora_test {

namespace {

const WCHAR kRecordVariable[] = OLESTR("VELMORA_TARGET_RECORD");
constexpr DWORD kPollMilliseconds = 10;

bool ParseRecord(const std::string& text, TargetStart* start) {
  *start = TargetStart();
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(at, end - at);
    at = end + 1;
    const size_t tab = line.find('\t');
    if (tab == std::string::npos) return false;
    const std::string key = line.substr(0, tab);
    const std::string value = line.substr(tab + 1);
    if (key == "pid") {
      start->processId = static_cast<DWORD>(strtoul(value.c_str(), nullptr, 10));
    } else if (key == "folder") {
      start->folder = FromUtf8(value);
    } else if (key == "arg") {
      start->arguments.push_back(FromUtf8(value));
    }
  }
  return start->processId != 0 && !start->arguments.empty();
}

// Whether the process of that id has ended.
bool ProcessGone(DWORD processId) {
#ifdef _WIN32
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
  if (!process) return true;
  const bool gone = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
  CloseHandle(process);
  return gone;
#else
  if (kill(static_cast<pid_t>(processId), 0) != 0 && errno == ESRCH) return true;
  // A zombie has ended; only its parent's handle keeps it.
  char path[64];
  snprintf(path, sizeof path, "/proc/%u/stat", static_cast<unsigned>(processId));
  FILE* stat = fopen(path, "r");
  if (!stat) return true;
  int pid = 0;
  char name[256] = {};
  char state = '?';
  const int read = fscanf(stat, "%d (%255[^)]) %c", &pid, name, &state);
  fclose(stat);
  return read == 3 && (state == 'Z' || state == 'X');
#endif
}

}  // namespace

LONG OpenHandles() {
#ifdef _WIN32
  DWORD count = 0;
  if (!GetProcessHandleCount(GetCurrentProcess(), &count)) return -1;
  return static_cast<LONG>(count);
#else
  return platform_testing::OpenHandleCount();
#endif
}

WideString TargetProgramFolder() {
  WCHAR own[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, own, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return WideString();
  const WideString path(own, length);
  const size_t separator = path.find_last_of(OLESTR('\\'));
  return separator == WideString::npos ? WideString() : path.substr(0, separator);
}

WideString TargetProgramPath() { return TargetProgramFolder() + OLESTR("\\velmora_target_program.exe"); }

TargetSession::TargetSession() {
  if (!m_dir.IsValid()) return;
  m_record = m_dir.PathOf(OLESTR("start.record"));
  m_hadRecord = GetEnvironmentText(kRecordVariable, &m_savedRecord);
  SetEnvironmentText(kRecordVariable, m_record.c_str());
  m_valid = true;
}

TargetSession::~TargetSession() {
  if (!m_valid) return;
  if (!m_stopped) Stop();
  SetEnvironmentText(kRecordVariable, m_hadRecord ? m_savedRecord.c_str() : nullptr);
}

bool TargetSession::AwaitStart(TargetStart* start, DWORD timeoutMilliseconds) {
  for (DWORD waited = 0;; waited += kPollMilliseconds) {
    std::string text;
    if (ReadTextFile(m_record, &text) && ParseRecord(text, start)) {
      m_processId = start->processId;
      return true;
    }
    if (waited >= timeoutMilliseconds) return false;
    Sleep(kPollMilliseconds);
  }
}

bool TargetSession::NoStartWithin(DWORD milliseconds) {
  Sleep(milliseconds);
  return !FileExists(m_record);
}

bool TargetSession::IsResponding(DWORD timeoutMilliseconds) {
  const WideString pong = m_record + OLESTR(".pong");
  RemoveFile(pong);
  if (!PublishTextFile(m_record + OLESTR(".ping"), "ping\n")) return false;
  for (DWORD waited = 0;; waited += kPollMilliseconds) {
    if (FileExists(pong)) {
      RemoveFile(pong);
      return true;
    }
    if (waited >= timeoutMilliseconds) return false;
    Sleep(kPollMilliseconds);
  }
}

bool TargetSession::Stop(DWORD exitCode, DWORD timeoutMilliseconds) {
  m_stopped = true;
  // Written even when no start was seen: a target that starts late exits at once.
  if (!PublishTextFile(m_record + OLESTR(".stop"), std::to_string(exitCode) + "\n")) return false;
  TargetStart start;
  if (m_processId == 0) {
    std::string text;
    if (!ReadTextFile(m_record, &text) || !ParseRecord(text, &start)) return true;
    m_processId = start.processId;
  }
  for (DWORD waited = 0;; waited += kPollMilliseconds) {
    if (ProcessGone(m_processId)) return true;
    if (waited >= timeoutMilliseconds) return false;
    Sleep(kPollMilliseconds);
  }
}

}  // namespace velmora_test
