// A COM object for the tests that counts its references and answers
// IDispatch::Invoke(DISPID_VALUE) with a value the test sets. It lives on
// the test's stack: the test holds the first reference, and the reference
// count must be back at 1 when the test ends.
#ifndef VELMORA_TESTS_PLATFORM_SUPPORT_TEST_OBJECT_H
#define VELMORA_TESTS_PLATFORM_SUPPORT_TEST_OBJECT_H

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

namespace platform_test {

class TestObject : public IDispatch {
 public:
  // With `dispatchable` false the object answers only IUnknown.
  explicit TestObject(bool dispatchable = true) : dispatchable_(dispatchable) { VariantInit(&value_); }
  virtual ~TestObject() { VariantClear(&value_); }
  TestObject(const TestObject&) = delete;
  TestObject& operator=(const TestObject&) = delete;

  void SetValue(LONG value) {
    VariantClear(&value_);
    value_.vt = VT_I4;
    value_.lVal = value;
  }
  void SetText(const OLECHAR* text) {
    VariantClear(&value_);
    value_.vt = VT_BSTR;
    value_.bstrVal = SysAllocString(text);
  }
  ULONG refs() const { return refs_; }
  int invokes() const { return invokes_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override {
    if (!ppvObject) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || (dispatchable_ && IsEqualIID(riid, IID_IDispatch))) {
      *ppvObject = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override {
    if (!pctinfo) return E_POINTER;
    *pctinfo = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override {
    if (ppTInfo) *ppTInfo = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags, DISPPARAMS*, VARIANT* pVarResult,
                                   EXCEPINFO*, UINT*) override {
    ++invokes_;
    if (dispIdMember != DISPID_VALUE || !(wFlags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    if (value_.vt == VT_EMPTY) return DISP_E_MEMBERNOTFOUND;
    if (!pVarResult) return E_INVALIDARG;
    return VariantCopy(pVarResult, &value_);
  }

 private:
  bool dispatchable_;
  ULONG refs_ = 1;
  int invokes_ = 0;
  VARIANT value_;
};

}  // namespace platform_test

#endif  // VELMORA_TESTS_PLATFORM_SUPPORT_TEST_OBJECT_H
