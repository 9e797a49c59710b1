// LaunchedAppTable: the applications the add-in launched and the handles of
// their processes, so that the next launch pass can tell which are still
// running and so that every handle is closed in the end. The table owns its
// records and its handles; it never stops a process, it only lets go of the
// handle.
//
// Records are keyed by what launches them: path, working folder, arguments
// (code-unit order, case-sensitive) and then the child flag. Two records
// equal on those are the same application for the table, whatever process
// name, hook flag or level they carry.
#ifndef VELMORA_LAUNCH_LAUNCHED_APP_TABLE_H
#define VELMORA_LAUNCH_LAUNCHED_APP_TABLE_H

#include <windows.h>

#include <atlbase.h>

#include <map>
#include <memory>
#include <vector>

#include "launch/app_details.h"

struct AppDetailsLess {
  bool operator()(const CAppDetails& a, const CAppDetails& b) const;
  // The table looks records up by value and keeps them by pointer.
  using is_transparent = void;
  bool operator()(const std::unique_ptr<CAppDetails>& a, const std::unique_ptr<CAppDetails>& b) const {
    return (*this)(*a, *b);
  }
  bool operator()(const std::unique_ptr<CAppDetails>& a, const CAppDetails& b) const { return (*this)(*a, b); }
  bool operator()(const CAppDetails& a, const std::unique_ptr<CAppDetails>& b) const { return (*this)(a, *b); }
};

class LaunchedAppTable {
 public:
  LaunchedAppTable() = default;
  LaunchedAppTable(const LaunchedAppTable&) = delete;
  LaunchedAppTable& operator=(const LaunchedAppTable&) = delete;
  // In key order, each record is deleted and then its handle closed.
  ~LaunchedAppTable();

  // Closes the handle of every process that has exited (or whose exit code
  // cannot be read) and leaves its entry with no handle. Asks each process
  // once; waits for none.
  void ReleaseExitedProcesses();

  // Removes the entry equal to app, if any, and hands its handle (null when
  // its process has exited) to the caller; the old record is deleted.
  HANDLE Take(const CAppDetails& app);

  // Adds app with its process handle. When an equal record is there already
  // (a second row for the same application), the new record is deleted and
  // its handle closed instead; false then.
  bool Insert(std::unique_ptr<CAppDetails> app, CHandle process);

  // For tests and diagnostics.
  size_t Size() const { return m_entries.size(); }
  struct View {
    const CAppDetails* app;
    HANDLE process;
  };
  std::vector<View> Entries() const;

 private:
  std::map<std::unique_ptr<CAppDetails>, CHandle, AppDetailsLess> m_entries;
};

#endif  // VELMORA_LAUNCH_LAUNCHED_APP_TABLE_H
