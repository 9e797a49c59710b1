#include "settings/kex_safe_array.h"

#include <stdexcept>

namespace {

// Element flags that tell how SafeArrayPutElement takes its value: without
// FADF_HAVEVARTYPE, which only says a vartype is recorded, and without the
// reserved bits.
constexpr USHORT kElementFeatureMask = 0x0F77;

// Locks an unlocked array for one element access and unlocks it again; an
// array the caller has locked is left as it is.
class CScopedLock {
 public:
  explicit CScopedLock(SAFEARRAY* psa) : m_psa(psa->cLocks == 0 && SUCCEEDED(::SafeArrayLock(psa)) ? psa : nullptr) {}
  ~CScopedLock() {
    if (m_psa) (void)::SafeArrayUnlock(m_psa);  // locked here, so it unlocks
  }
  CScopedLock(const CScopedLock&) = delete;
  CScopedLock& operator=(const CScopedLock&) = delete;

 private:
  SAFEARRAY* m_psa;
};

USHORT FeaturesFor(VARTYPE vt) {
  switch (vt) {
    case VT_BSTR:
      return FADF_HAVEVARTYPE | FADF_BSTR;
    case VT_DISPATCH:
      return FADF_HAVEVARTYPE | FADF_DISPATCH;
    case VT_VARIANT:
      return FADF_HAVEVARTYPE | FADF_VARIANT;
    case VT_UNKNOWN:
      return FADF_HAVEVARTYPE | FADF_UNKNOWN;
    default:
      return FADF_HAVEVARTYPE;
  }
}

// The array functions step through BSTR and interface arrays a pointer at a
// time when they destroy or copy them, so those cells are pointer-sized;
// every other cell holds a whole VARIANT.
ULONG ElementSizeFor(VARTYPE vt) {
  switch (vt) {
    case VT_BSTR:
      return sizeof(BSTR);
    case VT_DISPATCH:
    case VT_UNKNOWN:
      return sizeof(IUnknown*);
    default:
      return sizeof(VARIANT);
  }
}

[[noreturn]] void ThrowAllocationFailure() { throw std::runtime_error("CKexSafeArray"); }

}  // namespace

CKexSafeArray::CKexSafeArray(const CKexSafeArray& other) {
  // A failed copy is not reported: the wrapper is then empty.
  if (other.m_psa && FAILED(::SafeArrayCopy(other.m_psa, &m_psa))) m_psa = nullptr;
}

CKexSafeArray::~CKexSafeArray() {
  if (m_bOwner) Destroy();
}

void CKexSafeArray::Assign(const SAFEARRAY* psa) {
  // Copied before the old array goes, so that Assign(m_psa) copies a live array.
  SAFEARRAY* copy = nullptr;
  if (psa && FAILED(::SafeArrayCopy(const_cast<SAFEARRAY*>(psa), &copy))) copy = nullptr;
  if (m_bOwner) Destroy();
  m_psa = copy;
  m_bOwner = true;
}

void CKexSafeArray::Attach(SAFEARRAY* psa, bool bOwner) {
  m_psa = psa;
  m_bOwner = bOwner;
}

SAFEARRAY* CKexSafeArray::Detach() {
  SAFEARRAY* psa = m_psa;
  m_psa = nullptr;
  return psa;
}

void CKexSafeArray::Destroy() {
  if (!m_psa) return;
  // Neither destroy function works on a locked array.
  while (m_psa->cLocks > 0) {
    if (FAILED(::SafeArrayUnlock(m_psa))) break;
  }
  // Unlocked above, so neither can fail for a lock; nothing is left to do
  // about any other failure.
  (void)::SafeArrayDestroyData(m_psa);
  (void)::SafeArrayDestroyDescriptor(m_psa);
  m_psa = nullptr;
}

bool CKexSafeArray::IsTable() const { return m_psa && m_psa->cDims >= 1 && m_psa->cDims <= 2; }

ULONG CKexSafeArray::GetRowCount() const { return IsTable() ? m_psa->rgsabound[0].cElements : 0; }

ULONG CKexSafeArray::GetColumnCount() const {
  if (!m_psa) return 1;
  if (!IsTable()) return 0;
  return m_psa->cDims > 1 ? m_psa->rgsabound[1].cElements : 1;
}

void CKexSafeArray::Create2D(LONG rows, LONG columns, VARTYPE vt) {
  // An array held without ownership is simply let go.
  if (m_bOwner) Destroy();
  m_psa = nullptr;
  // A negative count would become a count of four billion.
  if (rows < 0 || columns < 0) ThrowAllocationFailure();
  if (FAILED(::SafeArrayAllocDescriptor(2, &m_psa)) || !m_psa) {
    m_psa = nullptr;
    ThrowAllocationFailure();
  }
  m_bOwner = true;
  m_psa->rgsabound[0].cElements = static_cast<ULONG>(rows);
  m_psa->rgsabound[0].lLbound = 0;
  m_psa->rgsabound[1].cElements = static_cast<ULONG>(columns);
  m_psa->rgsabound[1].lLbound = 0;
  m_psa->cbElements = ElementSizeFor(vt);
  m_psa->fFeatures = FeaturesFor(vt);
  if (FAILED(::SafeArrayAllocData(m_psa))) {
    (void)::SafeArrayDestroyDescriptor(m_psa);  // a fresh, unlocked descriptor
    m_psa = nullptr;
    ThrowAllocationFailure();
  }
  // The element type lives in the 32-bit slot just before the descriptor,
  // where SafeArrayGetVartype reads it when FADF_HAVEVARTYPE is set.
  reinterpret_cast<DWORD*>(m_psa)[-1] = vt;
}

HRESULT CKexSafeArray::Resize(LONG rows) {
  if (!m_psa) return E_POINTER;
  if (rows < 0) return E_INVALIDARG;
  if (static_cast<ULONG>(rows) == GetRowCount()) return S_OK;
  SAFEARRAYBOUND bound = {static_cast<ULONG>(rows), 0};
  return ::SafeArrayRedim(m_psa, &bound);
}

bool CKexSafeArray::InRange(LONG row, LONG column) const {
  if (!IsTable() || row < 0 || column < 0) return false;
  return static_cast<ULONG>(row) < GetRowCount() && static_cast<ULONG>(column) < GetColumnCount();
}

HRESULT CKexSafeArray::GetElement(VARIANT* out, LONG row, LONG column) {
  if (!m_psa) return E_UNEXPECTED;
  if (!out) return E_POINTER;
  if (!InRange(row, column)) return E_INVALIDARG;
  if (m_psa->fFeatures & FADF_VARIANT) {
    const HRESULT hr = ::VariantClear(out);
    if (FAILED(hr)) return hr;
  }
  CScopedLock lock(m_psa);
  LONG indices[2] = {column, row};
  return ::SafeArrayGetElement(m_psa, indices, out);
}

HRESULT CKexSafeArray::PutElement(const void* value, LONG row, LONG column) {
  if (!m_psa) return E_UNEXPECTED;
  if (!value) return E_POINTER;
  if (!InRange(row, column)) return E_INVALIDARG;
  // SafeArrayPutElement takes a VARIANT (or raw element) by address, but a
  // BSTR or an interface pointer itself.
  void* element = nullptr;
  switch (m_psa->fFeatures & kElementFeatureMask) {
    case 0:
    case FADF_VARIANT:
      element = const_cast<void*>(value);
      break;
    case FADF_BSTR:
    case FADF_UNKNOWN:
    case FADF_DISPATCH:
      element = *static_cast<void* const*>(value);
      break;
    default:
      return E_FAIL;
  }
  CScopedLock lock(m_psa);
  LONG indices[2] = {column, row};
  return ::SafeArrayPutElement(m_psa, indices, element);
}

HRESULT CKexSafeArray::Lock() { return m_psa ? ::SafeArrayLock(m_psa) : E_UNEXPECTED; }

HRESULT CKexSafeArray::Unlock() { return m_psa ? ::SafeArrayUnlock(m_psa) : E_UNEXPECTED; }
