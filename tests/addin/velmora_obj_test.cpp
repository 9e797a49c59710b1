// The add-in object's identity: which interfaces it answers, and which not.
#include <gtest/gtest.h>

#include <atlbase.h>
#include <atlcom.h>

#include "addin/velmora_obj.h"
#include "tests/support/hresult.h"

namespace {

class VelmoraObjTest : public testing::Test {
 protected:
  void SetUp() override {
    CComObject<CVelmoraObj>* object = nullptr;
    ASSERT_HR(S_OK, CComObject<CVelmoraObj>::CreateInstance(&object));
    object_ = object;
  }

  CComPtr<IUnknown> Query(REFIID iid) {
    CComPtr<IUnknown> result;
    EXPECT_HR(S_OK, object_->QueryInterface(iid, reinterpret_cast<void**>(result.Receive())));
    return result;
  }

  CComPtr<CComObject<CVelmoraObj>> object_;
};

TEST_F(VelmoraObjTest, StartupClientInterfacesShareOnePointer) {
  CComPtr<IUnknown> one = Query(IID_IStartupClient);
  EXPECT_EQ(one, Query(IID_IStartupClient2));
  EXPECT_EQ(one, Query(IID_IStartupClient3));
}

TEST_F(VelmoraObjTest, IUnknownIsTheDefaultInterface) {
  CComPtr<IUnknown> unknown = Query(IID_IUnknown);
  EXPECT_EQ(unknown, Query(IID_IVelmoraObj));
  // Every interface leads back to the same identity.
  const IID* const others[] = {&IID_IStartupClient, &IID_IBCStartupClnt, &IID_IVelmoraHooks, &IID_IObjectRackClient};
  for (const IID* iid : others) {
    CComPtr<IUnknown> part = Query(*iid);
    CComPtr<IUnknown> back;
    ASSERT_HR(S_OK, QueryTo(part, back));
    EXPECT_EQ(unknown, back);
  }
}

TEST_F(VelmoraObjTest, AnswersNothingOutsideItsTable) {
  const IID* const refused[] = {&IID_IDispatch, &IID_IObjectRackProvider, &IID_IDataObj, &IID_IClassFactory};
  for (const IID* iid : refused) {
    void* out = reinterpret_cast<void*>(1);
    EXPECT_HR(E_NOINTERFACE, object_->QueryInterface(*iid, &out));
    EXPECT_EQ(nullptr, out);
  }
  EXPECT_HR(E_POINTER, object_->QueryInterface(IID_IUnknown, nullptr));
}

TEST_F(VelmoraObjTest, QueryInterfaceTakesOneReference) {
  const auto refs = [this] {
    object_->AddRef();
    return object_->Release();
  };
  const ULONG before = refs();
  {
    CComPtr<IUnknown> hooks = Query(IID_IVelmoraHooks);
    EXPECT_EQ(before + 1, refs());
  }
  EXPECT_EQ(before, refs());
}

TEST_F(VelmoraObjTest, ExternalSetHooksIsNotHandled) {
  CComPtr<IVelmoraHooks> hooks;
  ASSERT_HR(S_OK, object_->QueryInterface(IID_IVelmoraHooks, reinterpret_cast<void**>(hooks.Receive())));
  CComBSTR text(OLESTR("x"));
  EXPECT_HR(E_NOTIMPL, hooks->External_SetHooks(1, text, text, text, 1, 1));
  EXPECT_HR(E_NOTIMPL, hooks->External_SetHooks(0, nullptr, nullptr, nullptr, 0, 0));
}

}  // namespace
