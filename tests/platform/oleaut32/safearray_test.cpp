// SAFEARRAY descriptors: shape and Windows bound order, the hidden VARTYPE
// slot, feature flags, locking, destruction, copy and Redim.
#include <gtest/gtest.h>

#include "tests/platform/support/owners.h"
#include "tests/support/counting_object.h"
#include "tests/support/hresult.h"

namespace platform_test {
namespace {

// Flags that say what the elements are; Windows may add FADF_RESERVED bits.
constexpr USHORT kTypeFlags = FADF_HAVEIID | FADF_HAVEVARTYPE | FADF_BSTR | FADF_UNKNOWN | FADF_DISPATCH |
                              FADF_VARIANT | FADF_RECORD;

struct ElementCase {
  const char* name;
  VARTYPE vt;
  ULONG size;
  USHORT flags;  // fFeatures & kTypeFlags after SafeArrayCreate
};

// Interface arrays carry their IID (FADF_HAVEIID) in the hidden area
// instead of a VARTYPE; SafeArrayGetVartype answers from FADF_UNKNOWN and
// FADF_DISPATCH for them.
const ElementCase kElementCases[] = {
    {"UI1", VT_UI1, 1, FADF_HAVEVARTYPE},
    {"I2", VT_I2, 2, FADF_HAVEVARTYPE},
    {"BOOL", VT_BOOL, 2, FADF_HAVEVARTYPE},
    {"I4", VT_I4, 4, FADF_HAVEVARTYPE},
    {"R8", VT_R8, 8, FADF_HAVEVARTYPE},
    {"CY", VT_CY, 8, FADF_HAVEVARTYPE},
    {"DECIMAL", VT_DECIMAL, 16, FADF_HAVEVARTYPE},
    {"BSTR", VT_BSTR, sizeof(BSTR), FADF_HAVEVARTYPE | FADF_BSTR},
    {"VARIANT", VT_VARIANT, sizeof(VARIANT), FADF_HAVEVARTYPE | FADF_VARIANT},
    {"UNKNOWN", VT_UNKNOWN, sizeof(IUnknown*), FADF_HAVEIID | FADF_UNKNOWN},
    {"DISPATCH", VT_DISPATCH, sizeof(IDispatch*), FADF_HAVEIID | FADF_DISPATCH},
};

TEST(SafeArrayCreate, ElementSizeFeaturesAndVartypeFollowTheElementType) {
  for (const ElementCase& c : kElementCases) {
    SafeArray array(SafeArrayCreateVector(c.vt, 0, 2));
    ASSERT_NE(array.get(), nullptr) << c.name;
    EXPECT_EQ(SafeArrayGetElemsize(array.get()), c.size) << c.name;
    EXPECT_EQ(array->cbElements, c.size) << c.name;
    EXPECT_EQ(array->fFeatures & kTypeFlags, c.flags) << c.name << " fFeatures 0x" << std::hex << array->fFeatures;
    if (c.flags & FADF_HAVEVARTYPE) {
      EXPECT_EQ(HiddenVartype(array.get()), c.vt) << c.name;
    }
    VARTYPE vt = VT_EMPTY;
    EXPECT_HR(S_OK, SafeArrayGetVartype(array.get(), &vt));
    EXPECT_EQ(vt, c.vt) << c.name;
    EXPECT_EQ(array->cLocks, 0u);
    EXPECT_NE(array->pvData, nullptr);
  }
}

TEST(SafeArrayCreate, AVectorSaysItIsOne) {
  // FADF_CREATEVECTOR: set on what SafeArrayCreateVector makes, not on a
  // one-dimensional SafeArrayCreate array, nor on a copy of a vector.
  constexpr USHORT kCreateVector = 0x2000;
  SafeArray vector(SafeArrayCreateVector(VT_I4, 0, 2));
  ASSERT_NE(vector.get(), nullptr);
  EXPECT_EQ(vector->fFeatures & kCreateVector, kCreateVector);
  SAFEARRAYBOUND bound = {2, 0};
  SafeArray array(SafeArrayCreate(VT_I4, 1, &bound));
  ASSERT_NE(array.get(), nullptr);
  EXPECT_EQ(array->fFeatures & kCreateVector, 0);
  SafeArray copy;
  ASSERT_HR(S_OK, SafeArrayCopy(vector.get(), copy.out()));
  EXPECT_EQ(copy->fFeatures & kCreateVector, 0);
}

TEST(SafeArrayCreate, StoresBoundsRightmostDimensionFirst) {
  // Callers name dimensions left to right; rgsabound holds them reversed.
  SAFEARRAYBOUND bounds[3] = {{2, 1}, {3, -1}, {4, 10}};
  SafeArray array(SafeArrayCreate(VT_I4, 3, bounds));
  ASSERT_NE(array.get(), nullptr);
  EXPECT_EQ(SafeArrayGetDim(array.get()), 3u);
  EXPECT_EQ(array->rgsabound[0].cElements, 4u);
  EXPECT_EQ(array->rgsabound[0].lLbound, 10);
  EXPECT_EQ(array->rgsabound[2].cElements, 2u);
  EXPECT_EQ(array->rgsabound[2].lLbound, 1);

  // Dimension numbers count from the left.
  LONG lower = 0, upper = 0;
  ASSERT_HR(S_OK, SafeArrayGetLBound(array.get(), 1, &lower));
  ASSERT_HR(S_OK, SafeArrayGetUBound(array.get(), 1, &upper));
  EXPECT_EQ(lower, 1);
  EXPECT_EQ(upper, 2);
  ASSERT_HR(S_OK, SafeArrayGetLBound(array.get(), 2, &lower));
  ASSERT_HR(S_OK, SafeArrayGetUBound(array.get(), 2, &upper));
  EXPECT_EQ(lower, -1);
  EXPECT_EQ(upper, 1);
  ASSERT_HR(S_OK, SafeArrayGetUBound(array.get(), 3, &upper));
  EXPECT_EQ(upper, 13);
}

TEST(SafeArrayCreate, BoundsOfDimensionsThatDoNotExist) {
  SafeArray array(SafeArrayCreateVector(VT_I4, 0, 3));
  ASSERT_NE(array.get(), nullptr);
  LONG bound = 0;
  EXPECT_HR(DISP_E_BADINDEX, SafeArrayGetLBound(array.get(), 0, &bound));
  EXPECT_HR(DISP_E_BADINDEX, SafeArrayGetUBound(array.get(), 2, &bound));
  EXPECT_HR(E_INVALIDARG, SafeArrayGetUBound(nullptr, 1, &bound));
}

TEST(SafeArrayCreate, EmptyDimensionHasUpperBoundBelowLowerBound) {
  SafeArray array(SafeArrayCreateVector(VT_I4, 5, 0));
  ASSERT_NE(array.get(), nullptr);
  LONG upper = 0;
  ASSERT_HR(S_OK, SafeArrayGetUBound(array.get(), 1, &upper));
  EXPECT_EQ(upper, 4);
}

TEST(SafeArrayCreate, RefusesTypesNoArrayHolds) {
  SAFEARRAYBOUND bound = {1, 0};
  EXPECT_EQ(SafeArrayCreate(VT_EMPTY, 1, &bound), nullptr);
  EXPECT_EQ(SafeArrayCreate(VT_NULL, 1, &bound), nullptr);
  EXPECT_EQ(SafeArrayCreateVector(VT_EMPTY, 0, 1), nullptr);
}

TEST(SafeArrayDescriptor, AllocDescriptorExRecordsTheVartypeInTheHiddenSlot) {
  SafeArray array;
  ASSERT_HR(S_OK, SafeArrayAllocDescriptorEx(VT_R8, 2, array.out()));
  EXPECT_EQ(array->cDims, 2u);
  EXPECT_EQ(array->cbElements, 8u);
  EXPECT_EQ(array->fFeatures & kTypeFlags, FADF_HAVEVARTYPE);
  EXPECT_EQ(HiddenVartype(array.get()), static_cast<DWORD>(VT_R8));
  EXPECT_EQ(array->pvData, nullptr);

  array->rgsabound[0] = {3, 0};
  array->rgsabound[1] = {2, 0};
  ASSERT_HR(S_OK, SafeArrayAllocData(array.get()));
  ASSERT_NE(array->pvData, nullptr);
  const double* cells = static_cast<const double*>(array->pvData);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(cells[i], 0.0);
}

struct FeatureCase {
  const char* name;
  USHORT features;
  HRESULT hr;
  VARTYPE vt;
};

TEST(SafeArrayDescriptor, VartypeOfADescriptorWithoutAStoredType) {
  // Without FADF_HAVEVARTYPE, SafeArrayGetVartype answers only for records
  // and interface arrays, as documented; FADF_BSTR and FADF_VARIANT alone
  // give no answer.
  const FeatureCase cases[] = {
      {"None", 0, E_INVALIDARG, VT_EMPTY},
      {"Bstr", FADF_BSTR, E_INVALIDARG, VT_EMPTY},
      {"Variant", FADF_VARIANT, E_INVALIDARG, VT_EMPTY},
      {"Record", FADF_RECORD, S_OK, VT_RECORD},
      {"Dispatch", FADF_HAVEIID | FADF_DISPATCH, S_OK, VT_DISPATCH},
      {"Unknown", FADF_HAVEIID | FADF_UNKNOWN, S_OK, VT_UNKNOWN},
  };
  SAFEARRAY* raw = nullptr;
  ASSERT_HR(S_OK, SafeArrayAllocDescriptor(1, &raw));
  EXPECT_EQ(raw->cDims, 1u);
  EXPECT_EQ(raw->fFeatures & kTypeFlags, 0);
  for (const FeatureCase& c : cases) {
    raw->fFeatures = c.features;
    VARTYPE vt = VT_EMPTY;
    EXPECT_HR(c.hr, SafeArrayGetVartype(raw, &vt)) << c.name;
    if (c.hr == S_OK) {
      EXPECT_EQ(vt, c.vt) << c.name;
    }
  }

  // The documentation answers VT_DISPATCH for FADF_DISPATCH and VT_UNKNOWN
  // for FADF_UNKNOWN, with or without FADF_HAVEIID.
  const char* const kWineWantsIid = "Wine answers for interface arrays only with FADF_HAVEIID";
  const FeatureCase without_iid[] = {
      {"DispatchWithoutIid", FADF_DISPATCH, S_OK, VT_DISPATCH},
      {"UnknownWithoutIid", FADF_UNKNOWN, S_OK, VT_UNKNOWN},
  };
  for (const FeatureCase& c : without_iid) {
    raw->fFeatures = c.features;
    VARTYPE vt = VT_EMPTY;
    const HRESULT hr = SafeArrayGetVartype(raw, &vt);
    EXPECT_TRUE(HrAsDocumented(hr, c.hr, E_INVALIDARG, kWineWantsIid)) << c.name;
    if (hr == S_OK) {
      EXPECT_EQ(vt, c.vt) << c.name;
    }
  }
  raw->fFeatures = 0;
  EXPECT_HR(S_OK, SafeArrayDestroyDescriptor(raw));
}

TEST(SafeArrayDescriptor, ZeroDimensionsAreRefused) {
  SAFEARRAY* array = nullptr;
  EXPECT_HR(E_INVALIDARG, SafeArrayAllocDescriptor(0, &array));
  EXPECT_HR(E_INVALIDARG, SafeArrayAllocDescriptorEx(VT_I4, 0, &array));
}

TEST(SafeArrayLock, CountsAndRefusesAnUnbalancedUnlock) {
  SafeArray array(SafeArrayCreateVector(VT_I4, 0, 1));
  ASSERT_NE(array.get(), nullptr);
  EXPECT_HR(E_UNEXPECTED, SafeArrayUnlock(array.get()));
  ASSERT_HR(S_OK, SafeArrayLock(array.get()));
  ASSERT_HR(S_OK, SafeArrayLock(array.get()));
  EXPECT_EQ(array->cLocks, 2u);
  EXPECT_HR(S_OK, SafeArrayUnlock(array.get()));
  EXPECT_HR(S_OK, SafeArrayUnlock(array.get()));
  EXPECT_EQ(array->cLocks, 0u);
  EXPECT_HR(E_UNEXPECTED, SafeArrayUnlock(array.get()));
  EXPECT_HR(E_INVALIDARG, SafeArrayLock(nullptr));
}

TEST(SafeArrayLock, AccessDataLocksAndHandsOutTheData) {
  SafeArray array(SafeArrayCreateVector(VT_I4, 0, 4));
  ASSERT_NE(array.get(), nullptr);
  void* data = nullptr;
  ASSERT_HR(S_OK, SafeArrayAccessData(array.get(), &data));
  EXPECT_EQ(data, array->pvData);
  EXPECT_EQ(array->cLocks, 1u);
  static_cast<LONG*>(data)[3] = 77;
  ASSERT_HR(S_OK, SafeArrayUnaccessData(array.get()));
  EXPECT_EQ(array->cLocks, 0u);
  LONG index = 3;
  LONG value = 0;
  ASSERT_HR(S_OK, SafeArrayGetElement(array.get(), &index, &value));
  EXPECT_EQ(value, 77);
}

TEST(SafeArrayDestroy, ALockedArrayStays) {
  SafeArray array(SafeArrayCreateVector(VT_BSTR, 0, 1));
  ASSERT_NE(array.get(), nullptr);
  ASSERT_HR(S_OK, SafeArrayLock(array.get()));
  EXPECT_HR(DISP_E_ARRAYISLOCKED, SafeArrayDestroy(array.get()));
  EXPECT_HR(DISP_E_ARRAYISLOCKED, SafeArrayDestroyData(array.get()));
  EXPECT_HR(DISP_E_ARRAYISLOCKED, SafeArrayDestroyDescriptor(array.get()));
  EXPECT_NE(array->pvData, nullptr);
  ASSERT_HR(S_OK, SafeArrayUnlock(array.get()));
}

TEST(SafeArrayDestroy, NullIsFine) { EXPECT_HR(S_OK, SafeArrayDestroy(nullptr)); }

TEST(SafeArrayDestroy, ReleasesEveryInterfaceCell) {
  velmora_test::CountingObject object{true, 1};
  {
    SafeArray array(SafeArrayCreateVector(VT_UNKNOWN, 0, 3));
    ASSERT_NE(array.get(), nullptr);
    for (LONG i = 0; i < 3; ++i) ASSERT_HR(S_OK, SafeArrayPutElement(array.get(), &i, static_cast<IUnknown*>(&object)));
    EXPECT_EQ(object.refs(), 4u);
  }
  EXPECT_EQ(object.refs(), 1u);
}

TEST(SafeArrayDestroy, DestroyDataEmptiesTheCellsAndKeepsTheDescriptor) {
  velmora_test::CountingObject object{true, 1};
  // Not a vector: Windows allocates a vector's data with its descriptor,
  // and then pvData outlives SafeArrayDestroyData.
  SAFEARRAYBOUND bound = {2, 0};
  SafeArray array(SafeArrayCreate(VT_DISPATCH, 1, &bound));
  ASSERT_NE(array.get(), nullptr);
  LONG index = 1;
  ASSERT_HR(S_OK, SafeArrayPutElement(array.get(), &index, static_cast<IDispatch*>(&object)));
  ASSERT_HR(S_OK, SafeArrayDestroyData(array.get()));
  EXPECT_EQ(object.refs(), 1u);
  EXPECT_EQ(array->pvData, nullptr);
  EXPECT_EQ(SafeArrayGetDim(array.get()), 1u);
}

TEST(SafeArrayCopy, IsDeepAndIndependent) {
  SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 1}};
  SafeArray source(SafeArrayCreate(VT_BSTR, 2, bounds));
  ASSERT_NE(source.get(), nullptr);
  LONG index[2] = {1, 2};
  Bstr text(OLESTR("original"));
  ASSERT_HR(S_OK, SafeArrayPutElement(source.get(), index, text.get()));

  SafeArray copy;
  ASSERT_HR(S_OK, SafeArrayCopy(source.get(), copy.out()));
  ASSERT_NE(copy.get(), nullptr);
  EXPECT_NE(copy->pvData, source->pvData);
  EXPECT_EQ(copy->cDims, 2u);
  EXPECT_EQ(copy->cbElements, source->cbElements);
  EXPECT_EQ(copy->fFeatures & kTypeFlags, source->fFeatures & kTypeFlags);
  EXPECT_EQ(copy->cLocks, 0u);
  EXPECT_EQ(HiddenVartype(copy.get()), static_cast<DWORD>(VT_BSTR));
  EXPECT_EQ(copy->rgsabound[0].lLbound, 1);

  Bstr changed(OLESTR("changed"));
  ASSERT_HR(S_OK, SafeArrayPutElement(source.get(), index, changed.get()));
  Bstr read;
  ASSERT_HR(S_OK, SafeArrayGetElement(copy.get(), index, read.out()));
  EXPECT_EQ(wcscmp(read.get(), OLESTR("original")), 0) << Narrow(read.get());
  // The copied cell is its own string, not the source's.
  const BSTR* source_cells = static_cast<const BSTR*>(source->pvData);
  const BSTR* copy_cells = static_cast<const BSTR*>(copy->pvData);
  EXPECT_NE(copy_cells[3], source_cells[3]);
}

TEST(SafeArrayCopy, AddsReferencesForInterfaceCells) {
  velmora_test::CountingObject object{true, 1};
  {
    SafeArray source(SafeArrayCreateVector(VT_UNKNOWN, 0, 2));
    ASSERT_NE(source.get(), nullptr);
    LONG index = 0;
    ASSERT_HR(S_OK, SafeArrayPutElement(source.get(), &index, static_cast<IUnknown*>(&object)));
    SafeArray copy;
    ASSERT_HR(S_OK, SafeArrayCopy(source.get(), copy.out()));
    EXPECT_EQ(object.refs(), 3u);
  }
  EXPECT_EQ(object.refs(), 1u);
}

TEST(SafeArrayCopy, TheCopyOwnsItsDataWhereverTheSourceLives) {
  // A source whose data is fixed in size or not the array's own: the copy
  // is an ordinary array, which SafeArrayRedim may resize.
  struct StorageCase {
    const char* name;
    USHORT flag;
  };
  const StorageCase cases[] = {
      {"FixedSize", FADF_FIXEDSIZE},
      {"Auto", FADF_AUTO},
      {"Static", FADF_STATIC},
      {"Embedded", FADF_EMBEDDED},
      {"FixedSizeStatic", FADF_FIXEDSIZE | FADF_STATIC},
  };
  for (const StorageCase& c : cases) {
    SAFEARRAYBOUND bound = {2, 0};
    SafeArray source(SafeArrayCreate(VT_I4, 1, &bound));
    ASSERT_NE(source.get(), nullptr);
    LONG index = 1;
    LONG value = 42;
    ASSERT_HR(S_OK, SafeArrayPutElement(source.get(), &index, &value));
    source->fFeatures |= c.flag;
    SafeArray copy;
    const HRESULT hr = SafeArrayCopy(source.get(), copy.out());
    // The source's data is the heap's after all: let its owner free it.
    source->fFeatures &= ~c.flag;
    ASSERT_HR(S_OK, hr) << c.name;
    EXPECT_EQ(copy->fFeatures & c.flag, 0) << c.name << " fFeatures 0x" << std::hex << copy->fFeatures;
    SAFEARRAYBOUND bigger = {4, 0};
    EXPECT_HR(S_OK, SafeArrayRedim(copy.get(), &bigger)) << c.name;
    LONG read = 0;
    ASSERT_HR(S_OK, SafeArrayGetElement(copy.get(), &index, &read)) << c.name;
    EXPECT_EQ(read, 42) << c.name;
  }
}

TEST(SafeArrayRedim, AFixedSizeArrayKeepsItsShape) {
  SAFEARRAYBOUND bound = {2, 0};
  SafeArray array(SafeArrayCreate(VT_I4, 1, &bound));
  ASSERT_NE(array.get(), nullptr);
  array->fFeatures |= FADF_FIXEDSIZE;
  SAFEARRAYBOUND bigger = {8, 0};
  EXPECT_HR(DISP_E_ARRAYISLOCKED, SafeArrayRedim(array.get(), &bigger));
  EXPECT_EQ(array->rgsabound[0].cElements, 2u);
}

TEST(SafeArrayRedim, ChangesTheRightmostDimensionAndKeepsCells) {
  // 2 x 3 (rows x columns): Redim changes the column count.
  SAFEARRAYBOUND bounds[2] = {{2, 0}, {3, 0}};
  SafeArray array(SafeArrayCreate(VT_I4, 2, bounds));
  ASSERT_NE(array.get(), nullptr);
  for (LONG row = 0; row < 2; ++row) {
    for (LONG column = 0; column < 3; ++column) {
      LONG index[2] = {row, column};
      LONG value = row * 10 + column;
      ASSERT_HR(S_OK, SafeArrayPutElement(array.get(), index, &value));
    }
  }

  SAFEARRAYBOUND wider = {5, 0};
  ASSERT_HR(S_OK, SafeArrayRedim(array.get(), &wider));
  EXPECT_EQ(array->rgsabound[0].cElements, 5u);
  EXPECT_EQ(array->rgsabound[1].cElements, 2u);
  for (LONG row = 0; row < 2; ++row) {
    for (LONG column = 0; column < 5; ++column) {
      LONG index[2] = {row, column};
      LONG value = -1;
      ASSERT_HR(S_OK, SafeArrayGetElement(array.get(), index, &value));
      EXPECT_EQ(value, column < 3 ? row * 10 + column : 0) << row << "," << column;
    }
  }

  SAFEARRAYBOUND narrower = {2, 1};  // also moves the lower bound
  ASSERT_HR(S_OK, SafeArrayRedim(array.get(), &narrower));
  LONG index[2] = {1, 2};
  LONG value = -1;
  ASSERT_HR(S_OK, SafeArrayGetElement(array.get(), index, &value));
  EXPECT_EQ(value, 11);  // the cell that was at column 1
  index[1] = 3;
  EXPECT_HR(DISP_E_BADINDEX, SafeArrayGetElement(array.get(), index, &value));
}

TEST(SafeArrayRedim, ShrinkingReleasesTheDroppedCells) {
  velmora_test::CountingObject object{true, 1};
  {
    SafeArray array(SafeArrayCreateVector(VT_UNKNOWN, 0, 4));
    ASSERT_NE(array.get(), nullptr);
    for (LONG i = 0; i < 4; ++i) ASSERT_HR(S_OK, SafeArrayPutElement(array.get(), &i, static_cast<IUnknown*>(&object)));
    SAFEARRAYBOUND smaller = {1, 0};
    ASSERT_HR(S_OK, SafeArrayRedim(array.get(), &smaller));
    EXPECT_EQ(object.refs(), 2u);
  }
  EXPECT_EQ(object.refs(), 1u);
}

TEST(SafeArrayRedim, ALockedArrayKeepsItsShape) {
  SafeArray array(SafeArrayCreateVector(VT_I4, 0, 2));
  ASSERT_NE(array.get(), nullptr);
  ASSERT_HR(S_OK, SafeArrayLock(array.get()));
  SAFEARRAYBOUND bigger = {8, 0};
  EXPECT_HR(DISP_E_ARRAYISLOCKED, SafeArrayRedim(array.get(), &bigger));
  EXPECT_EQ(array->rgsabound[0].cElements, 2u);
  ASSERT_HR(S_OK, SafeArrayUnlock(array.get()));
  EXPECT_HR(E_INVALIDARG, SafeArrayRedim(nullptr, &bigger));
}

}  // namespace
}  // namespace platform_test
