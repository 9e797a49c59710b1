// CKexSafeArray: the (row, column) view, ownership and lifetime, Create2D,
// Resize and the copies.
#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/support/counting_object.h"
#include "tests/settings/host_list.h"
#include "tests/support/under_wine.h"
#include "settings/kex_safe_array.h"
#include "tests/support/hresult.h"

namespace {

using velmora_test::ArrayPtr;
using velmora_test::CellValue;
using velmora_test::CountingObject;
using velmora_test::MakeList;
using velmora_test::ScopedVariant;

// Puts a reference to object into cell (row, column) of a VARIANT list, so
// that the object's count shows whether the list is still alive.
void PutObject(SAFEARRAY* psa, LONG row, LONG column, CountingObject& object) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_UNKNOWN;
  v.punkVal = object.unknown();
  ASSERT_HR(S_OK, velmora_test::PutCell(psa, row, column, &v));
}

// Cell (row, column) read through the wrapper, as VT_I4; -1 when it is not.
LONG ReadI4(CKexSafeArray& array, LONG row, LONG column) {
  ScopedVariant v;
  if (FAILED(array.GetElement(v.get(), row, column)) || v->vt != VT_I4) return -1;
  return v->lVal;
}

TEST(KexSafeArrayEmpty, HasNoRowsOneColumnAndRefusesAccess) {
  CKexSafeArray array;
  EXPECT_FALSE(array.IsValid());
  EXPECT_TRUE(array.IsOwner());
  EXPECT_EQ(0u, array.GetRowCount());
  EXPECT_EQ(1u, array.GetColumnCount());

  VARIANT out;
  out.vt = VT_I4;
  out.lVal = 7;
  EXPECT_HR(E_UNEXPECTED, array.GetElement(&out, 0, 0));
  EXPECT_EQ(VT_I4, out.vt);
  EXPECT_EQ(7, out.lVal);
  EXPECT_HR(E_UNEXPECTED, array.GetElement(nullptr, 0, 0));
  EXPECT_HR(E_UNEXPECTED, array.PutElement(&out, 0, 0));
  EXPECT_HR(E_POINTER, array.Resize(3));
  EXPECT_HR(E_UNEXPECTED, array.Lock());
  EXPECT_HR(E_UNEXPECTED, array.Unlock());
  EXPECT_EQ(nullptr, array.Detach());
  array.Destroy();
  EXPECT_FALSE(array.IsValid());

  CKexSafeArray copy(array);
  EXPECT_FALSE(copy.IsValid());
  EXPECT_TRUE(copy.IsOwner());
}

TEST(KexSafeArrayView, RowsAreTheRightmostDimensionAndCellsAreColumnFirst) {
  ArrayPtr list = MakeList(3, 2);
  ASSERT_TRUE(list);
  CKexSafeArray array;
  array.Attach(list.get(), false);

  EXPECT_EQ(3u, array.GetRowCount());
  EXPECT_EQ(2u, array.GetColumnCount());
  for (LONG row = 0; row < 3; ++row) {
    for (LONG column = 0; column < 2; ++column) {
      EXPECT_EQ(CellValue(row, column), ReadI4(array, row, column)) << "row " << row << ", column " << column;
    }
  }
}

TEST(KexSafeArrayView, OneDimensionalArrayHasOneColumnWhoseRowsAllReadElementZero) {
  ArrayPtr vector = velmora_test::MakeVector(3);
  ASSERT_TRUE(vector);
  CKexSafeArray array;
  array.Attach(vector.get(), false);

  EXPECT_EQ(3u, array.GetRowCount());
  EXPECT_EQ(1u, array.GetColumnCount());
  // The array functions read only the first index, the column.
  for (LONG row = 0; row < 3; ++row) EXPECT_EQ(CellValue(0, 0), ReadI4(array, row, 0)) << "row " << row;
}

// Ownership: what happens to the array when the wrapper goes or lets go.
class KexSafeArrayOwnership : public testing::Test {
 protected:
  // A list whose cell (0, 0) holds a reference to `object`.
  ArrayPtr MakeWatchedList(CountingObject& object) {
    ArrayPtr list = MakeList(2, 2);
    if (list) PutObject(list.get(), 0, 0, object);
    return list;
  }

  CountingObject first_;
  CountingObject second_;
};

TEST_F(KexSafeArrayOwnership, ViewerLeavesTheArrayAliveOwnerDestroysIt) {
  ArrayPtr viewed = MakeWatchedList(first_);
  ASSERT_TRUE(viewed);
  {
    CKexSafeArray array;
    array.Attach(viewed.get(), false);
    EXPECT_FALSE(array.IsOwner());
  }
  EXPECT_EQ(1u, first_.refs());
  ScopedVariant cell;
  LONG indices[2] = {1, 1};
  EXPECT_HR(S_OK, ::SafeArrayGetElement(viewed.get(), indices, cell.get()));
  EXPECT_EQ(CellValue(1, 1), cell->lVal);
  viewed.reset();
  EXPECT_EQ(0u, first_.refs());

  ArrayPtr owned = MakeWatchedList(second_);
  ASSERT_TRUE(owned);
  {
    CKexSafeArray array;
    array.Attach(owned.release(), true);
  }
  EXPECT_EQ(0u, second_.refs());
}

TEST_F(KexSafeArrayOwnership, AttachDoesNotReleaseTheArrayHeldBefore) {
  ArrayPtr a = MakeWatchedList(first_);
  ArrayPtr b = MakeWatchedList(second_);
  ASSERT_TRUE(a && b);
  {
    CKexSafeArray array;
    array.Attach(a.get(), true);
    array.Attach(b.get(), false);
    EXPECT_EQ(b.get(), array.Get());
  }
  EXPECT_EQ(1u, first_.refs());
  EXPECT_EQ(1u, second_.refs());
}

TEST_F(KexSafeArrayOwnership, DetachHandsTheArrayOutAlive) {
  ArrayPtr list = MakeWatchedList(first_);
  ASSERT_TRUE(list);
  SAFEARRAY* const psa = list.release();
  ArrayPtr detached;
  {
    CKexSafeArray array;
    array.Attach(psa, true);
    detached.reset(array.Detach());
    EXPECT_FALSE(array.IsValid());
    EXPECT_TRUE(array.IsOwner());
  }
  EXPECT_EQ(psa, detached.get());
  EXPECT_EQ(1u, first_.refs());
}

TEST_F(KexSafeArrayOwnership, DestroyUnlocksALockedArrayAndIgnoresOwnership) {
  ArrayPtr list = MakeWatchedList(first_);
  ASSERT_TRUE(list);
  ASSERT_HR(S_OK, ::SafeArrayLock(list.get()));
  ASSERT_HR(S_OK, ::SafeArrayLock(list.get()));
  ASSERT_EQ(2u, list->cLocks);

  CKexSafeArray array;
  array.Attach(list.release(), false);
  array.Destroy();
  EXPECT_FALSE(array.IsValid());
  // The cells are released only once the data is destroyed, which a locked
  // array refuses.
  EXPECT_EQ(0u, first_.refs());
}

TEST_F(KexSafeArrayOwnership, Create2DDestroysAnOwnedArrayAndLetsAViewedOneGo) {
  ArrayPtr viewed = MakeWatchedList(first_);
  ASSERT_TRUE(viewed);
  CKexSafeArray array;
  array.Attach(viewed.get(), false);
  array.Create2D(1, 1, VT_VARIANT);
  EXPECT_TRUE(array.IsOwner());
  EXPECT_NE(viewed.get(), array.Get());
  EXPECT_EQ(1u, first_.refs());

  ArrayPtr owned = MakeWatchedList(second_);
  ASSERT_TRUE(owned);
  array.Destroy();
  array.Attach(owned.release(), true);
  array.Create2D(1, 1, VT_VARIANT);
  EXPECT_EQ(0u, second_.refs());
  EXPECT_TRUE(array.IsValid());
}

TEST_F(KexSafeArrayOwnership, AssignDestroysAnOwnedArrayAndLetsAViewedOneGo) {
  ArrayPtr source = MakeList(2, 2);
  ArrayPtr viewed = MakeWatchedList(first_);
  ASSERT_TRUE(source && viewed);

  CKexSafeArray array;
  array.Attach(viewed.get(), false);
  array.Assign(source.get());
  EXPECT_TRUE(array.IsOwner());
  EXPECT_EQ(1u, first_.refs());

  array.Destroy();
  array.Attach(MakeWatchedList(second_).release(), true);
  array.Assign(source.get());
  EXPECT_EQ(0u, second_.refs());

  array.Assign(nullptr);
  EXPECT_FALSE(array.IsValid());
  EXPECT_TRUE(array.IsOwner());
}

TEST_F(KexSafeArrayOwnership, AssignFromTheHeldArrayKeepsItsContent) {
  CKexSafeArray array;
  array.Attach(MakeWatchedList(first_).release(), true);
  array.Assign(array.Get());
  ASSERT_TRUE(array.IsValid());
  EXPECT_EQ(1u, first_.refs());
  EXPECT_EQ(CellValue(1, 1), ReadI4(array, 1, 1));
}

// Copies must not share data with their source.
TEST_F(KexSafeArrayOwnership, CopyAndAssignAreIndependentDeepCopies) {
  ArrayPtr source = MakeWatchedList(first_);
  ASSERT_TRUE(source);
  CKexSafeArray original;
  original.Attach(source.get(), false);

  CKexSafeArray copied(original);
  CKexSafeArray assigned;
  assigned.Assign(source.get());
  for (CKexSafeArray* copy : {&copied, &assigned}) {
    ASSERT_TRUE(copy->IsValid());
    EXPECT_TRUE(copy->IsOwner());
    EXPECT_NE(source.get(), copy->Get());
    EXPECT_NE(source->pvData, copy->Get()->pvData);
    EXPECT_EQ(2u, copy->GetRowCount());
    EXPECT_EQ(2u, copy->GetColumnCount());
  }
  EXPECT_EQ(3u, first_.refs());

  ASSERT_HR(S_OK, velmora_test::PutCellI4(source.get(), 1, 0, 999));
  EXPECT_EQ(CellValue(1, 0), ReadI4(copied, 1, 0));
  EXPECT_EQ(CellValue(1, 0), ReadI4(assigned, 1, 0));

  copied.Destroy();
  assigned.Destroy();
  EXPECT_EQ(1u, first_.refs());
}

// Create2D builds the array SafeArrayCreate would, with VARIANT-sized
// elements whatever the element type.
TEST(KexSafeArrayCreate2D, VariantListMatchesSafeArrayCreate) {
  SAFEARRAYBOUND bounds[2] = {{2, 0}, {5, 0}};  // columns, rows
  ArrayPtr expected(::SafeArrayCreate(VT_VARIANT, 2, bounds));
  ASSERT_TRUE(expected);
  CKexSafeArray array;
  array.Create2D(5, 2, VT_VARIANT);
  ASSERT_TRUE(array.IsValid());
  SAFEARRAY* const actual = array.Get();

  EXPECT_EQ(expected->cDims, actual->cDims);
  EXPECT_EQ(expected->fFeatures, actual->fFeatures);
  EXPECT_EQ(expected->cbElements, actual->cbElements);
  EXPECT_EQ(0u, actual->cLocks);
  EXPECT_NE(nullptr, actual->pvData);
  for (int d = 0; d < 2; ++d) {
    EXPECT_EQ(expected->rgsabound[d].cElements, actual->rgsabound[d].cElements) << "rgsabound " << d;
    EXPECT_EQ(expected->rgsabound[d].lLbound, actual->rgsabound[d].lLbound) << "rgsabound " << d;
  }
  for (UINT dim = 1; dim <= 2; ++dim) {
    LONG expected_upper = -1, actual_upper = -2;
    EXPECT_HR(S_OK, ::SafeArrayGetUBound(expected.get(), dim, &expected_upper));
    EXPECT_HR(S_OK, ::SafeArrayGetUBound(actual, dim, &actual_upper));
    EXPECT_EQ(expected_upper, actual_upper) << "dimension " << dim;
  }
  VARTYPE expected_vt = VT_EMPTY, actual_vt = VT_EMPTY;
  EXPECT_HR(S_OK, ::SafeArrayGetVartype(expected.get(), &expected_vt));
  EXPECT_HR(S_OK, ::SafeArrayGetVartype(actual, &actual_vt));
  EXPECT_EQ(expected_vt, actual_vt);
  EXPECT_EQ(::SafeArrayGetElemsize(expected.get()), ::SafeArrayGetElemsize(actual));

  EXPECT_EQ(5u, array.GetRowCount());
  EXPECT_EQ(2u, array.GetColumnCount());
  ScopedVariant cell;
  EXPECT_HR(S_OK, array.GetElement(cell.get(), 4, 1));
  EXPECT_EQ(VT_EMPTY, cell->vt);
}

struct FeatureCase {
  VARTYPE vt;
  USHORT features;
  ULONG elementSize;
};

class KexSafeArrayCreate2DFeatures : public testing::TestWithParam<FeatureCase> {};

TEST_P(KexSafeArrayCreate2DFeatures, FeaturesElementSizeAndVartype) {
  const FeatureCase& c = GetParam();
  CKexSafeArray array;
  array.Create2D(3, 2, c.vt);
  ASSERT_TRUE(array.IsValid());
  EXPECT_EQ(c.features, array.Get()->fFeatures);
  EXPECT_EQ(c.elementSize, array.Get()->cbElements);
  EXPECT_EQ(2u, array.Get()->cDims);
  VARTYPE vt = VT_ILLEGAL;
  EXPECT_HR(S_OK, ::SafeArrayGetVartype(array.Get(), &vt));
  EXPECT_EQ(c.vt, vt);
}

INSTANTIATE_TEST_SUITE_P(ByVartype, KexSafeArrayCreate2DFeatures,
                         testing::Values(FeatureCase{VT_BSTR, 0x0180, sizeof(BSTR)},
                                         FeatureCase{VT_DISPATCH, 0x0480, sizeof(IDispatch*)},
                                         FeatureCase{VT_VARIANT, 0x0880, sizeof(VARIANT)},
                                         FeatureCase{VT_UNKNOWN, 0x0280, sizeof(IUnknown*)},
                                         FeatureCase{VT_I4, 0x0080, sizeof(VARIANT)},
                                         FeatureCase{VT_R8, 0x0080, sizeof(VARIANT)},
                                         FeatureCase{VT_BOOL, 0x0080, sizeof(VARIANT)}));

TEST(KexSafeArrayCreate2D, NegativeCountsThrowAndLeaveItEmpty) {
  CKexSafeArray array;
  array.Create2D(1, 1, VT_VARIANT);
  EXPECT_THROW(array.Create2D(-1, 2, VT_VARIANT), std::runtime_error);
  EXPECT_FALSE(array.IsValid());
  EXPECT_THROW(array.Create2D(2, -1, VT_VARIANT), std::runtime_error);
  EXPECT_FALSE(array.IsValid());
}

TEST(KexSafeArrayCreate2D, ThrowsAndStaysEmptyWhenTheDataCannotBeAllocated) {
  if (velmora_test::RunningUnderWine()) {
    GTEST_SKIP() << "Wine's SafeArrayAllocData does not see the byte count overflow: it allocates the "
                    "wrapped count and succeeds";
  }
  CKexSafeArray array;
  array.Create2D(1, 1, VT_VARIANT);
  // More bytes than any address space holds.
  EXPECT_THROW(array.Create2D(0x7FFFFFFF, 0x7FFFFFFF, VT_VARIANT), std::runtime_error);
  EXPECT_FALSE(array.IsValid());
}

// Every cell of an interface array is released at the end, and copied.
TEST(KexSafeArrayCreate2D, InterfaceCellsAreAllReleasedAndCopied) {
  CountingObject object;
  {
    CKexSafeArray array;
    array.Create2D(3, 1, VT_UNKNOWN);
    IUnknown* value = object.unknown();
    ASSERT_HR(S_OK, array.PutElement(&value, 2, 0));
    CKexSafeArray copy(array);
    ASSERT_TRUE(copy.IsValid());
    EXPECT_EQ(2u, object.refs());
    IUnknown* copied = nullptr;
    LONG indices[2] = {0, 2};
    ASSERT_HR(S_OK, ::SafeArrayGetElement(copy.Get(), indices, &copied));
    EXPECT_EQ(object.unknown(), copied);
    if (copied) copied->Release();
  }
  EXPECT_EQ(0u, object.refs());
}

// Resize: rows come and go, every cell keeps its row and column.
class KexSafeArrayResize : public testing::Test, protected velmora_test::ViewedListFixture {
 protected:
  void SetUp() override { ASSERT_TRUE(list_); }
};

TEST_F(KexSafeArrayResize, SameCountLeavesTheArrayAndItsLocksAlone) {
  ASSERT_HR(S_OK, array_.Lock());
  void* const data = list_->pvData;
  // SafeArrayRedim would refuse a locked array.
  EXPECT_HR(S_OK, array_.Resize(3));
  EXPECT_EQ(data, list_->pvData);
  EXPECT_EQ(1u, list_->cLocks);
  EXPECT_EQ(3u, array_.GetRowCount());
  EXPECT_HR(S_OK, array_.Unlock());
}

TEST_F(KexSafeArrayResize, GrowingAddsEmptyRowsAndKeepsCells) {
  ASSERT_HR(S_OK, array_.Resize(5));
  EXPECT_EQ(5u, array_.GetRowCount());
  EXPECT_EQ(2u, array_.GetColumnCount());
  for (LONG row = 0; row < 3; ++row) {
    for (LONG column = 0; column < 2; ++column) EXPECT_EQ(CellValue(row, column), ReadI4(array_, row, column));
  }
  for (LONG row = 3; row < 5; ++row) {
    for (LONG column = 0; column < 2; ++column) {
      ScopedVariant cell;
      EXPECT_HR(S_OK, array_.GetElement(cell.get(), row, column));
      EXPECT_EQ(VT_EMPTY, cell->vt) << "row " << row << ", column " << column;
    }
  }
}

TEST_F(KexSafeArrayResize, ShrinkingDropsTheLastRowsAndReleasesTheirCells) {
  CountingObject object;
  PutObject(list_.get(), 2, 1, object);
  ASSERT_EQ(1u, object.refs());

  ASSERT_HR(S_OK, array_.Resize(1));
  EXPECT_EQ(1u, array_.GetRowCount());
  EXPECT_EQ(2u, array_.GetColumnCount());
  EXPECT_EQ(CellValue(0, 0), ReadI4(array_, 0, 0));
  EXPECT_EQ(CellValue(0, 1), ReadI4(array_, 0, 1));
  EXPECT_EQ(0u, object.refs());
  ScopedVariant cell;
  EXPECT_HR(E_INVALIDARG, array_.GetElement(cell.get(), 1, 0));
}

TEST_F(KexSafeArrayResize, NegativeCountIsInvalid) {
  EXPECT_HR(E_INVALIDARG, array_.Resize(-1));
  EXPECT_EQ(3u, array_.GetRowCount());
}

TEST_F(KexSafeArrayResize, ReturnsWhatSafeArrayRedimReturns) {
  ASSERT_HR(S_OK, array_.Lock());
  EXPECT_HR(DISP_E_ARRAYISLOCKED, array_.Resize(4));
  EXPECT_EQ(3u, array_.GetRowCount());
  EXPECT_HR(S_OK, array_.Unlock());
}

}  // namespace
