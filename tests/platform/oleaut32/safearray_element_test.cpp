// SafeArrayGetElement / SafeArrayPutElement: index order, range checks and
// who owns what.
//
// Index order: the documentation says "the right-most (least significant)
// dimension is rgIndices[0]", but Windows (and Wine) take rgIndices in the
// order dimensions are named: rgIndices[0] is dimension 1, the leftmost,
// stored in rgsabound[cDims - 1], and it varies fastest in memory. Callers
// that pass {row, column} for a rows x columns array rely on that, so the
// tests hold the layer to what the platform does.
#include <gtest/gtest.h>

#include "tests/platform/support/owners.h"
#include "tests/support/counting_object.h"
#include "tests/support/hresult.h"

namespace platform_test {
namespace {

TEST(SafeArrayElement, VectorRoundTripWithLowerBound) {
  SafeArray array(SafeArrayCreateVector(VT_I4, -2, 5));
  ASSERT_NE(array.get(), nullptr);
  for (LONG i = -2; i <= 2; ++i) {
    LONG value = i * 100;
    ASSERT_HR(S_OK, SafeArrayPutElement(array.get(), &i, &value));
  }
  const LONG* cells = static_cast<const LONG*>(array->pvData);
  EXPECT_EQ(cells[0], -200);
  EXPECT_EQ(cells[4], 200);
  LONG index = 1;
  LONG value = 0;
  ASSERT_HR(S_OK, SafeArrayGetElement(array.get(), &index, &value));
  EXPECT_EQ(value, 100);
  EXPECT_EQ(array->cLocks, 0u);  // Get and Put lock only while they run
}

TEST(SafeArrayElement, TwoDimensionalIndexesNameTheLeftmostDimensionFirst) {
  // rows 1..2, columns 0..2
  SAFEARRAYBOUND bounds[2] = {{2, 1}, {3, 0}};
  SafeArray array(SafeArrayCreate(VT_I4, 2, bounds));
  ASSERT_NE(array.get(), nullptr);
  for (LONG row = 1; row <= 2; ++row) {
    for (LONG column = 0; column <= 2; ++column) {
      LONG index[2] = {row, column};
      LONG value = row * 10 + column;
      ASSERT_HR(S_OK, SafeArrayPutElement(array.get(), index, &value));
    }
  }
  // The leftmost index varies fastest: memory is row 1 col 0, row 2 col 0, row 1 col 1, ...
  const LONG* cells = static_cast<const LONG*>(array->pvData);
  const LONG expected[6] = {10, 20, 11, 21, 12, 22};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(cells[i], expected[i]) << "cell " << i;

  LONG index[2] = {2, 1};
  LONG value = 0;
  ASSERT_HR(S_OK, SafeArrayGetElement(array.get(), index, &value));
  EXPECT_EQ(value, 21);
  // {0, 2} would be in range if the order were reversed.
  LONG swapped[2] = {0, 2};
  EXPECT_HR(DISP_E_BADINDEX, SafeArrayGetElement(array.get(), swapped, &value));
}

TEST(SafeArrayElement, OutOfRangeIndexesAreBadIndex) {
  SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 5}};
  SafeArray array(SafeArrayCreate(VT_I2, 2, bounds));
  ASSERT_NE(array.get(), nullptr);
  SHORT value = 1;
  const LONG bad[][2] = {{-1, 5}, {2, 5}, {0, 4}, {0, 7}};
  for (const auto& b : bad) {
    LONG index[2] = {b[0], b[1]};
    EXPECT_HR(DISP_E_BADINDEX, SafeArrayPutElement(array.get(), index, &value)) << b[0] << "," << b[1];
    EXPECT_HR(DISP_E_BADINDEX, SafeArrayGetElement(array.get(), index, &value)) << b[0] << "," << b[1];
  }
}

TEST(SafeArrayElement, NullArgumentsAreInvalid) {
  SafeArray array(SafeArrayCreateVector(VT_I4, 0, 1));
  ASSERT_NE(array.get(), nullptr);
  LONG index = 0;
  LONG value = 0;
  EXPECT_HR(E_INVALIDARG, SafeArrayGetElement(nullptr, &index, &value));
  EXPECT_HR(E_INVALIDARG, SafeArrayGetElement(array.get(), nullptr, &value));
  EXPECT_HR(E_INVALIDARG, SafeArrayGetElement(array.get(), &index, nullptr));
  EXPECT_HR(E_INVALIDARG, SafeArrayPutElement(nullptr, &index, &value));
  EXPECT_HR(E_INVALIDARG, SafeArrayPutElement(array.get(), nullptr, &value));
  // A null value pointer for a plain-data array is left out: the
  // documentation warns that some NULL pointers end the process, and on
  // the real platform this one does (our layer returns E_INVALIDARG).
}

TEST(SafeArrayElement, BstrCellsHoldTheirOwnCopies) {
  SafeArray array(SafeArrayCreateVector(VT_BSTR, 0, 2));
  ASSERT_NE(array.get(), nullptr);
  LONG index = 1;
  {
    Bstr text(OLESTR("first"));
    ASSERT_HR(S_OK, SafeArrayPutElement(array.get(), &index, text.get()));  // the BSTR itself, not its address
    EXPECT_NE(static_cast<BSTR*>(array->pvData)[1], text.get());
  }
  Bstr replacement(OLESTR("second"));
  ASSERT_HR(S_OK, SafeArrayPutElement(array.get(), &index, replacement.get()));  // frees "first"

  Bstr read;
  ASSERT_HR(S_OK, SafeArrayGetElement(array.get(), &index, read.out()));
  EXPECT_EQ(wcscmp(read.get(), OLESTR("second")), 0) << Narrow(read.get());
  EXPECT_NE(read.get(), static_cast<BSTR*>(array->pvData)[1]);

  // A cell never written holds a null BSTR, and reads as one. The out slot
  // starts as a marker that must be overwritten.
  OLECHAR marker[] = OLESTR("marker");
  BSTR unwritten = marker;
  index = 0;
  ASSERT_HR(S_OK, SafeArrayGetElement(array.get(), &index, &unwritten));
  EXPECT_EQ(unwritten, nullptr);
  if (unwritten != marker) SysFreeString(unwritten);
}

TEST(SafeArrayElement, NullBstrAndNullInterfaceAreValuesToo) {
  SafeArray strings(SafeArrayCreateVector(VT_BSTR, 0, 1));
  ASSERT_NE(strings.get(), nullptr);
  LONG index = 0;
  Bstr text(OLESTR("gone"));
  ASSERT_HR(S_OK, SafeArrayPutElement(strings.get(), &index, text.get()));
  // A null BSTR is the empty string: the platform stores an allocated empty
  // one (the documentation does not say), and frees "gone".
  ASSERT_HR(S_OK, SafeArrayPutElement(strings.get(), &index, nullptr));
  Bstr stored;
  ASSERT_HR(S_OK, SafeArrayGetElement(strings.get(), &index, stored.out()));
  ASSERT_NE(stored.get(), nullptr);
  EXPECT_EQ(SysStringLen(stored.get()), 0u);

  velmora_test::CountingObject object{true, 1};
  SafeArray objects(SafeArrayCreateVector(VT_UNKNOWN, 0, 1));
  ASSERT_NE(objects.get(), nullptr);
  ASSERT_HR(S_OK, SafeArrayPutElement(objects.get(), &index, static_cast<IUnknown*>(&object)));
  ASSERT_HR(S_OK, SafeArrayPutElement(objects.get(), &index, nullptr));
  EXPECT_EQ(object.refs(), 1u);
  IUnknown* read = &object;
  ASSERT_HR(S_OK, SafeArrayGetElement(objects.get(), &index, &read));
  EXPECT_EQ(read, nullptr);
}

TEST(SafeArrayElement, VariantCellsAreCopiedInAndOut) {
  SafeArray array(SafeArrayCreateVector(VT_VARIANT, 0, 2));
  ASSERT_NE(array.get(), nullptr);
  LONG index = 0;
  {
    Variant value;
    value->vt = VT_BSTR;
    value->bstrVal = SysAllocString(OLESTR("in a variant"));
    ASSERT_HR(S_OK, SafeArrayPutElement(array.get(), &index, value.get()));
    const VARIANT* cell = static_cast<const VARIANT*>(array->pvData);
    EXPECT_EQ(cell->vt, VT_BSTR);
    EXPECT_NE(cell->bstrVal, value->bstrVal);
  }
  Variant read;
  ASSERT_HR(S_OK, SafeArrayGetElement(array.get(), &index, read.get()));
  ASSERT_EQ(read->vt, VT_BSTR);
  EXPECT_EQ(wcscmp(read->bstrVal, OLESTR("in a variant")), 0);

  Variant number;
  number->vt = VT_I4;
  number->lVal = 8;
  ASSERT_HR(S_OK, SafeArrayPutElement(array.get(), &index, number.get()));  // clears the BSTR cell
  Variant again;
  ASSERT_HR(S_OK, SafeArrayGetElement(array.get(), &index, again.get()));
  EXPECT_EQ(again->vt, VT_I4);
  EXPECT_EQ(again->lVal, 8);
}

TEST(SafeArrayElement, InterfaceCellsCountReferences) {
  velmora_test::CountingObject first{true, 1};
  velmora_test::CountingObject second{true, 1};
  {
    SafeArray array(SafeArrayCreateVector(VT_DISPATCH, 0, 1));
    ASSERT_NE(array.get(), nullptr);
    LONG index = 0;
    ASSERT_HR(S_OK, SafeArrayPutElement(array.get(), &index, static_cast<IDispatch*>(&first)));
    EXPECT_EQ(first.refs(), 2u);

    IDispatch* read = nullptr;
    ASSERT_HR(S_OK, SafeArrayGetElement(array.get(), &index, &read));
    EXPECT_EQ(read, static_cast<IDispatch*>(&first));
    EXPECT_EQ(first.refs(), 3u);
    read->Release();

    ASSERT_HR(S_OK, SafeArrayPutElement(array.get(), &index, static_cast<IDispatch*>(&second)));
    EXPECT_EQ(first.refs(), 1u);
    EXPECT_EQ(second.refs(), 2u);
  }
  EXPECT_EQ(second.refs(), 1u);
}

}  // namespace
}  // namespace platform_test
