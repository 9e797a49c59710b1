// The data object: items are handed out with VariantCopy, and lists have the
// host's two-dimensional layout, which the add-in reads by index.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/data_obj.h"
#include "host/options_node.h"
#include "host/variants.h"
#include "live_objects.h"
#include "tests/support/hresult.h"

namespace {

using Texts = std::vector<std::string>;

std::string Cell(SAFEARRAY* array, LONG first, LONG second) {
  LONG indices[2] = {first, second};
  ATL::CComVariant cell;
  const HRESULT hr = ::SafeArrayGetElement(array, indices, cell.Receive());
  if (FAILED(hr)) return "failed " + HostHresultText(hr);
  return HostVariantText(cell);
}

LONG UpperBound(SAFEARRAY* array, UINT dim) {
  LONG upper = -100;
  EXPECT_HR(S_OK, ::SafeArrayGetUBound(array, dim, &upper));
  return upper;
}

class DataObjTest : public HostObjectsTest {
 protected:
  DataObjTest() {
    data = CHostDataObj::Create();
    data->SetItem(OLESTR("Timeout"), HostI4(30));
  }

  ATL::CComPtr<CHostDataObj> data;
};

TEST_F(DataObjTest, AListHasRowsInDimensionTwoAndItsCellsInColumnOne) {
  struct Case {
    ULONG columns;
  };
  for (const Case c : {Case{2}, Case{4}}) {
    SCOPED_TRACE(c.columns);
    ASSERT_HR(S_OK, data->SetList(OLESTR("Processes"),
                                  {ATL::CComVariant(OLESTR("a.exe")), ATL::CComVariant(OLESTR("b.exe")), HostI4(7)},
                                  c.columns));
    ATL::CComVariant list;
    ASSERT_HR(S_OK, data->GetItemByName(ATL::CComBSTR(OLESTR("Processes")), list.Receive()));
    ASSERT_EQ(list.vt, VT_ARRAY | VT_VARIANT);
    SAFEARRAY* array = list.parray;
    ASSERT_EQ(::SafeArrayGetDim(array), 2u);
    EXPECT_EQ(UpperBound(array, 1), static_cast<LONG>(c.columns) - 1);
    EXPECT_EQ(UpperBound(array, 2), 2);
    EXPECT_EQ(array->rgsabound[0].cElements, 3u);  // the descriptor keeps the rightmost dimension first
    EXPECT_EQ(Cell(array, 1, 0), "BSTR 'a.exe'");
    EXPECT_EQ(Cell(array, 1, 1), "BSTR 'b.exe'");
    EXPECT_EQ(Cell(array, 1, 2), "I4 7");
    EXPECT_EQ(Cell(array, 0, 2), "BSTR 'unused'");
    EXPECT_EQ(Cell(array, 1, 3), "failed " + HostHresultText(DISP_E_BADINDEX));
  }
  EXPECT_HR(E_INVALIDARG, data->SetList(OLESTR("Narrow"), {HostI4(1)}, 1));
  EXPECT_FALSE(data->HasItem(OLESTR("Narrow")));
}

TEST_F(DataObjTest, AOneDimensionalListHoldsItsCellsInOrder) {
  ASSERT_HR(S_OK, data->SetOneDimensionalList(OLESTR("Names"), {ATL::CComVariant(OLESTR("x")), HostBool(true)}));
  ATL::CComVariant list;
  ASSERT_HR(S_OK, data->GetItemByName(ATL::CComBSTR(OLESTR("Names")), list.Receive()));
  ASSERT_EQ(list.vt, VT_ARRAY | VT_VARIANT);
  ASSERT_EQ(::SafeArrayGetDim(list.parray), 1u);
  EXPECT_EQ(UpperBound(list.parray, 1), 1);
  LONG index = 1;
  ATL::CComVariant cell;
  ASSERT_HR(S_OK, ::SafeArrayGetElement(list.parray, &index, cell.Receive()));
  EXPECT_EQ(HostVariantText(cell), "BOOL true");
}

TEST_F(DataObjTest, GetItemByNameClearsWhatTheDestinationHeld) {
  ATL::CComPtr<CHostOptionsNode> held = CHostOptionsNode::CreateRoot(OLESTR("Held"));
  ATL::CComVariant item = HostUnknown(static_cast<IOptionsNode*>(held));
  EXPECT_EQ(held->RefCount(), 2u);
  ASSERT_HR(S_OK, data->GetItemByName(ATL::CComBSTR(OLESTR("Timeout")), item.AsInput()));
  EXPECT_EQ(HostVariantText(item), "I4 30");
  EXPECT_EQ(held->RefCount(), 1u);
}

TEST_F(DataObjTest, AnAbsentItemLeavesTheDestinationAlone) {
  ATL::CComVariant item(OLESTR("before"));
  ATL::CComBSTR absent(OLESTR("timeout"));  // names match exactly
  EXPECT_HR(S_OK, data->GetItemByName(absent, item.AsInput()));
  EXPECT_EQ(HostVariantText(item), "BSTR 'before'");

  data->AnswerAbsentItems(DISP_E_UNKNOWNNAME);
  EXPECT_HR(DISP_E_UNKNOWNNAME, data->GetItemByName(absent, item.AsInput()));
  EXPECT_EQ(HostVariantText(item), "BSTR 'before'");

  data->FailOperation(HostOperation::GetItemByName, E_FAIL, HostFailTimes::Always, OLESTR("Timeout"));
  EXPECT_HR(E_FAIL, data->GetItemByName(ATL::CComBSTR(OLESTR("Timeout")), item.AsInput()));
  EXPECT_EQ(HostVariantText(item), "BSTR 'before'");
  EXPECT_EQ(data->Log()->QualifiedTexts(),
            (Texts{"dataobj: GetItemByName(timeout)", "dataobj: GetItemByName(timeout) -> 0x80020006",
                   "dataobj: GetItemByName(Timeout) -> 0x80004005"}));
}

TEST_F(DataObjTest, SetItemByNameStoresACopy) {
  ATL::CComVariant value(OLESTR("run1"));
  ASSERT_HR(S_OK, data->SetItemByName(ATL::CComBSTR(OLESTR("RunName")), value.AsInput(), 1));
  ASSERT_HR(S_OK, data->SetItemByNameEx(ATL::CComBSTR(OLESTR("Timeout")), value.AsInput(), 0, 1));
  value.Clear();
  EXPECT_EQ(HostVariantText(data->PeekItem(OLESTR("RunName"))), "BSTR 'run1'");
  EXPECT_EQ(HostVariantText(data->PeekItem(OLESTR("Timeout"))), "BSTR 'run1'");
  EXPECT_EQ(data->ItemNames(), (Texts{"Timeout", "RunName"}));
  EXPECT_EQ(data->Log()->Writes(), (Texts{"dataobj: SetItemByName(RunName, BSTR 'run1', flag 1)",
                                          "dataobj: SetItemByNameEx(Timeout, BSTR 'run1', flag 0)"}));
}

}  // namespace
