// The one way the add-in looks up a host object in the host's object rack.
//
// Without a rack the object counts as not available. Otherwise GetObject is
// called once, without retry, for the interface T names. A failing HRESULT
// and a null pointer returned with success both mean "not available". The
// object is held in the caller's CComPtr and released when the caller's step
// is over: nothing found in the rack is cached across run events.
#ifndef VELMORA_SETTINGS_RACK_LOOKUP_H
#define VELMORA_SETTINGS_RACK_LOOKUP_H

#include <atlbase.h>

#include <velmora.h>

// Returns GetObject's HRESULT, E_FAIL when it succeeded without an object,
// or E_POINTER when there is no rack; out is non-null exactly on success.
template <class T>
[[nodiscard]] HRESULT LookupRackObject(IObjectRack* pRack, BSTR bstrName, CComPtr<T>& out) {
  out.Release();
  if (!pRack) return E_POINTER;
  IUnknown* raw = nullptr;
  const HRESULT hr = pRack->GetObject(bstrName, IidOf<T>(), &raw);
  // COM leaves an out-parameter undefined on failure: whatever it holds is
  // not ours to release.
  if (FAILED(hr)) return hr;
  if (!raw) return E_FAIL;
  // The rack answers with a pointer to the interface asked for, which is T's
  // own IID, so this is the object's T* itself.
  out.Attach(reinterpret_cast<T*>(raw));
  return hr;
}

// The same for a name that is not a BSTR yet (a literal): it is passed to the
// rack as a BSTR, as the interface requires.
template <class T>
[[nodiscard]] HRESULT LookupRackObject(IObjectRack* pRack, LPCOLESTR pszName, CComPtr<T>& out) {
  CComBSTR name(pszName);
  return LookupRackObject(pRack, static_cast<BSTR>(name), out);
}

#endif  // VELMORA_SETTINGS_RACK_LOOKUP_H
