// Processes: CreateProcessW starts a real Linux process, and its handle is a
// kernel object in the layer's handle table, as on Windows.
//
// The program is the command line's first token (lpApplicationName is not
// supported): quoted, it is the text between the quotes; unquoted, the
// documented search of ever longer blank-separated prefixes applies
// ("C:\Program Files\a b" tries "C:\Program.exe", then "C:\Program Files\a.exe",
// ...). ".exe" is appended to a name without extension; a name without a
// folder is looked for in the program's own folder, the current folder, the
// system folders and PATH. The file found must be a native Linux executable:
// the test programs keep their Windows names (".exe") on Linux too, so that
// one command line starts them on every build.
//
// The child gets the arguments its Windows build's C runtime would make of
// the command line, the caller's environment, and no file descriptors but
// standard input, output and error (bInheritHandles has nothing else to pass).
//
// Reaping. The layer never installs a SIGCHLD handler and never waits for
// "any child" (waitpid(-1)): both would take exit statuses that belong to
// other code of the host process. It waits only for the pids it started:
//   - GetExitCodeProcess and WaitForSingleObject ask with WNOHANG and keep
//     the exit code once the child is reaped;
//   - when the last handle to a process (or its thread) closes, an exited
//     child is reaped there; one still running is handed to a reaper thread
//     that polls just those pids and ends when none is left.
// A process whose handle is still open may stay a zombie until it is asked
// about, as a Windows process object stays while a handle names it.
#include <windows.h>

#include <errno.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "kernel32/command_line.h"
#include "kernel32/kernel_objects.h"
#include "kernel32/paths.h"
#include "kernel32/utf_convert.h"

extern char** environ;

using namespace platform_internal;

namespace {

// The pids whose handles are gone while they still ran, and the one thread
// that waits for them.
struct Orphans {
  std::mutex lock;
  std::vector<pid_t> pids;
  bool reaperRunning = false;
};

Orphans& TheOrphans() {
  static Orphans* orphans = new Orphans;  // outlives the reaper thread at exit
  return *orphans;
}

void ReapOrphans() {
  Orphans& orphans = TheOrphans();
  for (;;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::lock_guard<std::mutex> guard(orphans.lock);
    for (size_t i = 0; i < orphans.pids.size();) {
      int status = 0;
      const pid_t result = waitpid(orphans.pids[i], &status, WNOHANG);
      if (result == 0 || (result < 0 && errno == EINTR)) {
        ++i;
        continue;
      }
      orphans.pids.erase(orphans.pids.begin() + static_cast<std::ptrdiff_t>(i));
    }
    if (orphans.pids.empty()) {
      orphans.reaperRunning = false;
      return;
    }
  }
}

void ReapLater(pid_t pid) {
  Orphans& orphans = TheOrphans();
  std::lock_guard<std::mutex> guard(orphans.lock);
  orphans.pids.push_back(pid);
  if (orphans.reaperRunning) return;
  orphans.reaperRunning = true;
  std::thread(ReapOrphans).detach();
}

// The exit code Windows would report: the low eight bits the Linux status
// keeps, or, for a process ended by a signal, 128 plus the signal's number,
// as a POSIX shell reports it.
DWORD ExitCodeOf(int status) {
  if (WIFEXITED(status)) return static_cast<DWORD>(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return 128u + static_cast<DWORD>(WTERMSIG(status));
  return 0;
}

class ProcessObject : public KernelObject {
 public:
  explicit ProcessObject(pid_t pid) : m_pid(pid) {}

  ~ProcessObject() override {
    if (Exited(nullptr)) return;
    ReapLater(m_pid);
  }

  pid_t Pid() const { return m_pid; }

  // Whether the child has ended (reaping it if so), and its exit code.
  bool Exited(DWORD* exitCode) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_reaped) {
      int status = 0;
      pid_t result;
      do {
        result = waitpid(m_pid, &status, WNOHANG);
      } while (result < 0 && errno == EINTR);
      if (result == 0) {
        if (exitCode) *exitCode = STILL_ACTIVE;
        return false;
      }
      m_reaped = true;
      // A child reaped elsewhere (ECHILD) has lost its status: report 0.
      const DWORD code = result == m_pid ? ExitCodeOf(status) : 0;
      if (!m_terminated) m_exitCode = code;
    }
    if (exitCode) *exitCode = m_exitCode;
    return true;
  }

  // Ends the child and waits for it; its exit code is the one given.
  bool Terminate(DWORD exitCode) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_reaped) return false;
    if (kill(m_pid, SIGKILL) != 0) return false;
    int status = 0;
    while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_reaped = true;
    m_terminated = true;
    m_exitCode = exitCode;
    return true;
  }

 private:
  const pid_t m_pid;
  std::mutex m_lock;
  bool m_reaped = false;
  bool m_terminated = false;
  DWORD m_exitCode = STILL_ACTIVE;
};

// A process's first thread: waiting for it or closing it acts on the process.
class ThreadObject : public KernelObject {
 public:
  explicit ThreadObject(std::shared_ptr<ProcessObject> process) : m_process(std::move(process)) {}
  const std::shared_ptr<ProcessObject>& Process() const { return m_process; }

 private:
  std::shared_ptr<ProcessObject> m_process;
};

std::shared_ptr<ProcessObject> ProcessOf(HANDLE handle) {
  std::shared_ptr<KernelObject> object = FindHandle(handle);
  if (auto process = std::dynamic_pointer_cast<ProcessObject>(object)) return process;
  if (auto thread = std::dynamic_pointer_cast<ThreadObject>(object)) return thread->Process();
  return nullptr;
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

bool IsRegularFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsFolder(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool HasFolder(const std::u16string& name) {
  return name.find_first_of(u"\\/:") != std::u16string::npos;
}

// ".exe" for a name without extension; a trailing dot only says "no extension".
std::u16string WithDefaultExtension(std::u16string name) {
  if (!name.empty() && name.back() == u'.') {
    name.pop_back();
    return name;
  }
  const size_t lastSeparator = name.find_last_of(u"\\/");
  const size_t lastDot = name.rfind(u'.');
  const bool hasExtension =
      lastDot != std::u16string::npos && (lastSeparator == std::u16string::npos || lastDot > lastSeparator);
  return hasExtension ? name : name + u".exe";
}

std::u16string Join(const std::u16string& folder, const std::u16string& name) {
  if (!folder.empty() && (folder.back() == u'\\' || folder.back() == u'/')) return folder + name;
  return folder + u"\\" + name;
}

// The documented search order for a program named without a folder.
std::vector<std::u16string> SearchFolders() {
  std::vector<std::u16string> folders;
  WCHAR own[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, own, MAX_PATH);
  if (length > 0 && length < MAX_PATH) {
    std::u16string path(own, length);
    const size_t separator = path.find_last_of(u'\\');
    if (separator != std::u16string::npos) folders.push_back(path.substr(0, separator));
  }
  folders.push_back(CurrentDirectory());
  folders.push_back(u"C:\\windows\\system32");
  folders.push_back(u"C:\\windows\\system");
  folders.push_back(u"C:\\windows");
  const char* path = getenv("PATH");
  std::string entries = path ? path : "";
  size_t start = 0;
  while (start <= entries.size()) {
    size_t end = entries.find(':', start);
    if (end == std::string::npos) end = entries.size();
    const std::string folder = entries.substr(start, end - start);
    if (!folder.empty() && folder[0] == '/') folders.push_back(ToWindowsPath(folder));
    start = end + 1;
  }
  return folders;
}

// Where a program name leads on Linux: its Linux path, or false when no file
// of that name exists where the search looks.
bool FindProgram(const std::u16string& written, std::string* linuxPath) {
  const std::u16string name = WithDefaultExtension(written);
  if (name.empty()) return false;
  std::vector<std::u16string> candidates;
  if (HasFolder(name)) {
    candidates.push_back(name);
  } else {
    for (const std::u16string& folder : SearchFolders()) candidates.push_back(Join(folder, name));
  }
  for (const std::u16string& candidate : candidates) {
    std::u16string full;
    std::string mapped;
    if (!FullWindowsPath(candidate, &full) || !ToLinuxPath(full, &mapped)) continue;
    if (!IsRegularFile(mapped)) continue;
    *linuxPath = mapped;
    return true;
  }
  return false;
}

// The program of a command line, as the documentation for lpApplicationName
// null describes it.
bool ProgramOfCommandLine(const std::u16string& commandLine, std::string* linuxPath) {
  size_t at = 0;
  while (at < commandLine.size() && IsBlank(commandLine[at])) ++at;
  if (at < commandLine.size() && commandLine[at] == u'"') {
    const size_t close = commandLine.find(u'"', at + 1);
    const size_t length = close == std::u16string::npos ? std::u16string::npos : close - at - 1;
    return FindProgram(commandLine.substr(at + 1, length), linuxPath);
  }
  // Unquoted: each blank ends a candidate, shortest first.
  for (size_t end = at; end <= commandLine.size(); ++end) {
    if (end < commandLine.size() && !IsBlank(commandLine[end])) continue;
    if (end > at && FindProgram(commandLine.substr(at, end - at), linuxPath)) return true;
  }
  return false;
}

DWORD ErrorOfSpawn(int error) {
  switch (error) {
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
      return ERROR_ACCESS_DENIED;
    case ENOEXEC:
      return ERROR_BAD_EXE_FORMAT;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    default:
      return ERROR_BAD_FORMAT;
  }
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

// posix_spawn's file actions and attributes, destroyed on every path out.
struct SpawnSetup {
  posix_spawn_file_actions_t actions;
  SpawnSetup() { posix_spawn_file_actions_init(&actions); }
  ~SpawnSetup() { posix_spawn_file_actions_destroy(&actions); }
};

}  // namespace

DWORD WINAPI GetCurrentProcessId(void) { return static_cast<DWORD>(getpid()); }

BOOL WINAPI CreateProcessW(LPCWSTR lpApplicationName, LPWSTR lpCommandLine, LPSECURITY_ATTRIBUTES lpProcessAttributes,
                           LPSECURITY_ATTRIBUTES lpThreadAttributes, BOOL bInheritHandles, DWORD dwCreationFlags,
                           LPVOID lpEnvironment, LPCWSTR lpCurrentDirectory, LPSTARTUPINFOW lpStartupInfo,
                           LPPROCESS_INFORMATION lpProcessInformation) {
  // Windows faults on a missing STARTUPINFOW or PROCESS_INFORMATION; the
  // layer refuses them. A separate application name and an environment block
  // are not supported: the add-in passes neither.
  if (!lpStartupInfo || !lpProcessInformation) return Fail(ERROR_INVALID_PARAMETER);
  if (lpApplicationName || lpEnvironment) return Fail(ERROR_INVALID_PARAMETER);
  if (!lpCommandLine || !*lpCommandLine) return Fail(ERROR_INVALID_PARAMETER);

  const std::u16string commandLine = lpCommandLine;
  std::string program;
  if (!ProgramOfCommandLine(commandLine, &program)) return Fail(ERROR_FILE_NOT_FOUND);

  std::string folder;
  if (lpCurrentDirectory) {
    std::u16string full;
    if (!FullWindowsPath(lpCurrentDirectory, &full) || !ToLinuxPath(full, &folder) || !IsFolder(folder)) {
      return Fail(ERROR_DIRECTORY);
    }
  }

  std::vector<std::string> arguments;
  for (const std::u16string& argument : SplitCommandLine(commandLine)) arguments.push_back(ToUtf8(argument));
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(&argument[0]);
  argv.push_back(nullptr);

  SpawnSetup setup;
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&setup.actions, folder.c_str());
  posix_spawn_file_actions_addclosefrom_np(&setup.actions, 3);

  pid_t pid = 0;
  const int error = posix_spawn(&pid, program.c_str(), &setup.actions, nullptr, argv.data(), environ);
  if (error != 0) return Fail(ErrorOfSpawn(error));

  auto process = std::make_shared<ProcessObject>(pid);
  HANDLE processHandle = AddHandle(process);
  HANDLE threadHandle = AddHandle(std::make_shared<ThreadObject>(process));
  if (!processHandle || !threadHandle) {
    if (processHandle) RemoveHandle(processHandle);
    if (threadHandle) RemoveHandle(threadHandle);
    return Fail(ERROR_NOT_ENOUGH_MEMORY);
  }
  lpProcessInformation->hProcess = processHandle;
  lpProcessInformation->hThread = threadHandle;
  lpProcessInformation->dwProcessId = static_cast<DWORD>(pid);
  // A Linux process's first thread has the process's id.
  lpProcessInformation->dwThreadId = static_cast<DWORD>(pid);
  return TRUE;
}

BOOL WINAPI GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode) {
  std::shared_ptr<ProcessObject> process = std::dynamic_pointer_cast<ProcessObject>(FindHandle(hProcess));
  if (!process) return Fail(ERROR_INVALID_HANDLE);
  if (!lpExitCode) return Fail(ERROR_INVALID_PARAMETER);
  process->Exited(lpExitCode);
  return TRUE;
}

BOOL WINAPI TerminateProcess(HANDLE hProcess, UINT uExitCode) {
  std::shared_ptr<ProcessObject> process = std::dynamic_pointer_cast<ProcessObject>(FindHandle(hProcess));
  if (!process) return Fail(ERROR_INVALID_HANDLE);
  // Ending a process that has already ended is refused, as on Windows.
  if (!process->Terminate(uExitCode)) return Fail(ERROR_ACCESS_DENIED);
  return TRUE;
}

DWORD WINAPI GetProcessId(HANDLE Process) {
  std::shared_ptr<ProcessObject> process = std::dynamic_pointer_cast<ProcessObject>(FindHandle(Process));
  if (!process) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return static_cast<DWORD>(process->Pid());
}

DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
  // Only processes and threads can be waited for in this layer.
  std::shared_ptr<ProcessObject> process = ProcessOf(hHandle);
  if (!process) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
  }
  // No child signals exist here to wake a waiter: poll, briefly at first.
  const auto start = std::chrono::steady_clock::now();
  DWORD pause = 1;
  for (;;) {
    if (process->Exited(nullptr)) return WAIT_OBJECT_0;
    if (dwMilliseconds != INFINITE) {
      const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
      if (waited.count() >= static_cast<long long>(dwMilliseconds)) return WAIT_TIMEOUT;
    }
    Sleep(pause);
    if (pause < 20) pause *= 2;
  }
}
