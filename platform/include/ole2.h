/*
 * ole2.h: the Linux build's simplified stand-in for the Windows SDK header.
 */
#ifndef _OLE2_H_
#define _OLE2_H_

#include <objbase.h>
#include <oleauto.h>

#endif /* _OLE2_H_ */
