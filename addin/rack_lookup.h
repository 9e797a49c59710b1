// Looking up one of the host's objects in its object rack: the one pattern
// every such lookup follows. The rack is asked once, with no retry; the
// object is held in the caller's CComPtr, which releases it when the caller's
// step is done.
#ifndef VELMORA_ADDIN_RACK_LOOKUP_H
#define VELMORA_ADDIN_RACK_LOOKUP_H

#include <windows.h>
#include <oleauto.h>

#include <atlbase.h>
#include <velmora.h>

// Asks pRack for the object `name` with the interface iid and puts it in
// `out` (what `out` held before is released first). The object is available
// exactly when the result succeeds, and `out` is then non-null:
//   pRack null                          E_POINTER, no call
//   no memory for the name's BSTR       E_OUTOFMEMORY, no call
//   GetObject fails                     its HRESULT
//   GetObject succeeds with no object   E_FAIL
//   otherwise                           GetObject's HRESULT
// The rack's contract is that *ppUnk holds a pointer to the interface asked
// for, not just any IUnknown, so it is taken as a T* without QueryInterface.
template <class T>
HRESULT LookupRackObject(IObjectRack* pRack, const OLECHAR* name, REFIID iid, ATL::CComPtr<T>& out) {
  out.Release();
  if (!pRack) return E_POINTER;
  BSTR bstrName = ::SysAllocString(name ? name : OLESTR(""));
  if (!bstrName) return E_OUTOFMEMORY;
  IUnknown* pUnk = nullptr;
  const HRESULT hr = pRack->GetObject(bstrName, iid, &pUnk);
  ::SysFreeString(bstrName);
  // On failure the out-parameter is not ours to touch, whatever it holds.
  if (FAILED(hr)) return hr;
  if (!pUnk) return E_FAIL;
  out.Attach(reinterpret_cast<T*>(pUnk));
  return hr;
}

#endif  // VELMORA_ADDIN_RACK_LOOKUP_H
