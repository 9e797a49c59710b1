// A COM object for tests that count references: it lives on the test's
// stack, starts with no reference, and a balanced test leaves it at 0.
// It answers IUnknown and IDispatch; the IDispatch methods do nothing.
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
  CountingObject() = default;
  CountingObject(const CountingObject&) = delete;
  CountingObject& operator=(const CountingObject&) = delete;

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
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
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
    if (pctinfo) *pctinfo = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override {
    if (ppTInfo) *ppTInfo = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

 private:
  ULONG refs_ = 0;
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
