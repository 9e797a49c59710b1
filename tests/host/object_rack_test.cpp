// The object rack: GetObject must hand out the interface asked for, with
// exactly one reference, or the add-in's tests would pass on a wrong cast.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/data_obj.h"
#include "host/object_rack.h"
#include "host/options_node.h"
#include "live_objects.h"
#include "tests/support/hresult.h"

namespace {

using Texts = std::vector<std::string>;

class ObjectRackTest : public HostObjectsTest {
 protected:
  ObjectRackTest() {
    rack = CHostObjectRack::Create();
    data = CHostDataObj::Create(rack->Log());
    rack->PutObject(OLESTR("Data"), static_cast<IDataObj*>(data));
  }

  ATL::CComPtr<CHostObjectRack> rack;
  ATL::CComPtr<CHostDataObj> data;
  const ATL::CComBSTR dataName{OLESTR("Data")};
};

TEST_F(ObjectRackTest, GetObjectQueriesTheStoredObjectForTheRequestedInterface) {
  const ULONG before = data->RefCount();
  IUnknown* object = nullptr;
  ASSERT_HR(S_OK, rack->GetObject(dataName, IID_IDataObj, &object));
  EXPECT_EQ(object, static_cast<IDataObj*>(data.p));
  EXPECT_EQ(data->RefCount(), before + 1);
  object->Release();

  ASSERT_HR(S_OK, rack->GetObject(dataName, IID_IDispatch, &object));
  EXPECT_EQ(object, static_cast<IDispatch*>(data.p));
  object->Release();

  object = reinterpret_cast<IUnknown*>(&object);  // whatever was there is overwritten
  EXPECT_HR(E_NOINTERFACE, rack->GetObject(dataName, IID_IOptionsNode, &object));
  EXPECT_EQ(object, nullptr);
  EXPECT_HR(CHostObjectRack::kMissingObject, rack->GetObject(ATL::CComBSTR(OLESTR("data")), IID_IUnknown, &object));
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(data->RefCount(), before);

  EXPECT_EQ(rack->Log()->Texts(), (Texts{"GetObject(Data, IDataObj)", "GetObject(Data, IDispatch)",
                                         "GetObject(Data, IOptionsNode) -> 0x80004002",
                                         "GetObject(data, IUnknown) -> 0x80070057"}));
}

TEST_F(ObjectRackTest, SetObjectAndRemoveObjectHoldAndDropAReference) {
  ATL::CComPtr<CHostOptionsNode> node = CHostOptionsNode::CreateRoot(OLESTR("Node"));
  ASSERT_HR(S_OK, rack->SetObject(ATL::CComBSTR(OLESTR("Node")), static_cast<IOptionsNode*>(node)));
  EXPECT_EQ(node->RefCount(), 2u);
  EXPECT_EQ(rack->ObjectNames(), (Texts{"Data", "Node"}));
  EXPECT_HR(E_POINTER, rack->SetObject(ATL::CComBSTR(OLESTR("Null")), nullptr));

  ASSERT_HR(S_OK, rack->RemoveObject(ATL::CComBSTR(OLESTR("Node"))));
  EXPECT_EQ(node->RefCount(), 1u);
  EXPECT_HR(CHostObjectRack::kMissingObject, rack->RemoveObject(ATL::CComBSTR(OLESTR("Node"))));
}

TEST_F(ObjectRackTest, GetObjectFailsOrAnswersNullOnDemand) {
  rack->FailOperation(HostOperation::GetObject, E_ACCESSDENIED, HostFailTimes::Once, OLESTR("Data"));
  IUnknown* object = nullptr;
  EXPECT_HR(E_ACCESSDENIED, rack->GetObject(dataName, IID_IDataObj, &object));
  EXPECT_EQ(object, nullptr);

  rack->AnswerNullObject(OLESTR("Data"));
  EXPECT_HR(S_OK, rack->GetObject(dataName, IID_IDataObj, &object));
  EXPECT_EQ(object, nullptr);

  rack->ClearFailures();
  ASSERT_HR(S_OK, rack->GetObject(dataName, IID_IDataObj, &object));
  ASSERT_NE(object, nullptr);
  object->Release();
  EXPECT_EQ(rack->Log()->Texts({HostOperation::GetObject}), (Texts{"GetObject(Data, IDataObj) -> 0x80070005",
                                                      "GetObject(Data, IDataObj)", "GetObject(Data, IDataObj)"}));
}

TEST_F(ObjectRackTest, ReleasingTheRackReleasesWhatItHolds) {
  const LONG liveBefore = CHostObjectCounter::Live();
  ATL::CComPtr<CHostObjectRack> other = CHostObjectRack::Create();
  other->PutObject(OLESTR("Tree"), static_cast<IOptionsNode*>(CHostOptionsNode::CreateRoot(OLESTR("Tree"))));
  EXPECT_EQ(CHostObjectCounter::Live(), liveBefore + 2);
  other.Release();
  EXPECT_EQ(CHostObjectCounter::Live(), liveBefore);
}

}  // namespace
