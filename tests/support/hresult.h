// HRESULT assertions for every build (GoogleTest has its own only on
// Windows), printing both values in hex.
#ifndef VELMORA_TESTS_SUPPORT_HRESULT_H
#define VELMORA_TESTS_SUPPORT_HRESULT_H

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

namespace velmora_test {

inline testing::AssertionResult HresultEquals(const char* expected_expr, const char* actual_expr, HRESULT expected,
                                              HRESULT actual) {
  if (expected == actual) return testing::AssertionSuccess();
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, "0x%08X, expected 0x%08X", static_cast<unsigned>(actual),
                static_cast<unsigned>(expected));
  return testing::AssertionFailure() << actual_expr << " is " << buffer << " (" << expected_expr << ")";
}

}  // namespace velmora_test

#define EXPECT_HR(expected, actual) EXPECT_PRED_FORMAT2(::velmora_test::HresultEquals, expected, actual)
#define ASSERT_HR(expected, actual) ASSERT_PRED_FORMAT2(::velmora_test::HresultEquals, expected, actual)

#endif  // VELMORA_TESTS_SUPPORT_HRESULT_H
