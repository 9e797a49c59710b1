// CAppDetails: the record that names one application for the rest of the
// add-in: what to launch (a command line, or a file with a working folder and
// arguments) and which process to hook (the executable's file name, with two
// hook flags).
#ifndef VELMORA_LAUNCH_APP_DETAILS_H
#define VELMORA_LAUNCH_APP_DETAILS_H

#include <windows.h>

#include <wide_string.h>

#include <velmora.h>

#include <memory>

#include "settings/app_list.h"

class CAppDetails {
 public:
  // A command line, launched directly; the process name comes from its text.
  CAppDetails(const WCHAR* pszCommand, const WCHAR* pszWorkingDir);
  // A file or program path, located through the host's file locator (found in
  // the rack, which may be null) and resolved to the executable that opens it.
  CAppDetails(IObjectRack* pRack, const WCHAR* pszPath, const WCHAR* pszWorkingDir, const WCHAR* pszArgs,
              bool bHook, bool bChildProcesses);
  CAppDetails(const CAppDetails& other) = default;
  CAppDetails& operator=(const CAppDetails& other) = default;
  virtual ~CAppDetails() = default;

  WideString m_strPath;
  WideString m_strWorkingDir;
  WideString m_strArgs;
  WideString m_strProcessName;
  bool m_bHook = true;
  bool m_bChildProcesses = false;
  LONG m_bDirectLaunch = 0;
  LONG m_nLevel = 1;

 private:
  void DeriveProcessName();
  void LocateFile(IObjectRack* pRack);
  void ResolveExecutable(const WCHAR* pszWorkingDirAsPassed);
};

// The record of one row of the user's application list: a command row
// (APPS_LIST) becomes a command record, a file row a file record located
// through pRack, hooked, with the row's child flag; a row of neither kind
// becomes none (null).
std::unique_ptr<CAppDetails> DetailsFromEntry(const AppListEntry& entry, IObjectRack* pRack);

#endif  // VELMORA_LAUNCH_APP_DETAILS_H
