// The readable forms other tests compare with: a wrong form would make their
// expectations say something else than what happened.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/call_log.h"
#include "host/data_obj.h"
#include "host/object_rack.h"
#include "host/options_node.h"
#include "host/variants.h"
#include "live_objects.h"
#include "tests/support/hresult.h"

namespace {

using Texts = std::vector<std::string>;

class CallLogTest : public HostObjectsTest {};

TEST_F(CallLogTest, VariantTexts) {
  ATL::CComPtr<CHostDataObj> object = CHostDataObj::Create();
  ATL::CComVariant error;
  error.vt = VT_ERROR;
  error.scode = E_FAIL;
  ATL::CComVariant table = HostVariantTable({HostI4(1), HostI4(2), HostI4(3)}, 2);
  struct Case {
    ATL::CComVariant value;
    const char* text;
  };
  const Case cases[] = {
      {ATL::CComVariant(), "EMPTY"},
      {HostNull(), "NULL"},
      {HostI4(-5), "I4 -5"},
      {HostBool(true), "BOOL true"},
      {HostBool(false), "BOOL false"},
      {ATL::CComVariant(OLESTR("a b")), "BSTR 'a b'"},
      {HostBstr(nullptr), "BSTR ''"},
      {HostDispatch(nullptr), "DISPATCH null"},
      {HostDispatch(object), "DISPATCH"},
      {HostUnknown(static_cast<IDataObj*>(object)), "UNKNOWN"},
      {error, "ERROR 0x80004005"},
      {table, "ARRAY|VARIANT [2][3]"},
  };
  for (const Case& c : cases) EXPECT_EQ(HostVariantText(c.value), c.text);
}

TEST_F(CallLogTest, ObjectsSharingALogRecordTheirCallsInOrder) {
  ATL::CComPtr<CHostOptionsNode> root = CHostOptionsNode::CreateRoot(OLESTR("Root"));
  ATL::CComPtr<CHostObjectRack> rack = CHostObjectRack::Create(root->Log());
  std::shared_ptr<CHostCallLog> log = root->Log();

  ATL::CComVariant one = HostI4(1);
  ASSERT_HR(S_OK, root->AddNode(ATL::CComBSTR(OLESTR("A")), 0));
  IUnknown* object = nullptr;
  EXPECT_HR(CHostObjectRack::kMissingObject, rack->GetObject(ATL::CComBSTR(OLESTR("X")), IID_IDataObj, &object));
  ASSERT_HR(S_OK, root->SetNodeValue(ATL::CComBSTR(OLESTR("A")), ATL::CComBSTR(OLESTR("V")), one.AsInput(), 2, 0, 0, 5, 0));

  EXPECT_EQ(log->QualifiedTexts(), (Texts{"Root: AddNode(A)", "rack: GetObject(X, IDataObj) -> 0x80070057",
                                          "Root: SetNodeValue(A, V, I4 1, flag 2, level 5)"}));
  EXPECT_EQ(log->Count(HostOperation::AddNode), 1u);
  EXPECT_EQ(log->CallsOf("rack").size(), 1u);
  EXPECT_EQ(log->Writes(), (Texts{"Root: AddNode(A)", "Root: SetNodeValue(A, V, I4 1, flag 2, level 5)"}));
  EXPECT_EQ(log->Dump(), "Root: AddNode(A)\nrack: GetObject(X, IDataObj) -> 0x80070057\n"
                         "Root: SetNodeValue(A, V, I4 1, flag 2, level 5)\n");
  log->Clear();
  EXPECT_TRUE(log->All().empty());
}

}  // namespace
