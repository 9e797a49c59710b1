// CComObject<T>: creation answers an HRESULT whatever T's construction
// throws, and an object is deleted once, even when something it releases on
// its way out calls back into it.
#include <gtest/gtest.h>

#include <atlbase.h>
#include <atlcom.h>

#include <new>
#include <stdexcept>

#include "tests/support/counting_object.h"
#include "tests/support/hresult.h"

namespace {

int g_destroyed = 0;

// What the constructor of the class under test does.
enum class Construction { kFine, kBadAlloc, kAtlException, kOther };
Construction g_construction = Construction::kFine;

class Plain : public CComObjectRootEx<CComSingleThreadModel>, public IDispatch {
 public:
  Plain() {
    switch (g_construction) {
      case Construction::kFine:
        break;
      case Construction::kBadAlloc:
        throw std::bad_alloc();
      case Construction::kAtlException:
        AtlThrow(E_ACCESSDENIED);
      case Construction::kOther:
        throw std::runtime_error("constructor");
    }
  }
  ~Plain() { ++g_destroyed; }

  static const CInterfaceEntry<Plain>* GetInterfaceTable(size_t* count) {
    static const CInterfaceEntry<Plain> table[] = {InterfaceEntry<Plain, IDispatch>()};
    *count = 1;
    return table;
  }

  // On its way out it lets go of an object that calls back into it, as a
  // host object may while the add-in releases it.
  void FinalRelease() {
    if (m_pCallback) m_pCallback->Release();
  }

  IUnknown* m_pCallback = nullptr;

  STDMETHOD(GetTypeInfoCount)(UINT*) override { return E_NOTIMPL; }
  STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHOD(Invoke)(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
};

// Takes and drops a reference to its target (and queries it) when released.
class CallsBack : public velmora_test::CountingObject {
 public:
  IUnknown* target = nullptr;
  ULONG STDMETHODCALLTYPE Release() override {
    if (target) {
      IUnknown* t = target;
      target = nullptr;
      t->AddRef();
      IDispatch* dispatch = nullptr;
      (void)t->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
      if (dispatch) dispatch->Release();
      t->Release();
    }
    return CountingObject::Release();
  }
};

class ComObjectTest : public testing::Test {
 protected:
  void SetUp() override {
    g_destroyed = 0;
    g_construction = Construction::kFine;
  }
  void TearDown() override { g_construction = Construction::kFine; }
};

TEST_F(ComObjectTest, ConstructionThatThrowsGivesAnHresult) {
  const struct {
    Construction construction;
    HRESULT expected;
  } cases[] = {
      {Construction::kBadAlloc, E_OUTOFMEMORY},
      {Construction::kAtlException, E_ACCESSDENIED},
      {Construction::kOther, E_FAIL},
  };
  for (const auto& c : cases) {
    g_construction = c.construction;
    CComObject<Plain>* object = reinterpret_cast<CComObject<Plain>*>(this);
    EXPECT_HR(c.expected, CComObject<Plain>::CreateInstance(&object));
    EXPECT_EQ(nullptr, object);
  }
}

TEST_F(ComObjectTest, CallbackDuringFinalReleaseDoesNotDeleteTwice) {
  CComObject<Plain>* object = nullptr;
  ASSERT_HR(S_OK, CComObject<Plain>::CreateInstance(&object));
  object->AddRef();
  CallsBack callback;
  callback.AddRef();
  callback.target = static_cast<IDispatch*>(object);
  object->m_pCallback = callback.unknown();

  EXPECT_EQ(0u, object->Release());
  EXPECT_EQ(1, g_destroyed);
  EXPECT_EQ(0u, callback.refs());
}

}  // namespace
