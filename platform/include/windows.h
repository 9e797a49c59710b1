/*
 * windows.h: the Linux build's simplified stand-in for the Windows SDK header.
 * As with WIN32_LEAN_AND_MEAN on Windows, COM and OLE automation are not
 * pulled in: include objbase.h and oleauto.h where they are used.
 */
#ifndef _WINDOWS_
#define _WINDOWS_

#include <windef.h>
#include <winerror.h>
#include <guiddef.h>
#include <winbase.h>
#include <winnls.h>
#include <winreg.h>
#include <winuser.h>

#endif /* _WINDOWS_ */
