/*
 * shtypes.h: the Linux build's simplified stand-in for the Windows SDK header.
 * Item identifier lists: a run of SHITEMIDs, each starting with its own size
 * in bytes (the size included), ended by a zero size. What the bytes after
 * the size mean is the shell's own business (see shell32's namespace).
 */
#ifndef __shtypes_h__
#define __shtypes_h__

#include <wtypes.h>

#pragma pack(push, 1)
typedef struct _SHITEMID {
  USHORT cb;
  BYTE abID[1];
} SHITEMID;
typedef struct _ITEMIDLIST {
  SHITEMID mkid;
} ITEMIDLIST;
#pragma pack(pop)

typedef SHITEMID* LPSHITEMID;
typedef const SHITEMID* LPCSHITEMID;
typedef ITEMIDLIST* LPITEMIDLIST;
typedef const ITEMIDLIST* LPCITEMIDLIST;
typedef ITEMIDLIST ITEMIDLIST_ABSOLUTE;
typedef ITEMIDLIST ITEMIDLIST_RELATIVE;
typedef ITEMIDLIST ITEMID_CHILD;
typedef ITEMIDLIST_ABSOLUTE* PIDLIST_ABSOLUTE;
typedef const ITEMIDLIST_ABSOLUTE* PCIDLIST_ABSOLUTE;
typedef ITEMIDLIST_RELATIVE* PIDLIST_RELATIVE;
typedef const ITEMIDLIST_RELATIVE* PCIDLIST_RELATIVE;
typedef ITEMIDLIST_RELATIVE* PUIDLIST_RELATIVE;
typedef const ITEMIDLIST_RELATIVE* PCUIDLIST_RELATIVE;
typedef ITEMID_CHILD* PITEMID_CHILD;
typedef const ITEMID_CHILD* PCITEMID_CHILD;
typedef ITEMID_CHILD* PUITEMID_CHILD;
typedef const ITEMID_CHILD* PCUITEMID_CHILD;
typedef const PCUITEMID_CHILD* PCUITEMID_CHILD_ARRAY;

typedef enum tagSTRRET_TYPE { STRRET_WSTR = 0, STRRET_OFFSET = 1, STRRET_CSTR = 2 } STRRET_TYPE;

typedef struct _STRRET {
  UINT uType;
  union {
    LPWSTR pOleStr;
    UINT uOffset;
    char cStr[MAX_PATH];
  };
} STRRET;

#endif /* __shtypes_h__ */
