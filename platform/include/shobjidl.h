/*
 * shobjidl.h: the Linux build's simplified stand-in for the Windows SDK header.
 * IShellFolder, in its documented method order.
 */
#ifndef __shobjidl_h__
#define __shobjidl_h__

#include <objbase.h>
#include <objidl.h>
#include <shtypes.h>

typedef DWORD SHCONTF;
typedef ULONG SFGAOF;
typedef DWORD SHGDNF;

#define SFGAO_FOLDER 0x20000000
#define SFGAO_FILESYSTEM 0x40000000

enum tagSHGDN { SHGDN_NORMAL = 0, SHGDN_INFOLDER = 0x1, SHGDN_FOREDITING = 0x1000, SHGDN_FORADDRESSBAR = 0x4000,
                SHGDN_FORPARSING = 0x8000 };

struct IEnumIDList;

EXTERN_C const IID IID_IShellFolder;

MIDL_INTERFACE("000214E6-0000-0000-C000-000000000046")
IShellFolder : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND hwnd, IBindCtx* pbc, LPWSTR pszDisplayName,
                                                     ULONG* pchEaten, PIDLIST_RELATIVE* ppidl,
                                                     ULONG* pdwAttributes) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnumObjects(HWND hwnd, SHCONTF grfFlags, IEnumIDList** ppenumIDList) = 0;
  virtual HRESULT STDMETHODCALLTYPE BindToObject(PCUIDLIST_RELATIVE pidl, IBindCtx* pbc, REFIID riid,
                                                 void** ppv) = 0;
  virtual HRESULT STDMETHODCALLTYPE BindToStorage(PCUIDLIST_RELATIVE pidl, IBindCtx* pbc, REFIID riid,
                                                  void** ppv) = 0;
  virtual HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM lParam, PCUIDLIST_RELATIVE pidl1,
                                               PCUIDLIST_RELATIVE pidl2) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateViewObject(HWND hwndOwner, REFIID riid, void** ppv) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT cidl, PCUITEMID_CHILD_ARRAY apidl, SFGAOF* rgfInOut) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND hwndOwner, UINT cidl, PCUITEMID_CHILD_ARRAY apidl,
                                                  REFIID riid, UINT* rgfReserved, void** ppv) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD pidl, SHGDNF uFlags, STRRET* pName) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetNameOf(HWND hwnd, PCUITEMID_CHILD pidl, LPCWSTR pszName, SHGDNF uFlags,
                                              PITEMID_CHILD* ppidlOut) = 0;
};
typedef IShellFolder* LPSHELLFOLDER;

__CRT_UUID_DECL(IShellFolder, 0x000214E6, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)

#endif /* __shobjidl_h__ */
