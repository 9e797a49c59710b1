// VariantChangeType beyond the value table: objects and their value
// property, in-place conversion, byref sources, and what a failed
// conversion leaves in the destination.
#include <gtest/gtest.h>

#include "tests/platform/support/owners.h"
#include "tests/support/counting_object.h"
#include "tests/support/hresult.h"

namespace platform_test {
namespace {

class ObjectConversion : public testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(object_.refs(), 1u) << "a conversion kept or lost a reference"; }

  // A VARIANT holding a new reference on the test object.
  void Hold(VARTYPE vt, Variant* v) {
    (*v)->vt = vt;
    (*v)->pdispVal = &object_;
    object_.AddRef();
  }

  velmora_test::CountingObject object_{true, 1};
};

TEST_F(ObjectConversion, DispatchConvertsThroughItsValueProperty) {
  object_.SetValue(42);
  Variant source;
  Hold(VT_DISPATCH, &source);
  Variant result;
  ASSERT_HR(S_OK, VariantChangeType(result.get(), source.get(), 0, VT_I4));
  EXPECT_EQ(result->vt, VT_I4);
  EXPECT_EQ(result->lVal, 42);
  EXPECT_GE(object_.invokes(), 1);
}

TEST_F(ObjectConversion, ValuePropertyIsConvertedOnward) {
  object_.SetText(OLESTR("17"));
  Variant source;
  Hold(VT_DISPATCH, &source);
  Variant result;
  ASSERT_HR(S_OK, VariantChangeType(result.get(), source.get(), 0, VT_I4));
  EXPECT_EQ(result->lVal, 17);
}

TEST_F(ObjectConversion, NoValuePropFlagRefusesTheObject) {
  object_.SetValue(42);
  Variant source;
  Hold(VT_DISPATCH, &source);
  Variant result;
  EXPECT_HR(DISP_E_TYPEMISMATCH, VariantChangeType(result.get(), source.get(), VARIANT_NOVALUEPROP, VT_I4));
  EXPECT_EQ(object_.invokes(), 0);
}

TEST_F(ObjectConversion, UnknownToDispatchKeepsTheObject) {
  Variant source;
  Hold(VT_UNKNOWN, &source);
  Variant result;
  ASSERT_HR(S_OK, VariantChangeType(result.get(), source.get(), 0, VT_DISPATCH));
  EXPECT_EQ(result->vt, VT_DISPATCH);
  EXPECT_EQ(result->pdispVal, static_cast<IDispatch*>(&object_));
  EXPECT_EQ(object_.refs(), 3u);
}

TEST(ObjectConversionWithoutDispatch, UnknownWithoutIDispatchHasNoValueAndIsNoDispatch) {
  velmora_test::CountingObject object(false, 1);
  {
    Variant source;
    source->vt = VT_UNKNOWN;
    source->punkVal = &object;
    object.AddRef();
    Variant result;
    EXPECT_HR(DISP_E_TYPEMISMATCH, VariantChangeType(result.get(), source.get(), 0, VT_I4));
    EXPECT_HR(E_NOINTERFACE, VariantChangeType(result.get(), source.get(), 0, VT_DISPATCH));
  }
  EXPECT_EQ(object.refs(), 1u);
}

TEST(NullObjectConversion, NullObjectHasNoValueButConvertsBetweenInterfaces) {
  Variant source;
  source->vt = VT_DISPATCH;
  source->pdispVal = nullptr;
  Variant result;
  EXPECT_HR(DISP_E_BADVARTYPE, VariantChangeType(result.get(), source.get(), 0, VT_I4));
  ASSERT_HR(S_OK, VariantChangeType(result.get(), source.get(), 0, VT_UNKNOWN));
  EXPECT_EQ(result->vt, VT_UNKNOWN);
  EXPECT_EQ(result->punkVal, nullptr);
}

TEST(VariantChangeTypeInPlace, ReplacesTheSourceAndFreesItsBstr) {
  Variant v;
  v->vt = VT_BSTR;
  v->bstrVal = SysAllocString(OLESTR(" 12 "));
  ASSERT_HR(S_OK, VariantChangeType(v.get(), v.get(), 0, VT_I4));
  EXPECT_EQ(v->vt, VT_I4);
  EXPECT_EQ(v->lVal, 12);
}

TEST(VariantChangeTypeInPlace, IntegerToText) {
  Variant v;
  v->vt = VT_I4;
  v->lVal = 2024;
  ASSERT_HR(S_OK, VariantChangeType(v.get(), v.get(), 0, VT_BSTR));
  ASSERT_EQ(v->vt, VT_BSTR);
  EXPECT_EQ(wcscmp(v->bstrVal, OLESTR("2024")), 0) << Narrow(v->bstrVal);
}

TEST(VariantChangeTypeInPlace, FailureLeavesTheSourceIntact) {
  Variant v;
  v->vt = VT_BSTR;
  v->bstrVal = SysAllocString(OLESTR("not a number"));
  const BSTR before = v->bstrVal;
  EXPECT_HR(DISP_E_TYPEMISMATCH, VariantChangeType(v.get(), v.get(), 0, VT_I4));
  EXPECT_EQ(v->vt, VT_BSTR);
  EXPECT_EQ(v->bstrVal, before);
  EXPECT_EQ(wcscmp(v->bstrVal, OLESTR("not a number")), 0);
}

TEST(VariantChangeType, FailureLeavesTheDestinationUnchanged) {
  Variant destination;
  destination->vt = VT_I4;
  destination->lVal = 99;
  Variant source;
  source->vt = VT_R8;
  source->dblVal = 1e20;
  EXPECT_HR(DISP_E_OVERFLOW, VariantChangeType(destination.get(), source.get(), 0, VT_I4));
  EXPECT_EQ(destination->vt, VT_I4);
  EXPECT_EQ(destination->lVal, 99);
}

TEST(VariantChangeType, SuccessClearsWhatTheDestinationHeld) {
  velmora_test::CountingObject held{true, 1};
  {
    Variant destination;
    destination->vt = VT_UNKNOWN;
    destination->punkVal = &held;
    held.AddRef();
    Variant source;
    source->vt = VT_I2;
    source->iVal = 5;
    ASSERT_HR(S_OK, VariantChangeType(destination.get(), source.get(), 0, VT_I4));
    EXPECT_EQ(destination->lVal, 5);
    EXPECT_EQ(held.refs(), 1u);
  }
}

TEST(VariantChangeType, ByrefSourceIsReadThroughItsReference) {
  double real = 6.5;
  VARIANT source;
  source.vt = VT_BYREF | VT_R8;
  source.pdblVal = &real;
  Variant result;
  ASSERT_HR(S_OK, VariantChangeType(result.get(), &source, 0, VT_I4));
  EXPECT_EQ(result->vt, VT_I4);
  EXPECT_EQ(result->lVal, 6);

  Bstr text(OLESTR("31"));
  BSTR slot = text.get();
  source.vt = VT_BYREF | VT_BSTR;
  source.pbstrVal = &slot;
  ASSERT_HR(S_OK, VariantChangeType(result.get(), &source, 0, VT_I4));
  EXPECT_EQ(result->lVal, 31);
  EXPECT_EQ(slot, text.get());
}

TEST(VariantChangeType, ByrefToTheSameTypeCopiesTheValue) {
  Bstr text(OLESTR("copy me"));
  BSTR slot = text.get();
  VARIANT source;
  source.vt = VT_BYREF | VT_BSTR;
  source.pbstrVal = &slot;
  Variant result;
  ASSERT_HR(S_OK, VariantChangeType(result.get(), &source, 0, VT_BSTR));
  ASSERT_EQ(result->vt, VT_BSTR);
  EXPECT_NE(result->bstrVal, text.get());
  EXPECT_EQ(wcscmp(result->bstrVal, OLESTR("copy me")), 0);
}

}  // namespace
}  // namespace platform_test
