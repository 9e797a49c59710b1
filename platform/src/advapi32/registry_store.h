// The registry's storage: two hives (the current user's and the machine's),
// each a tree of keys holding typed values. Names of keys and values compare
// without regard to case and keep the spelling they were created with.
// Everything the registry functions change goes through this class, so that
// it is the one place where the storage can become persistent.
#ifndef VELMORA_PLATFORM_REGISTRY_STORE_H
#define VELMORA_PLATFORM_REGISTRY_STORE_H

#include <windef.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace platform_internal {

struct RegistryValue {
  std::u16string name;
  DWORD type = 0;
  std::vector<BYTE> data;
};

struct RegistryKey {
  std::u16string name;
  // Set when the key is deleted, so that handles still open on it can tell.
  std::atomic<bool> deleted{false};
  std::map<std::u16string, RegistryValue> values;
  std::map<std::u16string, std::shared_ptr<RegistryKey>> subkeys;
};

enum class RegistryHive { CurrentUser, LocalMachine };

typedef std::vector<std::u16string> RegistryPath;

class RegistryStore {
 public:
  static RegistryStore& Instance();

  std::shared_ptr<RegistryKey> Hive(RegistryHive hive);
  // Null when a key of the path is missing or `from` was deleted.
  std::shared_ptr<RegistryKey> Find(const std::shared_ptr<RegistryKey>& from, const RegistryPath& path);
  // Creates the missing keys of the path; null when `from` was deleted.
  std::shared_ptr<RegistryKey> Create(const std::shared_ptr<RegistryKey>& from, const RegistryPath& path,
                                      bool* created);

  bool GetValue(const std::shared_ptr<RegistryKey>& key, const std::u16string& name, RegistryValue* value);
  void SetValue(const std::shared_ptr<RegistryKey>& key, const std::u16string& name, DWORD type,
                std::vector<BYTE> data);
  bool DeleteValue(const std::shared_ptr<RegistryKey>& key, const std::u16string& name);

  bool HasSubkeys(const std::shared_ptr<RegistryKey>& key);
  // Removes the key `name` of `parent` with everything below it.
  bool DeleteSubkey(const std::shared_ptr<RegistryKey>& parent, const std::u16string& name);
  // Removes every value and subkey of the key; the key itself stays.
  void Clear(const std::shared_ptr<RegistryKey>& key);

  // Back to two hives holding only Software\Classes.
  void Reset();

 private:
  RegistryStore();
  void ResetLocked();

  std::mutex m_lock;
  std::shared_ptr<RegistryKey> m_currentUser;
  std::shared_ptr<RegistryKey> m_localMachine;
};

}  // namespace platform_internal

#endif  // VELMORA_PLATFORM_REGISTRY_STORE_H
