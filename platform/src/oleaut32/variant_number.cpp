// Numeric parsing, rounding, range checks and formatting for VariantChangeType.
#include "oleaut32/variant_number.h"

#include <float.h>
#include <locale.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

namespace velmora_platform {

namespace {

constexpr double kTwoTo63 = 9223372036854775808.0;
constexpr double kTwoTo64 = 18446744073709551616.0;
// The span of dates a DATE can hold: 1 January 100 to 31 December 9999.
constexpr double kDateMin = -657434.0;
constexpr double kDateEnd = 2958466.0;
constexpr int64_t kCurrencyScale = 10000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The C library's number parser, pinned to the "C" locale whatever the
// program has set, so that '.' is always the decimal point.
double ParseReal(const std::string& text) {
  static const locale_t c_locale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
  return strtod_l(text.c_str(), nullptr, c_locale);
}

struct IntegerRange {
  bool is_signed;
  int64_t min;
  uint64_t max;
};

bool RangeOf(VARTYPE vt, IntegerRange* range) {
  switch (vt) {
    case VT_I1: *range = {true, INT8_MIN, INT8_MAX}; return true;
    case VT_UI1: *range = {false, 0, UINT8_MAX}; return true;
    case VT_I2: *range = {true, INT16_MIN, INT16_MAX}; return true;
    case VT_UI2: *range = {false, 0, UINT16_MAX}; return true;
    case VT_I4: case VT_INT: *range = {true, INT32_MIN, INT32_MAX}; return true;
    case VT_UI4: case VT_UINT: *range = {false, 0, UINT32_MAX}; return true;
    case VT_I8: *range = {true, INT64_MIN, INT64_MAX}; return true;
    case VT_UI8: *range = {false, 0, UINT64_MAX}; return true;
    default: return false;
  }
}

// An integer as sign and magnitude, so that the full ranges of both I8 and
// UI8 fit. False when a real value rounds outside both.
bool ToInteger(const Number& n, bool* negative, uint64_t* magnitude) {
  switch (n.kind) {
    case Number::kSigned:
      *negative = n.signed_value < 0;
      *magnitude = *negative ? 0 - static_cast<uint64_t>(n.signed_value) : static_cast<uint64_t>(n.signed_value);
      return true;
    case Number::kUnsigned:
      *negative = false;
      *magnitude = n.unsigned_value;
      return true;
    case Number::kReal: {
      if (n.beyond_64_bits) return false;
      const double r = RoundHalfEven(n.real_value);
      if (!(r >= -kTwoTo63 && r < kTwoTo64)) return false;  // NaN fails here too
      *negative = r < 0;
      *magnitude = *negative ? 0 - static_cast<uint64_t>(static_cast<int64_t>(r)) : static_cast<uint64_t>(r);
      return true;
    }
  }
  return false;
}

HRESULT StoreInteger(const Number& n, VARTYPE vt, const IntegerRange& range, VARIANT* out) {
  bool negative = false;
  uint64_t magnitude = 0;
  if (!ToInteger(n, &negative, &magnitude)) return DISP_E_OVERFLOW;
  if (n.bit_pattern && range.is_signed && range.max < static_cast<uint64_t>(INT64_MAX) &&
      magnitude <= range.max * 2 + 1 && magnitude > range.max) {
    // The literal's bits in the target's width: the negative value they make.
    negative = true;
    magnitude = range.max * 2 + 2 - magnitude;
  }
  if (negative) {
    if (!range.is_signed || magnitude > 0 - static_cast<uint64_t>(range.min)) return DISP_E_OVERFLOW;
  } else if (magnitude > range.max) {
    return DISP_E_OVERFLOW;
  }
  const uint64_t bits = negative ? 0 - magnitude : magnitude;  // two's complement
  out->vt = vt;
  switch (vt) {
    case VT_I1: out->cVal = static_cast<CHAR>(static_cast<int8_t>(bits)); break;
    case VT_UI1: out->bVal = static_cast<BYTE>(bits); break;
    case VT_I2: out->iVal = static_cast<SHORT>(bits); break;
    case VT_UI2: out->uiVal = static_cast<USHORT>(bits); break;
    case VT_I4: out->lVal = static_cast<LONG>(bits); break;
    case VT_INT: out->intVal = static_cast<INT>(bits); break;
    case VT_UI4: out->ulVal = static_cast<ULONG>(bits); break;
    case VT_UINT: out->uintVal = static_cast<UINT>(bits); break;
    case VT_I8: out->llVal = static_cast<LONGLONG>(bits); break;
    default: out->ullVal = bits; break;
  }
  return S_OK;
}

HRESULT StoreCurrency(const Number& n, VARIANT* out) {
  int64_t scaled = 0;
  if (n.kind == Number::kSigned) {
    if (n.signed_value > INT64_MAX / kCurrencyScale || n.signed_value < INT64_MIN / kCurrencyScale) {
      return DISP_E_OVERFLOW;
    }
    scaled = n.signed_value * kCurrencyScale;
  } else {
    // The whole part and the fraction apart: the product of a large value
    // and 10000 in a double would lose the low digits.
    const double real = n.AsReal();
    const double whole = trunc(real);
    if (!(whole > -kTwoTo63 / kCurrencyScale - 1 && whole < kTwoTo63 / kCurrencyScale + 1)) return DISP_E_OVERFLOW;
    const __int128 total = static_cast<__int128>(static_cast<int64_t>(whole)) * kCurrencyScale +
                           static_cast<int64_t>(RoundHalfEven((real - whole) * kCurrencyScale));
    if (total < INT64_MIN || total > INT64_MAX) return DISP_E_OVERFLOW;
    scaled = static_cast<int64_t>(total);
  }
  out->vt = VT_CY;
  out->cyVal.int64 = scaled;
  return S_OK;
}

BSTR TextFromDigits(bool negative, std::string digits, int scale) {
  // Place the decimal point, then drop the fraction's trailing zeros.
  if (scale > 0) {
    if (digits.size() <= static_cast<size_t>(scale)) digits.insert(0, scale + 1 - digits.size(), '0');
    digits.insert(digits.size() - scale, 1, '.');
    while (digits.back() == '0') digits.pop_back();
    if (digits.back() == '.') digits.pop_back();
  }
  if (negative && digits != "0") digits.insert(0, 1, '-');
  return TextFromAscii(digits.c_str());
}

std::string DigitsOf(unsigned __int128 value) {
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(value % 10)));
    value /= 10;
  } while (value != 0);
  return digits;
}

unsigned __int128 MantissaOf(const DECIMAL& value) {
  return (static_cast<unsigned __int128>(value.Hi32) << 64) | value.Lo64;
}

}  // namespace

double Number::AsReal() const {
  switch (kind) {
    case kSigned: return static_cast<double>(signed_value);
    case kUnsigned: return static_cast<double>(unsigned_value);
    case kReal: return real_value;
  }
  return 0;
}

double RoundHalfEven(double x) {
  const double floor_x = floor(x);
  const double fraction = x - floor_x;
  if (fraction > 0.5) return floor_x + 1;
  if (fraction < 0.5) return floor_x;
  return fmod(floor_x, 2.0) == 0 ? floor_x : floor_x + 1;
}

int64_t DivideRoundHalfEven(int64_t value, int64_t divisor) {
  int64_t quotient = value / divisor;
  const int64_t remainder = value % divisor;
  const int64_t twice = (remainder < 0 ? -remainder : remainder) * 2;
  if (twice > divisor || (twice == divisor && quotient % 2 != 0)) quotient += value < 0 ? -1 : 1;
  return quotient;
}

bool IsNumberSpace(OLECHAR c) {
  switch (c) {
    case 0x09: case 0x0A: case 0x0B: case 0x0C: case 0x0D: case 0x20: case 0x85: case 0xA0: case 0x1680:
    case 0x2028: case 0x2029: case 0x202F: case 0x205F: case 0x3000:
      return true;
    default:
      return c >= 0x2000 && c <= 0x200A;
  }
}

HRESULT ParseNumber(const OLECHAR* text, UINT length, Number* out) {
  UINT end = 0;
  while (text && end < length && text[end] != 0) ++end;
  UINT i = 0;
  auto at = [&](UINT k) -> char { return k < end && text[k] < 0x80 ? static_cast<char>(text[k]) : '\0'; };

  // Before the number: white space, at most one of each sign, one '(' and
  // one currency symbol, in any order. A minus or a parenthesis makes it
  // negative; an opened parenthesis must close after the number.
  bool negative = false;
  bool plus = false;
  bool minus = false;
  bool paren = false;
  bool currency = false;
  for (;;) {
    if (i < end && IsNumberSpace(text[i])) {
      ++i;
    } else if (at(i) == '+' && !plus) {
      plus = true;
      ++i;
    } else if (at(i) == '-' && !minus) {
      minus = negative = true;
      ++i;
    } else if (at(i) == '(' && !paren) {
      paren = negative = true;
      ++i;
    } else if (at(i) == '$' && !currency) {
      currency = true;
      ++i;
    } else {
      break;
    }
  }

  std::string digits;  // the number without sign or separators, for the C parser
  bool integral = true;
  uint64_t literal = 0;
  bool is_literal = false;
  if (at(i) == '&' && (at(i + 1) == 'H' || at(i + 1) == 'h' || at(i + 1) == 'O' || at(i + 1) == 'o')) {
    // &H1F, &O17: the literal's digits, no fraction, no exponent; a sign
    // does not apply to it.
    const unsigned radix = at(i + 1) == 'H' || at(i + 1) == 'h' ? 16 : 8;
    i += 2;
    int count = 0;
    bool fits = true;
    for (;; ++i, ++count) {
      const char c = at(i);
      unsigned digit = 0;
      if (c >= '0' && c <= '9') {
        digit = static_cast<unsigned>(c - '0');
      } else if (radix == 16 && c >= 'a' && c <= 'f') {
        digit = static_cast<unsigned>(c - 'a' + 10);
      } else if (radix == 16 && c >= 'A' && c <= 'F') {
        digit = static_cast<unsigned>(c - 'A' + 10);
      } else {
        break;
      }
      if (digit >= radix) break;
      if (literal > (UINT64_MAX - digit) / radix) fits = false;
      literal = literal * radix + digit;
    }
    if (count == 0) return DISP_E_TYPEMISMATCH;
    if (!fits) return DISP_E_OVERFLOW;
    is_literal = true;
    negative = false;
  } else {
    // Digits, with thousands separators anywhere after the first digit,
    // a fraction, and an exponent.
    int mantissa_digits = 0;
    while (IsDigit(at(i)) || (at(i) == ',' && mantissa_digits > 0)) {
      if (at(i) != ',') {
        digits += at(i);
        ++mantissa_digits;
      }
      ++i;
    }
    if (at(i) == '.') {
      integral = false;
      digits += at(i++);
      while (IsDigit(at(i)) || (at(i) == ',' && mantissa_digits > 0)) {
        if (at(i) != ',') {
          digits += at(i);
          ++mantissa_digits;
        }
        ++i;
      }
    }
    if (mantissa_digits == 0) return DISP_E_TYPEMISMATCH;
    if (at(i) == 'e' || at(i) == 'E') {
      integral = false;
      digits += 'e';
      ++i;
      if (at(i) == '+' || at(i) == '-') digits += at(i++);
      if (!IsDigit(at(i))) return DISP_E_TYPEMISMATCH;
      while (IsDigit(at(i))) digits += at(i++);
    }
  }

  // After the number: white space, one of each sign, ')', one currency
  // symbol and thousands separators.
  bool closed = false;
  bool trailing_plus = false;
  bool trailing_minus = false;
  bool trailing_currency = false;
  for (;;) {
    if (i < end && IsNumberSpace(text[i])) {
      ++i;
    } else if (at(i) == '+' && !trailing_plus) {
      trailing_plus = true;
      ++i;
    } else if (at(i) == '-' && !trailing_minus) {
      trailing_minus = true;
      if (!is_literal) negative = true;
      ++i;
    } else if (at(i) == ')' && paren && !closed) {
      closed = true;
      ++i;
    } else if (at(i) == '$' && !trailing_currency) {
      trailing_currency = true;
      ++i;
    } else if (at(i) == ',' && !is_literal) {
      ++i;
    } else {
      break;
    }
  }
  if (i != end || paren != closed) return DISP_E_TYPEMISMATCH;

  if (is_literal) {
    *out = Number::Unsigned(literal);
    out->bit_pattern = true;
    return S_OK;
  }
  if (integral) {
    uint64_t magnitude = 0;
    bool fits = true;
    for (char c : digits) {
      const uint64_t digit = static_cast<uint64_t>(c - '0');
      if (magnitude > (UINT64_MAX - digit) / 10) {
        fits = false;
        break;
      }
      magnitude = magnitude * 10 + digit;
    }
    if (fits && !negative) {
      *out = Number::Unsigned(magnitude);
      return S_OK;
    }
    if (fits && magnitude <= static_cast<uint64_t>(INT64_MAX) + 1) {
      *out = Number::Signed(static_cast<int64_t>(0 - magnitude));
      return S_OK;
    }
  }
  const double magnitude = ParseReal(digits);
  // Beyond the largest double: no numeric type holds it.
  if (isinf(magnitude)) return DISP_E_OVERFLOW;
  *out = Number::Real(negative ? -magnitude : magnitude);
  // Rounding to a double must not bring a whole number that no 64-bit
  // type holds back into range (-9223372036854775809 is no I8).
  out->beyond_64_bits = integral;
  return S_OK;
}

HRESULT NumberFromDecimal(const DECIMAL& value, bool round_to_integer, Number* out) {
  const bool negative = (value.sign & DECIMAL_NEG) != 0;
  unsigned __int128 mantissa = MantissaOf(value);
  const int scale = value.scale > 28 ? 28 : value.scale;
  if (!round_to_integer) {
    double real = static_cast<double>(mantissa);
    for (int k = 0; k < scale; ++k) real /= 10;
    *out = Number::Real(negative ? -real : real);
    return S_OK;
  }
  unsigned __int128 divisor = 1;
  for (int k = 0; k < scale; ++k) divisor *= 10;
  unsigned __int128 quotient = mantissa / divisor;
  const unsigned __int128 twice_remainder = (mantissa % divisor) * 2;
  if (twice_remainder > divisor || (twice_remainder == divisor && quotient % 2 != 0)) ++quotient;
  if (!negative) {
    if (quotient > UINT64_MAX) return DISP_E_OVERFLOW;
    *out = Number::Unsigned(static_cast<uint64_t>(quotient));
    return S_OK;
  }
  if (quotient > static_cast<unsigned __int128>(INT64_MAX) + 1) return DISP_E_OVERFLOW;
  *out = Number::Signed(static_cast<int64_t>(0 - static_cast<uint64_t>(quotient)));
  return S_OK;
}

HRESULT StoreNumber(const Number& n, VARTYPE vt, VARIANT* out) {
  IntegerRange range;
  if (RangeOf(vt, &range)) return StoreInteger(n, vt, range, out);
  const double real = n.AsReal();
  switch (vt) {
    case VT_R8:
      out->vt = VT_R8;
      out->dblVal = real;
      return S_OK;
    case VT_R4:
      if (!isnan(real) && fabs(real) > FLT_MAX) return DISP_E_OVERFLOW;
      out->vt = VT_R4;
      out->fltVal = static_cast<FLOAT>(real);
      return S_OK;
    case VT_DATE:
      if (!(real >= kDateMin && real < kDateEnd)) return DISP_E_OVERFLOW;
      out->vt = VT_DATE;
      out->date = real;
      return S_OK;
    case VT_CY:
      return StoreCurrency(n, out);
    case VT_DECIMAL: {
      // A whole real number is exact; a fraction is not supported here.
      if (n.kind == Number::kReal) {
        if (n.beyond_64_bits || real != trunc(real) || !(fabs(real) < kTwoTo63)) return E_NOTIMPL;
        return StoreNumber(Number::Signed(static_cast<int64_t>(real)), VT_DECIMAL, out);
      }
      bool negative = false;
      uint64_t magnitude = 0;
      ToInteger(n, &negative, &magnitude);
      DECIMAL value = {};
      value.sign = negative ? DECIMAL_NEG : 0;
      value.Lo64 = magnitude;
      out->decVal = value;  // overlays vt, so vt is set after it
      out->vt = VT_DECIMAL;
      return S_OK;
    }
    case VT_BOOL: {
      const bool truth = n.kind == Number::kSigned ? n.signed_value != 0 : n.kind == Number::kUnsigned || real != 0;
      out->vt = VT_BOOL;
      out->boolVal = truth ? VARIANT_TRUE : VARIANT_FALSE;
      return S_OK;
    }
    default:
      return DISP_E_TYPEMISMATCH;
  }
}

BSTR TextFromAscii(const char* text) {
  const size_t length = strlen(text);
  BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(length));
  if (!result) return nullptr;
  for (size_t i = 0; i < length; ++i) result[i] = static_cast<OLECHAR>(static_cast<unsigned char>(text[i]));
  return result;
}

BSTR TextFromNumber(const Number& n, int significant_digits) {
  char text[64];
  switch (n.kind) {
    case Number::kSigned:
      snprintf(text, sizeof text, "%lld", static_cast<long long>(n.signed_value));
      break;
    case Number::kUnsigned:
      snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(n.unsigned_value));
      break;
    case Number::kReal:
      // Windows writes up to 15 (R8) or 7 (R4) significant digits and
      // switches to "1E+20" notation as %G does.
      // Zero has no sign in text.
      snprintf(text, sizeof text, "%.*G", significant_digits, n.real_value == 0 ? 0.0 : n.real_value);
      break;
  }
  return TextFromAscii(text);
}

BSTR TextFromCurrency(const CY& value) {
  const bool negative = value.int64 < 0;
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value.int64) : static_cast<uint64_t>(value.int64);
  return TextFromDigits(negative, DigitsOf(magnitude), 4);
}

BSTR TextFromDecimal(const DECIMAL& value) {
  return TextFromDigits((value.sign & DECIMAL_NEG) != 0, DigitsOf(MantissaOf(value)), value.scale > 28 ? 28 : value.scale);
}

}  // namespace velmora_platform
