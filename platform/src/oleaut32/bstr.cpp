// BSTR: the allocation holds a 32-bit byte count, then the text, then one
// zero WCHAR that the count does not include. The BSTR points at the text,
// so the count is always the DWORD just before it. The header is padded to
// eight bytes so that the text keeps the alignment malloc gives.
#include <oleauto.h>

#include <stdlib.h>
#include <string.h>

namespace {

constexpr size_t kHeaderBytes = 8;
// Larger strings would overflow the 32-bit count together with the terminator.
constexpr UINT kMaxBytes = 0x7FFFFFF0u;

DWORD* LengthSlot(BSTR text) { return reinterpret_cast<DWORD*>(text) - 1; }

BYTE* Block(BSTR text) { return reinterpret_cast<BYTE*>(text) - kHeaderBytes; }

// A zeroed string of `bytes` bytes, terminator included, or null.
BSTR AllocateBytes(UINT bytes) {
  if (bytes > kMaxBytes) return nullptr;
  // The terminator may start at an odd offset: room for two zero bytes after
  // the text, and the rest rounded up to whole WCHARs.
  const size_t total = kHeaderBytes + bytes + sizeof(WCHAR) + 1;
  BYTE* block = static_cast<BYTE*>(calloc(1, total));
  if (!block) return nullptr;
  BSTR text = reinterpret_cast<BSTR>(block + kHeaderBytes);
  *LengthSlot(text) = bytes;
  return text;
}

}  // namespace

BSTR SysAllocStringByteLen(LPCSTR psz, UINT len) {
  BSTR text = AllocateBytes(len);
  if (text && psz) memcpy(text, psz, len);
  return text;
}

BSTR SysAllocStringLen(const OLECHAR* strIn, UINT ui) {
  if (ui > kMaxBytes / sizeof(OLECHAR)) return nullptr;
  BSTR text = AllocateBytes(ui * static_cast<UINT>(sizeof(OLECHAR)));
  if (text && strIn) memcpy(text, strIn, ui * sizeof(OLECHAR));
  return text;
}

BSTR SysAllocString(const OLECHAR* psz) {
  if (!psz) return nullptr;
  const size_t length = wcslen(psz);
  if (length > kMaxBytes / sizeof(OLECHAR)) return nullptr;
  return SysAllocStringLen(psz, static_cast<UINT>(length));
}

INT SysReAllocString(BSTR* pbstr, const OLECHAR* psz) {
  if (!pbstr) return FALSE;
  // Allocate before freeing: psz may point into the old string.
  BSTR replacement = SysAllocString(psz);
  if (psz && !replacement) return FALSE;
  SysFreeString(*pbstr);
  *pbstr = replacement;
  return TRUE;
}

void SysFreeString(BSTR bstrString) {
  if (bstrString) free(Block(bstrString));
}

UINT SysStringByteLen(BSTR bstr) { return bstr ? *LengthSlot(bstr) : 0; }

UINT SysStringLen(BSTR pbstr) { return SysStringByteLen(pbstr) / static_cast<UINT>(sizeof(OLECHAR)); }
