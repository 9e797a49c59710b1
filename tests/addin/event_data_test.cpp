// What the events do with a real data object: the unhandled ones never look
// at it, and UpdateDataObject ignores its two strings.
#include <gtest/gtest.h>

#include <atlbase.h>
#include <atlcom.h>

#include "addin/velmora_obj.h"
#include "host/data_obj.h"
#include "tests/host/live_objects.h"
#include "tests/support/hresult.h"

namespace {

class EventDataTest : public HostObjectsTest {
 protected:
  void SetUp() override {
    CComObject<CVelmoraObj>* object = nullptr;
    ASSERT_HR(S_OK, CComObject<CVelmoraObj>::CreateInstance(&object));
    object_ = object;
    ASSERT_HR(S_OK, object_.QueryInterface(startup_.Receive()));
    data_ = CHostDataObj::Create();
  }

  CComPtr<CComObject<CVelmoraObj>> object_;
  CComPtr<IStartupClient3> startup_;
  CComPtr<CHostDataObj> data_;
};

TEST_F(EventDataTest, UnhandledEventsDoNotTouchTheDataObject) {
  const ULONG refs = data_->RefCount();
  EXPECT_HR(E_NOTIMPL, startup_->StopRecord(data_));
  EXPECT_HR(E_NOTIMPL, startup_->StopReplay(data_));
  EXPECT_HR(E_NOTIMPL, startup_->StopIteration(data_));
  EXPECT_HR(E_NOTIMPL, startup_->CloseTest(data_));
  EXPECT_HR(E_NOTIMPL, startup_->StartPartialReplay(data_));
  EXPECT_TRUE(data_->Log()->All().empty()) << data_->Log()->Dump();
  EXPECT_EQ(refs, data_->RefCount());
}

TEST_F(EventDataTest, UpdateDataObjectIgnoresProductAndVersion) {
  CComBSTR product(OLESTR("Product")), version(OLESTR("12.0")), empty(OLESTR(""));
  const HRESULT expected = startup_->UpdateDataObject(data_, nullptr, nullptr);
  EXPECT_HR(expected, startup_->UpdateDataObject(data_, product, version));
  EXPECT_HR(expected, startup_->UpdateDataObject(data_, empty, nullptr));
  EXPECT_HR(E_INVALIDARG, startup_->UpdateDataObject(nullptr, product, version));
}

}  // namespace
