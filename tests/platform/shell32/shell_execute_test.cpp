// ShellExecuteExW of a program, of a document through its association and of
// missing or unassociated files, against the target program; the shell's
// allocator, the desktop folder's parsing and the special folder locations.
// The item lists are only made and freed, never opened, under Wine: opening
// a shell folder there wants a display.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <memory>
#include <vector>

#include "tests/platform/support/known_deviation.h"
#include "tests/platform/support/target_session.h"
#include "tests/platform/support/test_registrations.h"
#include "tests/platform/support/text_files.h"

#ifndef _WIN32
#include <velmora_platform/platform_testing.h>
#endif

namespace velmora_test {
namespace {

std::vector<WideString> ArgumentsAfterProgram(const TargetStart& start) {
  if (start.arguments.empty()) return std::vector<WideString>();
  return std::vector<WideString>(start.arguments.begin() + 1, start.arguments.end());
}

INT_PTR InstApp(const SHELLEXECUTEINFOW& info) { return reinterpret_cast<INT_PTR>(info.hInstApp); }

class ShellExecuteTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_session.IsValid());
    ASSERT_TRUE(FileExists(TargetProgramPath())) << "the target program is built beside the tests";
#ifndef _WIN32
    platform_testing::TakeShellExecuteRequests();
    m_handlesBefore = platform_testing::OpenHandleCount();
#endif
  }

  void TearDown() override {
    EXPECT_TRUE(m_session.Stop());
    if (m_info.hProcess) {
      EXPECT_TRUE(CloseHandle(m_info.hProcess));
    }
#ifndef _WIN32
    EXPECT_EQ(m_handlesBefore, platform_testing::OpenHandleCount()) << "a handle was left open";
#endif
  }

  // The request as the add-in makes it.
  BOOL Execute(const WideString& file, const WCHAR* parameters, const WCHAR* directory,
               ULONG mask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI) {
    m_info = SHELLEXECUTEINFOW();
    m_info.cbSize = sizeof m_info;
    m_info.fMask = mask;
    m_info.lpVerb = OLESTR("open");
    m_info.lpFile = file.c_str();
    m_info.lpParameters = parameters;
    m_info.lpDirectory = directory;
    m_info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&m_info);
  }

  TargetSession m_session;
  SHELLEXECUTEINFOW m_info = {};
  LONG m_handlesBefore = 0;
};

TEST_F(ShellExecuteTest, ProgramStartsWithParametersInTheFolderGiven) {
  const WideString folder = m_session.Folder().MakeFolder(OLESTR("Work Folder"));
  ASSERT_FALSE(folder.empty());
  const WideString program = TargetProgramPath();
  ASSERT_TRUE(Execute(program, OLESTR("one \"two three\""), folder.c_str())) << GetLastError();
  EXPECT_GT(InstApp(m_info), 32);
  ASSERT_NE(nullptr, m_info.hProcess);

  TargetStart start;
  ASSERT_TRUE(m_session.AwaitStart(&start));
  const std::vector<WideString> expected = {OLESTR("one"), OLESTR("two three")};
  EXPECT_EQ(expected, ArgumentsAfterProgram(start));
  EXPECT_EQ(0, _wcsicmp(folder.c_str(), start.folder.c_str())) << ToUtf8(start.folder);

  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeProcess(m_info.hProcess, &code));
  EXPECT_EQ(static_cast<DWORD>(STILL_ACTIVE), code);
  ASSERT_TRUE(m_session.Stop(5));
  ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(m_info.hProcess, kTargetTimeoutMilliseconds));
  ASSERT_TRUE(GetExitCodeProcess(m_info.hProcess, &code));
  EXPECT_EQ(5u, code);

#ifndef _WIN32
  const std::vector<platform_testing::ShellExecuteRequest> requests = platform_testing::TakeShellExecuteRequests();
  ASSERT_EQ(1u, requests.size());
  const platform_testing::ShellExecuteRequest& request = requests[0];
  EXPECT_EQ(static_cast<ULONG>(SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI), request.mask);
  EXPECT_EQ(std::u16string(OLESTR("open")), request.verb);
  EXPECT_EQ(program, request.file);
  EXPECT_EQ(std::u16string(OLESTR("one \"two three\"")), request.parameters);
  EXPECT_EQ(folder, request.directory);
  EXPECT_EQ(SW_SHOWNORMAL, request.show);
  EXPECT_FALSE(request.hasIdList);
  EXPECT_EQ(OLESTR("\"") + program + OLESTR("\" one \"two three\""), request.commandLine);
#endif
}

TEST_F(ShellExecuteTest, WithoutNoCloseProcessNoHandleIsGiven) {
  ASSERT_TRUE(Execute(TargetProgramPath(), nullptr, nullptr, SEE_MASK_FLAG_NO_UI)) << GetLastError();
  EXPECT_GT(InstApp(m_info), 32);
  EXPECT_EQ(nullptr, m_info.hProcess);
  TargetStart start;
  ASSERT_TRUE(m_session.AwaitStart(&start));
  EXPECT_TRUE(ArgumentsAfterProgram(start).empty());
  EXPECT_TRUE(m_session.Stop());
}

TEST_F(ShellExecuteTest, DocumentOpensThroughItsAssociation) {
  TestAssociation association(OLESTR(".vlmstart"), OLESTR("Velmora.StartDoc"),
                              OLESTR("\"") + TargetProgramPath() + OLESTR("\" \"%1\""));
  ASSERT_TRUE(association.IsValid());
  const WideString document = m_session.Folder().MakeFile(OLESTR("a report.vlmstart"));
  ASSERT_FALSE(document.empty());
  ASSERT_TRUE(Execute(document, nullptr, m_session.Folder().Path().c_str())) << GetLastError();
  EXPECT_GT(InstApp(m_info), 32);
  EXPECT_NE(nullptr, m_info.hProcess);
  TargetStart start;
  ASSERT_TRUE(m_session.AwaitStart(&start));
  const std::vector<WideString> arguments = ArgumentsAfterProgram(start);
  ASSERT_EQ(1u, arguments.size());
  EXPECT_EQ(0, _wcsicmp(document.c_str(), arguments[0].c_str())) << ToUtf8(arguments[0]);
}

// The document reaches the program as a name that, taken in the program's
// working folder, is the document: Windows documents no more than that (the
// layer passes the full path, Wine the name as given).
TEST_F(ShellExecuteTest, DocumentFoundInTheFolderGiven) {
  TestAssociation association(OLESTR(".vlmstart"), OLESTR("Velmora.StartDoc"),
                              OLESTR("\"") + TargetProgramPath() + OLESTR("\" \"%1\""));
  ASSERT_TRUE(association.IsValid());
  const WideString document = m_session.Folder().MakeFile(OLESTR("relative.vlmstart"));
  ASSERT_FALSE(document.empty());
  ASSERT_TRUE(Execute(OLESTR("relative.vlmstart"), nullptr, m_session.Folder().Path().c_str())) << GetLastError();
  TargetStart start;
  ASSERT_TRUE(m_session.AwaitStart(&start));
  const std::vector<WideString> arguments = ArgumentsAfterProgram(start);
  ASSERT_EQ(1u, arguments.size());
  const bool absolute = arguments[0].size() > 2 && arguments[0][1] == OLESTR(':');
  const WideString named = absolute ? arguments[0] : start.folder + OLESTR("\\") + arguments[0];
  EXPECT_EQ(0, _wcsicmp(document.c_str(), named.c_str())) << ToUtf8(arguments[0]);
}

struct FailureCase {
  const WCHAR* file;  // in the session's folder
  INT_PTR instApp;
  DWORD error;
  DWORD wineError;  // Wine's known last error where it departs; 0 where it does not
  const char* deviation;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
  for (const WCHAR* p = c.file; *p; ++p) *os << static_cast<char>(*p < 0x80 ? *p : '?');
}

class ShellExecuteFailureTest : public ShellExecuteTest, public testing::WithParamInterface<FailureCase> {};

TEST_P(ShellExecuteFailureTest, FailsWithTheDocumentedCodeAndStartsNothing) {
  ASSERT_FALSE(m_session.Folder().MakeFile(OLESTR("plain.vlmnone")).empty());
  SetLastError(0);
  EXPECT_FALSE(Execute(m_session.Folder().PathOf(GetParam().file), nullptr, nullptr));
  EXPECT_EQ(GetParam().instApp, InstApp(m_info));
  const DWORD error = GetLastError();
  if (GetParam().deviation) {
    EXPECT_TRUE(AsDocumented(error, GetParam().error, GetParam().wineError, GetParam().deviation));
  } else {
    EXPECT_EQ(GetParam().error, error);
  }
  EXPECT_EQ(nullptr, m_info.hProcess);
  EXPECT_TRUE(m_session.NoStartWithin(200));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ShellExecuteFailureTest,
    testing::Values(FailureCase{OLESTR("missing.exe"), SE_ERR_FNF, ERROR_FILE_NOT_FOUND, 0, nullptr},
                    FailureCase{OLESTR("missing.vlmnone"), SE_ERR_FNF, ERROR_FILE_NOT_FOUND, 0, nullptr},
                    FailureCase{OLESTR("plain.vlmnone"), SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION,
                                ERROR_BAD_EXE_FORMAT,
                                "Wine 8 tries an unassociated file as a program and leaves "
                                "ERROR_BAD_EXE_FORMAT as the last error"}));

struct LocationCase {
  int csidl;
  const WCHAR* parsingName;  // in the Linux layer's namespace
};

void PrintTo(const LocationCase& c, std::ostream* os) { *os << "CSIDL " << c.csidl; }

class SpecialFolderLocationTest : public testing::TestWithParam<LocationCase> {};

TEST_P(SpecialFolderLocationTest, GivesANonEmptyListThatTheShellAllocatorFrees) {
  PIDLIST_ABSOLUTE list = nullptr;
  const HRESULT hr = SHGetSpecialFolderLocation(nullptr, GetParam().csidl, &list);
  if (GetParam().csidl == CSIDL_CONNECTIONS) {
    ASSERT_TRUE(HrAsDocumented(hr, S_OK, E_INVALIDARG, "Wine 8 has no network connections folder"));
    if (FAILED(hr)) return;
  }
  ASSERT_EQ(S_OK, hr);
  ASSERT_NE(nullptr, list);
  EXPECT_NE(0, list->mkid.cb);
  EXPECT_GT(ILGetSize(list), static_cast<UINT>(sizeof(USHORT)));
#ifndef _WIN32
  EXPECT_EQ(0, _wcsicmp(GetParam().parsingName, platform_testing::ParsingNameOfIdList(list).c_str()));
#endif
  // The same list, asked again, is equal and separately allocated.
  PIDLIST_ABSOLUTE again = nullptr;
  ASSERT_EQ(S_OK, SHGetSpecialFolderLocation(nullptr, GetParam().csidl, &again));
  EXPECT_NE(list, again);
  EXPECT_TRUE(ILIsEqual(list, again));
  ILFree(again);
  IMalloc* malloc = nullptr;
  ASSERT_EQ(S_OK, SHGetMalloc(&malloc));
  ASSERT_NE(nullptr, malloc);
  malloc->Free(list);
  malloc->Release();
}

INSTANTIATE_TEST_SUITE_P(
    Table, SpecialFolderLocationTest,
    testing::Values(LocationCase{CSIDL_DRIVES, OLESTR("::{20D04FE0-3AEA-1069-A2D8-08002B30309D}")},
                    LocationCase{CSIDL_NETWORK, OLESTR("::{F02C1A0D-BE21-4350-88B0-7367FC96EF3C}")},
                    LocationCase{CSIDL_BITBUCKET, OLESTR("::{645FF040-5081-101B-9F08-00AA002F954E}")},
                    LocationCase{CSIDL_PRINTERS, OLESTR("::{21EC2020-3AEA-1069-A2DD-08002B30309D}\\"
                                                        "::{2227A280-3AEA-1069-A2DE-08002B30309D}")},
                    LocationCase{CSIDL_CONNECTIONS, OLESTR("::{21EC2020-3AEA-1069-A2DD-08002B30309D}\\"
                                                           "::{7007ACC7-3202-11D1-AAD2-00805FC1270E}")},
                    LocationCase{CSIDL_CONTROLS, OLESTR("::{21EC2020-3AEA-1069-A2DD-08002B30309D}")}));

TEST(DesktopFolder, ParsesTheDocumentsFolder) {
  IShellFolder* desktop = nullptr;
  ASSERT_EQ(S_OK, SHGetDesktopFolder(&desktop));
  ASSERT_NE(nullptr, desktop);
  WCHAR name[] = OLESTR("::{450d8fba-ad25-11d0-98a8-0800361b1103}");
  ULONG eaten = 0;
  ULONG attributes = 0;
  PIDLIST_RELATIVE list = nullptr;
  ASSERT_EQ(S_OK, desktop->ParseDisplayName(nullptr, nullptr, name, &eaten, &list, &attributes));
  ASSERT_NE(nullptr, list);
  EXPECT_NE(0, list->mkid.cb);
  ILFree(list);
  desktop->Release();
}

#ifndef _WIN32

// Linux only: opening an item list. Under Wine it would open a window.
class ShellExecuteIdListTest : public ShellExecuteTest {
 protected:
  BOOL ExecuteList(PCIDLIST_ABSOLUTE list) {
    m_info = SHELLEXECUTEINFOW();
    m_info.cbSize = sizeof m_info;
    m_info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    m_info.lpVerb = OLESTR("open");
    m_info.lpIDList = const_cast<ITEMIDLIST*>(list);
    m_info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&m_info);
  }
};

TEST_F(ShellExecuteIdListTest, WithoutAFolderProgramTheListHasNoAssociation) {
  PIDLIST_ABSOLUTE list = nullptr;
  ASSERT_EQ(S_OK, SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &list));
  SetLastError(0);
  EXPECT_FALSE(ExecuteList(list));
  EXPECT_EQ(SE_ERR_NOASSOC, InstApp(m_info));
  EXPECT_EQ(static_cast<DWORD>(ERROR_NO_ASSOCIATION), GetLastError());
  EXPECT_EQ(nullptr, m_info.hProcess);
  ILFree(list);

  const std::vector<platform_testing::ShellExecuteRequest> requests = platform_testing::TakeShellExecuteRequests();
  ASSERT_EQ(1u, requests.size());
  EXPECT_EQ(static_cast<ULONG>(SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI),
            requests[0].mask);
  EXPECT_TRUE(requests[0].hasIdList);
  EXPECT_EQ(std::u16string(OLESTR("::{20D04FE0-3AEA-1069-A2D8-08002B30309D}")), requests[0].idList);
  EXPECT_EQ(std::u16string(), requests[0].commandLine);
}

TEST_F(ShellExecuteIdListTest, ListOpensThroughTheProgramRegisteredForFolders) {
  TestAssociation folders(OLESTR(".vlmfolder"), OLESTR("Folder"),
                          OLESTR("\"") + TargetProgramPath() + OLESTR("\" \"%1\""));
  ASSERT_TRUE(folders.IsValid());
  IShellFolder* desktop = nullptr;
  ASSERT_EQ(S_OK, SHGetDesktopFolder(&desktop));
  WCHAR name[] = OLESTR("::{450d8fba-ad25-11d0-98a8-0800361b1103}");
  PIDLIST_RELATIVE list = nullptr;
  ASSERT_EQ(S_OK, desktop->ParseDisplayName(nullptr, nullptr, name, nullptr, &list, nullptr));
  desktop->Release();
  ASSERT_TRUE(ExecuteList(list)) << GetLastError();
  ILFree(list);
  EXPECT_GT(InstApp(m_info), 32);
  EXPECT_NE(nullptr, m_info.hProcess);
  TargetStart start;
  ASSERT_TRUE(m_session.AwaitStart(&start));
  const std::vector<WideString> expected = {OLESTR("::{450D8FBA-AD25-11D0-98A8-0800361B1103}")};
  EXPECT_EQ(expected, ArgumentsAfterProgram(start));
}

TEST(ShellNamespace, PathsParseUnderTheComputer) {
  TempDir dir;
  ASSERT_TRUE(dir.IsValid());
  IShellFolder* desktop = nullptr;
  ASSERT_EQ(S_OK, SHGetDesktopFolder(&desktop));
  std::vector<WCHAR> name(dir.Path().begin(), dir.Path().end());
  name.push_back(0);
  ULONG attributes = SFGAO_FOLDER | SFGAO_FILESYSTEM;
  PIDLIST_RELATIVE list = nullptr;
  ASSERT_EQ(S_OK, desktop->ParseDisplayName(nullptr, nullptr, name.data(), nullptr, &list, &attributes));
  EXPECT_EQ(static_cast<ULONG>(SFGAO_FOLDER | SFGAO_FILESYSTEM), attributes);
  EXPECT_EQ(dir.Path(), platform_testing::ParsingNameOfIdList(list));
  STRRET text = {};
  ASSERT_EQ(S_OK, desktop->GetDisplayNameOf(list, SHGDN_FORPARSING, &text));
  EXPECT_EQ(dir.Path(), std::u16string(text.pOleStr));
  CoTaskMemFree(text.pOleStr);
  ILFree(list);
  desktop->Release();
}

#endif

}  // namespace
}  // namespace velmora_test
