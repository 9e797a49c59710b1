// Where Wine answers otherwise than Windows documents. The test still expects
// the documented answer, and names Wine's answer as a known deviation, the
// way Wine's own conformance tests mark a result known to be wrong on one
// platform:
//   - on Linux (our layer) and on Windows the documented answer must come;
//   - under Wine the known deviant answer must come. If the documented one
//     comes instead, Wine has started to follow the documentation and the
//     check fails, saying so, until the mark is removed; any third answer
//     fails as well, as a deviation nobody has looked at.
//
//   EXPECT_TRUE(HrAsDocumented(hr, E_POINTER, HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER),
//                              "Wine 8 reports a short buffer as ERROR_INSUFFICIENT_BUFFER"));
#ifndef VELMORA_TESTS_PLATFORM_SUPPORT_KNOWN_DEVIATION_H
#define VELMORA_TESTS_PLATFORM_SUPPORT_KNOWN_DEVIATION_H

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/support/under_wine.h"

namespace velmora_test {

// The verdict, given whether the answer is the documented one and whether it
// is Wine's known one, with each answer as text for the message.
inline testing::AssertionResult JudgeAgainstDocumentation(bool documented, bool wineAnswer, const std::string& actualText,
                                                          const std::string& documentedText,
                                                          const std::string& wineText, const char* deviation) {
  if (!RunningUnderWine()) {
    if (documented) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "answered " << actualText << ", documented " << documentedText;
  }
  if (documented) {
    return testing::AssertionFailure() << "Wine now answers as documented (" << documentedText
                                       << "): the known deviation \"" << deviation
                                       << "\" is gone, remove its mark";
  }
  if (!wineAnswer) {
    return testing::AssertionFailure() << "answered " << actualText << ": neither the documented " << documentedText
                                       << " nor Wine's known " << wineText << " (" << deviation << ")";
  }
  testing::Test::RecordProperty("known_wine_deviation", deviation);
  return testing::AssertionSuccess();
}

template <class T>
testing::AssertionResult AsDocumented(const T& actual, const T& documented, const T& underWine,
                                      const char* deviation) {
  return JudgeAgainstDocumentation(actual == documented, actual == underWine, testing::PrintToString(actual),
                                   testing::PrintToString(documented), testing::PrintToString(underWine), deviation);
}

inline std::string HresultText(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
  return text;
}

// The same for an HRESULT, printed in hex.
inline testing::AssertionResult HrAsDocumented(HRESULT actual, HRESULT documented, HRESULT underWine,
                                               const char* deviation) {
  return JudgeAgainstDocumentation(actual == documented, actual == underWine, HresultText(actual),
                                   HresultText(documented), HresultText(underWine), deviation);
}

}  // namespace velmora_test

#endif  // VELMORA_TESTS_PLATFORM_SUPPORT_KNOWN_DEVIATION_H
