/*
 * rpcndr.h: the Linux build's simplified stand-in for the Windows SDK header.
 * The few macros widl's generated headers use to declare interfaces.
 */
#ifndef __RPCNDR_H__
#define __RPCNDR_H__

#include <windef.h>

#define interface struct
#define MIDL_INTERFACE(x) struct
#define DECLSPEC_UUID(x)
#define BEGIN_INTERFACE
#define END_INTERFACE
#define CONST_VTBL

typedef unsigned char byte;
typedef unsigned char boolean;

#endif /* __RPCNDR_H__ */
