// CComVariant: what each constructor holds, deep copies, handing content
// in and out, and conversion, with object references counted.
#include <gtest/gtest.h>

#include <atlbase.h>

#include "tests/support/counting_object.h"
#include "tests/support/hresult.h"

namespace {

using velmora_test::CountingObject;
using velmora_test::TwoCountingObjectsTest;

static_assert(sizeof(CComVariant) == sizeof(VARIANT), "a CComVariant passes as a VARIANT");

bool HoldsText(const VARIANT& v, const OLECHAR* text) {
  if (v.vt != VT_BSTR || !v.bstrVal) return false;
  UINT length = 0;
  while (text[length]) ++length;
  if (::SysStringLen(v.bstrVal) != length) return false;
  for (UINT i = 0; i < length; ++i) {
    if (v.bstrVal[i] != text[i]) return false;
  }
  return true;
}

VARIANT UnknownVariant(CountingObject& object) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_UNKNOWN;
  v.punkVal = object.unknown();
  object.AddRef();
  return v;
}

class CComVariantTest : public TwoCountingObjectsTest {};

TEST_F(CComVariantTest, ConstructorsSetTypeAndValue) {
  CComVariant empty;
  EXPECT_EQ(VT_EMPTY, empty.vt);

  CComVariant number(-5);
  EXPECT_EQ(VT_I4, number.vt);
  EXPECT_EQ(-5, number.lVal);

  const OLECHAR* const source = OLESTR("text");
  CComVariant text(source);
  EXPECT_TRUE(HoldsText(text, OLESTR("text")));
  EXPECT_NE(source, text.bstrVal);

  CComVariant no_text(static_cast<LPCOLESTR>(nullptr));
  EXPECT_EQ(VT_BSTR, no_text.vt);
  EXPECT_EQ(nullptr, no_text.bstrVal);

  {
    CComVariant object(a_.dispatch());
    EXPECT_EQ(VT_DISPATCH, object.vt);
    EXPECT_EQ(a_.dispatch(), object.pdispVal);
    EXPECT_EQ(1u, a_.refs());
  }
  EXPECT_EQ(0u, a_.refs());

  CComVariant no_object(static_cast<IDispatch*>(nullptr));
  EXPECT_EQ(VT_DISPATCH, no_object.vt);
  EXPECT_EQ(nullptr, no_object.pdispVal);
}

TEST_F(CComVariantTest, CopiesAreDeep) {
  CComVariant text(OLESTR("text"));
  CComVariant copied(text);
  EXPECT_TRUE(HoldsText(copied, OLESTR("text")));
  EXPECT_NE(text.bstrVal, copied.bstrVal);

  CComVariant object(a_.dispatch());
  CComVariant object_copy(object);
  EXPECT_EQ(2u, a_.refs());

  VARIANT raw = UnknownVariant(b_);
  CComVariant from_raw(raw);
  EXPECT_EQ(VT_UNKNOWN, from_raw.vt);
  EXPECT_EQ(2u, b_.refs());
  ::VariantClear(&raw);

  object_copy = text;  // releases the object it held
  EXPECT_EQ(1u, a_.refs());
  EXPECT_TRUE(HoldsText(object_copy, OLESTR("text")));
  EXPECT_NE(text.bstrVal, object_copy.bstrVal);

  object_copy = object_copy;
  EXPECT_TRUE(HoldsText(object_copy, OLESTR("text")));
  from_raw = static_cast<const VARIANT&>(from_raw);
  EXPECT_EQ(1u, b_.refs());
}

// A copy that fails leaves VT_ERROR with the failure, and frees what was
// held before.
TEST_F(CComVariantTest, FailedCopyLeavesTheErrorAndNoLeak) {
  VARIANT bad;
  ::VariantInit(&bad);
  bad.vt = 0x7F;  // no such type
  CComVariant target(a_.dispatch());
  const HRESULT hr = target.Copy(&bad);
  EXPECT_HR(DISP_E_BADVARTYPE, hr);
  EXPECT_EQ(VT_ERROR, target.vt);
  EXPECT_HR(DISP_E_BADVARTYPE, target.scode);
  EXPECT_EQ(0u, a_.refs());

  CComVariant constructed(bad);
  EXPECT_EQ(VT_ERROR, constructed.vt);
  EXPECT_HR(DISP_E_BADVARTYPE, constructed.scode);
}

TEST_F(CComVariantTest, AttachTakesTheContentAndEmptiesTheSource) {
  CComVariant target(b_.dispatch());
  VARIANT source = UnknownVariant(a_);
  ASSERT_HR(S_OK, target.Attach(&source));
  EXPECT_EQ(VT_EMPTY, source.vt);
  EXPECT_EQ(VT_UNKNOWN, target.vt);
  EXPECT_EQ(a_.unknown(), target.punkVal);
  EXPECT_EQ(1u, a_.refs());
  EXPECT_EQ(0u, b_.refs());

  EXPECT_HR(E_INVALIDARG, target.Attach(nullptr));
  EXPECT_EQ(VT_UNKNOWN, target.vt);

  ASSERT_HR(S_OK, target.Attach(target.AsInput()));  // itself: keeps its content
  EXPECT_EQ(VT_UNKNOWN, target.vt);
  EXPECT_EQ(1u, a_.refs());
}

TEST_F(CComVariantTest, DetachClearsTheDestinationAndEmptiesThis) {
  CComVariant source(OLESTR("handed over"));
  const BSTR text = source.bstrVal;
  VARIANT dest = UnknownVariant(a_);
  ASSERT_HR(S_OK, source.Detach(&dest));
  EXPECT_EQ(VT_EMPTY, source.vt);
  EXPECT_EQ(VT_BSTR, dest.vt);
  EXPECT_EQ(text, dest.bstrVal);
  EXPECT_EQ(0u, a_.refs());
  ::VariantClear(&dest);

  EXPECT_HR(E_POINTER, source.Detach(nullptr));

  CComVariant object(a_.dispatch());
  ASSERT_HR(S_OK, object.Detach(object.AsInput()));  // itself: keeps its content
  EXPECT_EQ(VT_DISPATCH, object.vt);
  EXPECT_EQ(1u, a_.refs());
}

TEST_F(CComVariantTest, ClearReleasesAndEmpties) {
  CComVariant object(a_.dispatch());
  EXPECT_HR(S_OK, object.Clear());
  EXPECT_EQ(VT_EMPTY, object.vt);
  EXPECT_EQ(0u, a_.refs());
}

TEST_F(CComVariantTest, ChangeTypeConvertsInPlaceOrFromASource) {
  CComVariant number(42);
  ASSERT_HR(S_OK, number.ChangeType(VT_BSTR));
  EXPECT_TRUE(HoldsText(number, OLESTR("42")));

  CComVariant source(OLESTR("17"));
  CComVariant target(a_.dispatch());
  ASSERT_HR(S_OK, target.ChangeType(VT_I4, source.AsInput()));
  EXPECT_EQ(VT_I4, target.vt);
  EXPECT_EQ(17, target.lVal);
  EXPECT_TRUE(HoldsText(source, OLESTR("17")));
  EXPECT_EQ(0u, a_.refs());
}

TEST_F(CComVariantTest, FailedChangeTypeLeavesTheValue) {
  CComVariant text(OLESTR("not a number"));
  EXPECT_HR(DISP_E_TYPEMISMATCH, text.ChangeType(VT_I4));
  EXPECT_TRUE(HoldsText(text, OLESTR("not a number")));

  // The object has no value property to convert.
  CComVariant object(a_.dispatch());
  EXPECT_TRUE(FAILED(object.ChangeType(VT_I4)));
  EXPECT_EQ(VT_DISPATCH, object.vt);
  EXPECT_EQ(1u, a_.refs());
}

}  // namespace
