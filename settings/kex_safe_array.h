// CKexSafeArray: the one class through which the add-in holds and reads OLE
// automation arrays (mostly SAFEARRAYs of VARIANT, as the host hands its
// lists over), seen as a table of rows and columns.
//
// The view. Rows are the elements of the rightmost dimension
// (m_psa->rgsabound[0], the one SafeArrayRedim can change), so a list grows
// and shrinks by rows; columns are the elements of rgsabound[1] when the array
// has two or more dimensions, otherwise 1. Cell (row, column) is the element
// at the index array {column, row}. Indices are 0-based counts: lower bounds
// are never looked at and indices are passed on unchanged, so an array whose
// lower bounds are not 0 fails in the array functions (DISP_E_BADINDEX), not
// in the range check. A one-dimensional array has only column 0, and since
// the array functions use only the first index, every (row, 0) of it is
// element 0.
//
// Ownership. The wrapper is either the owner of its array (m_bOwner true) or
// a viewer of an array someone else owns:
// - an owner destroys its array when it is destroyed itself, and when Create2D
//   or Assign replace it; a viewer lets it go on those occasions;
// - the default wrapper, a copy, Assign and Create2D are owners of what they
//   hold; Attach sets the ownership given and does not release what was held;
//   Detach hands the array out and leaves m_bOwner as it was;
// - Destroy destroys the array whatever m_bOwner says.
// Copy assignment is deleted: Assign says which array is copied.
//
// Shape. Only arrays of one or two dimensions are tables: one of more
// dimensions has no rows and no columns here (an empty wrapper has no rows
// and one column), and reading or writing a cell
// of it is refused (E_INVALIDARG), since the array functions would read one
// index per dimension from a two-index array.
//
// Errors. Create2D is the only operation that throws (std::runtime_error when
// the array cannot be allocated); the others return HRESULTs, so callers that
// implement COM methods need no try block except around Create2D.
#ifndef VELMORA_SETTINGS_KEX_SAFE_ARRAY_H
#define VELMORA_SETTINGS_KEX_SAFE_ARRAY_H

#include <windows.h>
#include <oleauto.h>

class CKexSafeArray {
 public:
  CKexSafeArray() = default;
  // A deep copy (SafeArrayCopy) that this wrapper owns; empty when other is
  // empty or the copy failed.
  CKexSafeArray(const CKexSafeArray& other);
  CKexSafeArray& operator=(const CKexSafeArray&) = delete;
  ~CKexSafeArray();

  // Holds a deep copy of psa (null: empty), owned. The array held before is
  // destroyed if it was owned.
  void Assign(const SAFEARRAY* psa);
  // Holds psa with the ownership given; the array held before is not released.
  void Attach(SAFEARRAY* psa, bool bOwner);
  // Hands the array out; the wrapper is empty, m_bOwner unchanged.
  [[nodiscard]] SAFEARRAY* Detach();
  bool IsValid() const { return m_psa != nullptr; }
  bool IsOwner() const { return m_bOwner; }
  // The array held, still the wrapper's (or its owner's): for reading.
  SAFEARRAY* Get() const { return m_psa; }
  // Whether the cells are VARIANTs by the array's own description (its
  // features and its cell size), which is what decides how the array
  // functions copy a cell, whatever type the VARIANT that carried it named.
  bool HoldsVariants() const {
    return m_psa && (m_psa->fFeatures & FADF_VARIANT) && m_psa->cbElements == sizeof(VARIANT);
  }

  // Unlocks the array as often as it is locked, then destroys its data and
  // its descriptor; whatever m_bOwner says. Empty: nothing.
  void Destroy();

  ULONG GetRowCount() const;
  ULONG GetColumnCount() const;

  // Replaces the array by a new 2-D one of rows x columns empty elements,
  // marked as elements of type vt: the array SafeArrayCreate makes for vt
  // with the bounds {columns, 0} and {rows, 0} given leftmost first. Cells
  // are pointer-sized for VT_BSTR, VT_UNKNOWN and VT_DISPATCH and VARIANT-sized
  // for every other vt. Throws std::runtime_error if a count is negative or
  // the array cannot be allocated (then the wrapper is empty; an array held
  // before is gone all the same).
  void Create2D(LONG rows, LONG columns, VARTYPE vt);

  // Changes the number of rows; cells keep their row and column, new rows are
  // empty. E_POINTER when empty; E_INVALIDARG for a negative count (which
  // SafeArrayRedim would take as a count of four billion); S_OK without
  // touching the array when the count is already rows; else SafeArrayRedim's
  // HRESULT.
  [[nodiscard]] HRESULT Resize(LONG rows);

  // Copies cell (row, column) into out. For a VARIANT array, what out held is
  // cleared first (SafeArrayGetElement itself overwrites it, which would
  // leak a string or a reference held there), so one VARIANT can be reused
  // for cell after cell; for an array of another element type, out is room
  // for one element and is not read. E_UNEXPECTED when empty, E_POINTER for a
  // null out, E_INVALIDARG outside the rows and columns or for an array of
  // more than two dimensions (out untouched), else SafeArrayGetElement's
  // HRESULT.
  [[nodiscard]] HRESULT GetElement(VARIANT* out, LONG row, LONG column);

  // Stores a copy of *value in cell (row, column); the caller keeps value.
  // By the array's features: a VARIANT array (or one without element flags)
  // takes a VARIANT*; a BSTR, IUnknown or IDispatch array takes a pointer to
  // the BSTR or interface pointer. Any other array: E_FAIL, nothing written.
  // E_UNEXPECTED when empty, E_POINTER for a null value, E_INVALIDARG outside
  // the rows and columns or for an array of more than two dimensions, else
  // SafeArrayPutElement's HRESULT.
  [[nodiscard]] HRESULT PutElement(const void* value, LONG row, LONG column);

  // SafeArrayLock / SafeArrayUnlock; E_UNEXPECTED when empty. GetElement and
  // PutElement lock an unlocked array for the call themselves.
  [[nodiscard]] HRESULT Lock();
  [[nodiscard]] HRESULT Unlock();

 private:
  bool IsTable() const;
  bool InRange(LONG row, LONG column) const;

  SAFEARRAY* m_psa = nullptr;
  bool m_bOwner = true;
};

#endif  // VELMORA_SETTINGS_KEX_SAFE_ARRAY_H
