// The registry's in-memory storage.
#include "advapi32/registry_store.h"

#include "kernel32/paths.h"

namespace platform_internal {

namespace {

void MarkDeleted(const std::shared_ptr<RegistryKey>& key) {
  key->deleted = true;
  for (auto& entry : key->subkeys) MarkDeleted(entry.second);
}

std::shared_ptr<RegistryKey> NewKey(const std::u16string& name) {
  auto key = std::make_shared<RegistryKey>();
  key->name = name;
  return key;
}

}  // namespace

RegistryStore& RegistryStore::Instance() {
  static RegistryStore store;
  return store;
}

RegistryStore::RegistryStore() { ResetLocked(); }

void RegistryStore::ResetLocked() {
  if (m_currentUser) MarkDeleted(m_currentUser);
  if (m_localMachine) MarkDeleted(m_localMachine);
  m_currentUser = NewKey(u"HKEY_CURRENT_USER");
  m_localMachine = NewKey(u"HKEY_LOCAL_MACHINE");
  for (const auto& hive : {m_currentUser, m_localMachine}) {
    auto software = NewKey(u"Software");
    software->subkeys[u"classes"] = NewKey(u"Classes");
    hive->subkeys[u"software"] = software;
  }
}

void RegistryStore::Reset() {
  std::lock_guard<std::mutex> guard(m_lock);
  ResetLocked();
}

std::shared_ptr<RegistryKey> RegistryStore::Hive(RegistryHive hive) {
  std::lock_guard<std::mutex> guard(m_lock);
  return hive == RegistryHive::CurrentUser ? m_currentUser : m_localMachine;
}

std::shared_ptr<RegistryKey> RegistryStore::Find(const std::shared_ptr<RegistryKey>& from, const RegistryPath& path) {
  std::lock_guard<std::mutex> guard(m_lock);
  std::shared_ptr<RegistryKey> key = from;
  if (!key || key->deleted) return nullptr;
  for (const std::u16string& name : path) {
    auto found = key->subkeys.find(FoldCase(name));
    if (found == key->subkeys.end()) return nullptr;
    key = found->second;
  }
  return key;
}

std::shared_ptr<RegistryKey> RegistryStore::Create(const std::shared_ptr<RegistryKey>& from, const RegistryPath& path,
                                                   bool* created) {
  std::lock_guard<std::mutex> guard(m_lock);
  *created = false;
  std::shared_ptr<RegistryKey> key = from;
  if (!key || key->deleted) return nullptr;
  for (const std::u16string& name : path) {
    std::shared_ptr<RegistryKey>& slot = key->subkeys[FoldCase(name)];
    if (!slot) {
      slot = NewKey(name);
      *created = true;
    }
    key = slot;
  }
  return key;
}

bool RegistryStore::GetValue(const std::shared_ptr<RegistryKey>& key, const std::u16string& name,
                             RegistryValue* value) {
  std::lock_guard<std::mutex> guard(m_lock);
  auto found = key->values.find(FoldCase(name));
  if (found == key->values.end()) return false;
  *value = found->second;
  return true;
}

void RegistryStore::SetValue(const std::shared_ptr<RegistryKey>& key, const std::u16string& name, DWORD type,
                             std::vector<BYTE> data) {
  std::lock_guard<std::mutex> guard(m_lock);
  RegistryValue& value = key->values[FoldCase(name)];
  value.name = name;
  value.type = type;
  value.data = std::move(data);
}

bool RegistryStore::DeleteValue(const std::shared_ptr<RegistryKey>& key, const std::u16string& name) {
  std::lock_guard<std::mutex> guard(m_lock);
  return key->values.erase(FoldCase(name)) > 0;
}

bool RegistryStore::HasSubkeys(const std::shared_ptr<RegistryKey>& key) {
  std::lock_guard<std::mutex> guard(m_lock);
  return !key->subkeys.empty();
}

bool RegistryStore::DeleteSubkey(const std::shared_ptr<RegistryKey>& parent, const std::u16string& name) {
  std::lock_guard<std::mutex> guard(m_lock);
  auto found = parent->subkeys.find(FoldCase(name));
  if (found == parent->subkeys.end()) return false;
  MarkDeleted(found->second);
  parent->subkeys.erase(found);
  return true;
}

void RegistryStore::Clear(const std::shared_ptr<RegistryKey>& key) {
  std::lock_guard<std::mutex> guard(m_lock);
  for (auto& entry : key->subkeys) MarkDeleted(entry.second);
  key->subkeys.clear();
  key->values.clear();
}

}  // namespace platform_internal
