// Reading one integer option: the preset default stands when the data object
// leaves the VARIANT alone, and only a VT_I4 counts.
#include <gtest/gtest.h>

#include <atlbase.h>

#include "host/data_obj.h"
#include "settings/option_read.h"
#include "settings/shared_constants.h"
#include "tests/host/live_objects.h"
#include "tests/support/hresult.h"

namespace {

struct OptionCase {
  const char* name;
  CComVariant stored;  // VT_EMPTY: the item is absent
  HRESULT absentResult;
  HRESULT hr;
  bool isSet;
  LONG value;
};

CComVariant I2(SHORT value) {
  CComVariant v;
  v.vt = VT_I2;
  v.iVal = value;
  return v;
}

class OptionReadTest : public HostObjectsTest {};

TEST_F(OptionReadTest, OnlyAVtI4Counts) {
  const OptionCase cases[] = {
      {"absent, VARIANT left alone: the default stands", CComVariant(), S_OK, S_OK, true, 2},
      {"absent, the read fails: the default still stands", CComVariant(), E_INVALIDARG, E_INVALIDARG, true, 2},
      {"stored 1", HostI4(1), S_OK, S_OK, true, 1},
      {"stored 0", HostI4(0), S_OK, S_OK, true, 0},
      {"stored -7", HostI4(-7), S_OK, S_OK, true, -7},
      {"the digit 2 as a string is not converted", HostBstr(OLESTR("2")), S_OK, S_OK, false, 0},
      {"a VT_I2 is not converted", I2(2), S_OK, S_OK, false, 0},
      {"a boolean is not converted", HostBool(true), S_OK, S_OK, false, 0},
  };
  for (const OptionCase& c : cases) {
    SCOPED_TRACE(c.name);
    CComPtr<CHostDataObj> data = CHostDataObj::Create();
    if (c.stored.vt != VT_EMPTY) data->SetItem(OLESTR("RUN_OPT"), c.stored);
    data->AnswerAbsentItems(c.absentResult);
    const COptionValue option = ReadOption(data, SharedConstants().bstrRunOpt, 2);
    EXPECT_HR(c.hr, option.hr);
    EXPECT_EQ(c.isSet, option.bIsSet);
    EXPECT_EQ(c.value, option.lValue);
    EXPECT_EQ(std::vector<std::string>{"GetItemByName(RUN_OPT)" + std::string(FAILED(c.hr) ? " -> 0x80070057" : "")},
              data->Log()->Texts());
  }
}

TEST_F(OptionReadTest, ReleasesWhatTheDataObjectHandedOut) {
  // A BSTR handed back for an integer option is freed (ASan would report it),
  // and an object handed back is released.
  CComPtr<CHostDataObj> data = CHostDataObj::Create();
  CComPtr<CHostDataObj> inner = CHostDataObj::Create();
  data->SetItem(OLESTR("OV_DSC_OPT"), HostDispatch(inner));
  const ULONG before = inner->RefCount();
  const COptionValue option = ReadOption(data, SharedConstants().bstrOvDscOpt, 1);
  EXPECT_FALSE(option.bIsSet);
  EXPECT_EQ(before, inner->RefCount());
}

}  // namespace
