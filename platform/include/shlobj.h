/*
 * shlobj.h: the Linux build's simplified stand-in for the Windows SDK header.
 * The shell's namespace as the layer has it (see shell32's namespace.cpp):
 * the desktop folder, the special folders by CSIDL, and item lists.
 */
#ifndef _SHLOBJ_H_
#define _SHLOBJ_H_

#include <objbase.h>
#include <objidl.h>
#include <shtypes.h>
#include <shobjidl.h>
#include <shellapi.h>

#define CSIDL_DESKTOP 0x0000
#define CSIDL_CONTROLS 0x0003
#define CSIDL_PRINTERS 0x0004
#define CSIDL_PERSONAL 0x0005
#define CSIDL_BITBUCKET 0x000a
#define CSIDL_DRIVES 0x0011
#define CSIDL_NETWORK 0x0012
#define CSIDL_CONNECTIONS 0x0031

EXTERN_C HRESULT WINAPI SHGetMalloc(IMalloc** ppMalloc);
EXTERN_C HRESULT WINAPI SHGetDesktopFolder(IShellFolder** ppshf);
EXTERN_C HRESULT WINAPI SHGetSpecialFolderLocation(HWND hwnd, int csidl, PIDLIST_ABSOLUTE* ppidl);
EXTERN_C void WINAPI ILFree(PIDLIST_RELATIVE pidl);
EXTERN_C UINT WINAPI ILGetSize(PCUIDLIST_RELATIVE pidl);
EXTERN_C BOOL WINAPI ILIsEqual(PCIDLIST_ABSOLUTE pidl1, PCIDLIST_ABSOLUTE pidl2);

#endif /* _SHLOBJ_H_ */
