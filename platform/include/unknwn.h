/*
 * unknwn.h: the Linux build's simplified stand-in for the Windows SDK header.
 * IUnknown and IClassFactory as abstract C++ classes: with no virtual
 * destructor their vtables hold exactly the declared slots, in order.
 */
#ifndef __unknwn_h__
#define __unknwn_h__

#include <rpc.h>
#include <rpcndr.h>
#include <wtypes.h>

EXTERN_C const IID IID_IUnknown;
EXTERN_C const IID IID_IClassFactory;

MIDL_INTERFACE("00000000-0000-0000-C000-000000000046")
IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) = 0;
  virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
  virtual ULONG STDMETHODCALLTYPE Release() = 0;
};
typedef IUnknown* LPUNKNOWN;

MIDL_INTERFACE("00000001-0000-0000-C000-000000000046")
IClassFactory : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) = 0;
  virtual HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) = 0;
};
typedef IClassFactory* LPCLASSFACTORY;

__CRT_UUID_DECL(IUnknown, 0x00000000, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)
__CRT_UUID_DECL(IClassFactory, 0x00000001, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)

#endif /* __unknwn_h__ */
