// VarBstrCmp: compares two BSTRs for sorting and equality.
//
// Windows compares by the collation of the locale. This layer has no locale
// tables, so it approximates the part of that order that matters here:
//   - a null BSTR equals an empty one, and both sort before any text;
//   - without NORM_IGNORECASE, strings that differ only in case are NOT equal;
//   - letters sort alphabetically, whatever their case ("apple" < "Banana"),
//     punctuation and blanks before digits, digits before letters, and other
//     characters after letters by code unit;
//   - between strings equal but for case, the first case difference decides,
//     lower case first ("abc" < "Abc"), as the locale order has it.
// Lengths come from the BSTRs, so embedded zeros are compared too.
#include <oleauto.h>

namespace {

OLECHAR Fold(OLECHAR c) { return c >= 'A' && c <= 'Z' ? static_cast<OLECHAR>(c - 'A' + 'a') : c; }

// Primary sort key: a class, then the folded code unit within the class.
unsigned Weight(OLECHAR c) {
  const OLECHAR folded = Fold(c);
  unsigned group = 3;
  if (folded >= 'a' && folded <= 'z') {
    group = 2;
  } else if (folded >= '0' && folded <= '9') {
    group = 1;
  } else if (folded < 0x80) {
    group = 0;
  }
  return (group << 16) | folded;
}

HRESULT Order(unsigned left, unsigned right) {
  if (left == right) return VARCMP_EQ;
  return left < right ? VARCMP_LT : VARCMP_GT;
}

}  // namespace

HRESULT VarBstrCmp(BSTR bstrLeft, BSTR bstrRight, LCID lcid, ULONG dwFlags) {
  const UINT left_length = SysStringLen(bstrLeft);
  const UINT right_length = SysStringLen(bstrRight);
  if (left_length == 0 || right_length == 0) return Order(left_length == 0 ? 0 : 1, right_length == 0 ? 0 : 1);

  const UINT common = left_length < right_length ? left_length : right_length;
  for (UINT i = 0; i < common; ++i) {
    const HRESULT primary = Order(Weight(bstrLeft[i]), Weight(bstrRight[i]));
    if (primary != VARCMP_EQ) return primary;
  }
  if (left_length != right_length) return Order(left_length, right_length);
  if (dwFlags & NORM_IGNORECASE) return VARCMP_EQ;

  for (UINT i = 0; i < common; ++i) {
    if (bstrLeft[i] == bstrRight[i]) continue;
    // Equal after folding, so one is the lower-case form of the other.
    return bstrLeft[i] == Fold(bstrLeft[i]) ? VARCMP_LT : VARCMP_GT;
  }
  return VARCMP_EQ;
}
