// The registry functions over the layer's registry store. HKEY_CLASSES_ROOT
// is the merged view Windows documents: a key is read from the current
// user's Software\Classes when it is there and from the machine's otherwise;
// a write goes to the user's key when that exists, to the machine's if not.
#include <windows.h>

#include <string.h>

#include <map>
#include <mutex>

#include "kernel32/paths.h"
#include "advapi32/registry_store.h"

using namespace platform_internal;

namespace {

struct KeyView {
  // Where the values of the key are read and written.
  std::shared_ptr<RegistryKey> key;
  // Opened through HKEY_CLASSES_ROOT: subkeys are found through the merged
  // view again, from this path below its root.
  bool classes = false;
  RegistryPath classesPath;
};

struct OpenKeys {
  std::mutex lock;
  ULONG_PTR next = 0x1000;
  std::map<ULONG_PTR, KeyView> views;
};

OpenKeys& Handles() {
  static OpenKeys handles;
  return handles;
}

RegistryStore& Store() { return RegistryStore::Instance(); }

const RegistryPath kClasses = {u"Software", u"Classes"};

std::shared_ptr<RegistryKey> ClassesRoot(RegistryHive hive) { return Store().Find(Store().Hive(hive), kClasses); }

std::shared_ptr<RegistryKey> CreateClassesRoot(RegistryHive hive) {
  bool created = false;
  return Store().Create(Store().Hive(hive), kClasses, &created);
}

RegistryPath Concat(const RegistryPath& first, const RegistryPath& second) {
  RegistryPath path = first;
  path.insert(path.end(), second.begin(), second.end());
  return path;
}

RegistryPath SplitKeyPath(LPCWSTR subKey) {
  if (!subKey) return RegistryPath();
  RegistryPath path;
  std::u16string current;
  for (LPCWSTR p = subKey; *p; ++p) {
    if (*p == u'\\') {
      if (!current.empty()) path.push_back(current);
      current.clear();
    } else {
      current += *p;
    }
  }
  if (!current.empty()) path.push_back(current);
  return path;
}

// The hive whose classes hold the merged key at `path`: the user's when the
// key is there, the machine's otherwise.
RegistryHive ClassesHiveOf(const RegistryPath& path) {
  auto user = ClassesRoot(RegistryHive::CurrentUser);
  if (user && Store().Find(user, path)) return RegistryHive::CurrentUser;
  return RegistryHive::LocalMachine;
}

bool ViewOf(HKEY hKey, KeyView* view) {
  if (hKey == HKEY_CURRENT_USER) {
    *view = KeyView{Store().Hive(RegistryHive::CurrentUser), false, {}};
    return true;
  }
  if (hKey == HKEY_LOCAL_MACHINE) {
    *view = KeyView{Store().Hive(RegistryHive::LocalMachine), false, {}};
    return true;
  }
  if (hKey == HKEY_CLASSES_ROOT) {
    *view = KeyView{CreateClassesRoot(ClassesHiveOf({})), true, {}};
    return true;
  }
  OpenKeys& handles = Handles();
  std::lock_guard<std::mutex> guard(handles.lock);
  auto found = handles.views.find(reinterpret_cast<ULONG_PTR>(hKey));
  if (found == handles.views.end()) return false;
  *view = found->second;
  return true;
}

HKEY AddView(const KeyView& view) {
  OpenKeys& handles = Handles();
  std::lock_guard<std::mutex> guard(handles.lock);
  const ULONG_PTR value = handles.next;
  handles.next += 4;
  handles.views[value] = view;
  return reinterpret_cast<HKEY>(value);
}

LSTATUS Open(const KeyView& from, const RegistryPath& sub, KeyView* result) {
  if (!from.key || from.key->deleted) return ERROR_KEY_DELETED;
  if (!from.classes) {
    auto key = Store().Find(from.key, sub);
    if (!key) return ERROR_FILE_NOT_FOUND;
    *result = KeyView{key, false, {}};
    return ERROR_SUCCESS;
  }
  const RegistryPath path = Concat(from.classesPath, sub);
  auto root = ClassesRoot(ClassesHiveOf(path));
  auto key = root ? Store().Find(root, path) : nullptr;
  if (!key) return ERROR_FILE_NOT_FOUND;
  *result = KeyView{key, true, path};
  return ERROR_SUCCESS;
}

LSTATUS Create(const KeyView& from, const RegistryPath& sub, KeyView* result, bool* created) {
  if (!from.key || from.key->deleted) return ERROR_KEY_DELETED;
  if (!from.classes) {
    auto key = Store().Create(from.key, sub, created);
    if (!key) return ERROR_KEY_DELETED;
    *result = KeyView{key, false, {}};
    return ERROR_SUCCESS;
  }
  const RegistryPath path = Concat(from.classesPath, sub);
  auto root = CreateClassesRoot(ClassesHiveOf(path));
  auto key = Store().Create(root, path, created);
  if (!key) return ERROR_KEY_DELETED;
  *result = KeyView{key, true, path};
  return ERROR_SUCCESS;
}

// The parent of the key at `sub` below `from`, for deleting it.
LSTATUS ParentOf(const KeyView& from, const RegistryPath& sub, std::shared_ptr<RegistryKey>* parent) {
  if (!from.key || from.key->deleted) return ERROR_KEY_DELETED;
  const RegistryPath parentPath(sub.begin(), sub.end() - 1);
  if (!from.classes) {
    if (!Store().Find(from.key, sub)) return ERROR_FILE_NOT_FOUND;
    *parent = Store().Find(from.key, parentPath);
    return ERROR_SUCCESS;
  }
  const RegistryPath path = Concat(from.classesPath, sub);
  auto root = ClassesRoot(ClassesHiveOf(path));
  if (!root || !Store().Find(root, path)) return ERROR_FILE_NOT_FOUND;
  *parent = Store().Find(root, Concat(from.classesPath, parentPath));
  return ERROR_SUCCESS;
}

}  // namespace

LSTATUS WINAPI RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  KeyView from;
  if (!ViewOf(hKey, &from)) return ERROR_INVALID_HANDLE;
  KeyView opened;
  const LSTATUS status = Open(from, SplitKeyPath(lpSubKey), &opened);
  if (status != ERROR_SUCCESS) return status;
  *phkResult = AddView(opened);
  return ERROR_SUCCESS;
}

LSTATUS WINAPI RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass, DWORD dwOptions,
                               REGSAM samDesired, void* lpSecurityAttributes, PHKEY phkResult,
                               LPDWORD lpdwDisposition) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  KeyView from;
  if (!ViewOf(hKey, &from)) return ERROR_INVALID_HANDLE;
  KeyView opened;
  bool created = false;
  const LSTATUS status = Create(from, SplitKeyPath(lpSubKey), &opened, &created);
  if (status != ERROR_SUCCESS) return status;
  *phkResult = AddView(opened);
  if (lpdwDisposition) *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return ERROR_SUCCESS;
}

LSTATUS WINAPI RegCloseKey(HKEY hKey) {
  if (hKey == HKEY_CLASSES_ROOT || hKey == HKEY_CURRENT_USER || hKey == HKEY_LOCAL_MACHINE) return ERROR_SUCCESS;
  OpenKeys& handles = Handles();
  std::lock_guard<std::mutex> guard(handles.lock);
  return handles.views.erase(reinterpret_cast<ULONG_PTR>(hKey)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LSTATUS WINAPI RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                                LPDWORD lpcbData) {
  if (lpReserved || (lpData && !lpcbData)) return ERROR_INVALID_PARAMETER;
  KeyView view;
  if (!ViewOf(hKey, &view)) return ERROR_INVALID_HANDLE;
  if (!view.key || view.key->deleted) return ERROR_KEY_DELETED;
  RegistryValue value;
  if (!Store().GetValue(view.key, lpValueName ? lpValueName : u"", &value)) return ERROR_FILE_NOT_FOUND;
  if (lpType) *lpType = value.type;
  const DWORD size = static_cast<DWORD>(value.data.size());
  if (!lpcbData) return ERROR_SUCCESS;
  if (!lpData) {
    *lpcbData = size;
    return ERROR_SUCCESS;
  }
  if (*lpcbData < size) {
    *lpcbData = size;
    return ERROR_MORE_DATA;
  }
  if (size) memcpy(lpData, value.data.data(), size);
  *lpcbData = size;
  return ERROR_SUCCESS;
}

LSTATUS WINAPI RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                              DWORD cbData) {
  if (!lpData && cbData) return ERROR_INVALID_PARAMETER;
  KeyView view;
  if (!ViewOf(hKey, &view)) return ERROR_INVALID_HANDLE;
  if (!view.key || view.key->deleted) return ERROR_KEY_DELETED;
  std::vector<BYTE> data(lpData, lpData + cbData);
  Store().SetValue(view.key, lpValueName ? lpValueName : u"", dwType, std::move(data));
  return ERROR_SUCCESS;
}

LSTATUS WINAPI RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
  KeyView view;
  if (!ViewOf(hKey, &view)) return ERROR_INVALID_HANDLE;
  if (!view.key || view.key->deleted) return ERROR_KEY_DELETED;
  return Store().DeleteValue(view.key, lpValueName ? lpValueName : u"") ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

LSTATUS WINAPI RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey) {
  if (!lpSubKey) return ERROR_INVALID_PARAMETER;
  KeyView from;
  if (!ViewOf(hKey, &from)) return ERROR_INVALID_HANDLE;
  const RegistryPath sub = SplitKeyPath(lpSubKey);
  // The layer does not delete a key through its own handle, nor a root.
  if (sub.empty()) return ERROR_ACCESS_DENIED;
  std::shared_ptr<RegistryKey> parent;
  const LSTATUS status = ParentOf(from, sub, &parent);
  if (status != ERROR_SUCCESS) return status;
  KeyView target;
  if (Open(from, sub, &target) != ERROR_SUCCESS) return ERROR_FILE_NOT_FOUND;
  // As on Windows, a key with subkeys is refused: RegDeleteTreeW removes those.
  if (Store().HasSubkeys(target.key)) return ERROR_ACCESS_DENIED;
  return Store().DeleteSubkey(parent, sub.back()) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

LSTATUS WINAPI RegDeleteTreeW(HKEY hKey, LPCWSTR lpSubKey) {
  KeyView from;
  if (!ViewOf(hKey, &from)) return ERROR_INVALID_HANDLE;
  const RegistryPath sub = SplitKeyPath(lpSubKey);
  if (sub.empty()) {
    // Without a subkey: everything in the key goes, the key stays.
    if (!from.key || from.key->deleted) return ERROR_KEY_DELETED;
    Store().Clear(from.key);
    return ERROR_SUCCESS;
  }
  std::shared_ptr<RegistryKey> parent;
  const LSTATUS status = ParentOf(from, sub, &parent);
  if (status != ERROR_SUCCESS) return status;
  return Store().DeleteSubkey(parent, sub.back()) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}
