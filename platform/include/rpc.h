/*
 * rpc.h: the Linux build's simplified stand-in for the Windows SDK header.
 * Present so that widl's generated files compile; Velmora uses no RPC.
 */
#ifndef __RPC_H__
#define __RPC_H__

#include <windef.h>
#include <winerror.h>
#include <guiddef.h>

#endif /* __RPC_H__ */
