// The locator: the add-in reaches LocateFile by its vtable position only, so
// the position is what these tests prove first.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/file_locator.h"
#include "live_objects.h"
#include "tests/support/hresult.h"

namespace {

using Texts = std::vector<std::string>;
using LocateFileSlot = HRESULT(STDMETHODCALLTYPE*)(IFileLocator*, BSTR, LONG, BSTR*, BSTR*);
using ReservedSlot = HRESULT(STDMETHODCALLTYPE*)(IFileLocator*);

// The function at a 0-based vtable position, IUnknown's three included.
template <class Fn>
Fn Slot(IFileLocator* locator, int index) {
  void** table = *reinterpret_cast<void***>(locator);
  return reinterpret_cast<Fn>(table[index]);
}

class FileLocatorTest : public HostObjectsTest {
 protected:
  FileLocatorTest() {
    locator = CHostFileLocator::Create();
    locator->MapPath(OLESTR("bin\\tool.exe"), OLESTR("C:\\Product\\bin\\tool.exe"));
  }

  HRESULT Locate(LPCOLESTR path, LONG flags, BSTR* located, BSTR* extra) {
    IFileLocator* raw = locator;
    return Slot<LocateFileSlot>(raw, 23)(raw, ATL::CComBSTR(path), flags, located, extra);
  }

  ATL::CComPtr<CHostFileLocator> locator;
};

TEST_F(FileLocatorTest, LocateFileIsTheTwentyFourthEntry) {
  ATL::CComBSTR located;
  ATL::CComBSTR extra;
  ASSERT_HR(S_OK, Locate(OLESTR("bin\\tool.exe"), 4, located.Receive(), extra.Receive()));
  EXPECT_EQ(HostBstrStr(located), WideString(OLESTR("C:\\Product\\bin\\tool.exe")));
  EXPECT_EQ(HostBstrStr(extra), WideString(OLESTR("extra")));

  IFileLocator* raw = locator;
  EXPECT_HR(E_NOTIMPL, Slot<ReservedSlot>(raw, 22)(raw));
  EXPECT_HR(E_NOTIMPL, Slot<ReservedSlot>(raw, 3)(raw));
  EXPECT_EQ(locator->Log()->Texts(), (Texts{"LocateFile(bin\\tool.exe, flag 4)", "Reserved20() -> 0x80004001",
                                            "Reserved1() -> 0x80004001"}));
}

TEST_F(FileLocatorTest, AnUnmappedPathIsAnsweredWithoutALocation) {
  struct Case {
    LPCOLESTR path;
  };
  const Case cases[] = {{OLESTR("bin\\other.exe")}, {OLESTR("BIN\\TOOL.EXE")}, {OLESTR("")}};
  for (const Case& c : cases) {
    SCOPED_TRACE(HostUtf8(c.path));
    OLECHAR stale[] = OLESTR("stale");  // [out]: overwritten, never freed
    BSTR located = stale;
    BSTR extra = stale;
    EXPECT_HR(S_OK, Locate(c.path, 0, &located, &extra));
    EXPECT_EQ(located, nullptr);
    EXPECT_EQ(extra, nullptr);
  }
}

TEST_F(FileLocatorTest, LocateFileFailsOnDemand) {
  locator->FailOperation(HostOperation::LocateFile, E_FAIL, HostFailTimes::Once);
  ATL::CComBSTR located;
  ATL::CComBSTR extra;
  EXPECT_HR(E_FAIL, Locate(OLESTR("bin\\tool.exe"), 0, located.Receive(), extra.Receive()));
  EXPECT_FALSE(located);
  EXPECT_FALSE(extra);
  EXPECT_HR(S_OK, Locate(OLESTR("bin\\tool.exe"), 0, located.Receive(), extra.Receive()));
  EXPECT_TRUE(located);
  EXPECT_EQ(locator->Log()->Texts(),
            (Texts{"LocateFile(bin\\tool.exe, flag 0) -> 0x80004005", "LocateFile(bin\\tool.exe, flag 0)"}));
}

}  // namespace
