// CAppList: the six parallel lists of the data object, loaded once in a
// fixed order that stops at the first bad one, and read a row at a time with
// "FILES_LIST" deciding how many rows there are.
#include <gtest/gtest.h>

#include <atlbase.h>

#include <string>
#include <vector>

#include "host/data_obj.h"
#include "host/variants.h"
#include "settings/app_list.h"
#include "tests/host/live_objects.h"
#include "tests/support/hresult.h"

namespace {

using Column = std::vector<CComVariant>;

const OLECHAR* const kKeys[] = {OLESTR("FILES_LIST"), OLESTR("DIRS_LIST"), OLESTR("ARGS_LIST"),
                                OLESTR("APPS_LIST"),  OLESTR("LNCH_LIST"), OLESTR("DESC_LIST")};

std::string Utf8Of(BSTR text) {
  std::string out;
  for (UINT i = 0; text && i < SysStringLen(text); ++i) out += static_cast<char>(text[i]);
  return out;
}

// A row in readable form: app|file|dir|args|launch|children.
std::string Describe(const AppListEntry& e) {
  return Utf8Of(e.m_bstrApp) + "|" + Utf8Of(e.m_bstrFile) + "|" + Utf8Of(e.m_bstrDir) + "|" + Utf8Of(e.m_bstrArgs) +
         "|" + std::to_string(e.m_bLaunch) + "|" + std::to_string(e.m_bChildren);
}

class AppListTest : public HostObjectsTest {
 protected:
  // Every list present: each key gets its column (empty when not given).
  void SetLists(const Column& files, const Column& dirs, const Column& args, const Column& apps,
                const Column& launch, const Column& children) {
    const Column* columns[] = {&files, &dirs, &args, &apps, &launch, &children};
    for (size_t i = 0; i < 6; ++i) ASSERT_HR(S_OK, data->SetList(kKeys[i], *columns[i]));
  }

  std::vector<std::string> Rows(CAppList& list) {
    std::vector<std::string> rows;
    for (ULONG i = 0; i < list.GetCount(); ++i) {
      AppListEntry entry;
      EXPECT_HR(S_OK, list.GetEntry(i, entry));
      rows.push_back(Describe(entry));
    }
    return rows;
  }

  CComPtr<CHostDataObj> data = CHostDataObj::Create();
};

TEST_F(AppListTest, EntryStartsEmptyAndTrue) {
  AppListEntry entry;
  EXPECT_NE(nullptr, entry.m_bstrApp.m_str) << "an empty BSTR, not a null one";
  EXPECT_FALSE(entry.HasApp());
  EXPECT_FALSE(entry.HasFile());
  EXPECT_EQ("|||" "|-1|-1", Describe(entry));
}

TEST_F(AppListTest, RowsComeFromColumnOneOfEachList) {
  SetLists({HostBstr(OLESTR("notepad.txt")), HostBstr(OLESTR(""))},
           {HostBstr(OLESTR("C:\\docs")), HostBstr(OLESTR("C:\\tools"))},
           {HostBstr(OLESTR("/a")), HostBstr(OLESTR(""))},
           {HostBstr(OLESTR("")), HostBstr(OLESTR("calc.exe /x"))},
           {HostI4(0), HostBool(true)},
           {HostI4(5), HostI4(0)});
  CAppList list(data);
  ASSERT_HR(S_OK, list.GetLoadStatus());
  EXPECT_EQ((std::vector<std::string>{"|notepad.txt|C:\\docs|/a|0|-1", "calc.exe /x||C:\\tools||-1|0"}), Rows(list));
}

// "FILES_LIST" alone counts the rows; shorter lists have no cell for the
// later rows: strings stay empty and flags read as false.
TEST_F(AppListTest, FilesListDecidesTheRowsAndShortListsReadAsMissing) {
  SetLists({HostBstr(OLESTR("a")), HostBstr(OLESTR("b"))}, {}, {},
           {HostBstr(OLESTR("x")), HostBstr(OLESTR("y")), HostBstr(OLESTR("never read"))}, {HostI4(1)}, {});
  CAppList list(data);
  ASSERT_HR(S_OK, list.GetLoadStatus());
  EXPECT_EQ(2u, list.GetCount());
  EXPECT_EQ((std::vector<std::string>{"x|a|||-1|0", "y|b|||0|0"}), Rows(list));
}

TEST_F(AppListTest, CellsOfAnotherTypeKeepTheFieldsInitialValue) {
  SetLists({HostI4(3)}, {HostNull()}, {HostBstr(nullptr)}, {HostBool(true)}, {HostBstr(OLESTR("not a number"))},
           {HostBstr(OLESTR("0"))});
  CAppList list(data);
  ASSERT_HR(S_OK, list.GetLoadStatus());
  AppListEntry entry;
  ASSERT_HR(S_OK, list.GetEntry(0, entry));
  // A null BSTR cell reads as an empty field (whether the array's copy of it
  // is null or of length 0 is the platform's choice).
  EXPECT_EQ("|||" "|-1|0", Describe(entry)) << "a text that is no number keeps true; \"0\" converts";
}

TEST_F(AppListTest, StringsKeepTheirWholeLength) {
  CComVariant embedded;
  embedded.vt = VT_BSTR;
  embedded.bstrVal = SysAllocStringLen(OLESTR("a\0b"), 3);
  SetLists({embedded}, {}, {}, {}, {}, {});
  CAppList list(data);
  AppListEntry entry;
  ASSERT_HR(S_OK, list.GetEntry(0, entry));
  EXPECT_EQ(3u, entry.m_bstrFile.Length());
}

TEST_F(AppListTest, IndexOutsideTheRowsLeavesTheEntryAlone) {
  SetLists({HostBstr(OLESTR("a"))}, {}, {}, {}, {}, {});
  CAppList list(data);
  AppListEntry entry;
  entry.m_bLaunch = VARIANT_FALSE;
  for (ULONG i : {1u, 0xFFFFFFFFu}) EXPECT_HR(E_INVALIDARG, list.GetEntry(i, entry));
  EXPECT_EQ("|||" "|0|-1", Describe(entry));
}

// A list with one column has no value cell at all.
TEST_F(AppListTest, SingleColumnListHasNoValues) {
  ASSERT_HR(S_OK, data->SetList(OLESTR("FILES_LIST"), {HostBstr(OLESTR("a"))}));
  for (size_t i = 1; i < 6; ++i) ASSERT_HR(S_OK, data->SetOneDimensionalList(kKeys[i], {HostBstr(OLESTR("z"))}));
  CAppList list(data);
  ASSERT_HR(S_OK, list.GetLoadStatus());
  EXPECT_EQ((std::vector<std::string>{"|a|||0|0"}), Rows(list));
}

// The load asks for the keys in order and stops at the first list that is
// missing or is not a table of VARIANTs.
TEST_F(AppListTest, LoadStopsAtTheFirstBadList) {
  struct Case {
    const char* name;
    size_t bad;      // index into kKeys
    int kind;        // 0 missing, 1 not an array, 2 the read fails, 3 a BSTR array
  };
  const Case cases[] = {
      {"DIRS_LIST missing", 1, 0},
      {"FILES_LIST is a number", 0, 1},
      {"APPS_LIST read fails", 3, 2},
      {"DESC_LIST holds strings, not VARIANTs", 5, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CComPtr<CHostDataObj> d = CHostDataObj::Create();
    for (size_t i = 0; i < 6; ++i) {
      if (i != c.bad) {
        ASSERT_HR(S_OK, d->SetList(kKeys[i], {HostBstr(OLESTR("v"))}));
        continue;
      }
      if (c.kind == 1) d->SetItem(kKeys[i], HostI4(1));
      if (c.kind == 2) {
        ASSERT_HR(S_OK, d->SetList(kKeys[i], {HostBstr(OLESTR("v"))}));
        d->FailOperation(HostOperation::GetItemByName, E_ACCESSDENIED, HostFailTimes::Always, kKeys[i]);
      }
      if (c.kind == 3) {
        SAFEARRAYBOUND bounds[2] = {{2, 0}, {1, 0}};
        CComVariant strings;
        strings.vt = VT_ARRAY | VT_VARIANT;  // what the item claims
        strings.parray = SafeArrayCreate(VT_BSTR, 2, bounds);
        d->SetItem(kKeys[i], strings);
      }
    }
    CAppList list(d);
    EXPECT_HR(E_UNEXPECTED, list.GetLoadStatus());
    std::vector<std::string> asked;
    for (size_t i = 0; i <= c.bad; ++i) {
      asked.push_back("GetItemByName(" + Utf8Of(CComBSTR(kKeys[i])) + ")");
    }
    const std::vector<std::string> log = d->Log()->Texts();
    ASSERT_EQ(asked.size(), log.size());
    for (size_t i = 0; i < log.size(); ++i) EXPECT_EQ(0u, log[i].find(asked[i])) << log[i];
  }
}

TEST_F(AppListTest, NoDataObjectIsNoList) {
  CAppList list(nullptr);
  EXPECT_HR(E_FAIL, list.GetLoadStatus());
  EXPECT_EQ(0u, list.GetCount());
}

}  // namespace
