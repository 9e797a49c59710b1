// FindExecutableW against a folder, files and a file type the test makes.
// What the function returns for each kind of input was checked under Wine;
// the Linux layer gives the same.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <memory>

#include "tests/platform/support/test_registrations.h"
#include "tests/support/temp_dir.h"

namespace velmora_test {
namespace {

const WCHAR kDirMark[] = OLESTR("{dir}");

// Success is any value above 32; the real function returns 33.
enum class Outcome { Found, FileNotFound, NoAssociation };

Outcome OutcomeOf(HINSTANCE result) {
  const INT_PTR value = reinterpret_cast<INT_PTR>(result);
  if (value > 32) return Outcome::Found;
  if (value == SE_ERR_FNF) return Outcome::FileNotFound;
  if (value == SE_ERR_NOASSOC) return Outcome::NoAssociation;
  ADD_FAILURE() << "unexpected FindExecutableW result " << value;
  return Outcome::FileNotFound;
}

class FindExecutableTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.IsValid());
    for (const WCHAR* name : {OLESTR("VelmoraTool.EXE"), OLESTR("report.vlmtest"), OLESTR("a b.vlmtest"),
                              OLESTR("x.vlmnone"), OLESTR("other.bat"), OLESTR("other.cmd"), OLESTR("other.com"),
                              OLESTR("other.pif")}) {
      ASSERT_FALSE(m_dir.MakeFile(name).empty());
    }
    ASSERT_FALSE(m_dir.MakeFolder(OLESTR("Docs")).empty());
    ASSERT_FALSE(m_dir.MakeFile(OLESTR("Docs\\inner.vlmtest")).empty());
    m_association.reset(new TestAssociation(OLESTR(".vlmtest"), OLESTR("Velmora.TestDoc"),
                                            Expand(OLESTR("\"{dir}\\VelmoraTool.EXE\" \"%1\""))));
    ASSERT_TRUE(m_association->IsValid());
  }

  // The text with {dir} replaced by the temporary folder.
  WideString Expand(const WCHAR* text) const {
    WideString result = text ? text : OLESTR("");
    const size_t at = result.find(kDirMark);
    if (at != WideString::npos) result.replace(at, wcslen(kDirMark), m_dir.Path());
    return result;
  }

  Outcome Find(const WideString& file, const WCHAR* directory, WideString* program) const {
    WCHAR buffer[MAX_PATH];
    for (WCHAR& c : buffer) c = OLESTR('#');
    const WideString folder = Expand(directory);
    const HINSTANCE result = FindExecutableW(file.c_str(), directory ? folder.c_str() : nullptr, buffer);
    *program = buffer;
    return OutcomeOf(result);
  }

  TempDir m_dir;
  std::unique_ptr<TestAssociation> m_association;
};

struct FindCase {
  const WCHAR* file;
  const WCHAR* directory;  // null: none passed
  Outcome outcome;
  const WCHAR* program;
};

void PrintTo(const FindCase& c, std::ostream* os) {
  for (const WCHAR* p = c.file; *p; ++p) *os << static_cast<char>(*p < 0x80 ? *p : '?');
}

class FindExecutableTableTest : public FindExecutableTest, public testing::WithParamInterface<FindCase> {};

TEST_P(FindExecutableTableTest, FindsTheProgramOrSaysWhyNot) {
  WideString program;
  EXPECT_EQ(GetParam().outcome, Find(Expand(GetParam().file), GetParam().directory, &program));
  EXPECT_EQ(Expand(GetParam().program), program);
}

const WCHAR kTool[] = OLESTR("{dir}\\VelmoraTool.EXE");

INSTANTIATE_TEST_SUITE_P(
    Documents, FindExecutableTableTest,
    testing::Values(FindCase{OLESTR("{dir}\\report.vlmtest"), nullptr, Outcome::Found, kTool},
                    FindCase{OLESTR("report.vlmtest"), kDirMark, Outcome::Found, kTool},
                    FindCase{OLESTR("REPORT.VLMTEST"), kDirMark, Outcome::Found, kTool},
                    FindCase{OLESTR("{dir}\\a b.vlmtest"), nullptr, Outcome::Found, kTool},
                    FindCase{OLESTR("Docs\\inner.vlmtest"), kDirMark, Outcome::Found, kTool},
                    FindCase{OLESTR("{dir}\\Docs\\..\\report.vlmtest"), nullptr, Outcome::Found, kTool},
                    FindCase{OLESTR("{dir}\\missing.vlmtest"), nullptr, Outcome::FileNotFound, OLESTR("")},
                    // Not in the current directory, and no folder given.
                    FindCase{OLESTR("report.vlmtest"), nullptr, Outcome::FileNotFound, OLESTR("")},
                    FindCase{OLESTR("{dir}\\x.vlmnone"), nullptr, Outcome::NoAssociation, OLESTR("")},
                    FindCase{OLESTR("{dir}\\Docs"), nullptr, Outcome::NoAssociation, OLESTR("")},
                    FindCase{OLESTR("Docs"), kDirMark, Outcome::NoAssociation, OLESTR("")},
                    // A name without extension is looked for as a program.
                    FindCase{OLESTR("My Computer"), nullptr, Outcome::FileNotFound, OLESTR("")},
                    // Leading blanks or quotes are part of the name.
                    FindCase{OLESTR(" {dir}\\report.vlmtest"), nullptr, Outcome::FileNotFound, OLESTR("")},
                    FindCase{OLESTR("\"{dir}\\report.vlmtest\""), nullptr, Outcome::FileNotFound, OLESTR("")}));

// A program is its own executable: its full path, the name as the caller
// spelled it (not as stored on disk).
INSTANTIATE_TEST_SUITE_P(
    Programs, FindExecutableTableTest,
    testing::Values(FindCase{OLESTR("{dir}\\VelmoraTool.EXE"), nullptr, Outcome::Found, kTool},
                    FindCase{OLESTR("velmoratool.exe"), kDirMark, Outcome::Found, OLESTR("{dir}\\velmoratool.exe")},
                    FindCase{OLESTR("VelmoraTool"), kDirMark, Outcome::Found, OLESTR("{dir}\\VelmoraTool.exe")},
                    FindCase{OLESTR("{dir}\\Docs\\..\\VelmoraTool.EXE"), nullptr, Outcome::Found, kTool},
                    FindCase{OLESTR("{dir}/velmoratool.exe"), nullptr, Outcome::Found,
                             OLESTR("{dir}\\velmoratool.exe")},
                    FindCase{OLESTR("other.bat"), kDirMark, Outcome::Found, OLESTR("{dir}\\other.bat")},
                    FindCase{OLESTR("other.cmd"), kDirMark, Outcome::Found, OLESTR("{dir}\\other.cmd")},
                    FindCase{OLESTR("other.com"), kDirMark, Outcome::Found, OLESTR("{dir}\\other.com")},
                    FindCase{OLESTR("other.pif"), kDirMark, Outcome::Found, OLESTR("{dir}\\other.pif")}));

struct CommandCase {
  const WCHAR* command;
  const WCHAR* program;
};

void PrintTo(const CommandCase& c, std::ostream* os) {
  for (const WCHAR* p = c.command; *p; ++p) *os << static_cast<char>(*p < 0x80 ? *p : '?');
}

class FindExecutableCommandTest : public FindExecutableTest, public testing::WithParamInterface<CommandCase> {};

TEST_P(FindExecutableCommandTest, ProgramIsTheFirstTokenOfTheCommand) {
  ASSERT_TRUE(m_association->SetCommand(Expand(GetParam().command)));
  WideString program;
  EXPECT_EQ(Outcome::Found, Find(Expand(OLESTR("{dir}\\report.vlmtest")), nullptr, &program));
  EXPECT_EQ(Expand(GetParam().program), program);
}

// The program named by the command is neither searched for nor checked.
INSTANTIATE_TEST_SUITE_P(
    Table, FindExecutableCommandTest,
    testing::Values(CommandCase{OLESTR("\"{dir}\\VelmoraTool.EXE\" \"%1\""), kTool},
                    CommandCase{OLESTR("{dir}\\VelmoraTool.EXE %1"), kTool},
                    CommandCase{OLESTR("\"C:\\No Such\\prog.exe\" \"%1\""), OLESTR("C:\\No Such\\prog.exe")},
                    CommandCase{OLESTR("C:\\No Such\\prog.exe \"%1\""), OLESTR("C:\\No")},
                    CommandCase{OLESTR("velmoratool.exe \"%1\""), OLESTR("velmoratool.exe")}));

TEST_F(FindExecutableTest, TypeWithoutOpenCommandHasNoAssociation) {
  m_association->RemoveCommand();
  WideString program;
  EXPECT_EQ(Outcome::NoAssociation, Find(Expand(OLESTR("{dir}\\report.vlmtest")), nullptr, &program));
  EXPECT_EQ(WideString(), program);
}

TEST_F(FindExecutableTest, RelativeNameIsFoundInTheCurrentDirectory) {
  WCHAR saved[1024] = {};
  ASSERT_GT(GetCurrentDirectoryW(1024, saved), 0u);
  ASSERT_TRUE(SetCurrentDirectoryW(m_dir.Path().c_str()));
  WideString withoutFolder;
  WideString withMissingFolder;
  const Outcome first = Find(OLESTR("report.vlmtest"), nullptr, &withoutFolder);
  const Outcome second = Find(OLESTR("report.vlmtest"), OLESTR("{dir}\\NoSuchFolder"), &withMissingFolder);
  SetCurrentDirectoryW(saved);
  EXPECT_EQ(Outcome::Found, first);
  EXPECT_EQ(Expand(kTool), withoutFolder);
  EXPECT_EQ(Outcome::Found, second);
  EXPECT_EQ(Expand(kTool), withMissingFolder);
}

TEST_F(FindExecutableTest, BareNameIsFoundInThePathFolders) {
  ASSERT_FALSE(m_dir.MakeFolder(OLESTR("Bin")).empty());
  ASSERT_FALSE(m_dir.MakeFile(OLESTR("Bin\\PathTool.exe")).empty());
  ASSERT_FALSE(m_dir.MakeFile(OLESTR("Bin\\onpath.vlmtest")).empty());
  PathPrefix prefix(m_dir.PathOf(OLESTR("Bin")));
  WideString program;
  EXPECT_EQ(Outcome::Found, Find(OLESTR("PathTool.exe"), nullptr, &program));
  EXPECT_EQ(m_dir.PathOf(OLESTR("Bin\\PathTool.exe")), program);
  EXPECT_EQ(Outcome::Found, Find(OLESTR("PathTool"), nullptr, &program));
  EXPECT_EQ(m_dir.PathOf(OLESTR("Bin\\PathTool.exe")), program);
  EXPECT_EQ(Outcome::Found, Find(OLESTR("onpath.vlmtest"), nullptr, &program));
  EXPECT_EQ(Expand(kTool), program);
  // A name with a folder is not looked for in PATH.
  EXPECT_EQ(Outcome::FileNotFound, Find(OLESTR("Bin\\PathTool.exe"), nullptr, &program));
}

TEST_F(FindExecutableTest, BareNameWithAnAppPathsEntryIsThatEntry) {
  ASSERT_FALSE(m_dir.MakeFile(OLESTR("VelmoraApp.exe")).empty());
  TestAppPath entry(OLESTR("VelmoraApp.exe"), Expand(kTool));
  ASSERT_TRUE(entry.IsValid());
  WideString program;
  // The entry wins over the file of that name in the folder given.
  EXPECT_EQ(Outcome::Found, Find(OLESTR("velmoraapp.exe"), kDirMark, &program));
  EXPECT_EQ(Expand(kTool), program);
  // Only the name as written is looked up, and only a bare name.
  EXPECT_EQ(Outcome::FileNotFound, Find(OLESTR("VelmoraApp"), nullptr, &program));
  EXPECT_EQ(Outcome::Found, Find(m_dir.PathOf(OLESTR("VelmoraApp.exe")), nullptr, &program));
  EXPECT_EQ(m_dir.PathOf(OLESTR("VelmoraApp.exe")), program);
}

TEST_F(FindExecutableTest, AppPathsEntryIsReturnedAsStored) {
  const WideString stored = OLESTR("\"") + m_dir.PathOf(OLESTR("Gone.exe")) + OLESTR("\"");
  TestAppPath entry(OLESTR("VelmoraApp.exe"), stored);
  ASSERT_TRUE(entry.IsValid());
  WideString program;
  EXPECT_EQ(Outcome::Found, Find(OLESTR("VelmoraApp.exe"), nullptr, &program));
  EXPECT_EQ(stored, program);
}

TEST(FindExecutableArguments, NullFileIsNotFoundAndEmptyFileFindsNothing) {
  WCHAR buffer[MAX_PATH] = {OLESTR('#')};
  EXPECT_EQ(SE_ERR_FNF, reinterpret_cast<INT_PTR>(FindExecutableW(nullptr, nullptr, buffer)));
  EXPECT_EQ(0, buffer[0]);
  // Undocumented: Wine reports success for an empty name, with an empty
  // program. The layer does the same.
  buffer[0] = OLESTR('#');
  EXPECT_GT(reinterpret_cast<INT_PTR>(FindExecutableW(OLESTR(""), nullptr, buffer)), 32);
  EXPECT_EQ(0, buffer[0]);
}

}  // namespace
}  // namespace velmora_test
