// Loading a DLL at run time and looking up its functions, as the add-in does
// for AssocQueryStringW.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlwapi.h>

#ifndef _WIN32
#include <velmora_platform/platform_testing.h>
#endif

#include "tests/support/hresult.h"

namespace velmora_test {
namespace {

typedef HRESULT(WINAPI* AssocQueryStringFn)(ASSOCF, ASSOCSTR, LPCWSTR, LPCWSTR, LPWSTR, DWORD*);

class LoadLibraryNameTest : public testing::TestWithParam<const WCHAR*> {};

TEST_P(LoadLibraryNameTest, EverySpellingLoadsTheSameModule) {
  HMODULE reference = LoadLibraryW(OLESTR("Shlwapi.dll"));
  ASSERT_NE(nullptr, reference);
  HMODULE loaded = LoadLibraryW(GetParam());
  EXPECT_EQ(reference, loaded);
  if (loaded) {
    EXPECT_TRUE(FreeLibrary(loaded));
  }
  EXPECT_TRUE(FreeLibrary(reference));
}

// Case does not matter, and a name without extension means a DLL.
INSTANTIATE_TEST_SUITE_P(Table, LoadLibraryNameTest,
                         testing::Values(OLESTR("shlwapi.dll"), OLESTR("SHLWAPI.DLL"), OLESTR("ShLwApi"),
                                         OLESTR("C:\\windows\\system32\\shlwapi.dll")));

TEST(LoadLibrary, TrailingDotMeansNoExtension) {
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(nullptr, LoadLibraryW(OLESTR("shlwapi.")));
  EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());
}

TEST(LoadLibrary, UnknownModuleFailsWithModNotFound) {
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(nullptr, LoadLibraryW(OLESTR("velmora_no_such_module.dll")));
  EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());
}

TEST(GetProcAddress, FindsAssocQueryStringAndItWorks) {
  HMODULE shlwapi = LoadLibraryW(OLESTR("Shlwapi.dll"));
  ASSERT_NE(nullptr, shlwapi);
  auto query = reinterpret_cast<AssocQueryStringFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(shlwapi, "AssocQueryStringW")));
  ASSERT_NE(nullptr, query);
  // Called through the pointer, a bad argument gets the function's own answer.
  WCHAR out[8];
  DWORD size = 8;
  EXPECT_HR(E_INVALIDARG, query(ASSOCF_NONE, ASSOCSTR_EXECUTABLE, nullptr, nullptr, out, &size));
  EXPECT_TRUE(FreeLibrary(shlwapi));
}

TEST(GetProcAddress, UnknownNameFailsWithProcNotFound) {
  HMODULE shlwapi = LoadLibraryW(OLESTR("Shlwapi.dll"));
  ASSERT_NE(nullptr, shlwapi);
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(nullptr, GetProcAddress(shlwapi, "VelmoraNoSuchFunction"));
  EXPECT_EQ(static_cast<DWORD>(ERROR_PROC_NOT_FOUND), GetLastError());
  EXPECT_TRUE(FreeLibrary(shlwapi));
}

TEST(GetModuleHandle, UnknownModuleFailsWithModNotFound) {
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(nullptr, GetModuleHandleW(OLESTR("velmora_no_such_module.dll")));
  EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());
}

#ifndef _WIN32

// The layer's controls for making a module or an export disappear, which
// tests of the code that loads them use.
class ModuleControlTest : public testing::Test {
 protected:
  void TearDown() override { platform_testing::ResetModules(); }
};

TEST_F(ModuleControlTest, MissingModuleFailsToLoadButOpenHandlesStayValid) {
  HMODULE before = LoadLibraryW(OLESTR("Shlwapi.dll"));
  ASSERT_NE(nullptr, before);
  platform_testing::SetModuleMissing(OLESTR("shlwapi"), true);
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(nullptr, LoadLibraryW(OLESTR("Shlwapi.dll")));
  EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());
  EXPECT_NE(nullptr, GetProcAddress(before, "AssocQueryStringW"));
  EXPECT_TRUE(FreeLibrary(before));
}

TEST_F(ModuleControlTest, MissingExportFailsOnlyThatName) {
  platform_testing::SetExportMissing(OLESTR("Shlwapi.dll"), "AssocQueryStringW", true);
  HMODULE shlwapi = LoadLibraryW(OLESTR("Shlwapi.dll"));
  ASSERT_NE(nullptr, shlwapi);
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(nullptr, GetProcAddress(shlwapi, "AssocQueryStringW"));
  EXPECT_EQ(static_cast<DWORD>(ERROR_PROC_NOT_FOUND), GetLastError());
  EXPECT_NE(nullptr, GetProcAddress(shlwapi, "PathStripPathW"));
  EXPECT_TRUE(FreeLibrary(shlwapi));
}

TEST_F(ModuleControlTest, LoadCountShowsUnbalancedLoads) {
  const LONG start = platform_testing::ModuleLoadCount(OLESTR("shlwapi.dll"));
  HMODULE first = LoadLibraryW(OLESTR("Shlwapi.dll"));
  HMODULE second = LoadLibraryW(OLESTR("shlwapi"));
  EXPECT_EQ(start + 2, platform_testing::ModuleLoadCount(OLESTR("SHLWAPI.DLL")));
  EXPECT_TRUE(FreeLibrary(first));
  EXPECT_TRUE(FreeLibrary(second));
  EXPECT_EQ(start, platform_testing::ModuleLoadCount(OLESTR("shlwapi.dll")));
  // One FreeLibrary too many is refused, so that tests see it.
  if (start == 0) {
    EXPECT_FALSE(FreeLibrary(first));
  }
}

#endif

}  // namespace
}  // namespace velmora_test
