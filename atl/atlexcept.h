// The stand-in's exception: what ATL's string classes throw when they cannot
// allocate. It carries the HRESULT, so a COM method can hand it back.
#ifndef VELMORA_ATL_ATLEXCEPT_H
#define VELMORA_ATL_ATLEXCEPT_H

#include <windows.h>

namespace ATL {

class CAtlException {
 public:
  explicit CAtlException(HRESULT hr) : m_hr(hr) {}
  operator HRESULT() const { return m_hr; }

  HRESULT m_hr;
};

[[noreturn]] inline void AtlThrow(HRESULT hr) { throw CAtlException(hr); }

}  // namespace ATL

#endif  // VELMORA_ATL_ATLEXCEPT_H
