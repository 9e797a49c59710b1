#include "host/variants.h"

namespace {

ATL::CComVariant ErrorVariant(HRESULT hr) {
  ATL::CComVariant result;
  result.vt = VT_ERROR;
  result.scode = hr;
  return result;
}

// Hands the array to a VARIANT that owns it.
ATL::CComVariant OwnArray(SAFEARRAY* array) {
  ATL::CComVariant result;
  result.vt = VT_ARRAY | VT_VARIANT;
  result.parray = array;
  return result;
}

}  // namespace

ATL::CComVariant HostI4(LONG value) {
  ATL::CComVariant result;
  result.vt = VT_I4;
  result.lVal = value;
  return result;
}

ATL::CComVariant HostBool(bool value) {
  ATL::CComVariant result;
  result.vt = VT_BOOL;
  result.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return result;
}

ATL::CComVariant HostBstr(LPCOLESTR text) {
  ATL::CComVariant result;
  result.vt = VT_BSTR;
  result.bstrVal = nullptr;
  if (!text) return result;
  result.bstrVal = ::SysAllocString(text);
  if (!result.bstrVal) return ErrorVariant(E_OUTOFMEMORY);
  return result;
}

ATL::CComVariant HostNull() {
  ATL::CComVariant result;
  result.vt = VT_NULL;
  return result;
}

ATL::CComVariant HostUnknown(IUnknown* object) {
  ATL::CComVariant result;
  result.vt = VT_UNKNOWN;
  result.punkVal = object;
  if (object) object->AddRef();
  return result;
}

ATL::CComVariant HostDispatch(IDispatch* object) {
  ATL::CComVariant result;
  result.vt = VT_DISPATCH;
  result.pdispVal = object;
  if (object) object->AddRef();
  return result;
}

ATL::CComVariant HostVariantVector(const std::vector<ATL::CComVariant>& cells) {
  SAFEARRAY* array = ::SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(cells.size()));
  if (!array) return ErrorVariant(E_OUTOFMEMORY);
  ATL::CComVariant result = OwnArray(array);
  for (size_t i = 0; i < cells.size(); ++i) {
    LONG index = static_cast<LONG>(i);
    const HRESULT hr = ::SafeArrayPutElement(array, &index, cells[i].AsInput());
    if (FAILED(hr)) return ErrorVariant(hr);
  }
  return result;
}

ATL::CComVariant HostVariantTable(const std::vector<ATL::CComVariant>& column1, ULONG columns) {
  if (columns < 2) return ErrorVariant(E_INVALIDARG);
  SAFEARRAYBOUND bounds[2];
  bounds[0].cElements = columns;
  bounds[0].lLbound = 0;
  bounds[1].cElements = static_cast<ULONG>(column1.size());
  bounds[1].lLbound = 0;
  SAFEARRAY* array = ::SafeArrayCreate(VT_VARIANT, 2, bounds);
  if (!array) return ErrorVariant(E_OUTOFMEMORY);
  ATL::CComVariant result = OwnArray(array);
  const ATL::CComVariant placeholder(OLESTR("unused"));
  for (size_t row = 0; row < column1.size(); ++row) {
    LONG indices[2] = {0, static_cast<LONG>(row)};
    HRESULT hr = ::SafeArrayPutElement(array, indices, placeholder.AsInput());
    if (FAILED(hr)) return ErrorVariant(hr);
    indices[0] = 1;
    hr = ::SafeArrayPutElement(array, indices, column1[row].AsInput());
    if (FAILED(hr)) return ErrorVariant(hr);
  }
  return result;
}
