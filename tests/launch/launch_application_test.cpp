// What one launch asks of the shell: the names that stand for places of the
// shell namespace, in their order, and the request for an ordinary file.
// The requests are read back from the Linux layer's log; under Wine the
// same cases would open shell windows, so they run on Linux only.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <atlbase.h>

#include "launch/launch_application.h"
#include "tests/support/hresult.h"

#ifndef _WIN32
#include <velmora_platform/platform_testing.h>

namespace {

// A file record as the launch pass builds it, without the locator.
CAppDetails FileRecord(const WCHAR* path) {
  CAppDetails app(nullptr, path, nullptr, nullptr, true, false);
  app.m_strPath = path;  // the text itself, whatever the shell resolved
  return app;
}

// The parsing name of a special folder's item list, as the layer gives it.
std::u16string FolderName(int csidl) {
  LPITEMIDLIST list = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &list)) || !list) return u"";
  const std::u16string name = platform_testing::ParsingNameOfIdList(list);
  ILFree(list);
  return name;
}

TEST(LaunchApplicationShellNames, EachNameOpensItsPlace) {
  const struct {
    const WCHAR* path;
    int csidl;  // -1: the user's documents folder by its shell name
  } cases[] = {
      {OLESTR("My Computer"), CSIDL_DRIVES},
      {OLESTR("My Network Places"), CSIDL_NETWORK},
      {OLESTR("Recycle Bin"), CSIDL_BITBUCKET},
      {OLESTR("C:\\Control Panel\\Printers and Network"), CSIDL_PRINTERS},
      {OLESTR("Control Panel\\Network"), CSIDL_CONNECTIONS},
      {OLESTR("Control Panel"), CSIDL_CONTROLS},
      {OLESTR("C:\\Documents and Settings\\user\\My Documents"), -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.path, c.path + std::u16string(c.path).size()));
    (void)platform_testing::TakeShellExecuteRequests();
    CHandle process;
    const HRESULT hr = launch_application::Launch(FileRecord(c.path), process);
    const auto requests = platform_testing::TakeShellExecuteRequests();
    ASSERT_EQ(1u, requests.size());
    const auto& request = requests[0];
    EXPECT_EQ(u"open", request.verb);
    EXPECT_EQ(SW_SHOWNORMAL, request.show);
    EXPECT_TRUE(request.hasIdList);
    EXPECT_TRUE(request.file.empty());
    if (c.csidl < 0) {
      // The documents folder is asked for by its shell name, and the launch
      // counts as made whatever the shell did with it.
      EXPECT_EQ(static_cast<ULONG>(SEE_MASK_IDLIST | SEE_MASK_NOCLOSEPROCESS), request.mask);
      EXPECT_EQ(u"::{450D8FBA-AD25-11D0-98A8-0800361B1103}", request.idList);
      EXPECT_HR(S_OK, hr);
    } else {
      EXPECT_EQ(static_cast<ULONG>(SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS), request.mask);
      EXPECT_EQ(FolderName(c.csidl), request.idList);
    }
  }
}

// The names are matched case-sensitively: in lower case they are a file,
// which does not exist.
TEST(LaunchApplicationShellNames, OtherCaseIsAFile) {
  (void)platform_testing::TakeShellExecuteRequests();
  CHandle process;
  EXPECT_HR(E_INVALIDARG, launch_application::Launch(FileRecord(OLESTR("my computer")), process));
  EXPECT_FALSE(process.IsValid());
  const auto requests = platform_testing::TakeShellExecuteRequests();
  ASSERT_EQ(1u, requests.size());
  EXPECT_EQ(static_cast<ULONG>(SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI), requests[0].mask);
  EXPECT_EQ(u"my computer", requests[0].file);
  EXPECT_FALSE(requests[0].hasIdList);
}

}  // namespace
#endif
