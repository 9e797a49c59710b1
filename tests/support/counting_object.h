// A COM object for tests that count references: it lives on the test's
// stack, starts with no reference (or with the test's own, when told), and
// a balanced test leaves it where it started. It answers IUnknown and, unless
// told otherwise, IDispatch, whose Invoke answers a get of DISPID_VALUE with
// the value the test set (and counts the calls), so that conversions that go
// through an object's value can be checked.
//
// Optionally it remembers the lock count of one SAFEARRAY at each AddRef,
// which shows how the array was locked while its element was being copied.
#ifndef VELMORA_TESTS_SUPPORT_COUNTING_OBJECT_H
#define VELMORA_TESTS_SUPPORT_COUNTING_OBJECT_H

#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

namespace velmora_test {

class CountingObject : public IDispatch {
 public:
  // dispatchable false: the object answers IUnknown only. initialRefs 1: the
  // test holds the first reference itself.
  explicit CountingObject(bool dispatchable = true, ULONG initialRefs = 0)
      : dispatchable_(dispatchable), refs_(initialRefs) {
    ::VariantInit(&value_);
  }
  virtual ~CountingObject() { (void)::VariantClear(&value_); }
  CountingObject(const CountingObject&) = delete;
  CountingObject& operator=(const CountingObject&) = delete;

  // The value Invoke(DISPID_VALUE) answers; none until set.
  void SetValue(LONG value) {
    (void)::VariantClear(&value_);
    value_.vt = VT_I4;
    value_.lVal = value;
  }
  void SetText(const OLECHAR* text) {
    (void)::VariantClear(&value_);
    value_.vt = VT_BSTR;
    value_.bstrVal = ::SysAllocString(text);
  }
  int invokes() const { return invokes_; }

  ULONG refs() const { return refs_; }
  ULONG addrefs() const { return addrefs_; }
  ULONG releases() const { return releases_; }
  IUnknown* unknown() { return static_cast<IUnknown*>(this); }
  IDispatch* dispatch() { return this; }

  // Remembers psa->cLocks at every AddRef from now on.
  void WatchLocks(const SAFEARRAY* psa) { watched_ = psa; }
  ULONG locks_at_last_addref() const { return locks_at_addref_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || (dispatchable_ && IsEqualIID(riid, IID_IDispatch))) {
      *ppv = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    ++addrefs_;
    if (watched_) locks_at_addref_ = watched_->cLocks;
    return ++refs_;
  }
  ULONG STDMETHODCALLTYPE Release() override {
    ++releases_;
    return --refs_;
  }

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
    return ::VariantCopy(pVarResult, &value_);
  }

 private:
  bool dispatchable_;
  ULONG refs_;
  int invokes_ = 0;
  VARIANT value_;
  ULONG addrefs_ = 0;
  ULONG releases_ = 0;
  const SAFEARRAY* watched_ = nullptr;
  ULONG locks_at_addref_ = 0;
};

// Two counting objects that every test must leave without a reference.
class TwoCountingObjectsTest : public testing::Test {
 protected:
  void TearDown() override {
    EXPECT_EQ(0u, a_.refs());
    EXPECT_EQ(0u, b_.refs());
  }

  CountingObject a_;
  CountingObject b_;
};

}  // namespace velmora_test

#endif  // VELMORA_TESTS_SUPPORT_COUNTING_OBJECT_H
