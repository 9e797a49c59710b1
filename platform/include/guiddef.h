/*
 * guiddef.h: the Linux build's simplified stand-in for the Windows SDK header.
 * GUID with the Windows layout (Data1 is 32-bit), its comparison, and
 * DEFINE_GUID, which defines the GUID only where INITGUID is set.
 */
#ifndef GUID_DEFINED
#define GUID_DEFINED

#include <windef.h>
#include <string.h>

typedef struct _GUID {
  DWORD Data1;
  WORD Data2;
  WORD Data3;
  BYTE Data4[8];
} GUID;

#endif /* GUID_DEFINED */

#ifndef _GUIDDEF_H_
#define _GUIDDEF_H_

typedef GUID IID;
typedef GUID CLSID;
typedef GUID* LPGUID;
typedef IID* LPIID;
typedef CLSID* LPCLSID;
typedef const GUID& REFGUID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;

// The all-zero GUID, which Invoke takes as its reserved interface identifier.
EXTERN_C const GUID GUID_NULL;
#define IID_NULL GUID_NULL
#define CLSID_NULL GUID_NULL

inline bool IsEqualGUID(REFGUID a, REFGUID b) { return memcmp(&a, &b, sizeof(GUID)) == 0; }
inline bool InlineIsEqualGUID(REFGUID a, REFGUID b) { return IsEqualGUID(a, b); }
#define IsEqualIID(a, b) IsEqualGUID(a, b)
#define IsEqualCLSID(a, b) IsEqualGUID(a, b)
inline bool operator==(REFGUID a, REFGUID b) { return IsEqualGUID(a, b); }
inline bool operator!=(REFGUID a, REFGUID b) { return !IsEqualGUID(a, b); }

static_assert(sizeof(GUID) == 16, "GUID is 16 bytes");

#ifdef __cplusplus
// __uuidof(Interface): the interface identifier that belongs to a type. The
// SDK headers and widl's generated headers attach one to each interface with
// __CRT_UUID_DECL, as the mingw-w64 headers do; here it is a specialisation
// of one function template. Only type names are supported.
extern "C++" {
namespace platform_uuid {
template <class T>
const IID& Of();
}  // namespace platform_uuid
}
#define __CRT_UUID_DECL(type, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8)          \
  extern "C++" {                                                                 \
  namespace platform_uuid {                                                      \
  template <>                                                                    \
  inline const IID& Of<type>() {                                                 \
    static const IID value = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}};      \
    return value;                                                                \
  }                                                                              \
  }                                                                              \
  }
#define __uuidof(type) ::platform_uuid::Of<type>()
#endif

#endif /* _GUIDDEF_H_ */

#undef DEFINE_GUID
#ifdef INITGUID
#define DEFINE_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
  EXTERN_C const GUID DECLSPEC_SELECTANY name = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}}
#else
#define DEFINE_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) EXTERN_C const GUID name
#endif
