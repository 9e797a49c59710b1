// The kernel basics: the last error, the process's module, current and
// temporary folders, handles and sleeping.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlwapi.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "tests/platform/support/known_deviation.h"
#include "tests/support/temp_dir.h"

namespace velmora_test {
namespace {

TEST(LastError, BelongsToTheThread) {
  // The two threads take turns through atomics alone: any other call between
  // setting and reading the error could change it.
  std::atomic<int> step(0);
  DWORD seenByOtherThread = 0;
  std::thread other([&] {
    SetLastError(ERROR_ACCESS_DENIED);
    step.store(1);
    while (step.load() != 2) {
    }
    seenByOtherThread = GetLastError();
    step.store(3);
  });
  while (step.load() != 1) {
  }
  SetLastError(ERROR_FILE_NOT_FOUND);
  step.store(2);
  while (step.load() != 3) {
  }
  const DWORD seenHere = GetLastError();
  other.join();
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), seenByOtherThread);
  EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), seenHere);
}

WideString ModuleFileName() {
  WCHAR buffer[1024] = {};
  const DWORD length = GetModuleFileNameW(nullptr, buffer, 1024);
  return WideString(buffer, length);
}

TEST(GetModuleFileName, NamesTheProgramByAFullPathThatExists) {
  const WideString path = ModuleFileName();
  ASSERT_GT(path.size(), 3u);
  EXPECT_EQ(OLESTR(':'), path[1]);
  EXPECT_EQ(OLESTR('\\'), path[2]);
  EXPECT_EQ(0, wcsncmp(PathFindFileNameW(path.c_str()), OLESTR("platform_kernel32_conformance"), 29));
  // The path leads back to the program's file.
  EXPECT_TRUE(PathFileExistsW(path.c_str()));
  EXPECT_FALSE(PathIsDirectoryW(path.c_str()));
}

TEST(GetModuleFileName, ModuleHandleOfTheProgramNamesTheSameFile) {
  HMODULE program = GetModuleHandleW(nullptr);
  ASSERT_NE(nullptr, program);
  WCHAR buffer[1024] = {};
  const DWORD length = GetModuleFileNameW(program, buffer, 1024);
  EXPECT_EQ(ModuleFileName(), WideString(buffer, length));
}

TEST(GetModuleFileName, TooSmallBufferTruncatesAndReportsInsufficientBuffer) {
  const WideString full = ModuleFileName();
  WCHAR buffer[8];
  for (WCHAR& c : buffer) c = OLESTR('#');
  SetLastError(ERROR_SUCCESS);
  const DWORD result = GetModuleFileNameW(nullptr, buffer, 5);
  EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
  EXPECT_EQ(5u, result);
  EXPECT_EQ(0, wcsncmp(full.c_str(), buffer, 4));
  EXPECT_EQ(OLESTR('#'), buffer[5]);
  // Documented since Vista: nSize - 1 characters and the terminator.
  EXPECT_TRUE(AsDocumented<WCHAR>(buffer[4], 0, full[4],
                                  "Wine 8 copies nSize characters and no terminator, as Windows XP did"));
}

TEST(GetModuleFileName, ZeroSizeCopiesNothing) {
  WCHAR buffer[2] = {OLESTR('#'), OLESTR('#')};
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(0u, GetModuleFileNameW(nullptr, buffer, 0));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
  EXPECT_EQ(OLESTR('#'), buffer[0]);
}

// GetCurrentDirectoryW and GetTempPathW share the kernel's buffer rule: the
// length without terminator when it fits, else the size needed with it.
typedef DWORD(WINAPI* FolderQuery)(DWORD, LPWSTR);

struct FolderQueryCase {
  const char* name;
  FolderQuery query;
  bool trailingBackslash;
};

void PrintTo(const FolderQueryCase& c, std::ostream* os) { *os << c.name; }

class FolderQueryTest : public testing::TestWithParam<FolderQueryCase> {};

TEST_P(FolderQueryTest, GivesAnExistingFolderWithTheBufferRule) {
  const FolderQuery query = GetParam().query;
  const DWORD needed = query(0, nullptr);
  ASSERT_GT(needed, 3u);
  WCHAR buffer[1024] = {};
  const DWORD length = query(1024, buffer);
  EXPECT_EQ(needed - 1, length);
  EXPECT_EQ(length, static_cast<DWORD>(wcslen(buffer)));
  EXPECT_EQ(OLESTR(':'), buffer[1]);
  EXPECT_EQ(GetParam().trailingBackslash, buffer[length - 1] == OLESTR('\\'));
  EXPECT_TRUE(PathIsDirectoryW(buffer));

  // One short of the terminator: the size needed comes back and the path is
  // not copied (Wine's GetTempPathW zeroes the buffer, the layer leaves it).
  WCHAR small[1024];
  for (WCHAR& c : small) c = OLESTR('#');
  EXPECT_EQ(needed, query(length, small));
  EXPECT_NE(buffer[0], small[0]);
  EXPECT_NE(buffer[2], small[2]);
  // Exactly enough.
  EXPECT_EQ(length, query(needed, small));
  EXPECT_EQ(WideString(buffer), WideString(small));
}

INSTANTIATE_TEST_SUITE_P(Table, FolderQueryTest,
                         testing::Values(FolderQueryCase{"GetCurrentDirectoryW", &GetCurrentDirectoryW, false},
                                         FolderQueryCase{"GetTempPathW", &GetTempPathW, true}));

TEST(SetCurrentDirectory, RelativeNamesFollowIt) {
  TempDir dir;
  ASSERT_TRUE(dir.IsValid());
  ASSERT_FALSE(dir.MakeFile(OLESTR("here.txt")).empty());
  WCHAR saved[1024] = {};
  ASSERT_GT(GetCurrentDirectoryW(1024, saved), 0u);
  ASSERT_TRUE(SetCurrentDirectoryW(dir.Path().c_str()));
  WCHAR current[1024] = {};
  GetCurrentDirectoryW(1024, current);
  const bool relativeFound = PathFileExistsW(OLESTR("here.txt")) != FALSE;
  ASSERT_TRUE(SetCurrentDirectoryW(saved));
  EXPECT_EQ(0, _wcsicmp(dir.Path().c_str(), current));
  EXPECT_TRUE(relativeFound);
}

TEST(SetCurrentDirectory, MissingFolderFails) {
  TempDir dir;
  ASSERT_TRUE(dir.IsValid());
  SetLastError(ERROR_SUCCESS);
  EXPECT_FALSE(SetCurrentDirectoryW(dir.PathOf(OLESTR("missing")).c_str()));
  EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
}

TEST(CloseHandle, UnknownHandleFailsWithInvalidHandle) {
  SetLastError(ERROR_SUCCESS);
  EXPECT_FALSE(CloseHandle(reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x1234))));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
}

TEST(Sleep, WaitsAtLeastTheTimeAsked) {
  const auto start = std::chrono::steady_clock::now();
  Sleep(20);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  // Windows may wake up to one timer tick early.
  EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 15);
}

}  // namespace
}  // namespace velmora_test
