// VariantChangeType: converts a VARIANT's value to another type.
//
// Covered: every pair among the integer types, R4, R8, CY, DATE, BOOL and
// BSTR (numbers as text), DECIMAL from whole numbers and as a source, and
// IDispatch/IUnknown sources through their value property (DISPID_VALUE)
// unless the caller passes VARIANT_NOVALUEPROP. Not covered, E_NOTIMPL:
// dates as text (either way) and DECIMAL from fractions. Text is read and
// written as in an English locale ('.' decimal point, ',' thousands, '$'),
// and read as the zero-terminated string the platform's conversion
// functions take: a BSTR's text ends at its first zero character.
//
// Where the documentation leaves a case open this follows the platform:
// VARIANT_TRUE becomes the all-ones value of an unsigned target (255 for
// VT_UI1); anything but NULL and ERROR converts to VT_EMPTY and VT_NULL; a
// null object has no value property (DISP_E_BADVARTYPE); between a signed
// and an unsigned integer type of the same size the bits are kept rather
// than the value range-checked (VT_UI4 4294967295 is VT_I4 -1, VT_I2 -1 is
// VT_UI2 65535), which the DLL meets on Windows. Where the platform departs
// from the documentation this follows the documentation: NaN does not fit
// an integer (DISP_E_OVERFLOW).
//
// The result is built aside and only then replaces the destination, so the
// destination may be the source, and is left as it was when a conversion fails.
#include <oleauto.h>

#include <stdint.h>

#include "oleaut32/variant_number.h"
#include "oleaut32/variant_types.h"

using velmora_platform::IsValidVariantType;
using velmora_platform::Number;

namespace {

constexpr USHORT kNoValueProperty = VARIANT_NOVALUEPROP;

bool IsIntegerType(VARTYPE vt) {
  switch (vt) {
    case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4: case VT_I8: case VT_UI8:
    case VT_INT: case VT_UINT:
      return true;
    default:
      return false;
  }
}

// Bytes of an integer type; 0 for other types.
int IntegerSize(VARTYPE vt) {
  switch (vt) {
    case VT_I1: case VT_UI1: return 1;
    case VT_I2: case VT_UI2: return 2;
    case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: return 4;
    case VT_I8: case VT_UI8: return 8;
    default: return 0;
  }
}

// The integer's bits, zero-extended.
uint64_t BitsOf(const VARIANT& v) {
  switch (v.vt) {
    case VT_I1: case VT_UI1: return v.bVal;
    case VT_I2: case VT_UI2: return v.uiVal;
    case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: return v.ulVal;
    default: return v.ullVal;
  }
}

bool IsUnsignedType(VARTYPE vt) {
  return vt == VT_UI1 || vt == VT_UI2 || vt == VT_UI4 || vt == VT_UINT || vt == VT_UI8;
}

uint64_t MaskOf(VARTYPE vt) {
  switch (vt) {
    case VT_UI1: return 0xFFu;
    case VT_UI2: return 0xFFFFu;
    case VT_UI4: case VT_UINT: return 0xFFFFFFFFu;
    default: return ~uint64_t{0};
  }
}

bool IsNumericTarget(VARTYPE vt) {
  return IsIntegerType(vt) || vt == VT_R4 || vt == VT_R8 || vt == VT_CY || vt == VT_DATE;
}

// A type VariantChangeType knows, whether or not it can convert to it:
// VT_VARIANT and VT_RECORD are real types that no value converts to
// (DISP_E_TYPEMISMATCH), unlike VT_VOID and the like (DISP_E_BADVARTYPE).
bool IsConvertibleTarget(VARTYPE vt) { return IsValidVariantType(vt) || vt == VT_VARIANT || vt == VT_RECORD; }

// A byref VARIANT seen as the value it refers to, without taking ownership.
HRESULT Dereference(const VARIANT& source, VARIANT* view) {
  *view = source;
  if (!(source.vt & VT_BYREF)) return S_OK;
  const VARTYPE vt = source.vt & ~VT_BYREF;
  if (!source.byref) return E_INVALIDARG;
  if (vt & VT_ARRAY) {
    view->parray = *source.pparray;
  } else if (vt == VT_VARIANT) {
    const VARIANT& inner = *source.pvarVal;
    // One level only, as VariantCopyInd does.
    if (inner.vt & VT_BYREF) return E_INVALIDARG;
    *view = inner;
    return S_OK;
  } else if (vt == VT_DECIMAL) {
    view->decVal = *source.pdecVal;  // overlays vt, which is set below
  } else {
    switch (vt) {
      case VT_I1: view->cVal = *source.pcVal; break;
      case VT_UI1: view->bVal = *source.pbVal; break;
      case VT_I2: view->iVal = *source.piVal; break;
      case VT_UI2: view->uiVal = *source.puiVal; break;
      case VT_BOOL: view->boolVal = *source.pboolVal; break;
      case VT_I4: view->lVal = *source.plVal; break;
      case VT_UI4: view->ulVal = *source.pulVal; break;
      case VT_INT: view->intVal = *source.pintVal; break;
      case VT_UINT: view->uintVal = *source.puintVal; break;
      case VT_ERROR: view->scode = *source.pscode; break;
      case VT_R4: view->fltVal = *source.pfltVal; break;
      case VT_R8: view->dblVal = *source.pdblVal; break;
      case VT_DATE: view->date = *source.pdate; break;
      case VT_I8: view->llVal = *source.pllVal; break;
      case VT_UI8: view->ullVal = *source.pullVal; break;
      case VT_CY: view->cyVal = *source.pcyVal; break;
      case VT_BSTR: view->bstrVal = *source.pbstrVal; break;
      case VT_UNKNOWN: case VT_DISPATCH: view->punkVal = *source.ppunkVal; break;
      default: return DISP_E_BADVARTYPE;
    }
  }
  view->vt = vt;
  return S_OK;
}

// The value property of an object: IDispatch::Invoke(DISPID_VALUE, get).
HRESULT ValueProperty(IUnknown* object, bool is_dispatch, USHORT flags, VARIANT* value) {
  if (!object) return DISP_E_BADVARTYPE;
  if (flags & kNoValueProperty) return DISP_E_TYPEMISMATCH;
  IDispatch* dispatch = nullptr;
  if (is_dispatch) {
    dispatch = static_cast<IDispatch*>(object);
    dispatch->AddRef();
  } else if (FAILED(object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))) || !dispatch) {
    return DISP_E_TYPEMISMATCH;
  }
  DISPPARAMS no_arguments = {nullptr, nullptr, 0, 0};
  VariantInit(value);
  const HRESULT hr = dispatch->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &no_arguments,
                                      value, nullptr, nullptr);
  dispatch->Release();
  if (FAILED(hr)) {
    VariantClear(value);
    return DISP_E_TYPEMISMATCH;
  }
  return S_OK;
}

HRESULT ReadNumber(const VARIANT& v, bool integer_target, Number* n) {
  switch (v.vt) {
    case VT_EMPTY: *n = Number::Signed(0); return S_OK;
    case VT_I1: *n = Number::Signed(static_cast<signed char>(v.cVal)); return S_OK;
    case VT_UI1: *n = Number::Signed(v.bVal); return S_OK;
    case VT_I2: *n = Number::Signed(v.iVal); return S_OK;
    case VT_UI2: *n = Number::Signed(v.uiVal); return S_OK;
    case VT_BOOL: *n = Number::Signed(v.boolVal); return S_OK;
    case VT_I4: *n = Number::Signed(v.lVal); return S_OK;
    case VT_UI4: *n = Number::Signed(v.ulVal); return S_OK;
    case VT_INT: *n = Number::Signed(v.intVal); return S_OK;
    case VT_UINT: *n = Number::Signed(v.uintVal); return S_OK;
    case VT_I8: *n = Number::Signed(v.llVal); return S_OK;
    case VT_UI8: *n = Number::Unsigned(v.ullVal); return S_OK;
    case VT_R4: *n = Number::Real(v.fltVal); return S_OK;
    case VT_R8: *n = Number::Real(v.dblVal); return S_OK;
    case VT_DATE: *n = Number::Real(v.date); return S_OK;
    case VT_CY:
      *n = integer_target ? Number::Signed(velmora_platform::DivideRoundHalfEven(v.cyVal.int64, 10000))
                          : Number::Real(static_cast<double>(v.cyVal.int64) / 10000);
      return S_OK;
    case VT_DECIMAL:
      return velmora_platform::NumberFromDecimal(v.decVal, integer_target, n);
    case VT_BSTR:
      return velmora_platform::ParseNumber(v.bstrVal, SysStringLen(v.bstrVal), n);
    default:
      return DISP_E_TYPEMISMATCH;
  }
}

bool EqualsIgnoringCase(const OLECHAR* text, UINT length, const char* word) {
  UINT i = 0;
  for (; i < length && word[i]; ++i) {
    OLECHAR c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<OLECHAR>(c - 'A' + 'a');
    if (c != static_cast<OLECHAR>(word[i])) return false;
  }
  return i == length && word[i] == '\0';
}

HRESULT ToBool(const VARIANT& v, VARIANT* out) {
  if (v.vt == VT_BSTR && v.bstrVal) {
    // "True" and "False" in any case but with no blanks around them, as the
    // platform reads them; else a number.
    const OLECHAR* text = v.bstrVal;
    UINT length = 0;
    while (length < SysStringLen(v.bstrVal) && text[length] != 0) ++length;
    const bool is_true = EqualsIgnoringCase(text, length, "true") || EqualsIgnoringCase(text, length, "#true#");
    const bool is_false = EqualsIgnoringCase(text, length, "false") || EqualsIgnoringCase(text, length, "#false#");
    if (is_true || is_false) {
      out->vt = VT_BOOL;
      out->boolVal = is_true ? VARIANT_TRUE : VARIANT_FALSE;
      return S_OK;
    }
  }
  Number n;
  const HRESULT hr = ReadNumber(v, false, &n);
  if (FAILED(hr)) return hr;
  return velmora_platform::StoreNumber(n, VT_BOOL, out);
}

HRESULT ToText(const VARIANT& v, USHORT flags, VARIANT* out) {
  BSTR text = nullptr;
  switch (v.vt) {
    case VT_EMPTY:
      text = SysAllocStringLen(nullptr, 0);
      break;
    case VT_BOOL:
      if (flags & VARIANT_ALPHABOOL) {
        text = velmora_platform::TextFromAscii(v.boolVal ? "True" : "False");
      } else {
        text = velmora_platform::TextFromNumber(Number::Signed(v.boolVal), 0);
      }
      break;
    case VT_R4:
      text = velmora_platform::TextFromNumber(Number::Real(v.fltVal), 7);
      break;
    case VT_CY:
      text = velmora_platform::TextFromCurrency(v.cyVal);
      break;
    case VT_DECIMAL:
      text = velmora_platform::TextFromDecimal(v.decVal);
      break;
    case VT_DATE:
      return E_NOTIMPL;
    default: {
      Number n;
      const HRESULT hr = ReadNumber(v, false, &n);
      if (FAILED(hr)) return hr;
      text = velmora_platform::TextFromNumber(n, 15);
      break;
    }
  }
  if (!text) return E_OUTOFMEMORY;
  out->vt = VT_BSTR;
  out->bstrVal = text;
  return S_OK;
}

HRESULT ToInterface(const VARIANT& v, VARTYPE vt, VARIANT* out) {
  if (v.vt != VT_DISPATCH && v.vt != VT_UNKNOWN) return DISP_E_TYPEMISMATCH;
  IUnknown* result = nullptr;
  if (!v.punkVal) {
    result = nullptr;
  } else if (vt == VT_UNKNOWN) {
    result = v.punkVal;  // an IDispatch is an IUnknown
    result->AddRef();
  } else {
    const HRESULT hr = v.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&result));
    if (FAILED(hr)) return hr;
  }
  out->vt = vt;
  out->punkVal = result;
  return S_OK;
}

HRESULT Convert(const VARIANT& v, USHORT flags, VARTYPE vt, VARIANT* out) {
  if (v.vt == vt) return VariantCopy(out, &v);
  if ((v.vt | vt) & VT_ARRAY) return DISP_E_TYPEMISMATCH;

  if ((v.vt == VT_DISPATCH || v.vt == VT_UNKNOWN) && vt != VT_DISPATCH && vt != VT_UNKNOWN) {
    VARIANT value;
    HRESULT hr = ValueProperty(v.punkVal, v.vt == VT_DISPATCH, flags, &value);
    if (FAILED(hr)) return hr;
    // The value of a value is not looked up again.
    hr = Convert(value, flags | kNoValueProperty, vt, out);
    VariantClear(&value);
    return hr;
  }

  if (IntegerSize(v.vt) != 0 && IntegerSize(v.vt) == IntegerSize(vt) && IsUnsignedType(v.vt) != IsUnsignedType(vt)) {
    VARIANT same = v;
    same.vt = vt;
    same.ullVal = BitsOf(v);
    *out = same;
    return S_OK;
  }
  if (v.vt == VT_BOOL && IsUnsignedType(vt)) {
    // All ones of the target's width rather than an overflow.
    const uint64_t bits = static_cast<uint64_t>(static_cast<int64_t>(v.boolVal));
    return velmora_platform::StoreNumber(Number::Unsigned(bits & MaskOf(vt)), vt, out);
  }
  if (v.vt == VT_CY && vt == VT_DECIMAL) {
    // Exactly: the currency's scaled integer with four decimal places.
    DECIMAL value = {};
    value.sign = v.cyVal.int64 < 0 ? DECIMAL_NEG : 0;
    value.scale = 4;
    value.Lo64 = v.cyVal.int64 < 0 ? 0 - static_cast<uint64_t>(v.cyVal.int64) : static_cast<uint64_t>(v.cyVal.int64);
    out->decVal = value;  // overlays vt, so vt is set after it
    out->vt = VT_DECIMAL;
    return S_OK;
  }
  if (IsNumericTarget(vt) || vt == VT_DECIMAL) {
    if (vt == VT_DATE && v.vt == VT_BSTR) return E_NOTIMPL;
    Number n;
    const HRESULT hr = ReadNumber(v, IsIntegerType(vt), &n);
    if (FAILED(hr)) return hr;
    return velmora_platform::StoreNumber(n, vt, out);
  }
  switch (vt) {
    case VT_EMPTY:
    case VT_NULL:
      if (v.vt == VT_NULL || v.vt == VT_ERROR) return DISP_E_TYPEMISMATCH;
      out->vt = vt;
      return S_OK;
    case VT_BOOL:
      return ToBool(v, out);
    case VT_BSTR:
      return ToText(v, flags, out);
    case VT_DISPATCH:
    case VT_UNKNOWN:
      return ToInterface(v, vt, out);
    default:
      return DISP_E_TYPEMISMATCH;
  }
}

}  // namespace

HRESULT VariantChangeType(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, USHORT wFlags, VARTYPE vt) {
  if (!pvargDest || !pvarSrc) return E_INVALIDARG;
  if (!IsValidVariantType(pvarSrc->vt) || !IsConvertibleTarget(vt & ~VT_BYREF)) return DISP_E_BADVARTYPE;
  // A reference is not something a value converts to.
  if (vt & VT_BYREF) return DISP_E_TYPEMISMATCH;

  VARIANT source;
  HRESULT hr = Dereference(*pvarSrc, &source);
  if (FAILED(hr)) return hr;

  VARIANT result;
  VariantInit(&result);
  hr = Convert(source, wFlags, vt, &result);
  if (FAILED(hr)) {
    VariantClear(&result);
    return hr;
  }
  hr = VariantClear(pvargDest);
  if (FAILED(hr)) {
    VariantClear(&result);
    return hr;
  }
  *pvargDest = result;
  return S_OK;
}
