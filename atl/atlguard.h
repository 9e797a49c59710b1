// Nothing may be thrown across a COM interface. Work that can throw (the
// string classes on out-of-memory, the safe-array wrapper when it cannot
// allocate) runs through GuardComCall, which turns what it throws into an
// HRESULT: the counterpart of AtlThrow at an interface's edge. Not one of
// ATL's own names; the add-in and the substitute host both use it.
#ifndef VELMORA_ATL_ATLGUARD_H
#define VELMORA_ATL_ATLGUARD_H

#include "atlexcept.h"

#include <exception>
#include <new>

template <class Body>
HRESULT GuardComCall(Body&& body) noexcept {
  try {
    return body();
  } catch (const ATL::CAtlException& e) {
    return e.m_hr;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

#endif  // VELMORA_ATL_ATLGUARD_H
