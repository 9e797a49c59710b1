// CKexSafeArray::GetElement and PutElement: the range check, lower bounds,
// the element kinds PutElement accepts, copies and reference counts, and the
// lock taken around each access.
#include <gtest/gtest.h>

#include <limits>
#include <cstring>

#include "tests/support/counting_object.h"
#include "tests/settings/host_list.h"
#include "settings/kex_safe_array.h"
#include "tests/support/hresult.h"

namespace {

using velmora_test::ArrayPtr;
using velmora_test::CellValue;
using velmora_test::CountingObject;
using velmora_test::MakeList;
using velmora_test::ScopedVariant;

constexpr LONG kUntouched = 4242;
constexpr LONG kMinLong = std::numeric_limits<LONG>::min();
constexpr LONG kMaxLong = std::numeric_limits<LONG>::max();

VARIANT MakeI4(LONG value) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = value;
  return v;
}

// A BSTR the test owns.
class ScopedBstr {
 public:
  explicit ScopedBstr(const OLECHAR* text) : s_(::SysAllocString(text)) {}
  ScopedBstr() = default;
  ~ScopedBstr() { ::SysFreeString(s_); }
  ScopedBstr(const ScopedBstr&) = delete;
  ScopedBstr& operator=(const ScopedBstr&) = delete;
  BSTR get() const { return s_; }
  BSTR* out() { return &s_; }

 private:
  BSTR s_ = nullptr;
};

bool SameText(BSTR a, const OLECHAR* b) {
  const UINT length = ::SysStringLen(a);
  for (UINT i = 0; i < length; ++i) {
    if (b[i] != a[i]) return false;
  }
  return b[length] == 0;
}

struct RangeCase {
  LONG row;
  LONG column;
};

// A list of 3 rows and 2 columns.
class KexSafeArrayRange : public testing::TestWithParam<RangeCase>, protected velmora_test::ViewedListFixture {
 protected:
  void SetUp() override { ASSERT_TRUE(list_); }
};

TEST_P(KexSafeArrayRange, OutsideTheRowsOrColumnsIsInvalidAndTouchesNothing) {
  const RangeCase& c = GetParam();
  VARIANT out = MakeI4(kUntouched);
  EXPECT_HR(E_INVALIDARG, array_.GetElement(&out, c.row, c.column));
  EXPECT_EQ(VT_I4, out.vt);
  EXPECT_EQ(kUntouched, out.lVal);

  VARIANT value = MakeI4(kUntouched);
  EXPECT_HR(E_INVALIDARG, array_.PutElement(&value, c.row, c.column));
  for (LONG row = 0; row < 3; ++row) {
    for (LONG column = 0; column < 2; ++column) {
      ScopedVariant cell;
      ASSERT_HR(S_OK, array_.GetElement(cell.get(), row, column));
      EXPECT_EQ(CellValue(row, column), cell->lVal);
    }
  }
  EXPECT_EQ(0u, list_->cLocks);
}

INSTANTIATE_TEST_SUITE_P(ThreeRowsTwoColumns, KexSafeArrayRange,
                         testing::Values(RangeCase{3, 0}, RangeCase{0, 2}, RangeCase{3, 2}, RangeCase{-1, 0},
                                         RangeCase{0, -1}, RangeCase{kMinLong, 0}, RangeCase{0, kMinLong},
                                         RangeCase{kMaxLong, 0}, RangeCase{0, kMaxLong}));

TEST(KexSafeArrayRangeShapes, OneDimensionalArrayHasNoColumnOne) {
  ArrayPtr vector = velmora_test::MakeVector(3);
  ASSERT_TRUE(vector);
  CKexSafeArray array;
  array.Attach(vector.get(), false);
  VARIANT out = MakeI4(kUntouched);
  EXPECT_HR(E_INVALIDARG, array.GetElement(&out, 0, 1));
  EXPECT_EQ(VT_I4, out.vt);
  EXPECT_EQ(kUntouched, out.lVal);
}

TEST(KexSafeArrayRangeShapes, ArrayWithoutRowsHasNoCell) {
  CKexSafeArray array;
  array.Create2D(0, 2, VT_VARIANT);
  ASSERT_TRUE(array.IsValid());
  EXPECT_EQ(0u, array.GetRowCount());
  VARIANT out = MakeI4(kUntouched);
  EXPECT_HR(E_INVALIDARG, array.GetElement(&out, 0, 0));
  EXPECT_EQ(kUntouched, out.lVal);
  VARIANT value = MakeI4(1);
  EXPECT_HR(E_INVALIDARG, array.PutElement(&value, 0, 0));
}

// A list of three dimensions from the host is no table: the array functions
// would read a third index from the wrapper's two, past its end.
TEST(KexSafeArrayRangeShapes, ThreeDimensionalArrayIsRefused) {
  SAFEARRAYBOUND bounds[3] = {{2, 0}, {2, 0}, {2, 0}};
  ArrayPtr cube(::SafeArrayCreate(VT_VARIANT, 3, bounds));
  ASSERT_TRUE(cube);
  CKexSafeArray array;
  array.Attach(cube.get(), false);
  EXPECT_EQ(0u, array.GetRowCount());
  EXPECT_EQ(0u, array.GetColumnCount());
  VARIANT out = MakeI4(kUntouched);
  EXPECT_HR(E_INVALIDARG, array.GetElement(&out, 0, 0));
  EXPECT_EQ(kUntouched, out.lVal);
  VARIANT value = MakeI4(1);
  EXPECT_HR(E_INVALIDARG, array.PutElement(&value, 0, 0));
  EXPECT_EQ(0u, cube->cLocks);
}

TEST(KexSafeArrayRangeShapes, NullPointersAreRefused) {
  ArrayPtr list = MakeList(1, 1);
  ASSERT_TRUE(list);
  CKexSafeArray array;
  array.Attach(list.get(), false);
  EXPECT_HR(E_POINTER, array.GetElement(nullptr, 0, 0));
  EXPECT_HR(E_POINTER, array.PutElement(nullptr, 0, 0));
  EXPECT_EQ(0u, list->cLocks);
}

// The range check counts rows and columns; lower bounds are the array
// functions' business.
TEST(KexSafeArrayLowerBounds, IndicesArePassedOnUnchanged) {
  ArrayPtr list = MakeList(2, 2, 1);
  ASSERT_TRUE(list);
  CKexSafeArray array;
  array.Attach(list.get(), false);
  EXPECT_EQ(2u, array.GetRowCount());
  EXPECT_EQ(2u, array.GetColumnCount());

  VARIANT out = MakeI4(kUntouched);
  EXPECT_HR(DISP_E_BADINDEX, array.GetElement(&out, 0, 0));
  EXPECT_HR(DISP_E_BADINDEX, array.GetElement(&out, 1, 0));
  VARIANT value = MakeI4(7);
  EXPECT_HR(DISP_E_BADINDEX, array.PutElement(&value, 0, 1));

  ScopedVariant cell;
  EXPECT_HR(S_OK, array.GetElement(cell.get(), 1, 1));
  EXPECT_EQ(CellValue(0, 0), cell->lVal);  // the array's first cell
  EXPECT_HR(E_INVALIDARG, array.GetElement(&out, 2, 1));
  EXPECT_EQ(0u, list->cLocks);
}

// GetElement hands out copies.
TEST(KexSafeArrayGetElement, HandsOutACopyOfTheCell) {
  ArrayPtr list = velmora_test::MakeEmptyList(1, 1);
  ASSERT_TRUE(list);
  ScopedBstr text(OLESTR("cell"));
  VARIANT value;
  ::VariantInit(&value);
  value.vt = VT_BSTR;
  value.bstrVal = text.get();
  ASSERT_HR(S_OK, velmora_test::PutCell(list.get(), 0, 0, &value));

  CKexSafeArray array;
  array.Attach(list.get(), false);
  ScopedVariant out;
  ASSERT_HR(S_OK, array.GetElement(out.get(), 0, 0));
  ASSERT_EQ(VT_BSTR, out->vt);
  EXPECT_TRUE(SameText(out->bstrVal, OLESTR("cell")));
  EXPECT_NE(text.get(), out->bstrVal);

  ScopedVariant second;
  ASSERT_HR(S_OK, array.GetElement(second.get(), 0, 0));
  EXPECT_NE(out->bstrVal, second->bstrVal);
}

// One VARIANT read cell after cell: what it held before each read is
// released, not overwritten (the sanitizers' leak check and the object's
// count both see a leak).
TEST(KexSafeArrayGetElement, ReusedVariantGivesUpWhatItHeld) {
  ArrayPtr list = velmora_test::MakeEmptyList(2, 1);
  ASSERT_TRUE(list);
  ScopedBstr text(OLESTR("cell"));
  VARIANT value;
  ::VariantInit(&value);
  value.vt = VT_BSTR;
  value.bstrVal = text.get();
  ASSERT_HR(S_OK, velmora_test::PutCell(list.get(), 0, 0, &value));
  ASSERT_HR(S_OK, velmora_test::PutCell(list.get(), 1, 0, &value));

  CKexSafeArray array;
  array.Attach(list.get(), false);
  velmora_test::CountingObject object;
  ScopedVariant out;
  out.get()->vt = VT_UNKNOWN;
  out.get()->punkVal = object.unknown();
  object.AddRef();
  ASSERT_HR(S_OK, array.GetElement(out.get(), 0, 0));
  EXPECT_EQ(0u, object.refs()) << "the reference held before the read is released";
  ASSERT_HR(S_OK, array.GetElement(out.get(), 1, 0));  // a BSTR over a BSTR
  ASSERT_EQ(VT_BSTR, out->vt);
  EXPECT_TRUE(SameText(out->bstrVal, OLESTR("cell")));
}

// PutElement stores its own copy of a VARIANT; the caller keeps its value.
TEST(KexSafeArrayPutElement, VariantListStoresACopy) {
  CKexSafeArray array;
  array.Create2D(2, 2, VT_VARIANT);
  ScopedBstr text(OLESTR("name"));
  VARIANT value;
  ::VariantInit(&value);
  value.vt = VT_BSTR;
  value.bstrVal = text.get();

  ASSERT_HR(S_OK, array.PutElement(&value, 1, 0));
  EXPECT_EQ(VT_BSTR, value.vt);
  EXPECT_EQ(text.get(), value.bstrVal);
  EXPECT_TRUE(SameText(text.get(), OLESTR("name")));

  LONG indices[2] = {0, 1};
  ScopedVariant stored;
  ASSERT_HR(S_OK, ::SafeArrayGetElement(array.Get(), indices, stored.get()));
  ASSERT_EQ(VT_BSTR, stored->vt);
  EXPECT_TRUE(SameText(stored->bstrVal, OLESTR("name")));
  VARIANT* cells = static_cast<VARIANT*>(array.Get()->pvData);
  EXPECT_NE(text.get(), cells[2].bstrVal);  // cell {0, 1}: column 0 of row 1
  EXPECT_EQ(VT_EMPTY, cells[1].vt);
}

TEST(KexSafeArrayPutElement, VariantListHoldsOneReferenceToAnObjectPerCell) {
  CountingObject object;
  {
    CKexSafeArray array;
    array.Create2D(2, 1, VT_VARIANT);
    VARIANT value;
    ::VariantInit(&value);
    value.vt = VT_UNKNOWN;
    value.punkVal = object.unknown();
    ASSERT_HR(S_OK, array.PutElement(&value, 0, 0));
    EXPECT_EQ(1u, object.refs());
    ASSERT_HR(S_OK, array.PutElement(&value, 0, 0));
    EXPECT_EQ(1u, object.refs());
    ASSERT_HR(S_OK, array.PutElement(&value, 1, 0));
    EXPECT_EQ(2u, object.refs());
    EXPECT_EQ(object.unknown(), value.punkVal);
  }
  EXPECT_EQ(0u, object.refs());
}

// A BSTR array takes a pointer to the BSTR, wherever the array came from.
class KexSafeArrayPutBstr : public testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    if (GetParam()) {
      array_.Create2D(2, 2, VT_BSTR);
    } else {
      SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
      array_.Attach(::SafeArrayCreate(VT_BSTR, 2, bounds), true);
    }
    ASSERT_TRUE(array_.IsValid());
  }

  CKexSafeArray array_;
};

TEST_P(KexSafeArrayPutBstr, StoresItsOwnCopy) {
  ScopedBstr text(OLESTR("path"));
  BSTR value = text.get();
  ASSERT_HR(S_OK, array_.PutElement(&value, 1, 1));
  ASSERT_HR(S_OK, array_.PutElement(&value, 1, 1));  // the first copy is freed
  EXPECT_EQ(text.get(), value);
  EXPECT_TRUE(SameText(text.get(), OLESTR("path")));

  LONG indices[2] = {1, 1};
  ScopedBstr stored;
  ASSERT_HR(S_OK, ::SafeArrayGetElement(array_.Get(), indices, stored.out()));
  EXPECT_TRUE(SameText(stored.get(), OLESTR("path")));
  EXPECT_NE(text.get(), stored.get());

  ScopedBstr other;
  LONG empty_cell[2] = {0, 1};
  ASSERT_HR(S_OK, ::SafeArrayGetElement(array_.Get(), empty_cell, other.out()));
  EXPECT_EQ(nullptr, other.get());
}

INSTANTIATE_TEST_SUITE_P(Create2DOrSafeArrayCreate, KexSafeArrayPutBstr, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "Create2D" : "SafeArrayCreate";
                         });

// An IUnknown or IDispatch array takes a pointer to the interface pointer
// and holds one reference per cell.
class KexSafeArrayPutInterface : public testing::TestWithParam<VARTYPE> {
 protected:
  IUnknown* InterfaceOf(CountingObject& object) const {
    return GetParam() == VT_DISPATCH ? object.dispatch() : object.unknown();
  }
};

TEST_P(KexSafeArrayPutInterface, HoldsOneReferencePerCell) {
  CountingObject object;
  {
    CKexSafeArray array;
    array.Create2D(2, 1, GetParam());
    IUnknown* value = InterfaceOf(object);
    ASSERT_HR(S_OK, array.PutElement(&value, 0, 0));
    EXPECT_EQ(1u, object.refs());
    ASSERT_HR(S_OK, array.PutElement(&value, 0, 0));  // the first reference goes
    EXPECT_EQ(1u, object.refs());
    ASSERT_HR(S_OK, array.PutElement(&value, 1, 0));
    EXPECT_EQ(2u, object.refs());
    EXPECT_EQ(InterfaceOf(object), value);

    IUnknown* stored = nullptr;
    LONG indices[2] = {0, 1};
    ASSERT_HR(S_OK, ::SafeArrayGetElement(array.Get(), indices, &stored));
    EXPECT_EQ(InterfaceOf(object), stored);
    EXPECT_EQ(3u, object.refs());
    stored->Release();

    // Emptied by hand: Create2D's VARIANT-sized interface cells are not all
    // released when the array is destroyed (see kex_safe_array.h).
    IUnknown* none = nullptr;
    ASSERT_HR(S_OK, array.PutElement(&none, 0, 0));
    EXPECT_EQ(1u, object.refs());
    ASSERT_HR(S_OK, array.PutElement(&none, 1, 0));
  }
  EXPECT_EQ(0u, object.refs());
}

INSTANTIATE_TEST_SUITE_P(UnknownOrDispatch, KexSafeArrayPutInterface, testing::Values(VT_UNKNOWN, VT_DISPATCH),
                         [](const testing::TestParamInfo<VARTYPE>& info) {
                           return info.param == VT_DISPATCH ? "Dispatch" : "Unknown";
                         });

struct FeatureAcceptCase {
  USHORT features;
  HRESULT expected;
};

// Arrays built by hand with features no creation function gives, with
// VARIANT-sized cells; the features are set only around the call, so the
// array is destroyed as the plain VARIANT array it was allocated as.
class KexSafeArrayPutFeatures : public testing::TestWithParam<FeatureAcceptCase> {
 protected:
  void SetUp() override {
    SAFEARRAY* psa = nullptr;
    ASSERT_HR(S_OK, ::SafeArrayAllocDescriptor(2, &psa));
    psa->rgsabound[0] = {2, 0};
    psa->rgsabound[1] = {2, 0};
    psa->cbElements = sizeof(VARIANT);
    psa->fFeatures = FADF_VARIANT;
    ASSERT_HR(S_OK, ::SafeArrayAllocData(psa));
    array_.Attach(psa, true);
  }

  CKexSafeArray array_;
};

TEST_P(KexSafeArrayPutFeatures, OnlyVariantBstrAndInterfaceArraysAreWritten) {
  const FeatureAcceptCase& c = GetParam();
  VARIANT value = MakeI4(77);
  const USHORT plain = array_.Get()->fFeatures;
  array_.Get()->fFeatures = c.features;
  const HRESULT hr = array_.PutElement(&value, 1, 0);
  array_.Get()->fFeatures = plain;

  EXPECT_HR(c.expected, hr);
  EXPECT_EQ(VT_I4, value.vt);
  EXPECT_EQ(77, value.lVal);
  ScopedVariant cell;
  ASSERT_HR(S_OK, array_.GetElement(cell.get(), 1, 0));
  if (c.expected == S_OK) {
    EXPECT_EQ(VT_I4, cell->vt);
    EXPECT_EQ(77, cell->lVal);
  } else {
    EXPECT_EQ(VT_EMPTY, cell->vt);
  }
}

INSTANTIATE_TEST_SUITE_P(
    ByFeatures, KexSafeArrayPutFeatures,
    testing::Values(
        // No element flag: the VARIANT is copied as the element's bytes.
        FeatureAcceptCase{0x0000, S_OK}, FeatureAcceptCase{FADF_HAVEVARTYPE, S_OK},
        FeatureAcceptCase{FADF_VARIANT, S_OK}, FeatureAcceptCase{FADF_HAVEVARTYPE | FADF_VARIANT, S_OK},
        // Reserved bits do not count.
        FeatureAcceptCase{0x0008 | FADF_VARIANT, S_OK}, FeatureAcceptCase{0x1000 | FADF_VARIANT, S_OK},
        // Anything else is refused.
        FeatureAcceptCase{FADF_RECORD, E_FAIL}, FeatureAcceptCase{FADF_HAVEIID | FADF_UNKNOWN, E_FAIL},
        FeatureAcceptCase{FADF_HAVEIID | FADF_DISPATCH, E_FAIL},
        FeatureAcceptCase{FADF_FIXEDSIZE | FADF_VARIANT, E_FAIL},
        FeatureAcceptCase{FADF_STATIC | FADF_VARIANT, E_FAIL}, FeatureAcceptCase{FADF_AUTO, E_FAIL},
        FeatureAcceptCase{FADF_BSTR | FADF_UNKNOWN, E_FAIL}, FeatureAcceptCase{FADF_VARIANT | FADF_BSTR, E_FAIL}));

// GetElement and PutElement lock an unlocked array for the access and leave
// an array the caller locked at its count. The object in the cell sees the
// count while it is copied.
class KexSafeArrayAccessLock : public testing::Test {
 protected:
  void SetUp() override {
    array_.Create2D(1, 1, VT_VARIANT);
    object_.WatchLocks(array_.Get());
    value_.vt = VT_UNKNOWN;
    value_.punkVal = object_.unknown();
  }
  void TearDown() override {
    array_.Destroy();
    EXPECT_EQ(0u, object_.refs());
  }

  // The lock count inside the copy of a GetElement and of a PutElement.
  void Access(ULONG* locks_in_get, ULONG* locks_in_put) {
    ASSERT_HR(S_OK, array_.PutElement(&value_, 0, 0));
    *locks_in_put = object_.locks_at_last_addref();
    ScopedVariant out;
    ASSERT_HR(S_OK, array_.GetElement(out.get(), 0, 0));
    *locks_in_get = object_.locks_at_last_addref();
  }

  CountingObject object_;  // outlives the array that holds it
  CKexSafeArray array_;
  VARIANT value_ = {};
};

TEST_F(KexSafeArrayAccessLock, LocksOnlyAnUnlockedArray) {
  ULONG get_unlocked = 0, put_unlocked = 0;
  Access(&get_unlocked, &put_unlocked);
  EXPECT_EQ(0u, array_.Get()->cLocks);
  EXPECT_GE(get_unlocked, 1u);
  EXPECT_GE(put_unlocked, 1u);

  ASSERT_HR(S_OK, array_.Lock());
  ULONG get_locked = 0, put_locked = 0;
  Access(&get_locked, &put_locked);
  EXPECT_EQ(1u, array_.Get()->cLocks);
  // Not locked a second time: the same count as when the wrapper locked it.
  EXPECT_EQ(get_unlocked, get_locked);
  EXPECT_EQ(put_unlocked, put_locked);
  EXPECT_HR(S_OK, array_.Unlock());
  EXPECT_EQ(0u, array_.Get()->cLocks);
  EXPECT_HR(E_UNEXPECTED, array_.Unlock());
}

}  // namespace
