// VariantChangeType as a table: (input, target type, flags) -> (HRESULT, value).
// Integer targets round half to even (0.5 -> 0, 1.5 -> 2, 2.5 -> 2) and
// report DISP_E_OVERFLOW outside their range, except between a signed and
// an unsigned type of one size, which keep the bits; text parses with white
// space around it, signs, '$', parentheses, thousands separators, a decimal
// point, an exponent, or as an &H/&O literal; anything else is a type
// mismatch.
// Cases the documentation leaves open (text forms, VARIANT_TRUE into an
// unsigned type, conversions to VT_EMPTY and VT_NULL) expect what the
// platform does.
#include <gtest/gtest.h>

#include <math.h>
#include <stdint.h>

#include <limits>
#include <ostream>
#include <string>

#include "tests/platform/support/owners.h"
#include "tests/platform/support/known_deviation.h"
#include "tests/support/hresult.h"

namespace platform_test {
namespace {

// A VARIANT value described plainly, so that the tables hold no resources.
struct Value {
  VARTYPE vt;
  LONGLONG integer;  // integer types, BOOL, ERROR, CY (the scaled int64)
  double real;       // R4, R8, DATE
  const OLECHAR* text;
};

Value Int(VARTYPE vt, LONGLONG v) { return {vt, v, 0, nullptr}; }
Value Real(VARTYPE vt, double v) { return {vt, 0, v, nullptr}; }
Value Text(const OLECHAR* t) { return {VT_BSTR, 0, 0, t}; }
Value Bool(bool b) { return {VT_BOOL, b ? VARIANT_TRUE : VARIANT_FALSE, 0, nullptr}; }
Value Of(VARTYPE vt) { return {vt, 0, 0, nullptr}; }

void Fill(const Value& value, VARIANT* v) {
  VariantInit(v);
  v->vt = value.vt;
  switch (value.vt) {
    case VT_I1: v->cVal = static_cast<CHAR>(value.integer); break;
    case VT_UI1: v->bVal = static_cast<BYTE>(value.integer); break;
    case VT_I2: v->iVal = static_cast<SHORT>(value.integer); break;
    case VT_UI2: v->uiVal = static_cast<USHORT>(value.integer); break;
    case VT_I4: v->lVal = static_cast<LONG>(value.integer); break;
    case VT_UI4: v->ulVal = static_cast<ULONG>(value.integer); break;
    case VT_INT: v->intVal = static_cast<INT>(value.integer); break;
    case VT_UINT: v->uintVal = static_cast<UINT>(value.integer); break;
    case VT_I8: v->llVal = value.integer; break;
    case VT_UI8: v->ullVal = static_cast<ULONGLONG>(value.integer); break;
    case VT_BOOL: v->boolVal = static_cast<VARIANT_BOOL>(value.integer); break;
    case VT_ERROR: v->scode = static_cast<SCODE>(value.integer); break;
    case VT_CY: v->cyVal.int64 = value.integer; break;
    case VT_R4: v->fltVal = static_cast<FLOAT>(value.real); break;
    case VT_R8: v->dblVal = value.real; break;
    case VT_DATE: v->date = value.real; break;
    case VT_BSTR: v->bstrVal = SysAllocString(value.text); break;
    default: break;
  }
}

// The value of `v` in the terms of `expected`, for comparison.
void ExpectValue(const Value& expected, VARIANT* v) {
  ASSERT_EQ(v->vt, expected.vt);
  switch (expected.vt) {
    case VT_I1: EXPECT_EQ(static_cast<signed char>(v->cVal), expected.integer); break;
    case VT_UI1: EXPECT_EQ(v->bVal, expected.integer); break;
    case VT_I2: EXPECT_EQ(v->iVal, expected.integer); break;
    case VT_UI2: EXPECT_EQ(v->uiVal, expected.integer); break;
    case VT_I4: EXPECT_EQ(v->lVal, expected.integer); break;
    case VT_UI4: EXPECT_EQ(v->ulVal, static_cast<ULONG>(expected.integer)); break;
    case VT_INT: EXPECT_EQ(v->intVal, expected.integer); break;
    case VT_UINT: EXPECT_EQ(v->uintVal, static_cast<UINT>(expected.integer)); break;
    case VT_I8: EXPECT_EQ(v->llVal, expected.integer); break;
    case VT_UI8: EXPECT_EQ(v->ullVal, static_cast<ULONGLONG>(expected.integer)); break;
    case VT_BOOL: EXPECT_EQ(v->boolVal, expected.integer); break;
    case VT_CY: EXPECT_EQ(v->cyVal.int64, expected.integer); break;
    case VT_R4: EXPECT_EQ(v->fltVal, static_cast<FLOAT>(expected.real)); break;
    case VT_R8: EXPECT_EQ(v->dblVal, expected.real); break;
    case VT_DATE: EXPECT_EQ(v->date, expected.real); break;
    case VT_DECIMAL:
      EXPECT_EQ(v->decVal.scale, 0);
      EXPECT_EQ(v->decVal.sign, expected.integer < 0 ? DECIMAL_NEG : 0);
      EXPECT_EQ(v->decVal.Hi32, 0u);
      EXPECT_EQ(v->decVal.Lo64, static_cast<ULONGLONG>(expected.integer < 0 ? -expected.integer : expected.integer));
      break;
    case VT_BSTR:
      ASSERT_NE(v->bstrVal, nullptr);
      EXPECT_EQ(wcscmp(v->bstrVal, expected.text), 0) << Narrow(v->bstrVal);
      break;
    default: break;
  }
}

struct ChangeCase {
  const char* name;
  Value input;
  VARTYPE target;
  HRESULT hr;
  Value expected;  // read only when hr is S_OK
  USHORT flags = 0;
  // Set where Wine is known to answer otherwise: why, and its HRESULT.
  const char* wine_deviation = nullptr;
  HRESULT wine_hr = S_OK;
};

// A 64-bit value that does not fit a UI2 overflows, as the documentation says.
constexpr const char* kWineTruncatesToUI2 = "Wine 8 truncates I8 and UI8 values to UI2 without a range check";

void PrintTo(const ChangeCase& c, std::ostream* os) { *os << c.name; }

class VariantChangeTypeTable : public testing::TestWithParam<ChangeCase> {};

TEST_P(VariantChangeTypeTable, Converts) {
  const ChangeCase& c = GetParam();
  Variant source;
  Fill(c.input, source.get());
  Variant result;
  const HRESULT hr = VariantChangeType(result.get(), source.get(), c.flags, c.target);
  if (c.wine_deviation) {
    ASSERT_TRUE(HrAsDocumented(hr, c.hr, c.wine_hr, c.wine_deviation));
    if (RunningUnderWine()) return;
  }
  ASSERT_HR(c.hr, hr);
  if (c.hr == S_OK) {
    ExpectValue(c.expected, result.get());
  } else {
    EXPECT_EQ(result->vt, VT_EMPTY);
  }
  EXPECT_EQ(source->vt, c.input.vt);  // the source is left alone
}

std::string CaseName(const testing::TestParamInfo<ChangeCase>& info) { return info.param.name; }

const ChangeCase kToI4[] = {
    {"Empty", Of(VT_EMPTY), VT_I4, S_OK, Int(VT_I4, 0)},
    {"Null", Of(VT_NULL), VT_I4, DISP_E_TYPEMISMATCH, {}},
    {"I1", Int(VT_I1, -128), VT_I4, S_OK, Int(VT_I4, -128)},
    {"UI1", Int(VT_UI1, 255), VT_I4, S_OK, Int(VT_I4, 255)},
    {"I2", Int(VT_I2, -32768), VT_I4, S_OK, Int(VT_I4, -32768)},
    {"UI2", Int(VT_UI2, 65535), VT_I4, S_OK, Int(VT_I4, 65535)},
    {"I4Min", Int(VT_I4, INT32_MIN), VT_I4, S_OK, Int(VT_I4, INT32_MIN)},
    {"UI4Max", Int(VT_UI4, INT32_MAX), VT_I4, S_OK, Int(VT_I4, INT32_MAX)},
    // Between a signed and an unsigned type of one size the platform keeps
    // the bits: the shipped DLL meets this on Windows.
    {"UI4KeepsItsBits", Int(VT_UI4, 0x80000000LL), VT_I4, S_OK, Int(VT_I4, INT32_MIN)},
    {"I8InRange", Int(VT_I8, -2147483648LL), VT_I4, S_OK, Int(VT_I4, INT32_MIN)},
    {"I8Overflow", Int(VT_I8, 2147483648LL), VT_I4, DISP_E_OVERFLOW, {}},
    {"I8Underflow", Int(VT_I8, -2147483649LL), VT_I4, DISP_E_OVERFLOW, {}},
    {"UI8InRange", Int(VT_UI8, 12345), VT_I4, S_OK, Int(VT_I4, 12345)},
    {"UI8Max", Int(VT_UI8, -1), VT_I4, DISP_E_OVERFLOW, {}},
    {"INT", Int(VT_INT, -7), VT_I4, S_OK, Int(VT_I4, -7)},
    {"UINTKeepsItsBits", Int(VT_UINT, 0xFFFFFFFFLL), VT_I4, S_OK, Int(VT_I4, -1)},
    {"R8HalfToEvenZero", Real(VT_R8, 0.5), VT_I4, S_OK, Int(VT_I4, 0)},
    {"R8HalfToEvenUp", Real(VT_R8, 1.5), VT_I4, S_OK, Int(VT_I4, 2)},
    {"R8HalfToEvenDown", Real(VT_R8, 2.5), VT_I4, S_OK, Int(VT_I4, 2)},
    {"R8NegativeHalfToEvenZero", Real(VT_R8, -0.5), VT_I4, S_OK, Int(VT_I4, 0)},
    {"R8NegativeHalfToEvenUp", Real(VT_R8, -1.5), VT_I4, S_OK, Int(VT_I4, -2)},
    {"R8NegativeHalfToEvenDown", Real(VT_R8, -2.5), VT_I4, S_OK, Int(VT_I4, -2)},
    {"R8BelowHalf", Real(VT_R8, 2.4999), VT_I4, S_OK, Int(VT_I4, 2)},
    {"R8AboveHalf", Real(VT_R8, 2.5001), VT_I4, S_OK, Int(VT_I4, 3)},
    {"R8LargestThatFits", Real(VT_R8, 2147483647.4), VT_I4, S_OK, Int(VT_I4, INT32_MAX)},
    {"R8RoundsPastMax", Real(VT_R8, 2147483647.5), VT_I4, DISP_E_OVERFLOW, {}},
    {"R8RoundsToMin", Real(VT_R8, -2147483648.5), VT_I4, S_OK, Int(VT_I4, INT32_MIN)},
    {"R8RoundsPastMin", Real(VT_R8, -2147483648.6), VT_I4, DISP_E_OVERFLOW, {}},
    {"R8Huge", Real(VT_R8, 1e300), VT_I4, DISP_E_OVERFLOW, {}},
    {"R8Infinity", Real(VT_R8, std::numeric_limits<double>::infinity()), VT_I4, DISP_E_OVERFLOW, {}},
    {"R4HalfToEven", Real(VT_R4, 3.5), VT_I4, S_OK, Int(VT_I4, 4)},
    {"R4NegativeHalfToEven", Real(VT_R4, -4.5), VT_I4, S_OK, Int(VT_I4, -4)},
    {"R4Overflow", Real(VT_R4, 3e9), VT_I4, DISP_E_OVERFLOW, {}},
    {"DateRounds", Real(VT_DATE, 2.5), VT_I4, S_OK, Int(VT_I4, 2)},
    {"CurrencyHalfToEven", Int(VT_CY, 25000), VT_I4, S_OK, Int(VT_I4, 2)},
    {"CurrencyHalfUp", Int(VT_CY, 35000), VT_I4, S_OK, Int(VT_I4, 4)},
    {"BoolTrue", Bool(true), VT_I4, S_OK, Int(VT_I4, -1)},
    {"BoolFalse", Bool(false), VT_I4, S_OK, Int(VT_I4, 0)},
    {"Error", Int(VT_ERROR, 5), VT_I4, DISP_E_TYPEMISMATCH, {}},
    {"Text", Text(OLESTR("42")), VT_I4, S_OK, Int(VT_I4, 42)},
    {"TextWithBlanksAndSign", Text(OLESTR("  -17  ")), VT_I4, S_OK, Int(VT_I4, -17)},
    {"TextPlusSign", Text(OLESTR("+8")), VT_I4, S_OK, Int(VT_I4, 8)},
    {"TextHalfToEvenDown", Text(OLESTR("2.5")), VT_I4, S_OK, Int(VT_I4, 2)},
    {"TextHalfToEvenUp", Text(OLESTR("3.5")), VT_I4, S_OK, Int(VT_I4, 4)},
    {"TextNegativeHalf", Text(OLESTR("-2.5")), VT_I4, S_OK, Int(VT_I4, -2)},
    {"TextFraction", Text(OLESTR("7.25")), VT_I4, S_OK, Int(VT_I4, 7)},
    {"TextExponent", Text(OLESTR("1e3")), VT_I4, S_OK, Int(VT_I4, 1000)},
    {"TextMax", Text(OLESTR("2147483647")), VT_I4, S_OK, Int(VT_I4, INT32_MAX)},
    {"TextOverflow", Text(OLESTR("2147483648")), VT_I4, DISP_E_OVERFLOW, {}},
    {"TextUnderflow", Text(OLESTR("-2147483649")), VT_I4, DISP_E_OVERFLOW, {}},
    {"TextHugeOverflow", Text(OLESTR("123456789012345678901234567890")), VT_I4, DISP_E_OVERFLOW, {}},
    {"TextBeyondTheLargestDouble", Text(OLESTR("1e309")), VT_R8, DISP_E_OVERFLOW, {}},
    {"TextGarbage", Text(OLESTR("abc")), VT_I4, DISP_E_TYPEMISMATCH, {}},
    {"TextTrailingGarbage", Text(OLESTR("12abc")), VT_I4, DISP_E_TYPEMISMATCH, {}},
    {"TextTwoNumbers", Text(OLESTR("1 2")), VT_I4, DISP_E_TYPEMISMATCH, {}},
    {"TextEmpty", Text(OLESTR("")), VT_I4, DISP_E_TYPEMISMATCH, {}},
    {"TextBlank", Text(OLESTR("   ")), VT_I4, DISP_E_TYPEMISMATCH, {}},
    {"TextSignOnly", Text(OLESTR("-")), VT_I4, DISP_E_TYPEMISMATCH, {}},
    {"TextTabs", Text(OLESTR("\t7\t")), VT_I4, S_OK, Int(VT_I4, 7)},
    {"TextBlanksAfterSign", Text(OLESTR(" +  5")), VT_I4, S_OK, Int(VT_I4, 5)},
    {"TextTrailingMinus", Text(OLESTR("5-")), VT_I4, S_OK, Int(VT_I4, -5)},
    {"TextParentheses", Text(OLESTR("(5)")), VT_I4, S_OK, Int(VT_I4, -5)},
    {"TextThousands", Text(OLESTR("1,000")), VT_I4, S_OK, Int(VT_I4, 1000)},
    {"TextTrailingPoint", Text(OLESTR("5.")), VT_I4, S_OK, Int(VT_I4, 5)},
    {"TextLeadingPoint", Text(OLESTR(".5")), VT_I4, S_OK, Int(VT_I4, 0)},
    {"TextFractionalExponent", Text(OLESTR("1.5e1")), VT_I4, S_OK, Int(VT_I4, 15)},
    {"TextExponentWithoutDigits", Text(OLESTR("1e")), VT_I4, DISP_E_TYPEMISMATCH, {}},
    {"TextDIsNoExponent", Text(OLESTR("1d2")), VT_I4, DISP_E_TYPEMISMATCH, {}},
    {"TextCStyleHex", Text(OLESTR("0x10")), VT_I4, DISP_E_TYPEMISMATCH, {}},
    // White space beyond ASCII: no-break, em, ideographic and other spaces.
    {"TextNoBreakSpaces", Text(OLESTR("\u00A012\u00A0")), VT_I4, S_OK, Int(VT_I4, 12)},
    {"TextEmSpaceAfterSign", Text(OLESTR("-\u20034")), VT_I4, S_OK, Int(VT_I4, -4)},
    {"TextIdeographicSpace", Text(OLESTR("\u300012")), VT_I4, S_OK, Int(VT_I4, 12)},
    {"TextZeroWidthSpaceIsNoSpace", Text(OLESTR("\u200B12")), VT_I4, DISP_E_TYPEMISMATCH, {}},
    // &H and &O literals; a signed target narrower than 64 bits takes the
    // literal's bits, and a sign does not apply to a literal.
    {"TextHex", Text(OLESTR("&H1f")), VT_I4, S_OK, Int(VT_I4, 31)},
    {"TextOctal", Text(OLESTR("&o17")), VT_I4, S_OK, Int(VT_I4, 15)},
    {"TextHexAllOnes", Text(OLESTR("&HFFFFFFFF")), VT_I4, S_OK, Int(VT_I4, -1)},
    {"TextHexTooWide", Text(OLESTR("&H1FFFFFFFF")), VT_I4, DISP_E_OVERFLOW, {}},
    {"TextHexSignIgnored", Text(OLESTR("-&H10")), VT_I4, S_OK, Int(VT_I4, 16)},
    {"TextHexWithoutDigits", Text(OLESTR("&H")), VT_I4, DISP_E_TYPEMISMATCH, {}},
    {"TextOctalBadDigit", Text(OLESTR("&O8")), VT_I4, DISP_E_TYPEMISMATCH, {}},
    // The currency symbol before or after the number, and parentheses.
    {"TextCurrency", Text(OLESTR("$5")), VT_I4, S_OK, Int(VT_I4, 5)},
    {"TextCurrencyAfter", Text(OLESTR("5$")), VT_I4, S_OK, Int(VT_I4, 5)},
    {"TextNegativeCurrency", Text(OLESTR("-$5")), VT_I4, S_OK, Int(VT_I4, -5)},
    {"TextCurrencyInParentheses", Text(OLESTR("($5)")), VT_I4, S_OK, Int(VT_I4, -5)},
    {"TextCurrencyAmount", Text(OLESTR("$1,000.50")), VT_I4, S_OK, Int(VT_I4, 1000)},
    {"TextTwoCurrencySymbols", Text(OLESTR("$$5")), VT_I4, DISP_E_TYPEMISMATCH, {}},
    {"TextSignInParentheses", Text(OLESTR("(-1)")), VT_I4, S_OK, Int(VT_I4, -1)},
    {"TextTwoMinusSigns", Text(OLESTR("--1")), VT_I4, DISP_E_TYPEMISMATCH, {}},
};
INSTANTIATE_TEST_SUITE_P(ToI4, VariantChangeTypeTable, testing::ValuesIn(kToI4), CaseName);

const ChangeCase kOtherTargets[] = {
    {"I4ToText", Int(VT_I4, -123), VT_BSTR, S_OK, Text(OLESTR("-123"))},
    {"I4ZeroToText", Int(VT_I4, 0), VT_BSTR, S_OK, Text(OLESTR("0"))},
    {"UI8ToText", Int(VT_UI8, -1), VT_BSTR, S_OK, Text(OLESTR("18446744073709551615"))},
    {"R8ToText", Real(VT_R8, 1.5), VT_BSTR, S_OK, Text(OLESTR("1.5"))},
    {"R8NegativeToText", Real(VT_R8, -0.25), VT_BSTR, S_OK, Text(OLESTR("-0.25"))},
    {"EmptyToText", Of(VT_EMPTY), VT_BSTR, S_OK, Text(OLESTR(""))},
    {"NullToText", Of(VT_NULL), VT_BSTR, DISP_E_TYPEMISMATCH, {}},
    {"R8SmallToText", Real(VT_R8, 0.00001), VT_BSTR, S_OK, Text(OLESTR("1E-05"))},
    {"R8LargeToText", Real(VT_R8, 1e20), VT_BSTR, S_OK, Text(OLESTR("1E+20"))},
    {"R8FifteenDigitsToText", Real(VT_R8, 1.0 / 3), VT_BSTR, S_OK, Text(OLESTR("0.333333333333333"))},
    {"R8WholeFifteenDigitsToText", Real(VT_R8, 123456789012345.0), VT_BSTR, S_OK, Text(OLESTR("123456789012345"))},
    {"R8SixteenDigitsToText", Real(VT_R8, 1e15), VT_BSTR, S_OK, Text(OLESTR("1E+15"))},
    {"R4ToText", Real(VT_R4, 0.1), VT_BSTR, S_OK, Text(OLESTR("0.1"))},
    {"CurrencyToText", Int(VT_CY, 15000), VT_BSTR, S_OK, Text(OLESTR("1.5"))},
    {"ErrorToText", Int(VT_ERROR, 5), VT_BSTR, DISP_E_TYPEMISMATCH, {}},
    // Without VARIANT_ALPHABOOL a BOOL becomes its number.
    {"BoolTrueToText", Bool(true), VT_BSTR, S_OK, Text(OLESTR("-1"))},
    {"BoolFalseToText", Bool(false), VT_BSTR, S_OK, Text(OLESTR("0"))},
    {"BoolTrueToAlphaText", Bool(true), VT_BSTR, S_OK, Text(OLESTR("True")), VARIANT_ALPHABOOL},
    {"BoolFalseToAlphaText", Bool(false), VT_BSTR, S_OK, Text(OLESTR("False")), VARIANT_ALPHABOOL},
    {"BoolToUI1", Bool(true), VT_UI1, S_OK, Int(VT_UI1, 255)},
    {"BoolToUI2", Bool(true), VT_UI2, S_OK, Int(VT_UI2, 65535)},
    {"BoolToUI4", Bool(true), VT_UI4, S_OK, Int(VT_UI4, 0xFFFFFFFFLL)},
    {"BoolFalseToUI4", Bool(false), VT_UI4, S_OK, Int(VT_UI4, 0)},
    {"EmptyToBool", Of(VT_EMPTY), VT_BOOL, S_OK, Bool(false)},
    {"EmptyToR8", Of(VT_EMPTY), VT_R8, S_OK, Real(VT_R8, 0.0)},
    {"NullToBool", Of(VT_NULL), VT_BOOL, DISP_E_TYPEMISMATCH, {}},
    {"I4ToBoolTrue", Int(VT_I4, 5), VT_BOOL, S_OK, Bool(true)},
    {"I4ToBoolFalse", Int(VT_I4, 0), VT_BOOL, S_OK, Bool(false)},
    {"TextToBoolTrue", Text(OLESTR("True")), VT_BOOL, S_OK, Bool(true)},
    {"TextToBoolFalse", Text(OLESTR("false")), VT_BOOL, S_OK, Bool(false)},
    {"HashTextToBool", Text(OLESTR("#TRUE#")), VT_BOOL, S_OK, Bool(true)},
    {"BlankedWordToBool", Text(OLESTR(" true ")), VT_BOOL, DISP_E_TYPEMISMATCH, {}},
    {"YesToBool", Text(OLESTR("yes")), VT_BOOL, DISP_E_TYPEMISMATCH, {}},
    {"NegativeTextToBool", Text(OLESTR("-1")), VT_BOOL, S_OK, Bool(true)},
    {"OtherNumberTextToBool", Text(OLESTR("2")), VT_BOOL, S_OK, Bool(true)},
    {"NumericTextToBool", Text(OLESTR("0")), VT_BOOL, S_OK, Bool(false)},
    {"GarbageTextToBool", Text(OLESTR("maybe")), VT_BOOL, DISP_E_TYPEMISMATCH, {}},
    {"I4ToUI1Overflow", Int(VT_I4, 256), VT_UI1, DISP_E_OVERFLOW, {}},
    {"I4NegativeToUI1", Int(VT_I4, -1), VT_UI1, DISP_E_OVERFLOW, {}},
    {"I4ToI2", Int(VT_I4, -32768), VT_I2, S_OK, Int(VT_I2, -32768)},
    {"I4ToI2Overflow", Int(VT_I4, 32768), VT_I2, DISP_E_OVERFLOW, {}},
    {"I4NegativeToUI4KeepsItsBits", Int(VT_I4, -1), VT_UI4, S_OK, Int(VT_UI4, 0xFFFFFFFFLL)},
    {"I2NegativeToUI2KeepsItsBits", Int(VT_I2, -2), VT_UI2, S_OK, Int(VT_UI2, 65534)},
    {"UI1ToI1KeepsItsBits", Int(VT_UI1, 200), VT_I1, S_OK, Int(VT_I1, -56)},
    {"UI8ToI8KeepsItsBits", Int(VT_UI8, -1), VT_I8, S_OK, Int(VT_I8, -1)},
    // Across sizes the value is range-checked.
    {"I4NegativeToUI2", Int(VT_I4, -1), VT_UI2, DISP_E_OVERFLOW, {}},
    {"UI4ToI2KeepsNoBits", Int(VT_UI4, 0xFFFFLL), VT_I2, DISP_E_OVERFLOW, {}},
    {"I8ToUI2Overflow", Int(VT_I8, 65536), VT_UI2, DISP_E_OVERFLOW, {}, 0, kWineTruncatesToUI2},
    {"I8NegativeToUI4", Int(VT_I8, -1), VT_UI4, DISP_E_OVERFLOW, {}},
    {"UI4ToI2Overflow", Int(VT_UI4, 0x80000000LL), VT_I2, DISP_E_OVERFLOW, {}},
    {"R8ToUI2HalfToEven", Real(VT_R8, 65534.5), VT_UI2, S_OK, Int(VT_UI2, 65534)},
    {"R8ToI8", Real(VT_R8, -1e15), VT_I8, S_OK, Int(VT_I8, -1000000000000000LL)},
    {"TextToI8", Text(OLESTR("-9223372036854775808")), VT_I8, S_OK, Int(VT_I8, INT64_MIN)},
    // One below: a double would round it back to INT64_MIN.
    {"TextBelowI8", Text(OLESTR("-9223372036854775809")), VT_I8, DISP_E_OVERFLOW, {}},
    {"TextHexToI8KeepsItsValue", Text(OLESTR("&HFFFFFFFF")), VT_I8, S_OK, Int(VT_I8, 4294967295LL)},
    {"TextHexToI2", Text(OLESTR("&HFFFF")), VT_I2, S_OK, Int(VT_I2, -1)},
    {"TextToUI8", Text(OLESTR("18446744073709551615")), VT_UI8, S_OK, Int(VT_UI8, -1)},
    {"I4ToR8", Int(VT_I4, 7), VT_R8, S_OK, Real(VT_R8, 7.0)},
    {"TextToR8", Text(OLESTR(" 0.125 ")), VT_R8, S_OK, Real(VT_R8, 0.125)},
    {"R8ToR4", Real(VT_R8, 0.5), VT_R4, S_OK, Real(VT_R4, 0.5)},
    {"R8ToR4Overflow", Real(VT_R8, 1e300), VT_R4, DISP_E_OVERFLOW, {}},
    {"BoolToR8", Bool(true), VT_R8, S_OK, Real(VT_R8, -1.0)},
    {"I4ToCurrency", Int(VT_I4, 3), VT_CY, S_OK, Int(VT_CY, 30000)},
    {"I4ToDate", Int(VT_I4, 2), VT_DATE, S_OK, Real(VT_DATE, 2.0)},
    {"I4ToError", Int(VT_I4, 5), VT_ERROR, DISP_E_TYPEMISMATCH, {}},
    {"I4ToDispatch", Int(VT_I4, 5), VT_DISPATCH, DISP_E_TYPEMISMATCH, {}},
    {"I4ToUnknown", Int(VT_I4, 5), VT_UNKNOWN, DISP_E_TYPEMISMATCH, {}},
    {"I4ToDecimal", Int(VT_I4, -5), VT_DECIMAL, S_OK, Int(VT_DECIMAL, -5)},
    {"I4ToEmpty", Int(VT_I4, 5), VT_EMPTY, S_OK, Of(VT_EMPTY)},
    {"I4ToNull", Int(VT_I4, 5), VT_NULL, S_OK, Of(VT_NULL)},
    {"EmptyToNull", Of(VT_EMPTY), VT_NULL, S_OK, Of(VT_NULL)},
    {"NullToEmpty", Of(VT_NULL), VT_EMPTY, DISP_E_TYPEMISMATCH, {}},
    {"ErrorToEmpty", Int(VT_ERROR, 5), VT_EMPTY, DISP_E_TYPEMISMATCH, {}},
    {"EmptyToDispatch", Of(VT_EMPTY), VT_DISPATCH, DISP_E_TYPEMISMATCH, {}},
    {"EmptyToUnknown", Of(VT_EMPTY), VT_UNKNOWN, DISP_E_TYPEMISMATCH, {}},
    {"I4ToByref", Int(VT_I4, 5), VT_BYREF | VT_I4, DISP_E_TYPEMISMATCH, {}},
    {"I4ToVariant", Int(VT_I4, 5), VT_VARIANT, DISP_E_TYPEMISMATCH, {}},
    {"I4ToRecord", Int(VT_I4, 5), VT_RECORD, DISP_E_TYPEMISMATCH, {}},
    {"I4ToArray", Int(VT_I4, 5), VT_ARRAY | VT_I4, DISP_E_TYPEMISMATCH, {}},
    {"TextToText", Text(OLESTR("same")), VT_BSTR, S_OK, Text(OLESTR("same"))},
    {"I4ToVoid", Int(VT_I4, 5), VT_VOID, DISP_E_BADVARTYPE, {}},
    {"I4ToHresult", Int(VT_I4, 5), VT_HRESULT, DISP_E_BADVARTYPE, {}},
    {"I4ToUndefinedType", Int(VT_I4, 5), 15, DISP_E_BADVARTYPE, {}},
    {"I4ToIllegal", Int(VT_I4, 5), VT_ILLEGALMASKED, DISP_E_BADVARTYPE, {}},
    {"UndefinedSourceType", Of(15), VT_I4, DISP_E_BADVARTYPE, {}},
};
INSTANTIATE_TEST_SUITE_P(OtherTargets, VariantChangeTypeTable, testing::ValuesIn(kOtherTargets), CaseName);

TEST(VariantChangeType, TextEndsAtItsFirstZero) {
  // The platform reads a BSTR as the zero-terminated string its conversion
  // functions take, whatever follows the zero.
  struct ZeroCase {
    const char* name;
    const OLECHAR* before;
    const OLECHAR* after;
    VARTYPE target;
    HRESULT hr;
    LONGLONG value;
  };
  const ZeroCase cases[] = {
      {"Digits", OLESTR("12"), OLESTR("5"), VT_I4, S_OK, 12},
      {"Garbage", OLESTR("-5"), OLESTR("abc"), VT_I4, S_OK, -5},
      {"Blank", OLESTR(" 7"), OLESTR(" "), VT_I8, S_OK, 7},
      {"Word", OLESTR("True"), OLESTR("x"), VT_BOOL, S_OK, VARIANT_TRUE},
      {"NothingBefore", OLESTR(""), OLESTR("1"), VT_I4, DISP_E_TYPEMISMATCH, 0},
  };
  for (const ZeroCase& c : cases) {
    std::basic_string<OLECHAR> text(c.before);
    text += OLECHAR(0);
    text += c.after;
    Variant source;
    source->vt = VT_BSTR;
    source->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    Variant result;
    ASSERT_HR(c.hr, VariantChangeType(result.get(), source.get(), 0, c.target)) << c.name;
    if (c.hr != S_OK) continue;
    EXPECT_EQ(result->vt, c.target) << c.name;
    const LONGLONG value = c.target == VT_I8 ? result->llVal : c.target == VT_BOOL ? result->boolVal : result->lVal;
    EXPECT_EQ(value, c.value) << c.name;
  }
}

TEST(VariantChangeType, NaNDoesNotFitAnInteger) {
  Variant source;
  source->vt = VT_R8;
  source->dblVal = std::numeric_limits<double>::quiet_NaN();
  Variant result;
  const HRESULT hr = VariantChangeType(result.get(), source.get(), 0, VT_I4);
  // NaN fits no integer type.
  EXPECT_TRUE(HrAsDocumented(hr, DISP_E_OVERFLOW, S_OK, "Wine converts NaN to an arbitrary integer"));
  if (hr == DISP_E_OVERFLOW) {
    EXPECT_EQ(result->vt, VT_EMPTY);
  }
}

}  // namespace
}  // namespace platform_test
