// The process-wide names and values: built once, exactly as the host spells
// them, and gone after they are freed.
#include <gtest/gtest.h>

#include "settings/shared_constants.h"

namespace {

TEST(SharedConstants, NamesAreTheHostsSpelling) {
  const CSharedConstants& k = SharedConstants();
  const struct {
    BSTR value;
    const OLECHAR* text;
  } names[] = {
      {k.bstrRunOpt, OLESTR("RUN_OPT")},
      {k.bstrSpecAppDscOpt, OLESTR("SPECAPP_DSC_OPT")},
      {k.bstrFilesList, OLESTR("FILES_LIST")},
      {k.bstrDescList, OLESTR("DESC_LIST")},
      {k.bstrTestOptions, OLESTR("TestOptions")},
      {k.bstrChildProcWndProcHook, OLESTR("ChildProc_WndProcHook")},
  };
  for (const auto& name : names) {
    ASSERT_NE(nullptr, name.value);
    EXPECT_EQ(0, wcscmp(name.text, name.value));
    EXPECT_EQ(wcslen(name.text), SysStringLen(name.value)) << "a real BSTR, with its length";
  }
  EXPECT_EQ(VT_I4, k.varOne.vt);
  EXPECT_EQ(1, k.varOne.lVal);
  EXPECT_EQ(0, k.varZero.lVal);
  EXPECT_EQ(-1, k.varMinusOne.lVal);
}

TEST(SharedConstants, FreeThenLoadAgain) {
  FreeSharedConstants();
  EXPECT_FALSE(SharedConstantsLoaded());
  EXPECT_EQ(nullptr, SharedConstants().bstrRunOpt);
  EXPECT_EQ(VT_EMPTY, SharedConstants().varOne.vt);
  ASSERT_EQ(S_OK, LoadSharedConstants());
  EXPECT_TRUE(SharedConstantsLoaded());
  EXPECT_EQ(S_OK, LoadSharedConstants()) << "a second load keeps what is there";
  EXPECT_EQ(0, wcscmp(OLESTR("RUN_OPT"), SharedConstants().bstrRunOpt));
}

}  // namespace
