// Entry point of every test program: one COM apartment on the main thread,
// as the host gives the add-in.
#include <gtest/gtest.h>

#include <objbase.h>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (FAILED(hr)) return 2;
  const int result = RUN_ALL_TESTS();
  CoUninitialize();
  return result;
}
