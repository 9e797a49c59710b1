// AssocQueryStringW for a file type the test registers (by extension or by
// ProgID) and, with ASSOCF_INIT_BYEXENAME, for a program name. Wine 8 departs
// from the documentation in several places; each is marked as a known
// deviation where it is tested, and the documented behaviour is what the
// Linux layer gives.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlwapi.h>

#include <memory>

#include "tests/platform/support/test_registrations.h"
#include "tests/platform/support/known_deviation.h"
#include "tests/support/hresult.h"
#include "tests/support/temp_dir.h"

namespace velmora_test {
namespace {

const HRESULT kNoAssociation = HRESULT_FROM_WIN32(ERROR_NO_ASSOCIATION);

class AssocQueryTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.IsValid());
    m_tool = m_dir.MakeFile(OLESTR("VelmoraTool.EXE"));
    ASSERT_FALSE(m_tool.empty());
    m_command = OLESTR("\"") + m_tool + OLESTR("\" \"%1\"");
    m_association.reset(new TestAssociation(OLESTR(".vlmtest"), OLESTR("Velmora.TestDoc"), m_command));
    ASSERT_TRUE(m_association->IsValid());
  }

  HRESULT Query(ASSOCF flags, ASSOCSTR str, const WCHAR* assoc, WideString* text, DWORD* size = nullptr) {
    WCHAR buffer[1041];
    for (WCHAR& c : buffer) c = OLESTR('#');
    DWORD count = 1041;
    const HRESULT hr = AssocQueryStringW(flags, str, assoc, nullptr, buffer, &count);
    buffer[1040] = 0;
    *text = SUCCEEDED(hr) ? WideString(buffer) : WideString();
    if (size) *size = count;
    return hr;
  }

  TempDir m_dir;
  WideString m_tool;
  WideString m_command;
  std::unique_ptr<TestAssociation> m_association;
};

class AssocQueryTypeTest : public AssocQueryTest, public testing::WithParamInterface<const WCHAR*> {};

TEST_P(AssocQueryTypeTest, ExecutableOfTheOpenCommand) {
  WideString text;
  DWORD size = 0;
  EXPECT_HR(S_OK, Query(ASSOCF_NONE, ASSOCSTR_EXECUTABLE, GetParam(), &text, &size));
  EXPECT_EQ(m_tool, text);
  // Documented: the characters placed in the buffer.
  EXPECT_TRUE(AsDocumented<DWORD>(size, static_cast<DWORD>(m_tool.size() + 1), 1041,
                                  "Wine 8 leaves the count as the caller set it"));
}

TEST_P(AssocQueryTypeTest, CommandOfTheOpenVerb) {
  WideString text;
  EXPECT_HR(S_OK, Query(ASSOCF_NONE, ASSOCSTR_COMMAND, GetParam(), &text));
  EXPECT_EQ(m_command, text);
}

INSTANTIATE_TEST_SUITE_P(ByExtensionOrProgId, AssocQueryTypeTest,
                         testing::Values(OLESTR(".vlmtest"), OLESTR(".VLMTEST"), OLESTR("Velmora.TestDoc")));

TEST_F(AssocQueryTest, UnknownTypeHasNoAssociation) {
  WideString text;
  EXPECT_HR(kNoAssociation, Query(ASSOCF_NONE, ASSOCSTR_EXECUTABLE, OLESTR(".vlmnone"), &text));
  // Without its dot an extension is taken as a ProgID, which is not registered.
  EXPECT_HR(kNoAssociation, Query(ASSOCF_NONE, ASSOCSTR_EXECUTABLE, OLESTR("vlmtest"), &text));
}

TEST_F(AssocQueryTest, ExecutableMissingOnDiskIsFileNotFound) {
  ASSERT_TRUE(m_association->SetCommand(OLESTR("\"") + m_dir.PathOf(OLESTR("Gone.exe")) + OLESTR("\" \"%1\"")));
  WideString text;
  EXPECT_HR(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), Query(ASSOCF_NONE, ASSOCSTR_EXECUTABLE, OLESTR(".vlmtest"), &text));
  // The command itself is still there.
  EXPECT_HR(S_OK, Query(ASSOCF_NONE, ASSOCSTR_COMMAND, OLESTR(".vlmtest"), &text));
}

TEST_F(AssocQueryTest, TooSmallBufferGivesTheSizeNeeded) {
  WCHAR buffer[8];
  for (WCHAR& c : buffer) c = OLESTR('#');
  DWORD size = 5;
  const HRESULT hr = AssocQueryStringW(ASSOCF_NONE, ASSOCSTR_EXECUTABLE, OLESTR(".vlmtest"), nullptr, buffer, &size);
  EXPECT_EQ(static_cast<DWORD>(m_tool.size() + 1), size);
  EXPECT_EQ(0, wcsncmp(m_tool.c_str(), buffer, 4));
  EXPECT_EQ(OLESTR('#'), buffer[5]);
  // Documented: E_POINTER, the text cut to the buffer.
  EXPECT_TRUE(HrAsDocumented(hr, E_POINTER, HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER),
                             "Wine 8 reports a short buffer as ERROR_INSUFFICIENT_BUFFER"));
  EXPECT_TRUE(AsDocumented<WCHAR>(buffer[4], 0, m_tool[4], "Wine 8 leaves the cut text without terminator"));
}

TEST_F(AssocQueryTest, NullBufferAsksForTheSize) {
  DWORD size = 0;
  EXPECT_HR(S_FALSE, AssocQueryStringW(ASSOCF_NONE, ASSOCSTR_EXECUTABLE, OLESTR(".vlmtest"), nullptr, nullptr, &size));
  EXPECT_EQ(static_cast<DWORD>(m_tool.size() + 1), size);
}

TEST(AssocQueryArguments, BadArgumentsAreRefused) {
  WCHAR buffer[16];
  DWORD size = 16;
  // The codes are Wine's; the documentation names none.
  EXPECT_HR(E_UNEXPECTED,
            AssocQueryStringW(ASSOCF_INIT_BYEXENAME, ASSOCSTR_EXECUTABLE, OLESTR("x.exe"), nullptr, buffer, nullptr));
  EXPECT_HR(E_INVALIDARG, AssocQueryStringW(ASSOCF_INIT_BYEXENAME, ASSOCSTR_EXECUTABLE, nullptr, nullptr, buffer, &size));
  EXPECT_HR(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND),
            AssocQueryStringW(ASSOCF_INIT_BYEXENAME, ASSOCSTR_EXECUTABLE, OLESTR(""), nullptr, buffer, &size));
}

// ASSOCF_INIT_BYEXENAME: the name is a program's; the result is its full
// path, found through its App Paths entry or the folders of PATH.
class AssocQueryByExeNameTest : public AssocQueryTest {
 protected:
  // The program a name leads to, checked against the documented answer.
  testing::AssertionResult FindsProgram(const WCHAR* name, const WideString& program) {
    WideString text;
    const HRESULT hr = Query(ASSOCF_INIT_BYEXENAME, ASSOCSTR_EXECUTABLE, name, &text);
    testing::AssertionResult result = HrAsDocumented(hr, S_OK, kNoAssociation, kWineByExeName);
    if (!result) return result;
    return AsDocumented(text, program, WideString(), kWineByExeName);
  }

  static constexpr const char* kWineByExeName = "Wine 8 finds no program by name: always ERROR_NO_ASSOCIATION";
};

TEST_F(AssocQueryByExeNameTest, ProgramRegisteredUnderAppPaths) {
  TestAppPath entry(OLESTR("VelmoraAppPath.exe"), m_tool);
  ASSERT_TRUE(entry.IsValid());
  EXPECT_TRUE(FindsProgram(OLESTR("VelmoraAppPath.exe"), m_tool));
  EXPECT_TRUE(FindsProgram(OLESTR("velmoraapppath"), m_tool));
}

TEST_F(AssocQueryByExeNameTest, ProgramInAPathFolder) {
  ASSERT_FALSE(m_dir.MakeFolder(OLESTR("Bin")).empty());
  const WideString program = m_dir.MakeFile(OLESTR("Bin\\PathTool.exe"));
  ASSERT_FALSE(program.empty());
  PathPrefix prefix(m_dir.PathOf(OLESTR("Bin")));
  EXPECT_TRUE(FindsProgram(OLESTR("PathTool.exe"), program));
}

TEST_F(AssocQueryByExeNameTest, UnknownProgramHasNoAssociation) {
  WideString text;
  EXPECT_HR(kNoAssociation, Query(ASSOCF_INIT_BYEXENAME, ASSOCSTR_EXECUTABLE, OLESTR("VelmoraNoSuchTool.exe"), &text));
  // What the add-in asks for a name that is no program at all.
  EXPECT_HR(kNoAssociation, Query(ASSOCF_INIT_BYEXENAME, ASSOCSTR_EXECUTABLE, OLESTR("My Computer"), &text));
}

}  // namespace
}  // namespace velmora_test
