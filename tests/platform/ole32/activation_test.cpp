// Activation over class objects registered in this process, and the
// ProgID-to-CLSID lookup in the registry.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include "tests/platform/support/test_registrations.h"
#include "tests/support/counting_object.h"
#include "tests/support/hresult.h"

namespace {

// A class nobody else registers.
const CLSID kClsid = {0x6b0c2d4e, 0x93a1, 0x4f7e, {0x8c, 0x12, 0x5d, 0x77, 0x1e, 0x0a, 0x44, 0x91}};

// A class factory on the test's stack that hands out one counting object.
class TestFactory : public IClassFactory {
 public:
  explicit TestFactory(velmora_test::CountingObject& product) : product_(product) {}

  ULONG refs() const { return refs_; }
  int creations() const { return creations_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory)) return E_NOINTERFACE;
    *ppv = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    ++creations_;
    return product_.QueryInterface(riid, ppv);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  velmora_test::CountingObject& product_;
  ULONG refs_ = 0;
  int creations_ = 0;
};

class ActivationTest : public testing::Test {
 protected:
  void TearDown() override {
    EXPECT_EQ(0u, factory_.refs()) << "every reference to the class object given back";
    EXPECT_EQ(0u, product_.refs());
  }

  velmora_test::CountingObject product_;
  TestFactory factory_{product_};
};

TEST_F(ActivationTest, RegisteredClassIsCreatedUntilRevoked) {
  DWORD cookie = 0;
  ASSERT_HR(S_OK, CoRegisterClassObject(kClsid, &factory_, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie));
  EXPECT_NE(0u, cookie);
  EXPECT_LE(1u, factory_.refs()) << "COM holds the class object while it is registered";

  IDispatch* dispatch = nullptr;
  ASSERT_HR(S_OK, CoCreateInstance(kClsid, nullptr, CLSCTX_ALL, IID_IDispatch, reinterpret_cast<void**>(&dispatch)));
  EXPECT_EQ(product_.dispatch(), dispatch);
  dispatch->Release();

  IClassFactory* classObject = nullptr;
  ASSERT_HR(S_OK, CoGetClassObject(kClsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                   reinterpret_cast<void**>(&classObject)));
  EXPECT_EQ(&factory_, classObject);
  classObject->Release();

  // What the factory refuses reaches the caller, with no object.
  IClassFactory* wrong = reinterpret_cast<IClassFactory*>(&factory_);
  EXPECT_HR(E_NOINTERFACE, CoCreateInstance(kClsid, nullptr, CLSCTX_ALL, IID_IClassFactory,
                                            reinterpret_cast<void**>(&wrong)));
  EXPECT_EQ(nullptr, wrong);

  ASSERT_HR(S_OK, CoRevokeClassObject(cookie));
  EXPECT_HR(E_INVALIDARG, CoRevokeClassObject(cookie));
  IUnknown* none = product_.unknown();
  EXPECT_HR(REGDB_E_CLASSNOTREG, CoCreateInstance(kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                                  reinterpret_cast<void**>(&none)));
  EXPECT_EQ(nullptr, none);
  EXPECT_EQ(2, factory_.creations());
}

TEST(Activation, ProgIdNamesItsClass) {
  velmora_test::TestProgId progId(OLESTR("Velmora.ActivationTest.1"), kClsid);
  ASSERT_TRUE(progId.IsValid());
  CLSID clsid = GUID_NULL;
  ASSERT_HR(S_OK, CLSIDFromProgID(OLESTR("Velmora.ActivationTest.1"), &clsid));
  EXPECT_TRUE(IsEqualCLSID(kClsid, clsid));

  EXPECT_HR(CO_E_CLASSSTRING, CLSIDFromProgID(OLESTR("Velmora.NoSuchProgId"), &clsid));
  EXPECT_HR(E_INVALIDARG, CLSIDFromProgID(nullptr, &clsid));
}

TEST(Activation, ClsidFromString) {
  const struct {
    const OLECHAR* text;
    HRESULT hr;
  } cases[] = {
      {OLESTR("{6B0C2D4E-93A1-4F7E-8C12-5D771E0A4491}"), S_OK},
      {OLESTR("{6b0c2d4e-93a1-4f7e-8c12-5d771e0a4491}"), S_OK},
      {OLESTR("6B0C2D4E-93A1-4F7E-8C12-5D771E0A4491"), CO_E_CLASSSTRING},
      {OLESTR("{6B0C2D4E-93A1-4F7E-8C12-5D771E0A449}"), CO_E_CLASSSTRING},
      {OLESTR("{6B0C2D4E-93A1-4F7E-8C12-5D771E0A449G}"), CO_E_CLASSSTRING},
  };
  for (const auto& c : cases) {
    CLSID clsid = GUID_NULL;
    EXPECT_HR(c.hr, CLSIDFromString(c.text, &clsid));
    if (c.hr == S_OK) {
      EXPECT_TRUE(IsEqualCLSID(kClsid, clsid));
    }
  }
}

}  // namespace
