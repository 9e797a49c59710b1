// VarBstrCmp: compares two BSTRs for sorting and equality.
//
// Windows compares by the collation of the locale. This layer has no locale
// tables, so it approximates the part of that order that matters here:
//   - a null BSTR equals an empty one, and both sort before any text;
//   - an empty BSTR sorts before any other, but past that a zero character
//     weighs nothing, as in the locale's collation ("a\0" equals "a",
//     "a\0b" equals "ab");
//   - without NORM_IGNORECASE, strings that differ only in case are NOT
//     equal; with it they are, in the Latin, Greek and Cyrillic letters
//     ("Ä" and "ä", "Ω" and "ω");
//   - letters sort alphabetically, whatever their case ("apple" < "Banana"),
//     a Latin letter with a diacritic with its base letter ("ä" between "a"
//     and "b"), punctuation and blanks before digits, digits before letters,
//     and other characters after the Latin letters by code unit;
//   - between strings equal but for diacritics, the first difference
//     decides, the plain letter first; then, between strings equal but for
//     case, the first case difference decides, lower case first ("abc" <
//     "Abc"), as the locale order has it.
// Not approximated: letters that sort as two (ß as "ss", æ as "ae"),
// composed and decomposed forms, and punctuation that the locale ignores.
#include <oleauto.h>

#include <string>

namespace {

// Base letters of the lower-case Latin-1 letters U+00E0..U+00FF; '\0' for
// U+00F7, the division sign.
const char kLatin1Bases[] = "aaaaaaaceeeeiiiidnooooo\0ouuuuyty";

// Lower case of the capital letters of the Latin, Greek and Cyrillic
// blocks. The C runtime's towlower maps ASCII only, as Windows' does in the
// C locale, so the comparison carries its own mapping.
OLECHAR Fold(OLECHAR c) {
  if (c >= 'A' && c <= 'Z') return static_cast<OLECHAR>(c - 'A' + 'a');
  if (c < 0xC0) return c;
  if (c <= 0xDE && c != 0xD7) return static_cast<OLECHAR>(c + 0x20);
  const bool even = c % 2 == 0;
  if ((c >= 0x100 && c <= 0x137 && even) || (c >= 0x14A && c <= 0x177 && even)) return static_cast<OLECHAR>(c + 1);
  if ((c >= 0x139 && c <= 0x148 && !even) || (c >= 0x179 && c <= 0x17E && !even)) return static_cast<OLECHAR>(c + 1);
  if (c == 0x178) return 0xFF;
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return static_cast<OLECHAR>(c + 0x20);
  if (c >= 0x410 && c <= 0x42F) return static_cast<OLECHAR>(c + 0x20);
  if (c >= 0x400 && c <= 0x40F) return static_cast<OLECHAR>(c + 0x50);
  return c;
}

// The letter a character sorts with, folded; the character itself folded
// when it has no diacritic to drop.
OLECHAR BaseOf(OLECHAR folded) {
  if (folded >= 0xE0 && folded <= 0xFF && kLatin1Bases[folded - 0xE0]) {
    return static_cast<OLECHAR>(kLatin1Bases[folded - 0xE0]);
  }
  if (folded == 0xDF) return 's';
  return folded;
}

// Primary sort key: a class, then the base letter or code unit within it.
unsigned Weight(OLECHAR c) {
  const OLECHAR base = BaseOf(Fold(c));
  unsigned group = 4;
  if (c == 0) {
    group = 0;
  } else if (base >= 'a' && base <= 'z') {
    group = 3;
  } else if (base >= '0' && base <= '9') {
    group = 2;
  } else if (base < 0x80) {
    group = 1;
  }
  return (group << 16) | base;
}

HRESULT Order(unsigned left, unsigned right) {
  if (left == right) return VARCMP_EQ;
  return left < right ? VARCMP_LT : VARCMP_GT;
}

// The text without its zero characters.
std::basic_string<OLECHAR> Weighed(BSTR text) {
  std::basic_string<OLECHAR> result;
  for (UINT i = 0; i < SysStringLen(text); ++i) {
    if (text[i] != 0) result += text[i];
  }
  return result;
}

}  // namespace

HRESULT VarBstrCmp(BSTR bstrLeft, BSTR bstrRight, LCID lcid, ULONG dwFlags) {
  if (SysStringLen(bstrLeft) == 0 || SysStringLen(bstrRight) == 0) {
    return Order(SysStringLen(bstrLeft) == 0 ? 0 : 1, SysStringLen(bstrRight) == 0 ? 0 : 1);
  }
  const std::basic_string<OLECHAR> left_text = Weighed(bstrLeft);
  const std::basic_string<OLECHAR> right_text = Weighed(bstrRight);
  const OLECHAR* left_chars = left_text.c_str();
  const OLECHAR* right_chars = right_text.c_str();
  const UINT left_length = static_cast<UINT>(left_text.size());
  const UINT right_length = static_cast<UINT>(right_text.size());

  const UINT common = left_length < right_length ? left_length : right_length;
  for (UINT i = 0; i < common; ++i) {
    const HRESULT primary = Order(Weight(left_chars[i]), Weight(right_chars[i]));
    if (primary != VARCMP_EQ) return primary;
  }
  if (left_length != right_length) return Order(left_length, right_length);

  // Equal letters: the diacritics, then the case.
  for (UINT i = 0; i < common; ++i) {
    const OLECHAR left = Fold(left_chars[i]);
    const OLECHAR right = Fold(right_chars[i]);
    if (left == right) continue;
    // The same base letter: the one without a diacritic is its base.
    if (left == BaseOf(left)) return VARCMP_LT;
    if (right == BaseOf(right)) return VARCMP_GT;
    return Order(left, right);
  }
  if (dwFlags & NORM_IGNORECASE) return VARCMP_EQ;
  for (UINT i = 0; i < common; ++i) {
    if (left_chars[i] == right_chars[i]) continue;
    // Equal after folding, so one is the lower-case form of the other.
    return left_chars[i] == Fold(left_chars[i]) ? VARCMP_LT : VARCMP_GT;
  }
  return VARCMP_EQ;
}
