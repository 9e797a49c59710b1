// Which VARTYPEs a VARIANT may hold, shared by the VARIANT functions.
#ifndef VELMORA_PLATFORM_VARIANT_TYPES_H
#define VELMORA_PLATFORM_VARIANT_TYPES_H

#include <oleauto.h>

namespace velmora_platform {

// A type that may stand alone in a VARIANT, without VT_ARRAY or VT_BYREF.
// VT_RECORD is left out: this layer has no IRecordInfo to clear or copy one.
inline bool IsScalarVariantType(VARTYPE base) {
  switch (base) {
    case VT_EMPTY: case VT_NULL: case VT_I2: case VT_I4: case VT_R4: case VT_R8: case VT_CY: case VT_DATE:
    case VT_BSTR: case VT_DISPATCH: case VT_ERROR: case VT_BOOL: case VT_UNKNOWN: case VT_DECIMAL: case VT_I1:
    case VT_UI1: case VT_UI2: case VT_UI4: case VT_I8: case VT_UI8: case VT_INT: case VT_UINT:
      return true;
    default:
      return false;
  }
}

// The VARTYPE of a VARIANT as a whole: a scalar type, or an element type
// with VT_ARRAY and/or VT_BYREF. Behind those two, VT_EMPTY and VT_NULL make
// no sense and VT_VARIANT does.
inline bool IsValidVariantType(VARTYPE vt) {
  const VARTYPE base = vt & VT_TYPEMASK;
  const VARTYPE modifiers = vt & ~VT_TYPEMASK;
  if (modifiers & ~(VT_ARRAY | VT_BYREF)) return false;
  if (modifiers == 0) return IsScalarVariantType(base);
  if (base == VT_EMPTY || base == VT_NULL) return false;
  return base == VT_VARIANT || IsScalarVariantType(base);
}

}  // namespace velmora_platform

#endif  // VELMORA_PLATFORM_VARIANT_TYPES_H
