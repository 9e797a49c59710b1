// CAppDetails from a file path: the host's locator may move the path, and the
// process name is the on-disk file name of the program that opens it. Each
// test makes its own folder, files and file type, and checks that the rack
// and the locator hold as many references afterwards as before.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <memory>
#include <string>
#include <vector>

#ifndef _WIN32
#include <velmora_platform/platform_testing.h>
#endif

#include "host/file_locator.h"
#include "tests/host/live_objects.h"
#include "host/object_rack.h"
#include "launch/app_details.h"
#include "tests/launch/debug_capture.h"
#include "tests/platform/support/test_registrations.h"
#include "tests/support/under_wine.h"
#include "tests/support/temp_dir.h"

namespace velmora_test {
namespace {

const WCHAR kLocatorName[] = OLESTR("RACK_FILE_LOCATOR");
const WCHAR kDebugPrefix[] = OLESTR("KexDbg: Located AUT file name: ");

std::string Utf8(const WideString& text) { return HostUtf8(text); }

class FileConstructorTest : public HostObjectsTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.IsValid());
    // An 8.3-shaped name, so that only the disk knows its letter case.
    m_program = m_dir.MakeFile(OLESTR("VelTool.EXE"));
    m_document = m_dir.MakeFile(OLESTR("report.vlmlaunch"));
    ASSERT_FALSE(m_program.empty());
    ASSERT_FALSE(m_document.empty());
    // The association names the program in lower case. Its names are this
    // program's own: under Wine the test programs run side by side on one
    // registry, and the shell suite registers and removes a type of its own.
    m_association.reset(new TestAssociation(OLESTR(".vlmlaunch"), OLESTR("Velmora.LaunchTestDoc"),
                                            OLESTR("\"") + m_dir.PathOf(OLESTR("veltool.exe")) + OLESTR("\" \"%1\"")));
    ASSERT_TRUE(m_association->IsValid());

    m_log = CHostCallLog::Create();
    m_rack = CHostObjectRack::Create(m_log);
    m_locator = CHostFileLocator::Create(m_log);
    m_rack->PutObject(kLocatorName, m_locator);
    m_rackRefs = m_rack->RefCount();
    m_locatorRefs = m_locator->RefCount();
#ifndef _WIN32
    m_shlwapiLoads = platform_testing::ModuleLoadCount(OLESTR("Shlwapi.dll"));
#endif
  }

  void TearDown() override {
    EXPECT_EQ(m_rackRefs, m_rack->RefCount()) << "rack reference leaked or over-released";
    EXPECT_EQ(m_locatorRefs, m_locator->RefCount()) << "locator reference leaked or over-released";
#ifndef _WIN32
    EXPECT_EQ(m_shlwapiLoads, platform_testing::ModuleLoadCount(OLESTR("Shlwapi.dll"))) << "Shlwapi.dll not freed";
    platform_testing::ResetModules();
#endif
  }

  // Builds the record and takes the debug output it wrote. The capture lives
  // only for the build: on Windows a writer waits while a capture holds the
  // buffer, and GoogleTest writes its failures there too.
  std::unique_ptr<CAppDetails> Build(IObjectRack* rack, const WCHAR* path, const WCHAR* dir = nullptr,
                                     const WCHAR* args = nullptr, bool hook = true, bool child = false) {
    DebugOutputCapture capture;
    EXPECT_TRUE(capture.IsListening());
    std::unique_ptr<CAppDetails> details(new CAppDetails(rack, path, dir, args, hook, child));
    m_debugLines = capture.Take();
    return details;
  }

  std::vector<WideString> DebugLineFor(const WideString& path) const {
    return {WideString(kDebugPrefix) + path};
  }

  std::vector<std::string> LocateCalls() const { return m_log->Texts({HostOperation::LocateFile}); }

  std::string LocateCallFor(const WideString& path) const { return "LocateFile(" + Utf8(path) + ", flag 1)"; }

  TempDir m_dir;
  WideString m_program;
  WideString m_document;
  std::unique_ptr<TestAssociation> m_association;
  std::shared_ptr<CHostCallLog> m_log;
  ATL::CComPtr<CHostObjectRack> m_rack;
  ATL::CComPtr<CHostFileLocator> m_locator;
  ULONG m_rackRefs = 0;
  ULONG m_locatorRefs = 0;
  LONG m_shlwapiLoads = 0;
  std::vector<WideString> m_debugLines;
};

TEST_F(FileConstructorTest, AssociatedDocumentIsNamedByItsProgramAsStoredOnDisk) {
  auto details = Build(m_rack, m_document.c_str(), OLESTR("C:\\Work"), OLESTR("-x"), false, true);
  EXPECT_EQ(WideString(OLESTR("VelTool.EXE")), details->m_strProcessName);
  EXPECT_EQ(WideString(m_document), details->m_strPath);
  EXPECT_EQ(WideString(OLESTR("C:\\Work")), details->m_strWorkingDir);
  EXPECT_EQ(WideString(OLESTR("-x")), details->m_strArgs);
  EXPECT_FALSE(details->m_bHook);
  EXPECT_TRUE(details->m_bChildProcesses);
  EXPECT_EQ(0, details->m_bDirectLaunch);
  EXPECT_EQ(1, details->m_nLevel);
  // One lookup of the locator, one call of it, no retry.
  EXPECT_EQ(1u, m_log->Count(HostOperation::GetObject));
  EXPECT_EQ(std::vector<std::string>{LocateCallFor(m_document)}, LocateCalls());
  EXPECT_EQ(DebugLineFor(m_document), m_debugLines);
}

TEST_F(FileConstructorTest, ProgramIsNamedAsStoredOnDisk) {
  const WideString lowerCase = m_dir.PathOf(OLESTR("veltool.exe"));
  auto details = Build(nullptr, lowerCase.c_str());
  EXPECT_EQ(WideString(OLESTR("VelTool.EXE")), details->m_strProcessName);
  EXPECT_EQ(WideString(lowerCase), details->m_strPath);
}

TEST_F(FileConstructorTest, RelativeDocumentIsFoundInTheWorkingFolder) {
  auto details = Build(nullptr, OLESTR("report.vlmlaunch"), m_dir.Path().c_str());
  EXPECT_EQ(WideString(OLESTR("VelTool.EXE")), details->m_strProcessName);
  EXPECT_EQ(WideString(m_dir.Path()), details->m_strWorkingDir);
}

TEST_F(FileConstructorTest, NameNoProgramResolvesComesFromTheText) {
  // Neither FindExecutableW nor AssocQueryStringW knows "My Computer": the
  // text is cut at its first blank.
  auto details = Build(nullptr, OLESTR("My Computer"));
  EXPECT_EQ(WideString(OLESTR("my.exe")), details->m_strProcessName);
  EXPECT_EQ(WideString(OLESTR("My Computer")), details->m_strPath);
}

TEST_F(FileConstructorTest, NullRackMeansNoLocatorButTheDebugLineIsWritten) {
  auto details = Build(nullptr, m_document.c_str());
  EXPECT_TRUE(m_log->All().empty());
  EXPECT_EQ(DebugLineFor(m_document), m_debugLines);
  EXPECT_EQ(WideString(m_document), details->m_strPath);
}

TEST_F(FileConstructorTest, QuotesAndOuterBlanksLeaveThePathAndFolder) {
  const WideString quotedPath = OLESTR("  \"") + m_document + OLESTR("\"  ");
  const WideString quotedDir = OLESTR("\"") + m_dir.Path() + OLESTR("\"");
  auto details = Build(m_rack, quotedPath.c_str(), quotedDir.c_str());
  EXPECT_EQ(WideString(m_document), details->m_strPath);
  EXPECT_EQ(WideString(m_dir.Path()), details->m_strWorkingDir);
  // The locator gets the cleaned path.
  EXPECT_EQ(std::vector<std::string>{LocateCallFor(m_document)}, LocateCalls());
  EXPECT_EQ(WideString(OLESTR("VelTool.EXE")), details->m_strProcessName);
}

TEST_F(FileConstructorTest, ProgramMissingOnDiskLeavesTheNameToTheText) {
  // FindExecutableW names the program without checking it exists;
  // GetLongPathNameW then finds nothing.
  ASSERT_TRUE(m_association->SetCommand(OLESTR("\"") + m_dir.PathOf(OLESTR("Gone.exe")) + OLESTR("\" \"%1\"")));
  auto details = Build(nullptr, m_document.c_str());
  EXPECT_EQ(WideString(OLESTR("report.vlmlaunch")), details->m_strProcessName);
}

TEST_F(FileConstructorTest, EmptyPathGivesNoProcessName) {
  for (const WCHAR* path : {static_cast<const WCHAR*>(nullptr), OLESTR(""), OLESTR("  \"\"  ")}) {
    auto details = Build(nullptr, path);
    EXPECT_TRUE(details->m_strPath.empty());
    EXPECT_TRUE(details->m_strProcessName.empty());
    EXPECT_EQ(DebugLineFor(WideString()), m_debugLines);
  }
}

TEST_F(FileConstructorTest, ProgramRegisteredUnderAppPaths) {
  TestAppPath entry(OLESTR("VelmoraLaunchApp.exe"), m_program);
  ASSERT_TRUE(entry.IsValid());
  // FindExecutableW itself looks a bare program name up in App Paths.
  EXPECT_EQ(WideString(OLESTR("VelTool.EXE")), Build(nullptr, OLESTR("VelmoraLaunchApp.exe"))->m_strProcessName);
  // Without its extension the name is not FindExecutableW's entry, but
  // AssocQueryStringW finds the program by it. Wine 8 does not implement
  // ASSOCF_INIT_BYEXENAME: there the name comes from the text.
  EXPECT_EQ(WideString(RunningUnderWine() ? OLESTR("velmoralaunchapp.exe") : OLESTR("VelTool.EXE")),
            Build(nullptr, OLESTR("VelmoraLaunchApp"))->m_strProcessName);
}

#ifndef _WIN32

TEST_F(FileConstructorTest, MissingShlwapiOrAssocQueryStringLeavesTheNameToTheText) {
  TestAppPath entry(OLESTR("VelmoraLaunchApp.exe"), m_program);
  ASSERT_TRUE(entry.IsValid());

  platform_testing::SetModuleMissing(OLESTR("Shlwapi.dll"), true);
  EXPECT_EQ(WideString(OLESTR("velmoralaunchapp.exe")), Build(nullptr, OLESTR("VelmoraLaunchApp"))->m_strProcessName);
  platform_testing::ResetModules();

  platform_testing::SetExportMissing(OLESTR("Shlwapi.dll"), "AssocQueryStringW", true);
  EXPECT_EQ(WideString(OLESTR("velmoralaunchapp.exe")), Build(nullptr, OLESTR("VelmoraLaunchApp"))->m_strProcessName);
  // The library was loaded and freed again (checked in TearDown).
}

#endif

// What the host's locator answers, and the path the record ends with.
enum class LocatorAnswer { OtherCase, Quoted, Same, Empty, Nothing, Failure };

struct LocatorCase {
  const char* name;
  LocatorAnswer answer;
  bool replaced;
};

void PrintTo(const LocatorCase& c, std::ostream* os) { *os << c.name; }

class LocatorAnswerTest : public FileConstructorTest, public testing::WithParamInterface<LocatorCase> {};

TEST_P(LocatorAnswerTest, PathIsReplacedOnlyByADifferentText) {
  // The located file is the document in other letter case: the association
  // still applies, so the process name shows the path was usable.
  WideString upper = m_document;
  for (WCHAR& c : upper) c = static_cast<WCHAR>(towupper(c));
  switch (GetParam().answer) {
    case LocatorAnswer::OtherCase:
      m_locator->MapPath(m_document.c_str(), upper.c_str());
      break;
    case LocatorAnswer::Quoted:
      m_locator->MapPath(m_document.c_str(), (OLESTR("\"") + upper + OLESTR("\"")).c_str());
      break;
    case LocatorAnswer::Same:
      m_locator->MapPath(m_document.c_str(), m_document.c_str());
      break;
    case LocatorAnswer::Empty:
      m_locator->MapPath(m_document.c_str(), OLESTR(""));
      break;
    case LocatorAnswer::Nothing:
      break;
    case LocatorAnswer::Failure:
      // Even with an answer mapped, a failing call is not used.
      m_locator->MapPath(m_document.c_str(), upper.c_str());
      m_locator->FailOperation(HostOperation::LocateFile, E_FAIL);
      break;
  }
  auto details = Build(m_rack, m_document.c_str());
  const WideString expected = GetParam().replaced ? WideString(upper) : WideString(m_document);
  EXPECT_EQ(expected, details->m_strPath);
  EXPECT_EQ(DebugLineFor(expected), m_debugLines);
  EXPECT_EQ(1u, LocateCalls().size());
  EXPECT_EQ(WideString(OLESTR("VelTool.EXE")), details->m_strProcessName);
}

INSTANTIATE_TEST_SUITE_P(Table, LocatorAnswerTest,
                         testing::Values(LocatorCase{"OtherLetterCase", LocatorAnswer::OtherCase, true},
                                         LocatorCase{"QuotedAnswer", LocatorAnswer::Quoted, true},
                                         LocatorCase{"SameText", LocatorAnswer::Same, false},
                                         LocatorCase{"EmptyText", LocatorAnswer::Empty, false},
                                         LocatorCase{"NoAnswer", LocatorAnswer::Nothing, false},
                                         LocatorCase{"CallFails", LocatorAnswer::Failure, false}));

// A rack that has no usable locator: the path stays and no call is made.
enum class RackAnswer { NoObject, NullObject, Failure };

struct RackCase {
  const char* name;
  RackAnswer answer;
};

void PrintTo(const RackCase& c, std::ostream* os) { *os << c.name; }

class RackAnswerTest : public FileConstructorTest, public testing::WithParamInterface<RackCase> {};

TEST_P(RackAnswerTest, NoLocatorKeepsThePath) {
  m_locator->MapPath(m_document.c_str(), OLESTR("C:\\Elsewhere\\report.vlmlaunch"));
  switch (GetParam().answer) {
    case RackAnswer::NoObject:
      m_rack->PutObject(kLocatorName, nullptr);
      break;
    case RackAnswer::NullObject:
      m_rack->AnswerNullObject(kLocatorName);
      break;
    case RackAnswer::Failure:
      m_rack->FailOperation(HostOperation::GetObject, E_UNEXPECTED);
      break;
  }
  // The rack let go of the locator: only the fixture's reference is left.
  if (GetParam().answer == RackAnswer::NoObject) m_locatorRefs = m_locator->RefCount();
  auto details = Build(m_rack, m_document.c_str());
  EXPECT_EQ(WideString(m_document), details->m_strPath);
  EXPECT_EQ(1u, m_log->Count(HostOperation::GetObject));
  EXPECT_TRUE(LocateCalls().empty());
  EXPECT_EQ(DebugLineFor(m_document), m_debugLines);
}

INSTANTIATE_TEST_SUITE_P(Table, RackAnswerTest,
                         testing::Values(RackCase{"NoLocatorObject", RackAnswer::NoObject},
                                         RackCase{"NullLocatorObject", RackAnswer::NullObject},
                                         RackCase{"GetObjectFails", RackAnswer::Failure}));

}  // namespace
}  // namespace velmora_test
