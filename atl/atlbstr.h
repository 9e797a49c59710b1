// CComBSTR: owns one BSTR. A null BSTR and one of length 0 are both empty.
// Allocation failures throw CAtlException(E_OUTOFMEMORY), as ATL's do.
// Out-parameters go through Receive(), as for every owner here; there is no
// operator&.
#ifndef VELMORA_ATL_ATLBSTR_H
#define VELMORA_ATL_ATLBSTR_H

#include <windows.h>
#include <oleauto.h>

#include "atlexcept.h"

namespace ATL {

class CComBSTR {
 public:
  CComBSTR() = default;
  CComBSTR(LPCOLESTR text) : m_str(Allocate(text)) {}  // NOLINT: implicit, as ATL's
  // A negative length throws CAtlException(E_INVALIDARG): taken as unsigned
  // it would copy far past the end of text.
  CComBSTR(int length, LPCOLESTR text) : m_str(AllocateLength(text, length)) {}
  CComBSTR(const CComBSTR& other) : m_str(other.Copy()) {}
  CComBSTR(CComBSTR&& other) noexcept : m_str(other.m_str) { other.m_str = nullptr; }
  ~CComBSTR() { ::SysFreeString(m_str); }

  CComBSTR& operator=(LPCOLESTR text) {
    if (text != m_str) {
      BSTR copy = Allocate(text);
      ::SysFreeString(m_str);
      m_str = copy;
    }
    return *this;
  }
  CComBSTR& operator=(const CComBSTR& other) {
    if (this != &other) {
      BSTR copy = other.Copy();
      ::SysFreeString(m_str);
      m_str = copy;
    }
    return *this;
  }
  CComBSTR& operator=(CComBSTR&& other) noexcept {
    if (this != &other) {
      ::SysFreeString(m_str);
      m_str = other.m_str;
      other.m_str = nullptr;
    }
    return *this;
  }

  operator BSTR() const { return m_str; }
  // For an out-parameter: frees what is held and returns the empty slot.
  BSTR* Receive() {
    Empty();
    return &m_str;
  }
  bool operator!() const { return m_str == nullptr; }

  UINT Length() const { return ::SysStringLen(m_str); }
  bool IsEmpty() const { return Length() == 0; }

  // A new copy that the caller frees; null stays null.
  BSTR Copy() const {
    if (!m_str) return nullptr;
    BSTR copy = ::SysAllocStringLen(m_str, ::SysStringLen(m_str));
    if (!copy) AtlThrow(E_OUTOFMEMORY);
    return copy;
  }
  HRESULT CopyTo(BSTR* out) const {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!m_str) return S_OK;
    *out = ::SysAllocStringLen(m_str, ::SysStringLen(m_str));
    return *out ? S_OK : E_OUTOFMEMORY;
  }
  void Empty() {
    ::SysFreeString(m_str);
    m_str = nullptr;
  }
  void Attach(BSTR other) {
    if (other != m_str) {
      ::SysFreeString(m_str);
      m_str = other;
    }
  }
  BSTR Detach() {
    BSTR old = m_str;
    m_str = nullptr;
    return old;
  }

  BSTR m_str = nullptr;

 private:
  static BSTR Allocate(LPCOLESTR text) {
    if (!text) return nullptr;
    BSTR result = ::SysAllocString(text);
    if (!result) AtlThrow(E_OUTOFMEMORY);
    return result;
  }
  static BSTR AllocateLength(LPCOLESTR text, int length) {
    if (length < 0) AtlThrow(E_INVALIDARG);
    BSTR result = ::SysAllocStringLen(text, static_cast<UINT>(length));
    if (!result) AtlThrow(E_OUTOFMEMORY);
    return result;
  }
};

}  // namespace ATL

#endif  // VELMORA_ATL_ATLBSTR_H
