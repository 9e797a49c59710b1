// Small builders of the VARIANTs tests hand to the host objects, for the
// types CComVariant has no constructor for. Each returns a VARIANT that owns
// its content (an object is AddRef'd, a string copied).
#ifndef VELMORA_HOST_VARIANTS_H
#define VELMORA_HOST_VARIANTS_H

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <atlbase.h>

#include <vector>

ATL::CComVariant HostI4(LONG value);
ATL::CComVariant HostBool(bool value);
ATL::CComVariant HostBstr(LPCOLESTR text);  // null: a VT_BSTR holding a null BSTR
ATL::CComVariant HostNull();
ATL::CComVariant HostUnknown(IUnknown* object);    // VT_UNKNOWN, null allowed
ATL::CComVariant HostDispatch(IDispatch* object);  // VT_DISPATCH, null allowed

// VT_ARRAY|VT_VARIANT of one dimension, lower bound 0, holding copies of cells.
ATL::CComVariant HostVariantVector(const std::vector<ATL::CComVariant>& cells);

// The host's list layout: VT_ARRAY|VT_VARIANT of two dimensions, created with
// the bounds {columns, 0} then {rows, 0} (leftmost first), so that the cell of
// row r and column c is at the index array {c, r}, SafeArrayGetUBound(.., 1)
// is columns - 1 and SafeArrayGetUBound(.., 2) is rows - 1. Column 1 holds
// copies of column1; column 0 holds the placeholder BSTR "unused" and any
// further column VT_EMPTY. columns < 2 gives VT_ERROR E_INVALIDARG.
ATL::CComVariant HostVariantTable(const std::vector<ATL::CComVariant>& column1, ULONG columns = 2);

#endif  // VELMORA_HOST_VARIANTS_H
