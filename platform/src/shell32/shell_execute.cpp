// ShellExecuteExW on Linux. What is opened, and how:
//   - a program (.exe, .com, .bat, .cmd, .pif, found as FindExecutableW finds
//     files) is started with CreateProcessW: its quoted full path, then the
//     parameters;
//   - a document is opened by its type's command for the verb (the
//     association FindExecutableW reads), with %1 and %L replaced by the
//     document's full path and %* by the parameters;
//   - a folder, a "::{GUID}" name and an item list (SEE_MASK_IDLIST,
//     SEE_MASK_INVOKEIDLIST) are opened by the command registered for the
//     "Folder" class, as a desktop's file manager is, with %1 the folder's
//     path or parsing name; with none registered the answer is
//     SE_ERR_NOASSOC, as for a document without an association.
// The working folder is lpDirectory, or the caller's when none is given.
// There is no user interface to suppress, no DDE and no asynchronous start:
// the call returns once the process exists. Every request is recorded for
// the tests (platform_testing::TakeShellExecuteRequests).
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include <velmora_platform/platform_testing.h>

#include "kernel32/paths.h"
#include "shell32/locate.h"
#include "shell32/namespace.h"
#include "shlwapi/association.h"

using namespace platform_internal;

namespace {

// Any value above 32 means success.
constexpr INT_PTR kStarted = 42;
constexpr size_t kKeptRequests = 256;

struct RequestLog {
  std::mutex lock;
  std::deque<platform_testing::ShellExecuteRequest> requests;
};

RequestLog& Log() {
  static RequestLog log;
  return log;
}

void Record(const platform_testing::ShellExecuteRequest& request) {
  RequestLog& log = Log();
  std::lock_guard<std::mutex> guard(log.lock);
  if (log.requests.size() >= kKeptRequests) log.requests.pop_front();
  log.requests.push_back(request);
}

std::u16string TextOf(LPCWSTR text) { return text ? std::u16string(text) : std::u16string(); }

// The function's failure: FALSE, the SE_ERR_ code in hInstApp, and the
// matching last error.
BOOL Fail(SHELLEXECUTEINFOW* info, INT_PTR code, DWORD error) {
  info->hInstApp = reinterpret_cast<HINSTANCE>(code);
  SetLastError(error);
  return FALSE;
}

// The command with its placeholders filled in.
std::u16string ExpandCommand(const std::u16string& command, const std::u16string& file,
                             const std::u16string& parameters) {
  std::u16string result;
  for (size_t at = 0; at < command.size(); ++at) {
    if (command[at] != u'%' || at + 1 >= command.size()) {
      result += command[at];
      continue;
    }
    const char16_t next = command[++at];
    if (next == u'1' || next == u'l' || next == u'L') {
      result += file;
    } else if (next == u'*') {
      result += parameters;
    } else if (next == u'%') {
      result += u'%';
    }
    // Other placeholders (%2 ... %9, %I, %D, ...) have nothing to stand for here.
  }
  return result;
}

bool IsParsingName(const std::u16string& name) { return name.size() > 2 && name[0] == u':' && name[1] == u':'; }

std::u16string VerbOf(LPCWSTR verb) { return verb && *verb ? std::u16string(verb) : std::u16string(u"open"); }

}  // namespace

BOOL WINAPI ShellExecuteExW(SHELLEXECUTEINFOW* pExecInfo) {
  if (!pExecInfo || pExecInfo->cbSize != sizeof(SHELLEXECUTEINFOW)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  SHELLEXECUTEINFOW* info = pExecInfo;
  if (info->fMask & SEE_MASK_NOCLOSEPROCESS) info->hProcess = nullptr;

  platform_testing::ShellExecuteRequest request;
  request.mask = info->fMask;
  request.verb = TextOf(info->lpVerb);
  request.file = TextOf(info->lpFile);
  request.parameters = TextOf(info->lpParameters);
  request.directory = TextOf(info->lpDirectory);
  request.show = info->nShow;
  const bool useIdList = (info->fMask & SEE_MASK_IDLIST) != 0 && info->lpIDList;
  if (useIdList) {
    request.hasIdList = true;
    ParsingNameOf(static_cast<PCIDLIST_ABSOLUTE>(info->lpIDList), &request.idList);
  }

  const std::u16string verb = VerbOf(info->lpVerb);
  const std::u16string parameters = TextOf(info->lpParameters);
  std::u16string commandLine;
  INT_PTR failure = 0;
  DWORD failureError = ERROR_SUCCESS;

  // What is opened: a folder or virtual folder by the "Folder" command, a
  // program by itself, a document by its type's command.
  std::u16string target;
  bool isFolder = false;
  if (useIdList) {
    if (!ParsingNameOf(static_cast<PCIDLIST_ABSOLUTE>(info->lpIDList), &target)) {
      failure = SE_ERR_FNF;
      failureError = ERROR_FILE_NOT_FOUND;
    } else {
      isFolder = IsParsingName(target) || FolderExists(target);
    }
  } else if (IsParsingName(request.file)) {
    target = request.file;
    isFolder = true;
  } else if (request.file.empty() || !LocateFile(request.file, info->lpDirectory, &target)) {
    failure = SE_ERR_FNF;
    failureError = ERROR_FILE_NOT_FOUND;
  } else {
    isFolder = FolderExists(target);
  }

  if (failure == 0) {
    std::u16string command;
    if (isFolder) {
      if (!VerbCommand(u"Folder", verb, &command)) {
        failure = SE_ERR_NOASSOC;
        failureError = ERROR_NO_ASSOCIATION;
      } else {
        commandLine = ExpandCommand(command, target, parameters);
      }
    } else if (IsProgramFile(target) && verb == u"open") {
      commandLine = u"\"" + target + u"\"";
      if (!parameters.empty()) commandLine += u" " + parameters;
    } else {
      const std::u16string extension = PathFindExtensionW(target.c_str());
      if (extension.empty() || !VerbCommand(extension, verb, &command)) {
        failure = SE_ERR_NOASSOC;
        failureError = ERROR_NO_ASSOCIATION;
      } else {
        commandLine = ExpandCommand(command, target, parameters);
      }
    }
  }

  if (failure != 0) {
    Record(request);
    return Fail(info, failure, failureError);
  }

  std::vector<WCHAR> writable(commandLine.begin(), commandLine.end());
  writable.push_back(0);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(info->nShow);
  PROCESS_INFORMATION process = {};
  const LPCWSTR directory = info->lpDirectory && *info->lpDirectory ? info->lpDirectory : nullptr;
  const BOOL started = CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, directory,
                                      &startup, &process);
  if (!started) {
    const DWORD error = GetLastError();
    Record(request);
    switch (error) {
      case ERROR_FILE_NOT_FOUND:
        return Fail(info, SE_ERR_FNF, error);
      case ERROR_PATH_NOT_FOUND:
      case ERROR_DIRECTORY:
        return Fail(info, SE_ERR_PNF, error);
      case ERROR_ACCESS_DENIED:
        return Fail(info, SE_ERR_ACCESSDENIED, error);
      case ERROR_BAD_EXE_FORMAT:
        return Fail(info, ERROR_BAD_FORMAT, error);
      default:
        return Fail(info, SE_ERR_OOM, error);
    }
  }

  request.commandLine = commandLine;
  Record(request);
  CloseHandle(process.hThread);
  if (info->fMask & SEE_MASK_NOCLOSEPROCESS) {
    info->hProcess = process.hProcess;
  } else {
    CloseHandle(process.hProcess);
  }
  info->hInstApp = reinterpret_cast<HINSTANCE>(kStarted);
  return TRUE;
}

namespace platform_testing {

std::vector<ShellExecuteRequest> TakeShellExecuteRequests() {
  RequestLog& log = Log();
  std::lock_guard<std::mutex> guard(log.lock);
  std::vector<ShellExecuteRequest> taken(log.requests.begin(), log.requests.end());
  log.requests.clear();
  return taken;
}

std::u16string ParsingNameOfIdList(const void* idList) {
  std::u16string name;
  if (!ParsingNameOf(static_cast<PCIDLIST_ABSOLUTE>(idList), &name)) return std::u16string();
  return name;
}

}  // namespace platform_testing
