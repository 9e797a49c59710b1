/*
 * platform_testing.h: the layer's test controls, under the name the tests
 * outside the layer include. The header itself is
 * <velmora_platform/platform_testing.h>; this folder holds only such
 * forwarding headers, so that platform/include holds nothing but SDK names.
 */
#include <velmora_platform/platform_testing.h>
