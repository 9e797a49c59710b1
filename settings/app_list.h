// The user's application list: six parallel lists of the host's data object
// ("FILES_LIST", "DIRS_LIST", "ARGS_LIST", "APPS_LIST", "LNCH_LIST",
// "DESC_LIST"), read once and handed out a row at a time.
//
// A row is a command entry when its "APPS_LIST" cell holds a command line,
// a file entry when only its "FILES_LIST" cell holds a name, and neither
// (skipped by every consumer) when both are empty. Each list is a 2-D
// VARIANT array seen as rows and columns; the value of row i is the cell in
// column 1 (the host keeps its own data in column 0). "FILES_LIST" alone
// decides how many rows there are.
#ifndef VELMORA_SETTINGS_APP_LIST_H
#define VELMORA_SETTINGS_APP_LIST_H

#include <windows.h>
#include <oleauto.h>

#include <atlbase.h>

#include <velmora.h>

#include "settings/kex_safe_array.h"

// One row of the list. The strings start as empty (non-null) BSTRs; a cell
// holding a null BSTR makes its field null, which counts as empty. The flags
// are 16-bit booleans: -1 true, 0 false, both true until a row says otherwise.
struct AppListEntry {
  AppListEntry();

  bool HasApp() const { return m_bstrApp.Length() > 0; }
  bool HasFile() const { return m_bstrFile.Length() > 0; }

  CComBSTR m_bstrApp;
  CComBSTR m_bstrFile;
  CComBSTR m_bstrDir;
  CComBSTR m_bstrArgs;
  VARIANT_BOOL m_bLaunch = VARIANT_TRUE;
  VARIANT_BOOL m_bChildren = VARIANT_TRUE;
};

class CAppList {
 public:
  // Reads the six lists from pDataObj (may be null: the load then fails with
  // E_FAIL and nothing is asked). Never throws for a missing or malformed
  // list; the outcome is GetLoadStatus.
  explicit CAppList(IDataObj* pDataObj);
  CAppList(const CAppList&) = delete;
  CAppList& operator=(const CAppList&) = delete;

  // S_OK, E_FAIL without a data object, E_UNEXPECTED when a list is missing
  // or is not a table of VARIANTs (the lists after it are not asked for).
  // Nothing may be built from the list when it is negative.
  [[nodiscard]] HRESULT GetLoadStatus() const { return m_hrLoad; }
  // The rows of "FILES_LIST"; 0 when it was not loaded.
  ULONG GetCount() const { return m_saFiles.GetRowCount(); }
  // Fills entry (as AppListEntry's constructor left it) from row i; a cell
  // that is missing or of another type leaves its field as it was, except
  // that a missing flag cell reads as false. E_INVALIDARG, entry untouched,
  // when i is not below GetCount. Copying a string may throw the string
  // class's CAtlException(E_OUTOFMEMORY).
  [[nodiscard]] HRESULT GetEntry(ULONG i, AppListEntry& entry);

 private:
  [[nodiscard]] HRESULT Load();
  static void ReadString(CKexSafeArray& list, ULONG i, CComVariant& cell, CComBSTR& field);
  static void ReadFlag(CKexSafeArray& list, ULONG i, CComVariant& cell, VARIANT_BOOL& field);

  CKexSafeArray m_saFiles;
  CKexSafeArray m_saDirs;
  CKexSafeArray m_saArgs;
  CKexSafeArray m_saApps;
  CKexSafeArray m_saLaunch;
  CKexSafeArray m_saChildren;
  CComPtr<IDataObj> m_spDataObj;
  HRESULT m_hrLoad = E_FAIL;
};

#endif  // VELMORA_SETTINGS_APP_LIST_H
