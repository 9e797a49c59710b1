// Numbers as VariantChangeType moves them between types: read from any
// numeric VARIANT or numeric text, rounded the Windows way, range-checked
// into the target type, and written back out as text.
#ifndef VELMORA_PLATFORM_VARIANT_NUMBER_H
#define VELMORA_PLATFORM_VARIANT_NUMBER_H

#include <oleauto.h>

#include <stdint.h>

namespace velmora_platform {

struct Number {
  enum Kind { kSigned, kUnsigned, kReal };
  Kind kind = kSigned;
  int64_t signed_value = 0;     // kSigned
  uint64_t unsigned_value = 0;  // kUnsigned: only values above INT64_MAX
  double real_value = 0;        // kReal
  // A whole number written out in full that no 64-bit type holds: its real
  // value is near enough for R8, but no integer target may take it.
  bool beyond_64_bits = false;
  // An &H or &O literal: a signed target narrower than 64 bits takes its
  // bits when they fit the target's width (&HFFFF is -1 as an I2).
  bool bit_pattern = false;

  static Number Signed(int64_t v) { Number n; n.kind = kSigned; n.signed_value = v; return n; }
  static Number Unsigned(uint64_t v) {
    if (v <= static_cast<uint64_t>(INT64_MAX)) return Signed(static_cast<int64_t>(v));
    Number n; n.kind = kUnsigned; n.unsigned_value = v; return n;
  }
  static Number Real(double v) { Number n; n.kind = kReal; n.real_value = v; return n; }

  double AsReal() const;
};

// Round half to even, as every Windows conversion to an integer type does.
double RoundHalfEven(double x);
int64_t DivideRoundHalfEven(int64_t value, int64_t divisor);

// The numeric text that VarI4FromStr and friends accept with the standard
// parse flags in an English locale, read up to the first zero character as
// those functions take a zero-terminated string: white space (Unicode's
// too) around the number, signs, the currency symbol '$' and parentheses
// for negative before and after it, digits with ',' as the thousands
// separator, '.' before a fraction, an "e" exponent, or an &H (hexadecimal)
// or &O (octal) literal. DISP_E_TYPEMISMATCH otherwise.
HRESULT ParseNumber(const OLECHAR* text, UINT length, Number* out);

// The white space the number parse skips.
bool IsNumberSpace(OLECHAR c);

// A DECIMAL as a number; with `round_to_integer`, rounded half to even.
// DISP_E_OVERFLOW when an integer result leaves the 64-bit range.
HRESULT NumberFromDecimal(const DECIMAL& value, bool round_to_integer, Number* out);

// Stores `n` as a value of type vt (an integer, real, CY, DATE, BOOL or
// DECIMAL type; E_NOTIMPL for a DECIMAL from a fraction).
HRESULT StoreNumber(const Number& n, VARTYPE vt, VARIANT* out);

// Text of numbers, as VarBstrFromI4 and friends write it in an English locale.
BSTR TextFromNumber(const Number& n, int significant_digits);
BSTR TextFromCurrency(const CY& value);
BSTR TextFromDecimal(const DECIMAL& value);
BSTR TextFromAscii(const char* text);

}  // namespace velmora_platform

#endif  // VELMORA_PLATFORM_VARIANT_NUMBER_H
