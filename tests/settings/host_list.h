// Arrays shaped as the host hands its lists over: two-dimensional arrays of
// VARIANT, columns by rows (SafeArrayCreate takes the leftmost dimension,
// the column, first), so that rows are what SafeArrayRedim adds or removes.
#ifndef VELMORA_TESTS_SETTINGS_HOST_LIST_H
#define VELMORA_TESTS_SETTINGS_HOST_LIST_H

#include <windows.h>
#include <oleauto.h>

#include <memory>

#include "settings/kex_safe_array.h"

namespace velmora_test {

struct SafeArrayDestroyer {
  void operator()(SAFEARRAY* psa) const { ::SafeArrayDestroy(psa); }
};
// An array the test itself owns.
using ArrayPtr = std::unique_ptr<SAFEARRAY, SafeArrayDestroyer>;

// What a filled list holds in cell (row, column), as VT_I4.
inline LONG CellValue(LONG row, LONG column) { return 100 * row + column; }

// An empty list of rows x columns VARIANTs whose dimensions both start at lbound.
inline ArrayPtr MakeEmptyList(ULONG rows, ULONG columns, LONG lbound = 0) {
  SAFEARRAYBOUND bounds[2] = {{columns, lbound}, {rows, lbound}};
  return ArrayPtr(::SafeArrayCreate(VT_VARIANT, 2, bounds));
}

// Sets cell (row, column), counted from the lower bounds, to a copy of value.
inline HRESULT PutCell(SAFEARRAY* psa, LONG row, LONG column, VARIANT* value) {
  LONG indices[2] = {column + psa->rgsabound[1].lLbound, row + psa->rgsabound[0].lLbound};
  return ::SafeArrayPutElement(psa, indices, value);
}

inline HRESULT PutCellI4(SAFEARRAY* psa, LONG row, LONG column, LONG value) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = value;
  return PutCell(psa, row, column, &v);
}

// A list whose every cell (row, column) holds CellValue(row, column).
inline ArrayPtr MakeList(ULONG rows, ULONG columns, LONG lbound = 0) {
  ArrayPtr list = MakeEmptyList(rows, columns, lbound);
  if (!list) return list;
  for (ULONG r = 0; r < rows; ++r) {
    for (ULONG c = 0; c < columns; ++c) {
      const LONG row = static_cast<LONG>(r);
      const LONG column = static_cast<LONG>(c);
      if (FAILED(PutCellI4(list.get(), row, column, CellValue(row, column)))) return nullptr;
    }
  }
  return list;
}

// A one-dimensional VARIANT array of count elements, element i holding
// CellValue(i, 0).
inline ArrayPtr MakeVector(ULONG count) {
  SAFEARRAYBOUND bound = {count, 0};
  ArrayPtr vector(::SafeArrayCreate(VT_VARIANT, 1, &bound));
  if (!vector) return vector;
  for (LONG i = 0; i < static_cast<LONG>(count); ++i) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = CellValue(i, 0);
    if (FAILED(::SafeArrayPutElement(vector.get(), &i, &v))) return nullptr;
  }
  return vector;
}

// A VARIANT that clears itself, for reading cells.
class ScopedVariant {
 public:
  ScopedVariant() { ::VariantInit(&v_); }
  ~ScopedVariant() { ::VariantClear(&v_); }
  ScopedVariant(const ScopedVariant&) = delete;
  ScopedVariant& operator=(const ScopedVariant&) = delete;
  VARIANT* get() { return &v_; }
  const VARIANT& operator*() const { return v_; }
  const VARIANT* operator->() const { return &v_; }

 private:
  VARIANT v_;
};

// A wrapper viewing a host list of 3 rows and 2 columns that the test owns.
class ViewedListFixture {
 protected:
  ViewedListFixture() : list_(MakeList(3, 2)) {
    if (list_) array_.Attach(list_.get(), false);
  }

  ArrayPtr list_;
  CKexSafeArray array_;
};

}  // namespace velmora_test

#endif  // VELMORA_TESTS_SETTINGS_HOST_LIST_H
