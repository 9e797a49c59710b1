// COM initialisation counting and the task allocator.
#include <gtest/gtest.h>

#include <string.h>

#include <thread>

#include "tests/platform/support/owners.h"
#include "tests/support/hresult.h"

namespace platform_test {
namespace {

// Initialising a thread again with the other threading model.
const HRESULT kChangedMode = static_cast<HRESULT>(0x80010106);

TEST(Com, MainThreadIsAlreadyInitialisedByTheTestMain) {
  EXPECT_HR(S_FALSE, CoInitialize(nullptr));
  CoUninitialize();
  EXPECT_HR(S_FALSE, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  CoUninitialize();
}

TEST(Com, EachThreadCountsItsOwnInitialisations) {
  HRESULT first = E_FAIL, second = E_FAIL, other_model = E_FAIL, after = E_FAIL;
  std::thread worker([&] {
    first = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    second = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    other_model = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CoUninitialize();
    CoUninitialize();
    // Balanced: the thread starts over.
    after = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CoUninitialize();
  });
  worker.join();
  EXPECT_HR(S_OK, first);
  EXPECT_HR(S_FALSE, second);
  EXPECT_HR(kChangedMode, other_model);
  EXPECT_HR(S_OK, after);
}

TEST(Com, TaskMemoryIsUsableAndZeroBytesStillGiveABlock) {
  void* block = CoTaskMemAlloc(64);
  ASSERT_NE(block, nullptr);
  memset(block, 0xAB, 64);
  CoTaskMemFree(block);

  void* empty = CoTaskMemAlloc(0);
  EXPECT_NE(empty, nullptr);
  CoTaskMemFree(empty);
  CoTaskMemFree(nullptr);
}

}  // namespace
}  // namespace platform_test
