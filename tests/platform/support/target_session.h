// Starting, awaiting and stopping the target program (target_program.cpp)
// from a test, and reading what it recorded about its start.
//
//   TargetSession session;                 // sets VELMORA_TARGET_RECORD
//   ASSERT_TRUE(session.IsValid());
//   ... start TargetProgramPath() by the function under test ...
//   TargetStart start;
//   ASSERT_TRUE(session.AwaitStart(&start));
//   EXPECT_EQ(expectedFolder, start.folder);
//   EXPECT_TRUE(session.Stop(7));           // the target exits with 7
//
// One target at a time per session; the session's destructor stops a target
// that was started and not stopped, and waits until its process has gone.
#ifndef VELMORA_TESTS_PLATFORM_SUPPORT_TARGET_SESSION_H
#define VELMORA_TESTS_PLATFORM_SUPPORT_TARGET_SESSION_H

#include <windows.h>

#include <wide_string.h>

#include <vector>

#include "tests/support/temp_dir.h"

namespace velmora_test {

// What a target recorded when it started.
struct TargetStart {
  DWORD processId = 0;
  WideString folder;                   // its working folder
  std::vector<WideString> arguments;   // as its C runtime split them; [0] is the program as written
};

// The kernel handles this process has open now: the layer counts its own on
// Linux; on Windows (and Wine) the process's handle count says it. A test
// compares it before and after the code under test, to see every handle it
// was given closed. -1 when it cannot be had.
LONG OpenHandles();

// The target program's Windows path: it is built beside the test programs,
// with the same ".exe" name on every build.
WideString TargetProgramPath();
// The folder of TargetProgramPath(), without a trailing backslash.
WideString TargetProgramFolder();

// A process start costs up to a second or two under Wine on a busy machine.
constexpr DWORD kTargetTimeoutMilliseconds = 20000;

class TargetSession {
 public:
  TargetSession();
  ~TargetSession();
  TargetSession(const TargetSession&) = delete;
  TargetSession& operator=(const TargetSession&) = delete;

  bool IsValid() const { return m_valid; }
  // A folder of the session's own for working folders and documents; the
  // record files live in it too.
  const TempDir& Folder() const { return m_dir; }

  // Waits until the target has recorded its start; false when none did in time.
  bool AwaitStart(TargetStart* start, DWORD timeoutMilliseconds = kTargetTimeoutMilliseconds);
  // True when no target has recorded a start yet (after waiting `milliseconds`).
  bool NoStartWithin(DWORD milliseconds);
  // Asks the running target to answer; true when it did in time.
  bool IsResponding(DWORD timeoutMilliseconds = kTargetTimeoutMilliseconds);
  // Tells the target to exit with `exitCode` and waits until its process is
  // gone (a zombie whose handle is still open counts as gone). True also
  // when no target had started; false when it would not go.
  bool Stop(DWORD exitCode = 0, DWORD timeoutMilliseconds = kTargetTimeoutMilliseconds);

 private:
  TempDir m_dir;
  WideString m_record;
  WideString m_savedRecord;
  bool m_hadRecord = false;
  bool m_valid = false;
  bool m_stopped = false;
  DWORD m_processId = 0;
};

}  // namespace velmora_test

#endif  // VELMORA_TESTS_PLATFORM_SUPPORT_TARGET_SESSION_H
