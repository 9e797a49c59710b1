// The differential conformance program. Built for Linux (over our platform
// layer) and for Windows (over the real DLLs, run under Wine), it feeds the
// same large, deterministic set of inputs to the layer's automation, string,
// path and array functions and prints one line per input:
//
//   function <TAB> input <TAB> result
//
// in a canonical form that does not depend on the build (no addresses, no
// pointer sizes), so that scripts/differential.sh can compare the Linux
// output with the Wine output line by line. The inputs are hand-picked edge
// cases plus generated ones from a fixed seed; the same seed gives the same
// inputs on every build.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <shlwapi.h>

#include <wctype.h>

#include <math.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <iterator>
#include <limits>
#include <string>
#include <vector>

namespace {

typedef std::basic_string<WCHAR> Text;

// splitmix64: small, and the same numbers on every compiler.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // 0 <= result < bound
  uint32_t Below(uint32_t bound) { return static_cast<uint32_t>(Next() % bound); }
  template <class T, size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Below(static_cast<uint32_t>(N))];
  }

 private:
  uint64_t state_;
};

// ---- canonical text -------------------------------------------------------

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
  char buffer[256];
  va_list args;
  va_start(args, format);
  vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

// UTF-16 as ASCII: printable characters as they are, the rest as \uXXXX.
std::string Escape(const WCHAR* text, size_t length) {
  std::string out = "\"";
  for (size_t i = 0; i < length; ++i) {
    const unsigned c = static_cast<unsigned>(text[i]);
    if (c >= 0x20 && c < 0x7F && c != '\\' && c != '"') {
      out += static_cast<char>(c);
    } else {
      out += Format("\\u%04X", c);
    }
  }
  return out + "\"";
}

std::string Escape(const Text& text) { return Escape(text.data(), text.size()); }

std::string EscapeBytes(const char* bytes, size_t length) {
  std::string out = "\"";
  for (size_t i = 0; i < length; ++i) {
    const unsigned c = static_cast<unsigned char>(bytes[i]);
    if (c >= 0x20 && c < 0x7F && c != '\\' && c != '"') {
      out += static_cast<char>(c);
    } else {
      out += Format("\\x%02X", c);
    }
  }
  return out + "\"";
}

std::string Hr(HRESULT hr) { return Format("hr=%08X", static_cast<unsigned>(hr)); }

// Reals to 17 significant digits, enough to tell any two doubles apart.
std::string Real(double value) {
  if (isnan(value)) return "nan";
  return Format("%.17g", value);
}

std::string TypeName(VARTYPE vt) {
  static const char* const kNames[] = {"EMPTY", "NULL", "I2",      "I4",      "R4",   "R8",   "CY",  "DATE",
                                       "BSTR",  "DISPATCH", "ERROR", "BOOL", "VARIANT", "UNKNOWN", "DECIMAL", "15",
                                       "I1",    "UI1",  "UI2",  "UI4",   "I8",   "UI8",  "INT", "UINT"};
  std::string name;
  const VARTYPE base = vt & VT_TYPEMASK;
  name = base < sizeof kNames / sizeof kNames[0] ? kNames[base] : Format("%u", base);
  if (vt & VT_ARRAY) name += "|ARRAY";
  if (vt & VT_BYREF) name += "|BYREF";
  return name;
}

std::string Value(const VARIANT& v) {
  const std::string type = TypeName(v.vt);
  switch (v.vt) {
    case VT_EMPTY: case VT_NULL: return type;
    case VT_I1: return type + Format(":%d", static_cast<int>(static_cast<signed char>(v.cVal)));
    case VT_UI1: return type + Format(":%u", static_cast<unsigned>(v.bVal));
    case VT_I2: return type + Format(":%d", static_cast<int>(v.iVal));
    case VT_UI2: return type + Format(":%u", static_cast<unsigned>(v.uiVal));
    case VT_I4: return type + Format(":%d", static_cast<int>(v.lVal));
    case VT_UI4: return type + Format(":%u", static_cast<unsigned>(v.ulVal));
    case VT_INT: return type + Format(":%d", static_cast<int>(v.intVal));
    case VT_UINT: return type + Format(":%u", static_cast<unsigned>(v.uintVal));
    case VT_I8: return type + Format(":%lld", static_cast<long long>(v.llVal));
    case VT_UI8: return type + Format(":%llu", static_cast<unsigned long long>(v.ullVal));
    case VT_BOOL: return type + Format(":%d", static_cast<int>(v.boolVal));
    case VT_ERROR: return type + Format(":%08X", static_cast<unsigned>(v.scode));
    case VT_R4: return type + ":" + Format("%.9g", static_cast<double>(v.fltVal));
    case VT_R8: return type + ":" + Real(v.dblVal);
    case VT_DATE: return type + ":" + Real(v.date);
    case VT_CY: return type + Format(":%lld", static_cast<long long>(v.cyVal.int64));
    case VT_BSTR:
      if (!v.bstrVal) return type + ":null";
      return type + ":" + Escape(v.bstrVal, SysStringLen(v.bstrVal));
    case VT_DECIMAL:
      return type + Format(":%s%u:%u:%llu", (v.decVal.sign & DECIMAL_NEG) ? "-" : "+",
                           static_cast<unsigned>(v.decVal.scale), static_cast<unsigned>(v.decVal.Hi32),
                           static_cast<unsigned long long>(v.decVal.Lo64));
    default:
      return type;
  }
}

void Line(const char* function, const std::string& input, const std::string& result) {
  printf("%s\t%s\t%s\n", function, input.c_str(), result.c_str());
}

Text TextOf(const char* ascii) {
  Text text;
  for (; *ascii; ++ascii) text += static_cast<WCHAR>(static_cast<unsigned char>(*ascii));
  return text;
}

// ---- VariantChangeType ---------------------------------------------------

const VARTYPE kAllTargets[] = {VT_EMPTY, VT_NULL, VT_I1,  VT_UI1, VT_I2,   VT_UI2,  VT_I4,   VT_UI4, VT_INT,
                               VT_UINT,  VT_I8,   VT_UI8, VT_R4,  VT_R8,   VT_CY,   VT_BOOL, VT_BSTR, VT_DECIMAL,
                               VT_DATE,  VT_ERROR};
const VARTYPE kTextTargets[] = {VT_UI1, VT_I2, VT_I4, VT_UI4, VT_I8, VT_UI8, VT_R8, VT_CY, VT_BOOL, VT_DECIMAL};

void ChangeType(VARIANT source, VARTYPE target, USHORT flags = 0) {
  VARIANT result;
  VariantInit(&result);
  const HRESULT hr = VariantChangeType(&result, &source, flags, target);
  std::string input = Value(source) + " -> " + TypeName(target);
  if (flags) input += Format(" flags=%u", flags);
  Line("VariantChangeType", input, SUCCEEDED(hr) ? Hr(hr) + " " + Value(result) : Hr(hr));
  VariantClear(&result);
}

VARIANT Make(VARTYPE vt) {
  VARIANT v;
  VariantInit(&v);
  v.vt = vt;
  return v;
}

void ChangeTypeFromText(const Text& text, const VARTYPE* targets, size_t count) {
  VARIANT source = Make(VT_BSTR);
  source.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  for (size_t i = 0; i < count; ++i) ChangeType(source, targets[i]);
  VariantClear(&source);
}

// Number texts chosen by hand: the forms the documented parse accepts and
// the near misses around them.
const char* const kNumberTexts[] = {
    "0", "1", "-1", "+1", "42", " 42", "42 ", "\t42\t", "  -17  ", "1-", "1+", "(1)", "( 1 )", "(-1)", "-(1)",
    "1,000", "1,000,000", ",1", "1,,0", "1,", "1.5", "2.5", "-2.5", "0.5", "-0.5", ".5", "5.", "1e3", "1E3",
    "1e+3", "1e-3", "1.5e1", "1e", "1e+", "e3", "1d2", "1D2", "0x10", "&H10", "&h10", "&HFF", "&HFFFF",
    "&H7FFFFFFF", "&H80000000", "&HFFFFFFFF", "&H1FFFFFFFF", "&HFFFFFFFFFFFFFFFF", "&O17", "&o17", "&O777",
    "&O37777777777", "&H", "&O", "&HG", "&O8", "&", "& H10", "-&H10", "&H-10", "$5", "$ 5", "5$", "-$5",
    "$-5", "($5)", "$(5)", "$1,000.50", "$$5", "\xA3" "5", "\x80" "5", "127", "128", "-128", "-129", "255",
    "256", "32767", "32768", "-32768", "-32769", "65535", "65536", "2147483647", "2147483648", "-2147483648",
    "-2147483649", "4294967295", "4294967296", "9223372036854775807", "9223372036854775808",
    "-9223372036854775808", "-9223372036854775809", "18446744073709551615", "18446744073709551616",
    "922337203685477.5807", "922337203685477.5808", "-922337203685477.5808", "0.00005", "0.00015",
    "0.000049", "123456789012345678901234567890", "1e308", "1e309", "-1e309", "1e-400", "abc", "", " ", "-",
    "+", "--1", "+-1", "1 2", "1.2.3", "1e1e1", "True", "False", "true", "#TRUE#", "#FALSE#", " True", "yes",
    "on", "1/2", "1:30", "12.", "00012", "-0", "+0", "0.0", "1,5", "1.000,5", "1 000", "1'000", "%5", "5%",
};

// White space around and inside numbers, beyond the ASCII blanks.
const WCHAR kSpaces[] = {0x20, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0xA0, 0x1680, 0x2000, 0x2003, 0x2009, 0x200B,
                         0x2028, 0x202F, 0x205F, 0x3000, 0xFEFF, 0x85};

void VariantChangeTypeCases(Random& random) {
  // Text, every target of interest.
  for (const char* text : kNumberTexts) ChangeTypeFromText(TextOf(text), kAllTargets, std::size(kAllTargets));
  // Text with a zero inside: the conversion reads up to the first zero.
  const char* const kBeforeZero[] = {"1", "12", "-5", " 7", "True", "abc", ""};
  const char* const kAfterZero[] = {"", "0", "abc", "5", " "};
  for (const char* before : kBeforeZero) {
    for (const char* after : kAfterZero) {
      Text text = TextOf(before);
      text += WCHAR(0);
      text += TextOf(after);
      ChangeTypeFromText(text, kTextTargets, std::size(kTextTargets));
    }
  }
  // White space of every kind before and after numbers.
  for (WCHAR space : kSpaces) {
    const Text forms[] = {Text(1, space) + TextOf("12"), TextOf("12") + Text(1, space),
                          Text(1, space) + TextOf("-3") + Text(1, space), TextOf("1") + Text(1, space) + TextOf("2"),
                          TextOf("-") + Text(1, space) + TextOf("4")};
    for (const Text& text : forms) ChangeTypeFromText(text, kTextTargets, std::size(kTextTargets));
  }
  // Generated number texts: pieces of the number grammar, in random order
  // and count, so that most are numbers or near misses.
  const char* const kPieces[] = {"1", "9", "0", "12", "345", ",", ".", "e", "E", "+", "-", " ", "(", ")", "$",
                                 "&H", "&O", "F", "7", "d", "\t", "00", "5", "e-", ",000"};
  for (int i = 0; i < 1500; ++i) {
    Text text;
    const uint32_t pieces = 1 + random.Below(5);
    for (uint32_t k = 0; k < pieces; ++k) text += TextOf(random.Pick(kPieces));
    ChangeTypeFromText(text, kTextTargets, std::size(kTextTargets));
  }

  // Numbers of every type to every type, at the edges of each range.
  struct Source {
    VARTYPE vt;
    int64_t integer;
    double real;
  };
  const int64_t kIntegers[] = {0,           1,          -1,          2,          127,         128,
                               -128,        -129,       255,         256,        32767,       32768,
                               -32768,      -32769,     65535,       65536,      2147483647,  2147483648LL,
                               -2147483647 - 1, -2147483649LL, 4294967295LL, 4294967296LL, INT64_MAX, INT64_MIN,
                               922337203685477LL, 922337203685478LL};
  std::vector<Source> sources;
  const VARTYPE kIntegerTypes[] = {VT_I1, VT_UI1, VT_I2, VT_UI2, VT_I4, VT_UI4, VT_INT, VT_UINT, VT_I8, VT_UI8};
  for (VARTYPE vt : kIntegerTypes) {
    for (int64_t value : kIntegers) sources.push_back({vt, value, 0});
  }
  const double kReals[] = {0.0, -0.0, 0.5, 1.5, 2.5, -0.5, -1.5, -2.5, 0.49999999999999994, 127.5, 128.5,
                           -128.5, -129.5, 255.5, 32767.5, -32768.5, 65535.5, 2147483647.5, 2147483647.4,
                           -2147483648.5, -2147483648.6, 4294967295.5, 9.2233720368547758e18, 1.8446744073709552e19,
                           1e20, -1e20, 1e300, 1e-300, 0.1, 1.0 / 3, 123456789012345.0, 1e15, 1e16, 0.00001,
                           0.0001, 3.4028234663852886e38, 3.5e38, 1.4e-45, 922337203685477.58,
                           std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN()};
  const VARTYPE kRealTypes[] = {VT_R8, VT_R4, VT_DATE};
  for (VARTYPE vt : kRealTypes) {
    for (double value : kReals) sources.push_back({vt, 0, value});
  }
  const int64_t kCurrencies[] = {0, 1, 5000, 15000, 25000, 35000, -15000, -25000, 10000LL * 32767, 10000LL * 32768,
                                  INT64_MAX, INT64_MIN};
  for (int64_t value : kCurrencies) sources.push_back({VT_CY, value, 0});
  sources.push_back({VT_BOOL, VARIANT_TRUE, 0});
  sources.push_back({VT_BOOL, VARIANT_FALSE, 0});
  sources.push_back({VT_BOOL, 1, 0});
  sources.push_back({VT_ERROR, 5, 0});
  sources.push_back({VT_EMPTY, 0, 0});
  sources.push_back({VT_NULL, 0, 0});
  for (int i = 0; i < 300; ++i) {
    const VARTYPE vt = random.Pick(kIntegerTypes);
    sources.push_back({vt, static_cast<int64_t>(random.Next()) >> random.Below(64), 0});
  }
  for (int i = 0; i < 100; ++i) {
    // A power of ten built by exact steps: pow() rounds differently per C library.
    const int exponent = static_cast<int>(random.Below(24)) - 4;
    double power = 1;
    for (int k = 0; k < (exponent < 0 ? -exponent : exponent); ++k) power *= 10;
    const double magnitude = exponent < 0 ? 1 / power : power;
    const double value = (static_cast<double>(random.Below(2000001)) / 1000000.0 - 1.0) * magnitude;
    sources.push_back({VT_R8, 0, value});
    sources.push_back({VT_R8, 0, floor(value) + 0.5});
  }
  for (const Source& s : sources) {
    VARIANT v = Make(s.vt);
    switch (s.vt) {
      case VT_I1: v.cVal = static_cast<CHAR>(s.integer); break;
      case VT_UI1: v.bVal = static_cast<BYTE>(s.integer); break;
      case VT_I2: v.iVal = static_cast<SHORT>(s.integer); break;
      case VT_UI2: v.uiVal = static_cast<USHORT>(s.integer); break;
      case VT_I4: v.lVal = static_cast<LONG>(s.integer); break;
      case VT_UI4: v.ulVal = static_cast<ULONG>(s.integer); break;
      case VT_INT: v.intVal = static_cast<INT>(s.integer); break;
      case VT_UINT: v.uintVal = static_cast<UINT>(s.integer); break;
      case VT_I8: v.llVal = s.integer; break;
      case VT_UI8: v.ullVal = static_cast<ULONGLONG>(s.integer); break;
      case VT_R8: v.dblVal = s.real; break;
      case VT_R4: v.fltVal = static_cast<FLOAT>(s.real); break;
      case VT_DATE: v.date = s.real; break;
      case VT_CY: v.cyVal.int64 = s.integer; break;
      case VT_BOOL: v.boolVal = static_cast<VARIANT_BOOL>(s.integer); break;
      case VT_ERROR: v.scode = static_cast<SCODE>(s.integer); break;
      default: break;
    }
    for (VARTYPE target : kAllTargets) ChangeType(v, target);
  }
  VARIANT truth = Make(VT_BOOL);
  truth.boolVal = VARIANT_TRUE;
  ChangeType(truth, VT_BSTR, VARIANT_ALPHABOOL);
  truth.boolVal = VARIANT_FALSE;
  ChangeType(truth, VT_BSTR, VARIANT_ALPHABOOL);
}

// ---- VarBstrCmp -------------------------------------------------------------

void VarBstrCmpCases(Random& random) {
  const WCHAR kAlphabet[] = {'a', 'b', 'z', 'A', 'B', 'Z', '0', '9', ' ', '.', '_', '~', 0,
                             0xE4, 0xC4, 0xE9, 0xC9, 0xF6, 0xD6, 0x3C9, 0x3A9, 0x436, 0x416, 0xDF, 0x131, 0x130};
  std::vector<Text> texts;
  for (int i = 0; i < 1400; ++i) {
    Text text;
    const uint32_t length = random.Below(4);
    for (uint32_t k = 0; k < length; ++k) text += random.Pick(kAlphabet);
    texts.push_back(text);
  }
  for (size_t i = 0; i + 1 < texts.size(); i += 2) {
    // Half the pairs are a text and a variant of it, so that equality and
    // near-equality come up as often as order.
    Text left = texts[i];
    Text right = texts[i + 1];
    if (i % 4 == 0) {
      right = left;
      if (!right.empty()) {
        const size_t at = random.Below(static_cast<uint32_t>(right.size()));
        right[at] = random.Pick(kAlphabet);
      } else {
        right += random.Pick(kAlphabet);
      }
    }
    BSTR a = SysAllocStringLen(left.data(), static_cast<UINT>(left.size()));
    BSTR b = SysAllocStringLen(right.data(), static_cast<UINT>(right.size()));
    const ULONG kFlags[] = {0, NORM_IGNORECASE};
    for (ULONG flags : kFlags) {
      const HRESULT hr = VarBstrCmp(a, b, LOCALE_USER_DEFAULT, flags);
      Line("VarBstrCmp", Escape(left) + " " + Escape(right) + Format(" flags=%u", static_cast<unsigned>(flags)),
           Format("%d", static_cast<int>(hr)));
    }
    SysFreeString(a);
    SysFreeString(b);
  }
  const HRESULT null_null = VarBstrCmp(nullptr, nullptr, LOCALE_USER_DEFAULT, 0);
  Line("VarBstrCmp", "null null flags=0", Format("%d", static_cast<int>(null_null)));
}

// ---- BSTR -------------------------------------------------------------------

void BstrCases() {
  for (UINT bytes : {0u, 1u, 2u, 3u, 7u, 8u}) {
    const char source[] = "abcdefgh";
    BSTR text = SysAllocStringByteLen(source, bytes);
    Line("SysAllocStringByteLen", Format("%u", bytes),
         Format("len=%u bytes=%u", SysStringLen(text), SysStringByteLen(text)));
    SysFreeString(text);
  }
  const WCHAR embedded[] = {'a', 0, 'b'};
  BSTR text = SysAllocStringLen(embedded, 3);
  Line("SysAllocStringLen", "a\\u0000b", Format("len=%u", SysStringLen(text)));
  BSTR copy = SysAllocString(text);
  Line("SysAllocString", "a\\u0000b", Format("len=%u", SysStringLen(copy)));
  SysFreeString(copy);
  SysFreeString(text);
  Line("SysStringLen", "null", Format("%u", SysStringLen(nullptr)));
}

// ---- The C runtime's wide-string functions ------------------------------------

void CrtCases(Random& random) {
  std::vector<unsigned> points;
  for (unsigned c = 0; c < 0x250; ++c) points.push_back(c);
  for (unsigned c : {0x370u, 0x391u, 0x3A3u, 0x3B1u, 0x3C2u, 0x3C3u, 0x400u, 0x410u, 0x42Fu, 0x430u, 0x44Fu,
                     0x450u, 0x1E00u, 0x1E9Eu, 0x2000u, 0x2003u, 0x200Bu, 0x2028u, 0x202Fu, 0x205Fu, 0x2160u,
                     0x2170u, 0x1680u, 0x180Eu, 0x2001u, 0x2009u, 0x200Au, 0x2029u, 0x24B6u, 0x24D0u, 0x3000u, 0xFEFFu, 0xFF21u, 0xFF41u, 0xD800u, 0xFFFDu}) {
    points.push_back(c);
  }
  for (unsigned c : points) {
    const WCHAR ch = static_cast<WCHAR>(c);
    const std::string input = Format("U+%04X", c);
    Line("towlower", input, Format("U+%04X", static_cast<unsigned>(towlower(ch))));
    Line("towupper", input, Format("U+%04X", static_cast<unsigned>(towupper(ch))));
    Line("iswspace", input, iswspace(ch) ? "1" : "0");
  }
  const WCHAR kAlphabet[] = {'a', 'B', 'z', 'Z', '_', '[', '`', '{', '0', 0xE4, 0xC4, 0x3C9, 0x3A9, 0x416, 0x436};
  for (int i = 0; i < 600; ++i) {
    Text left;
    Text right;
    const uint32_t length = 1 + random.Below(3);
    for (uint32_t k = 0; k < length; ++k) left += random.Pick(kAlphabet);
    for (uint32_t k = 0; k < length; ++k) right += random.Pick(kAlphabet);
    if (i % 2 == 0) right = left.substr(0, left.size() - 1) + random.Pick(kAlphabet);
    const int compared = _wcsicmp(left.c_str(), right.c_str());
    Line("_wcsicmp", Escape(left) + " " + Escape(right), compared < 0 ? "<" : compared > 0 ? ">" : "=");
    Text lowered = left;
    _wcslwr(&lowered[0]);
    Line("_wcslwr", Escape(left), Escape(lowered));
  }
}

// ---- UTF-8 ---------------------------------------------------------------------

void Utf8Cases(Random& random) {
  const unsigned char kBytes[] = {0x41, 0x00, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xC1, 0xC2,
                                  0xDF, 0xE0, 0xE1, 0xED, 0xEE, 0xEF, 0xF0, 0xF1, 0xF3, 0xF4, 0xF5, 0xFF};
  for (int i = 0; i < 1200; ++i) {
    char bytes[8];
    const uint32_t length = 1 + random.Below(6);
    for (uint32_t k = 0; k < length; ++k) bytes[k] = static_cast<char>(random.Pick(kBytes));
    WCHAR wide[16];
    SetLastError(0);
    const int count = MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(length), wide, 16);
    const int needed = MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(length), nullptr, 0);
    Line("MultiByteToWideChar", EscapeBytes(bytes, length),
         count > 0 ? Format("size=%d ", needed) + Escape(wide, static_cast<size_t>(count))
                   : Format("0 error=%u", static_cast<unsigned>(GetLastError())));
  }
  const WCHAR kUnits[] = {0x41, 0x00, 0x7F, 0x80, 0x7FF, 0x800, 0xFFFF, 0xD800, 0xDBFF, 0xDC00, 0xDFFF, 0xFFFD, 0xE9};
  for (int i = 0; i < 600; ++i) {
    WCHAR wide[6];
    const uint32_t length = 1 + random.Below(5);
    for (uint32_t k = 0; k < length; ++k) wide[k] = random.Pick(kUnits);
    char bytes[32];
    SetLastError(0);
    const int count = WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), bytes, 32, nullptr, nullptr);
    Line("WideCharToMultiByte", Escape(wide, length),
         count > 0 ? EscapeBytes(bytes, static_cast<size_t>(count))
                   : Format("0 error=%u", static_cast<unsigned>(GetLastError())));
  }
}

// ---- Path strings --------------------------------------------------------------

typedef void(WINAPI* PathEdit)(LPWSTR);

void PathCases(Random& random) {
  const char* const kPieces[] = {"C:",  "c:", "\\",   "/",    "\\\\", "dir",  "My Dir", "file", ".exe", ".txt",
                                 ".",   "..", " ",    "  ",   "\"",   "a b",  "x.y.z", "-arg", "/s",   "name.",
                                 ".tar.gz", ":", "\\\\server\\share", "App.EXE", "\t", "notepad"};
  std::vector<Text> paths;
  const char* const kHandPicked[] = {"", "C:\\", "C:", "\\", "\\\\", "C:\\dir\\", "C:\\dir\\file.exe",
                                     "\"C:\\My Dir\\app.exe\" -x", "app.exe arg", " app.exe ", "C:\\a.b\\c",
                                     "file.", ".profile", "C:\\dir.ext\\file", "a/b/c.txt", "\\\\server\\share\\f.exe",
                                     "C:file.exe", "\"quoted\"", "app", "APP.EXE"};
  for (const char* path : kHandPicked) paths.push_back(TextOf(path));
  for (int i = 0; i < 1000; ++i) {
    Text path;
    const uint32_t pieces = 1 + random.Below(6);
    for (uint32_t k = 0; k < pieces; ++k) path += TextOf(random.Pick(kPieces));
    paths.push_back(path);
  }
  struct Edit {
    const char* name;
    PathEdit edit;
  };
  const Edit kEdits[] = {{"PathRemoveArgsW", PathRemoveArgsW},
                         {"PathStripPathW", PathStripPathW},
                         {"PathRemoveBlanksW", PathRemoveBlanksW}};
  for (const Text& path : paths) {
    for (const Edit& e : kEdits) {
      Text buffer = path;
      buffer.resize(path.size() + 1);
      e.edit(&buffer[0]);
      Line(e.name, Escape(path), Escape(buffer.c_str(), wcslen(buffer.c_str())));
    }
    Line("PathFindFileNameW", Escape(path), Format("%d", static_cast<int>(PathFindFileNameW(path.c_str()) - path.c_str())));
    Line("PathFindExtensionW", Escape(path), Format("%d", static_cast<int>(PathFindExtensionW(path.c_str()) - path.c_str())));
    Text buffer = path;
    buffer.resize(path.size() + 1);
    const BOOL removed = PathRemoveFileSpecW(&buffer[0]);
    Line("PathRemoveFileSpecW", Escape(path),
         Format("%d ", removed ? 1 : 0) + Escape(buffer.c_str(), wcslen(buffer.c_str())));
    // The add-in's steps from a command line to a process name.
    Text name = path;
    name.resize(path.size() + 1);
    _wcslwr(&name[0]);
    PathRemoveArgsW(&name[0]);
    PathStripPathW(&name[0]);
    for (WCHAR& c : name) {
      if (c == '"') c = ' ';
    }
    PathRemoveBlanksW(&name[0]);
    Text process(name.c_str());
    if (*PathFindExtensionW(process.c_str()) == 0) process += TextOf(".exe");
    Line("ProcessName", Escape(path), Escape(process));
  }
}

// ---- SAFEARRAY -----------------------------------------------------------------

// The element size, with the sizes that follow the pointer width named
// rather than counted, so that a 32-bit build prints what a 64-bit one does.
std::string ElementSize(SAFEARRAY* psa) {
  VARTYPE vt = 0;
  if (SUCCEEDED(SafeArrayGetVartype(psa, &vt))) {
    if (vt == VT_BSTR || vt == VT_UNKNOWN || vt == VT_DISPATCH) {
      return psa->cbElements == sizeof(void*) ? "pointer" : Format("%u", static_cast<unsigned>(psa->cbElements));
    }
    if (vt == VT_VARIANT) {
      return psa->cbElements == sizeof(VARIANT) ? "variant" : Format("%u", static_cast<unsigned>(psa->cbElements));
    }
  }
  return Format("%u", static_cast<unsigned>(psa->cbElements));
}

std::string Shape(SAFEARRAY* psa) {
  if (!psa) return "null";
  std::string text = Format("dims=%u features=%04X size=%s locks=%u", psa->cDims, psa->fFeatures,
                            ElementSize(psa).c_str(), static_cast<unsigned>(psa->cLocks));
  for (UINT d = 1; d <= psa->cDims; ++d) {
    LONG lower = 0;
    LONG upper = 0;
    SafeArrayGetLBound(psa, d, &lower);
    SafeArrayGetUBound(psa, d, &upper);
    text += Format(" [%d..%d]", static_cast<int>(lower), static_cast<int>(upper));
  }
  VARTYPE vt = 0;
  const HRESULT hr = SafeArrayGetVartype(psa, &vt);
  text += SUCCEEDED(hr) ? " vt=" + TypeName(vt) : " vt " + Hr(hr);
  return text;
}

void SafeArrayCases(Random& random) {
  const VARTYPE kTypes[] = {VT_I1, VT_UI1, VT_I2, VT_I4, VT_R8, VT_CY, VT_BSTR, VT_VARIANT, VT_BOOL,
                            VT_DECIMAL, VT_UNKNOWN, VT_DISPATCH, VT_EMPTY, VT_NULL, VT_ERROR, VT_UI8, VT_INT};
  for (int i = 0; i < 400; ++i) {
    const VARTYPE vt = random.Pick(kTypes);
    const UINT dims = 1 + random.Below(3);
    SAFEARRAYBOUND bounds[3];
    std::string input = TypeName(vt);
    for (UINT d = 0; d < dims; ++d) {
      bounds[d].cElements = random.Below(4);
      bounds[d].lLbound = static_cast<LONG>(random.Below(5)) - 2;
      input += Format(" %u@%d", static_cast<unsigned>(bounds[d].cElements), static_cast<int>(bounds[d].lLbound));
    }
    SAFEARRAY* psa = SafeArrayCreate(vt, dims, bounds);
    Line("SafeArrayCreate", input, Shape(psa));
    if (!psa) continue;
    // Cells at random indices, in range or just outside it.
    if (vt == VT_I4 || vt == VT_I2 || vt == VT_R8 || vt == VT_BSTR) {
      for (int k = 0; k < 4; ++k) {
        LONG index[3];
        std::string at;
        for (UINT d = 0; d < dims; ++d) {
          index[d] = bounds[d].lLbound + static_cast<LONG>(random.Below(bounds[d].cElements + 2)) - 1;
          at += Format(" %d", static_cast<int>(index[d]));
        }
        HRESULT hr;
        if (vt == VT_BSTR) {
          BSTR text = SysAllocString(TextOf("cell").c_str());
          hr = SafeArrayPutElement(psa, index, text);
          SysFreeString(text);
        } else {
          double value[2] = {};  // room for any of the three
          LONG number = 7 + k;
          memcpy(value, &number, sizeof number);
          if (vt == VT_R8) value[0] = 7.5 + k;
          hr = SafeArrayPutElement(psa, index, value);
        }
        Line("SafeArrayPutElement", input + " at" + at, Hr(hr));
      }
    }
    SAFEARRAYBOUND redim = {random.Below(5), static_cast<LONG>(random.Below(3)) - 1};
    if (random.Below(4) == 0) psa->fFeatures |= FADF_FIXEDSIZE;
    const HRESULT redimmed = SafeArrayRedim(psa, &redim);
    Line("SafeArrayRedim", input + Format(" to %u@%d fixed=%d", static_cast<unsigned>(redim.cElements), static_cast<int>(redim.lLbound),
                                          (psa->fFeatures & FADF_FIXEDSIZE) ? 1 : 0),
         Hr(redimmed) + " " + Shape(psa));
    SAFEARRAY* copy = nullptr;
    const HRESULT copied = SafeArrayCopy(psa, &copy);
    Line("SafeArrayCopy", input, Hr(copied) + " " + Shape(copy));
    psa->fFeatures &= ~FADF_FIXEDSIZE;
    SafeArrayDestroy(copy);
    SafeArrayDestroy(psa);
  }
  for (VARTYPE vt : kTypes) {
    SAFEARRAY* vector = SafeArrayCreateVector(vt, -1, 3);
    Line("SafeArrayCreateVector", TypeName(vt), Shape(vector));
    SafeArrayDestroy(vector);
  }
}

}  // namespace

int main() {
  if (FAILED(CoInitialize(nullptr))) return 2;
  Random random(0x56656C6D6F7261ull);
  VariantChangeTypeCases(random);
  VarBstrCmpCases(random);
  BstrCases();
  CrtCases(random);
  Utf8Cases(random);
  PathCases(random);
  SafeArrayCases(random);
  CoUninitialize();
  fflush(stdout);
  return 0;
}
