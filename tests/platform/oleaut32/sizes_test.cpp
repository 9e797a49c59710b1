// The automation types have the Windows sizes and offsets for the pointer
// width, so that data laid out by one side reads right on the other.
#include <gtest/gtest.h>

#include <stddef.h>

#include "tests/platform/support/owners.h"

namespace platform_test {
namespace {

constexpr bool k64 = sizeof(void*) == 8;

TEST(Sizes, IntegerAndCharacterTypesHaveTheirWindowsWidths) {
  EXPECT_EQ(sizeof(WCHAR), 2u);
  EXPECT_EQ(sizeof(OLECHAR), 2u);
  EXPECT_EQ(sizeof(LONG), 4u);
  EXPECT_EQ(sizeof(ULONG), 4u);
  EXPECT_EQ(sizeof(DWORD), 4u);
  EXPECT_EQ(sizeof(HRESULT), 4u);
  EXPECT_EQ(sizeof(SCODE), 4u);
  EXPECT_EQ(sizeof(VARIANT_BOOL), 2u);
  EXPECT_EQ(sizeof(VARTYPE), 2u);
  EXPECT_EQ(sizeof(LONGLONG), 8u);
  EXPECT_EQ(sizeof(GUID), 16u);
}

TEST(Sizes, VariantLayout) {
  EXPECT_EQ(sizeof(VARIANT), k64 ? 24u : 16u);
  EXPECT_EQ(offsetof(VARIANT, vt), 0u);
  EXPECT_EQ(offsetof(VARIANT, lVal), 8u);
  EXPECT_EQ(offsetof(VARIANT, bstrVal), 8u);
  EXPECT_EQ(offsetof(VARIANT, decVal), 0u);
  EXPECT_EQ(sizeof(DECIMAL), 16u);
  EXPECT_EQ(sizeof(CY), 8u);
}

TEST(Sizes, SafeArrayLayout) {
  EXPECT_EQ(sizeof(SAFEARRAYBOUND), 8u);
  EXPECT_EQ(sizeof(SAFEARRAY), k64 ? 32u : 24u);
  EXPECT_EQ(offsetof(SAFEARRAY, cDims), 0u);
  EXPECT_EQ(offsetof(SAFEARRAY, fFeatures), 2u);
  EXPECT_EQ(offsetof(SAFEARRAY, cbElements), 4u);
  EXPECT_EQ(offsetof(SAFEARRAY, cLocks), 8u);
  EXPECT_EQ(offsetof(SAFEARRAY, pvData), k64 ? 16u : 12u);
  EXPECT_EQ(offsetof(SAFEARRAY, rgsabound), k64 ? 24u : 16u);
}

}  // namespace
}  // namespace platform_test
