// The test control of the registry (platform_testing.h).
#include <velmora_platform/platform_testing.h>

#include "advapi32/registry_store.h"

namespace platform_testing {

void ResetRegistry() { platform_internal::RegistryStore::Instance().Reset(); }

}  // namespace platform_testing
