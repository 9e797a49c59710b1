// What the SAFEARRAY functions share: the hidden area before the descriptor,
// element sizes, and the cells' ownership rules (BSTRs, interface
// references and VARIANTs are owned by the array, other cells are plain bytes).
#ifndef VELMORA_PLATFORM_SAFEARRAY_CELLS_H
#define VELMORA_PLATFORM_SAFEARRAY_CELLS_H

#include <oleauto.h>

#include <stddef.h>

namespace velmora_platform {

// Windows keeps 16 bytes in front of every descriptor it allocates: the IID
// of an interface array, or the element VARTYPE in the last 32-bit slot.
constexpr size_t kHiddenBytes = 16;

inline BYTE* HiddenArea(SAFEARRAY* psa) { return reinterpret_cast<BYTE*>(psa) - kHiddenBytes; }
inline DWORD* HiddenVartype(SAFEARRAY* psa) { return reinterpret_cast<DWORD*>(psa) - 1; }

// Bytes of one element of an array of vt; 0 when no array holds vt.
ULONG ElementSizeOf(VARTYPE vt);

// Cells in the whole array; false when the count overflows.
bool CountCells(const SAFEARRAY* psa, size_t* cells);

// Releases what cells [first, first + count) own and zeroes them.
void ClearCells(SAFEARRAY* psa, size_t first, size_t count);

// Deep-copies `count` cells from one array's data to another's, which must be
// zeroed and have the same features and element size. On failure the cells
// copied so far stay in `to`, for the caller to destroy.
HRESULT CopyCells(const SAFEARRAY* from, SAFEARRAY* to, size_t count);

}  // namespace velmora_platform

#endif  // VELMORA_PLATFORM_SAFEARRAY_CELLS_H
