// The kernel's handle table: every HANDLE the layer gives out (processes,
// events, ...) names one object here until CloseHandle removes it.
#ifndef VELMORA_PLATFORM_KERNEL_OBJECTS_H
#define VELMORA_PLATFORM_KERNEL_OBJECTS_H

#include <windef.h>

#include <memory>

namespace platform_internal {

class KernelObject {
 public:
  virtual ~KernelObject() = default;
};

// A new handle for the object; null when the table cannot grow.
HANDLE AddHandle(std::shared_ptr<KernelObject> object);
// The object behind a handle, kept alive while the caller holds the result
// even if another thread closes the handle; null for an unknown handle.
std::shared_ptr<KernelObject> FindHandle(HANDLE handle);
// Removes the handle; false when it was not in the table.
bool RemoveHandle(HANDLE handle);
// How many handles are open, whatever their kind.
LONG HandleCount();

}  // namespace platform_internal

#endif  // VELMORA_PLATFORM_KERNEL_OBJECTS_H
