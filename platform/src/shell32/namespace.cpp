// The shell namespace on Linux. There is no Explorer here, so the namespace
// is what the add-in needs of it and no more:
//   - the desktop is the root; below it sit the virtual folders the special
//     folder locations name (the computer, the network, the recycle bin, the
//     control panel with the printers and the network connections below it,
//     the documents folder), each an item holding its class identifier;
//   - a file or folder of the file system is the computer's item followed by
//     one item holding its full Windows path.
// Nothing can be bound to or listed: the lists exist to be handed to
// ShellExecuteExW, which opens a virtual folder through the program
// registered for the "Folder" class, as a desktop's file manager would be
// (shell_execute.cpp). Lists are allocated with the task allocator, so that
// ILFree, CoTaskMemFree and the shell's IMalloc free them alike.
#include "shell32/namespace.h"

#include <malloc.h>
#include <string.h>

#include <vector>

#include "kernel32/paths.h"
#include "shlwapi/association.h"

EXTERN_C const IID IID_IMalloc = {0x00000002, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
EXTERN_C const IID IID_IShellFolder = {0x000214E6, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

namespace platform_internal {

namespace {

// The first byte after an item's size says what the item holds.
constexpr BYTE kVirtualFolderItem = 'G';  // then a CLSID
constexpr BYTE kPathItem = 'P';           // then the full Windows path, UTF-16, unterminated

const CLSID kComputer = {0x20D04FE0, 0x3AEA, 0x1069, {0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D}};
const CLSID kNetwork = {0xF02C1A0D, 0xBE21, 0x4350, {0x88, 0xB0, 0x73, 0x67, 0xFC, 0x96, 0xEF, 0x3C}};
const CLSID kRecycleBin = {0x645FF040, 0x5081, 0x101B, {0x9F, 0x08, 0x00, 0xAA, 0x00, 0x2F, 0x95, 0x4E}};
const CLSID kControlPanel = {0x21EC2020, 0x3AEA, 0x1069, {0xA2, 0xDD, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D}};
const CLSID kPrinters = {0x2227A280, 0x3AEA, 0x1069, {0xA2, 0xDE, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D}};
const CLSID kConnections = {0x7007ACC7, 0x3202, 0x11D1, {0xAA, 0xD2, 0x00, 0x80, 0x5F, 0xC1, 0x27, 0x0E}};
const CLSID kDocuments = {0x450D8FBA, 0xAD25, 0x11D0, {0x98, 0xA8, 0x08, 0x00, 0x36, 0x1B, 0x11, 0x03}};

const CLSID* const kKnownFolders[] = {&kComputer, &kNetwork,     &kRecycleBin, &kControlPanel,
                                      &kPrinters, &kConnections, &kDocuments};

bool IsKnownFolder(const CLSID& clsid) {
  for (const CLSID* known : kKnownFolders) {
    if (memcmp(known, &clsid, sizeof clsid) == 0) return true;
  }
  return false;
}

// An item list under construction: the items' bytes, without the terminator.
class ListBuilder {
 public:
  void AddFolder(const CLSID& clsid) { Add(kVirtualFolderItem, &clsid, sizeof clsid); }
  void AddPath(const std::u16string& path) { Add(kPathItem, path.data(), path.size() * sizeof(char16_t)); }

  // The finished list, from the task allocator; null when out of memory.
  PIDLIST_ABSOLUTE Make() const {
    BYTE* list = static_cast<BYTE*>(CoTaskMemAlloc(m_bytes.size() + sizeof(USHORT)));
    if (!list) return nullptr;
    if (!m_bytes.empty()) memcpy(list, m_bytes.data(), m_bytes.size());
    memset(list + m_bytes.size(), 0, sizeof(USHORT));
    return reinterpret_cast<PIDLIST_ABSOLUTE>(list);
  }

 private:
  void Add(BYTE kind, const void* payload, size_t size) {
    const USHORT cb = static_cast<USHORT>(sizeof(USHORT) + 1 + size);
    const BYTE* sizeBytes = reinterpret_cast<const BYTE*>(&cb);
    m_bytes.insert(m_bytes.end(), sizeBytes, sizeBytes + sizeof cb);
    m_bytes.push_back(kind);
    const BYTE* bytes = static_cast<const BYTE*>(payload);
    m_bytes.insert(m_bytes.end(), bytes, bytes + size);
  }

  std::vector<BYTE> m_bytes;
};

USHORT ItemSize(const BYTE* item) {
  USHORT cb;
  memcpy(&cb, item, sizeof cb);
  return cb;
}

std::u16string GuidText(const CLSID& clsid) {
  OLECHAR text[40];
  StringFromGUID2(clsid, text, 40);
  return text;
}

// One "::{GUID}" segment of a parsing name.
bool ParseFolderSegment(const std::u16string& segment, CLSID* clsid) {
  if (segment.size() < 3 || segment[0] != u':' || segment[1] != u':') return false;
  if (FAILED(CLSIDFromString(segment.c_str() + 2, clsid))) return false;
  return IsKnownFolder(*clsid);
}

HRESULT ParseName(const std::u16string& name, PIDLIST_ABSOLUTE* list, ULONG* attributes) {
  ListBuilder builder;
  ULONG found = 0;
  if (name.size() >= 2 && name[0] == u':' && name[1] == u':') {
    size_t at = 0;
    while (at <= name.size()) {
      size_t end = name.find(u'\\', at);
      if (end == std::u16string::npos) end = name.size();
      CLSID clsid;
      if (!ParseFolderSegment(name.substr(at, end - at), &clsid)) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
      builder.AddFolder(clsid);
      at = end + 1;
    }
    found = SFGAO_FOLDER;
  } else {
    std::u16string full;
    if (name.size() < 3 || !IsDriveLetter(name[0]) || name[1] != u':' || !FullWindowsPath(name, &full)) {
      return E_INVALIDARG;
    }
    const bool folder = FolderExists(full);
    if (!folder && !FileExists(full)) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    builder.AddFolder(kComputer);
    builder.AddPath(full);
    found = SFGAO_FILESYSTEM | (folder ? SFGAO_FOLDER : 0);
  }
  *list = builder.Make();
  if (!*list) return E_OUTOFMEMORY;
  if (attributes) *attributes &= found;
  return S_OK;
}

// The shell's allocator is the task allocator, as the documentation says it
// is from Windows 2000 on.
class ShellMalloc : public IMalloc {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (memcmp(&riid, &IID_IUnknown, sizeof riid) != 0 && memcmp(&riid, &IID_IMalloc, sizeof riid) != 0) {
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
    *ppv = this;
    return S_OK;
  }
  // One object for the life of the process: counting would change nothing.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  void* STDMETHODCALLTYPE Alloc(SIZE_T cb) override { return CoTaskMemAlloc(cb); }
  // The layer's task allocator is the C heap (ole32/com.cpp).
  void* STDMETHODCALLTYPE Realloc(void* pv, SIZE_T cb) override {
    if (!pv) return CoTaskMemAlloc(cb);
    if (cb == 0) {
      CoTaskMemFree(pv);
      return nullptr;
    }
    return realloc(pv, cb);
  }
  void STDMETHODCALLTYPE Free(void* pv) override { CoTaskMemFree(pv); }
  SIZE_T STDMETHODCALLTYPE GetSize(void* pv) override {
    return pv ? malloc_usable_size(pv) : static_cast<SIZE_T>(-1);
  }
  // -1: cannot tell, which the documentation allows.
  int STDMETHODCALLTYPE DidAlloc(void* pv) override { return pv ? -1 : 0; }
  void STDMETHODCALLTYPE HeapMinimize() override {}
};

// The desktop folder: parsing names into lists and lists back into names.
class DesktopFolder : public IShellFolder {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (memcmp(&riid, &IID_IUnknown, sizeof riid) != 0 && memcmp(&riid, &IID_IShellFolder, sizeof riid) != 0) {
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
    *ppv = this;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND, IBindCtx*, LPWSTR pszDisplayName, ULONG* pchEaten,
                                             PIDLIST_RELATIVE* ppidl, ULONG* pdwAttributes) override {
    if (!ppidl) return E_INVALIDARG;
    *ppidl = nullptr;
    if (!pszDisplayName) return E_INVALIDARG;
    const std::u16string name = pszDisplayName;
    const HRESULT hr = ParseName(name, ppidl, pdwAttributes);
    if (SUCCEEDED(hr) && pchEaten) *pchEaten = static_cast<ULONG>(name.size());
    return hr;
  }
  HRESULT STDMETHODCALLTYPE EnumObjects(HWND, SHCONTF, IEnumIDList** ppenumIDList) override {
    if (ppenumIDList) *ppenumIDList = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE BindToObject(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void** ppv) override {
    if (ppv) *ppv = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE BindToStorage(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void** ppv) override {
    if (ppv) *ppv = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM, PCUIDLIST_RELATIVE pidl1, PCUIDLIST_RELATIVE pidl2) override {
    std::u16string first;
    std::u16string second;
    if (!ParsingNameOf(pidl1, &first) || !ParsingNameOf(pidl2, &second)) return E_INVALIDARG;
    const int order = _wcsicmp(first.c_str(), second.c_str());
    return static_cast<HRESULT>(static_cast<USHORT>(order < 0 ? -1 : order > 0 ? 1 : 0));
  }
  HRESULT STDMETHODCALLTYPE CreateViewObject(HWND, REFIID, void** ppv) override {
    if (ppv) *ppv = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT, PCUITEMID_CHILD_ARRAY, SFGAOF*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND, UINT, PCUITEMID_CHILD_ARRAY, REFIID, UINT*, void** ppv) override {
    if (ppv) *ppv = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD pidl, SHGDNF, STRRET* pName) override {
    // Every form of name is the parsing name here: there is no display.
    if (!pName) return E_INVALIDARG;
    std::u16string name;
    if (!ParsingNameOf(pidl, &name)) return E_INVALIDARG;
    LPWSTR text = static_cast<LPWSTR>(CoTaskMemAlloc((name.size() + 1) * sizeof(WCHAR)));
    if (!text) return E_OUTOFMEMORY;
    memcpy(text, name.c_str(), (name.size() + 1) * sizeof(WCHAR));
    pName->uType = STRRET_WSTR;
    pName->pOleStr = text;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetNameOf(HWND, PCUITEMID_CHILD, LPCWSTR, SHGDNF, PITEMID_CHILD* ppidlOut) override {
    if (ppidlOut) *ppidlOut = nullptr;
    return E_NOTIMPL;
  }
};

}  // namespace

bool ParsingNameOf(PCIDLIST_ABSOLUTE list, std::u16string* name) {
  if (!list) return false;
  name->clear();
  const BYTE* item = reinterpret_cast<const BYTE*>(list);
  for (USHORT cb = ItemSize(item); cb != 0; item += cb, cb = ItemSize(item)) {
    if (cb < sizeof(USHORT) + 1) return false;
    const BYTE kind = item[sizeof(USHORT)];
    const BYTE* payload = item + sizeof(USHORT) + 1;
    const size_t size = cb - sizeof(USHORT) - 1;
    if (kind == kVirtualFolderItem && size == sizeof(CLSID)) {
      CLSID clsid;
      memcpy(&clsid, payload, sizeof clsid);
      if (!name->empty()) *name += u'\\';
      *name += u"::" + GuidText(clsid);
    } else if (kind == kPathItem && size % sizeof(char16_t) == 0) {
      name->assign(size / sizeof(char16_t), u'\0');
      memcpy(&(*name)[0], payload, size);
    } else {
      return false;
    }
  }
  return true;
}

bool FileSystemPathOf(PCIDLIST_ABSOLUTE list, std::u16string* path) {
  std::u16string name;
  if (!ParsingNameOf(list, &name) || name.empty() || name[0] == u':') return false;
  *path = name;
  return true;
}

}  // namespace platform_internal

using namespace platform_internal;

HRESULT WINAPI SHGetMalloc(IMalloc** ppMalloc) {
  static ShellMalloc malloc;
  if (!ppMalloc) return E_INVALIDARG;
  *ppMalloc = &malloc;
  return S_OK;
}

HRESULT WINAPI SHGetDesktopFolder(IShellFolder** ppshf) {
  static DesktopFolder desktop;
  if (!ppshf) return E_INVALIDARG;
  *ppshf = &desktop;
  return S_OK;
}

HRESULT WINAPI SHGetSpecialFolderLocation(HWND hwnd, int csidl, PIDLIST_ABSOLUTE* ppidl) {
  if (!ppidl) return E_INVALIDARG;
  *ppidl = nullptr;
  ListBuilder builder;
  switch (csidl) {
    case CSIDL_DESKTOP:
      break;
    case CSIDL_DRIVES:
      builder.AddFolder(kComputer);
      break;
    case CSIDL_NETWORK:
      builder.AddFolder(kNetwork);
      break;
    case CSIDL_BITBUCKET:
      builder.AddFolder(kRecycleBin);
      break;
    case CSIDL_CONTROLS:
      builder.AddFolder(kControlPanel);
      break;
    case CSIDL_PRINTERS:
      builder.AddFolder(kControlPanel);
      builder.AddFolder(kPrinters);
      break;
    case CSIDL_CONNECTIONS:
      builder.AddFolder(kControlPanel);
      builder.AddFolder(kConnections);
      break;
    case CSIDL_PERSONAL:
      builder.AddFolder(kDocuments);
      break;
    default:
      return E_INVALIDARG;
  }
  *ppidl = builder.Make();
  return *ppidl ? S_OK : E_OUTOFMEMORY;
}

void WINAPI ILFree(PIDLIST_RELATIVE pidl) { CoTaskMemFree(pidl); }

UINT WINAPI ILGetSize(PCUIDLIST_RELATIVE pidl) {
  if (!pidl) return 0;
  const BYTE* item = reinterpret_cast<const BYTE*>(pidl);
  UINT size = sizeof(USHORT);
  for (USHORT cb = ItemSize(item); cb != 0; item += cb, cb = ItemSize(item)) size += cb;
  return size;
}

BOOL WINAPI ILIsEqual(PCIDLIST_ABSOLUTE pidl1, PCIDLIST_ABSOLUTE pidl2) {
  if (!pidl1 || !pidl2) return FALSE;
  const UINT size = ILGetSize(pidl1);
  return size == ILGetSize(pidl2) && memcmp(pidl1, pidl2, size) == 0;
}
