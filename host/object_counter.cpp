#include "host/object_counter.h"

namespace {
// Host objects live in the test's one apartment, so a plain count will do.
LONG g_live = 0;
}  // namespace

LONG CHostObjectCounter::Live() { return g_live; }
void CHostObjectCounter::Created() { ++g_live; }
void CHostObjectCounter::Destroyed() { --g_live; }
