// LookupRackObject: one GetObject call, and "available" exactly when the
// result succeeds with an object.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <string>
#include <vector>

#include "settings/rack_lookup.h"
#include "host/file_locator.h"
#include "tests/host/live_objects.h"
#include "host/object_rack.h"
#include "tests/support/hresult.h"

namespace {

const OLECHAR kName[] = OLESTR("RACK_FILE_LOCATOR");

class RackLookupTest : public HostObjectsTest {
 protected:
  RackLookupTest() {
    log = CHostCallLog::Create();
    rack = CHostObjectRack::Create(log);
    locator = CHostFileLocator::Create(log);
    rack->PutObject(kName, locator);
  }

  std::shared_ptr<CHostCallLog> log;
  ATL::CComPtr<CHostObjectRack> rack;
  ATL::CComPtr<CHostFileLocator> locator;
};

TEST_F(RackLookupTest, FoundObjectIsHeldWithOneReference) {
  const ULONG before = locator->RefCount();
  {
    ATL::CComPtr<IFileLocator> found;
    EXPECT_HR(S_OK, LookupRackObject(rack, kName, found));
    EXPECT_EQ(static_cast<IFileLocator*>(locator), found.p);
    EXPECT_EQ(before + 1, locator->RefCount());
  }
  EXPECT_EQ(before, locator->RefCount());
  EXPECT_EQ(std::vector<std::string>{"GetObject(RACK_FILE_LOCATOR, IFileLocator)"}, log->Texts());
}

TEST_F(RackLookupTest, NullRackIsNoObjectAndReleasesWhatWasHeld) {
  const ULONG before = locator->RefCount();
  ATL::CComPtr<IFileLocator> found(locator);
  EXPECT_HR(E_POINTER, LookupRackObject(nullptr, kName, found));
  EXPECT_FALSE(found);
  EXPECT_EQ(before, locator->RefCount());
}

struct MissCase {
  const char* name;
  HRESULT expected;
};

void PrintTo(const MissCase& c, std::ostream* os) { *os << c.name; }

class RackLookupMissTest : public RackLookupTest, public testing::WithParamInterface<MissCase> {};

TEST_P(RackLookupMissTest, NotAvailableAfterOneCall) {
  const std::string which = GetParam().name;
  if (which == "UnknownName") rack->PutObject(kName, nullptr);
  if (which == "NullAnswer") rack->AnswerNullObject(kName);
  if (which == "GetObjectFails") rack->FailOperation(HostOperation::GetObject, E_UNEXPECTED);
  ATL::CComPtr<IFileLocator> found;
  // The interface asked for is the pointer's own: an object that does not
  // answer it leaves the pointer empty.
  ATL::CComPtr<IDataObj> other;
  const HRESULT hr = which == "OtherInterface" ? LookupRackObject(rack, kName, other)
                                               : LookupRackObject(rack, kName, found);
  EXPECT_HR(GetParam().expected, hr);
  EXPECT_FALSE(found);
  EXPECT_FALSE(other);
  EXPECT_EQ(1u, log->Count(HostOperation::GetObject));
}

INSTANTIATE_TEST_SUITE_P(Table, RackLookupMissTest,
                         testing::Values(MissCase{"UnknownName", CHostObjectRack::kMissingObject},
                                         // Success without an object is no object either.
                                         MissCase{"NullAnswer", E_FAIL},
                                         MissCase{"GetObjectFails", E_UNEXPECTED},
                                         MissCase{"OtherInterface", E_NOINTERFACE}));

}  // namespace
