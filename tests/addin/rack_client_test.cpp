// The add-in's side of the rack protocol: the rack it keeps, its references,
// and the hook settings it opens and releases with it.
#include <gtest/gtest.h>

#include <atlbase.h>
#include <atlcom.h>

#include "addin/velmora_obj.h"
#include "host/object_rack.h"
#include "host/options_node.h"
#include "tests/host/live_objects.h"
#include "tests/support/hresult.h"

namespace {

class RackClientTest : public HostObjectsTest {
 protected:
  void SetUp() override {
    CComObject<CVelmoraObj>* object = nullptr;
    ASSERT_HR(S_OK, CComObject<CVelmoraObj>::CreateInstance(&object));
    object_ = object;
    ASSERT_HR(S_OK, object_.QueryInterface(client_.Receive()));
    root_ = CHostOptionsNode::CreateRoot(OLESTR("TestOptions"));
    hooks_ = root_->AddChild(OLESTR("Hooks"));
    always_ = root_->AddChildPath(OLESTR("HooksMgr/DllInjector/ALWAYS"));
    rack_ = CHostObjectRack::Create();
    rack_->PutObject(OLESTR("TestOptions"), root_);
  }

  CComPtr<CComObject<CVelmoraObj>> object_;
  CComPtr<IObjectRackClient> client_;
  CComPtr<CHostOptionsNode> root_;
  CComPtr<CHostOptionsNode> hooks_;
  CComPtr<CHostOptionsNode> always_;
  CComPtr<CHostObjectRack> rack_;
};

TEST_F(RackClientTest, GetRackBeforeAnySetRackIsEmpty) {
  IObjectRack* rack = reinterpret_cast<IObjectRack*>(1);
  EXPECT_HR(S_OK, client_->GetRack(&rack));
  EXPECT_EQ(nullptr, rack);
  EXPECT_HR(E_POINTER, client_->GetRack(nullptr));
}

TEST_F(RackClientTest, SetRackKeepsOneReferenceHoweverOftenItIsHandedOver) {
  const ULONG before = rack_->RefCount();
  EXPECT_HR(S_OK, client_->SetRack(rack_));
  EXPECT_HR(S_OK, client_->SetRack(rack_));
  EXPECT_EQ(before + 1, rack_->RefCount());

  CComPtr<IObjectRack> back;
  EXPECT_HR(S_OK, client_->GetRack(back.Receive()));
  EXPECT_EQ(static_cast<IObjectRack*>(rack_), back);
  EXPECT_EQ(before + 2, rack_->RefCount()) << "GetRack hands out a reference of its own";
}

TEST_F(RackClientTest, SetRackOpensTheHookNodesAndNullReleasesThem) {
  const ULONG hooksBefore = hooks_->RefCount();
  const ULONG rackBefore = rack_->RefCount();
  ASSERT_HR(S_OK, client_->SetRack(rack_));
  EXPECT_TRUE(object_->HookConfigurator().HasHooksNode());
  EXPECT_TRUE(object_->HookConfigurator().HasAlwaysNode());
  EXPECT_EQ(hooksBefore + 1, hooks_->RefCount());

  EXPECT_HR(S_OK, client_->SetRack(nullptr));
  EXPECT_FALSE(object_->HookConfigurator().HasHooksNode());
  EXPECT_FALSE(object_->HookConfigurator().HasAlwaysNode());
  EXPECT_EQ(hooksBefore, hooks_->RefCount());
  EXPECT_EQ(rackBefore, rack_->RefCount());
  CComPtr<IObjectRack> back;
  EXPECT_HR(S_OK, client_->GetRack(back.Receive()));
  EXPECT_EQ(nullptr, back);
}

TEST_F(RackClientTest, ARackWithoutOptionsIsStillAccepted) {
  rack_->FailOperation(HostOperation::GetObject, E_FAIL);
  EXPECT_HR(S_OK, client_->SetRack(rack_));
  EXPECT_FALSE(object_->HookConfigurator().HasHooksNode());
  CComPtr<IObjectRack> back;
  EXPECT_HR(S_OK, client_->GetRack(back.Receive()));
  EXPECT_EQ(static_cast<IObjectRack*>(rack_), back);
}

TEST_F(RackClientTest, ANewRackReplacesTheOldOne) {
  CComPtr<CHostObjectRack> other = CHostObjectRack::Create();
  const ULONG firstBefore = rack_->RefCount();
  ASSERT_HR(S_OK, client_->SetRack(rack_));
  ASSERT_HR(S_OK, client_->SetRack(other));
  EXPECT_EQ(firstBefore, rack_->RefCount());
  // The other rack has no "TestOptions": the nodes opened before stay.
  EXPECT_TRUE(object_->HookConfigurator().HasHooksNode());
}

TEST_F(RackClientTest, TheObjectReleasesTheRackAndTheNodesWhenItGoes) {
  ASSERT_HR(S_OK, client_->SetRack(rack_));
  const ULONG rackBefore = rack_->RefCount();
  client_.Release();
  object_.Release();
  EXPECT_EQ(rackBefore - 1, rack_->RefCount());
}

}  // namespace
