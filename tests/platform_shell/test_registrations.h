// The test registrations moved to tests/platform/support with the rest of the
// platform conformance suite's support; this name stays for the tests outside
// that suite that include it.
#include "tests/platform/support/test_registrations.h"
