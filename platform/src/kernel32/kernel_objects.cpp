// The handle table behind CloseHandle.
#include "kernel32/kernel_objects.h"

#include <map>
#include <mutex>

namespace platform_internal {

namespace {

struct HandleTable {
  std::mutex lock;
  // Handle values are multiples of four, as Windows hands them out.
  ULONG_PTR next = 0x100;
  std::map<ULONG_PTR, std::shared_ptr<KernelObject>> objects;
};

HandleTable& Table() {
  static HandleTable table;
  return table;
}

}  // namespace

HANDLE AddHandle(std::shared_ptr<KernelObject> object) {
  if (!object) return nullptr;
  HandleTable& table = Table();
  std::lock_guard<std::mutex> guard(table.lock);
  const ULONG_PTR value = table.next;
  table.next += 4;
  table.objects[value] = std::move(object);
  return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> FindHandle(HANDLE handle) {
  HandleTable& table = Table();
  std::lock_guard<std::mutex> guard(table.lock);
  auto found = table.objects.find(reinterpret_cast<ULONG_PTR>(handle));
  return found == table.objects.end() ? nullptr : found->second;
}

bool RemoveHandle(HANDLE handle) {
  std::shared_ptr<KernelObject> removed;
  {
    HandleTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    auto found = table.objects.find(reinterpret_cast<ULONG_PTR>(handle));
    if (found == table.objects.end()) return false;
    removed = std::move(found->second);
    table.objects.erase(found);
  }
  // The object goes when the last holder lets go, outside the lock.
  return true;
}

LONG HandleCount() {
  HandleTable& table = Table();
  std::lock_guard<std::mutex> guard(table.lock);
  return static_cast<LONG>(table.objects.size());
}

}  // namespace platform_internal
