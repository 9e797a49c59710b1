/*
 * winuser.h: the Linux build's simplified stand-in for the Windows SDK header.
 * Only the show states a program is started with; there are no windows here.
 */
#ifndef _WINUSER_
#define _WINUSER_

#include <windef.h>

#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWMAXIMIZED 3
#define SW_MAXIMIZE 3
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA 8
#define SW_RESTORE 9
#define SW_SHOWDEFAULT 10

#endif /* _WINUSER_ */
