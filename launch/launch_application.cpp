#include "launch/launch_application.h"

#include <objbase.h>
#include <oleauto.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <wchar.h>

#include <vector>

namespace launch_application {

namespace {

// What the shell namespace offers under a name instead of a file.
enum class Place { kNone, kFolder, kDocuments };

struct ShellName {
  Place place;
  int csidl;
};

const WCHAR kControlPanel[] = OLESTR("Control Panel");
const WCHAR kDocumentsAndSettings[] = OLESTR("\\Documents and Settings\\");
const WCHAR kMyDocuments[] = OLESTR("\\My Documents");
// The user's documents folder, by its shell name.
const WCHAR kDocumentsFolderName[] = OLESTR("::{450d8fba-ad25-11d0-98a8-0800361b1103}");

const INT_PTR kShellNotFound[] = {SE_ERR_FNF, SE_ERR_PNF, SE_ERR_SHARE, SE_ERR_ASSOCINCOMPLETE, SE_ERR_NOASSOC,
                                  SE_ERR_DLLNOTFOUND};
const INT_PTR kShellFailed[] = {SE_ERR_OOM, SE_ERR_DDETIMEOUT, SE_ERR_DDEFAIL, SE_ERR_DDEBUSY};

bool SameName(BSTR path, const WCHAR* name) {
  CComBSTR other(name);
  return VarBstrCmp(path, other, LOCALE_USER_DEFAULT, 0) == VARCMP_EQ;
}

bool Contains(const WCHAR* text, const WCHAR* part) { return text && wcsstr(text, part) != nullptr; }

// The shell place a path names, tested in a fixed order; the first that
// matches counts. Every test is case-sensitive.
ShellName PlaceOf(BSTR path) {
  if (SameName(path, OLESTR("My Computer"))) return {Place::kFolder, CSIDL_DRIVES};
  if (SameName(path, OLESTR("My Network Places"))) return {Place::kFolder, CSIDL_NETWORK};
  if (SameName(path, OLESTR("Recycle Bin"))) return {Place::kFolder, CSIDL_BITBUCKET};
  if (Contains(path, kControlPanel)) {
    if (Contains(path, OLESTR("Printers"))) return {Place::kFolder, CSIDL_PRINTERS};
    if (Contains(path, OLESTR("Network"))) return {Place::kFolder, CSIDL_CONNECTIONS};
    return {Place::kFolder, CSIDL_CONTROLS};
  }
  if (Contains(path, kDocumentsAndSettings)) {
    const WCHAR* documents = wcsstr(path, kMyDocuments);
    if (documents && documents[wcslen(kMyDocuments)] == 0) return {Place::kDocuments, 0};
  }
  return {Place::kNone, 0};
}

bool IsOneOf(INT_PTR code, const INT_PTR* codes, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if (codes[i] == code) return true;
  }
  return false;
}

// The result of a shell launch from what ShellExecuteExW said and left in
// the structure; takes the process handle it returned.
HRESULT ShellResult(BOOL succeeded, SHELLEXECUTEINFOW& info, CHandle& process) {
  process.Attach(info.hProcess);
  if (succeeded) return S_OK;
  const INT_PTR code = reinterpret_cast<INT_PTR>(info.hInstApp);
  if (IsOneOf(code, kShellNotFound, sizeof kShellNotFound / sizeof kShellNotFound[0])) {
    process.Close();
    return E_INVALIDARG;
  }
  if (code == SE_ERR_ACCESSDENIED) {
    process.Close();
    return E_ACCESSDENIED;
  }
  if (IsOneOf(code, kShellFailed, sizeof kShellFailed / sizeof kShellFailed[0])) {
    process.Close();
    return E_FAIL;
  }
  // Any other code counts as started: hosts have seen shells report odd
  // codes for requests that did open.
  return S_OK;
}

// An item identifier list the shell handed out, freed with the shell's
// allocator when it goes.
class CItemIdList {
 public:
  CItemIdList() { (void)SHGetMalloc(m_allocator.Receive()); }
  CItemIdList(const CItemIdList&) = delete;
  CItemIdList& operator=(const CItemIdList&) = delete;
  ~CItemIdList() {
    if (m_list && m_allocator) m_allocator->Free(m_list);
  }

  LPITEMIDLIST Get() const { return m_list; }
  // For an out-parameter; the list is filled once.
  LPITEMIDLIST* Receive() { return &m_list; }

 private:
  CComPtr<IMalloc> m_allocator;
  LPITEMIDLIST m_list = nullptr;
};

SHELLEXECUTEINFOW EmptyRequest() {
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof info;
  info.lpVerb = OLESTR("open");
  info.nShow = SW_SHOWNORMAL;
  return info;
}

// The user's documents folder, parsed from its shell name. Whatever the
// shell does with the request, the launch counts as made.
HRESULT OpenDocumentsFolder(CHandle& process) {
  CItemIdList list;
  CComPtr<IShellFolder> desktop;
  (void)SHGetDesktopFolder(desktop.Receive());
  if (desktop) {
    std::vector<WCHAR> name(kDocumentsFolderName, kDocumentsFolderName + wcslen(kDocumentsFolderName) + 1);
    (void)desktop->ParseDisplayName(nullptr, nullptr, name.data(), nullptr, list.Receive(), nullptr);
  }
  SHELLEXECUTEINFOW info = EmptyRequest();
  info.fMask = SEE_MASK_IDLIST | SEE_MASK_NOCLOSEPROCESS;
  info.lpIDList = list.Get();
  (void)ShellExecuteExW(&info);
  process.Attach(info.hProcess);
  return S_OK;
}

HRESULT OpenShellFolder(int csidl, CHandle& process) {
  CItemIdList list;
  // Without a location the request below fails, and says so.
  (void)SHGetSpecialFolderLocation(nullptr, csidl, list.Receive());
  SHELLEXECUTEINFOW info = EmptyRequest();
  info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS;
  info.lpIDList = list.Get();
  const BOOL succeeded = ShellExecuteExW(&info);
  return ShellResult(succeeded, info, process);
}

HRESULT OpenFile(const CAppDetails& app, BSTR path, CHandle& process) {
  SHELLEXECUTEINFOW info = EmptyRequest();
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  info.lpFile = ::SysStringLen(path) > 0 ? path : nullptr;
  info.lpDirectory = app.m_strWorkingDir.empty() ? nullptr : app.m_strWorkingDir.c_str();
  info.lpParameters = app.m_strArgs.empty() ? nullptr : app.m_strArgs.c_str();
  const BOOL succeeded = ShellExecuteExW(&info);
  return ShellResult(succeeded, info, process);
}

}  // namespace

HRESULT Launch(const CAppDetails& app, CHandle& process) {
  process.Close();
  if (app.m_bDirectLaunch) return LaunchDirect(app, process);
  CComBSTR path(static_cast<int>(app.m_strPath.size()), app.m_strPath.c_str());
  const ShellName place = PlaceOf(path);
  switch (place.place) {
    case Place::kDocuments:
      return OpenDocumentsFolder(process);
    case Place::kFolder:
      return OpenShellFolder(place.csidl, process);
    case Place::kNone:
      break;
  }
  return OpenFile(app, path, process);
}

HRESULT LaunchDirect(const CAppDetails& app, CHandle& process) {
  process.Close();
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};

  // CreateProcessW may write into its command line.
  std::vector<WCHAR> commandLine(app.m_strPath.begin(), app.m_strPath.end());
  commandLine.push_back(0);

  // The working folder when it is a directory; else the command line cut at
  // its last backslash, else none. A quoted program keeps its opening quote
  // through the cut, which no folder has: it is dropped, and a folder that
  // still does not exist is not passed, since CreateProcessW refuses to
  // start anything in a folder that is not there.
  std::vector<WCHAR> folder(app.m_strWorkingDir.begin(), app.m_strWorkingDir.end());
  folder.push_back(0);
  if (app.m_strWorkingDir.empty() || !PathIsDirectoryW(folder.data())) {
    folder = commandLine;
    (void)PathRemoveFileSpecW(folder.data());  // false only when nothing was cut
    if (folder[0] == OLESTR('"')) folder.erase(folder.begin());
    if (folder[0] != 0 && !PathIsDirectoryW(folder.data())) folder.assign(1, 0);
  }
  const WCHAR* startIn = folder[0] != 0 ? folder.data() : nullptr;

  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, startIn, &startup,
                      &started)) {
    return E_FAIL;
  }
  CHandle thread(started.hThread);
  process.Attach(started.hProcess);
  return S_OK;
}

}  // namespace launch_application
