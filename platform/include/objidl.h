/*
 * objidl.h: the Linux build's simplified stand-in for the Windows SDK header.
 * IMalloc, the allocator the shell hands out with SHGetMalloc; IBindCtx only
 * by name, as the shell's parsing takes one that the layer never uses.
 */
#ifndef __objidl_h__
#define __objidl_h__

#include <unknwn.h>

EXTERN_C const IID IID_IMalloc;

MIDL_INTERFACE("00000002-0000-0000-C000-000000000046")
IMalloc : public IUnknown {
 public:
  virtual void* STDMETHODCALLTYPE Alloc(SIZE_T cb) = 0;
  virtual void* STDMETHODCALLTYPE Realloc(void* pv, SIZE_T cb) = 0;
  virtual void STDMETHODCALLTYPE Free(void* pv) = 0;
  virtual SIZE_T STDMETHODCALLTYPE GetSize(void* pv) = 0;
  virtual int STDMETHODCALLTYPE DidAlloc(void* pv) = 0;
  virtual void STDMETHODCALLTYPE HeapMinimize() = 0;
};
typedef IMalloc* LPMALLOC;

struct IBindCtx;
typedef IBindCtx* LPBC;

__CRT_UUID_DECL(IMalloc, 0x00000002, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)

#endif /* __objidl_h__ */
