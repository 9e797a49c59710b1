// CComPtr: every way a reference comes in or goes out keeps the count
// balanced.
#include <gtest/gtest.h>

#include <atlbase.h>

#include <utility>

#include "tests/support/counting_object.h"
#include "tests/support/hresult.h"

namespace {

using velmora_test::CountingObject;
using velmora_test::TwoCountingObjectsTest;

// An out-parameter function as the host's methods are: hands out one new
// reference.
HRESULT GetObject(CountingObject* object, IUnknown** out) {
  *out = object->unknown();
  (*out)->AddRef();
  return S_OK;
}

class CComPtrTest : public TwoCountingObjectsTest {};

TEST_F(CComPtrTest, ConstructionAndCopiesCountReferences) {
  {
    CComPtr<IUnknown> empty;
    CComPtr<IUnknown> from_null(static_cast<IUnknown*>(nullptr));
    EXPECT_TRUE(!empty);
    EXPECT_TRUE(!from_null);

    CComPtr<IUnknown> first(a_.unknown());
    EXPECT_EQ(1u, a_.refs());
    EXPECT_FALSE(!first);
    CComPtr<IUnknown> copy(first);
    EXPECT_EQ(2u, a_.refs());
    EXPECT_EQ(first.p, copy.p);

    CComPtr<IUnknown> moved(std::move(copy));
    EXPECT_EQ(2u, a_.refs());
    EXPECT_EQ(nullptr, copy.p);  // NOLINT: the moved-from state is defined
    EXPECT_EQ(a_.unknown(), static_cast<IUnknown*>(moved));
  }
  EXPECT_EQ(0u, a_.refs());
}

TEST_F(CComPtrTest, AssignmentReleasesTheOldAndAddsTheNew) {
  CComPtr<IUnknown> first(a_.unknown());
  CComPtr<IUnknown> second(b_.unknown());

  first = second;
  EXPECT_EQ(0u, a_.refs());
  EXPECT_EQ(2u, b_.refs());

  first = a_.unknown();
  EXPECT_EQ(1u, a_.refs());
  EXPECT_EQ(1u, b_.refs());

  second = std::move(first);
  EXPECT_EQ(1u, a_.refs());
  EXPECT_EQ(0u, b_.refs());
  EXPECT_EQ(nullptr, first.p);  // NOLINT

  second = static_cast<IUnknown*>(nullptr);
  EXPECT_EQ(0u, a_.refs());
}

TEST_F(CComPtrTest, AssigningWhatIsHeldChangesNothing) {
  CComPtr<IUnknown> held(a_.unknown());
  CComPtr<IUnknown> other(held);
  ASSERT_EQ(2u, a_.refs());

  held = held;
  held = std::move(held);
  held = held.p;
  held = other;
  EXPECT_EQ(2u, a_.refs());
  EXPECT_EQ(a_.unknown(), held.p);
  EXPECT_EQ(a_.addrefs() - a_.releases(), a_.refs());
}

TEST_F(CComPtrTest, AttachTakesOverAReferenceAndDetachHandsItOut) {
  CComPtr<IUnknown> ptr(b_.unknown());
  a_.AddRef();  // the reference Attach takes over
  ptr.Attach(a_.unknown());
  EXPECT_EQ(1u, a_.refs());
  EXPECT_EQ(0u, b_.refs());

  IUnknown* detached = ptr.Detach();
  EXPECT_EQ(nullptr, ptr.p);
  EXPECT_EQ(a_.unknown(), detached);
  EXPECT_EQ(1u, a_.refs());
  detached->Release();
}

// Attaching the pointer already held still hands over a second reference,
// which the smart pointer must not keep.
TEST_F(CComPtrTest, AttachOfTheHeldPointerKeepsOneReference) {
  CComPtr<IUnknown> ptr(a_.unknown());
  a_.AddRef();
  ptr.Attach(a_.unknown());
  EXPECT_EQ(1u, a_.refs());
  EXPECT_EQ(a_.unknown(), ptr.p);

  ptr.Attach(nullptr);
  EXPECT_EQ(0u, a_.refs());
}

TEST_F(CComPtrTest, ReceiveReleasesWhatIsHeld) {
  CComPtr<IUnknown> ptr(b_.unknown());
  IUnknown** slot = ptr.Receive();
  EXPECT_EQ(0u, b_.refs());
  EXPECT_EQ(nullptr, *slot);

  ASSERT_HR(S_OK, GetObject(&a_, ptr.Receive()));
  EXPECT_EQ(1u, a_.refs());
  ASSERT_HR(S_OK, GetObject(&a_, ptr.Receive()));  // the first reference is not leaked
  EXPECT_EQ(1u, a_.refs());
  EXPECT_EQ(a_.unknown(), ptr.p);
}

TEST_F(CComPtrTest, CopyToAddsAReferenceForTheCaller) {
  CComPtr<IUnknown> ptr(a_.unknown());
  EXPECT_HR(E_POINTER, ptr.CopyTo(nullptr));
  EXPECT_EQ(1u, a_.refs());

  IUnknown* copy = nullptr;
  ASSERT_HR(S_OK, ptr.CopyTo(&copy));
  EXPECT_EQ(a_.unknown(), copy);
  EXPECT_EQ(2u, a_.refs());
  copy->Release();

  CComPtr<IUnknown> empty;
  IUnknown* none = b_.unknown();
  EXPECT_HR(S_OK, empty.CopyTo(&none));
  EXPECT_EQ(nullptr, none);
}

TEST_F(CComPtrTest, QueryInterfaceAddsAReferenceOnlyOnSuccess) {
  CComPtr<IUnknown> ptr(a_.unknown());
  IDispatch* dispatch = nullptr;
  ASSERT_HR(S_OK, ptr.QueryInterface(&dispatch));
  EXPECT_EQ(a_.dispatch(), dispatch);
  EXPECT_EQ(2u, a_.refs());
  dispatch->Release();

  IClassFactory* factory = reinterpret_cast<IClassFactory*>(&b_);
  EXPECT_HR(E_NOINTERFACE, ptr.QueryInterface(&factory));
  EXPECT_EQ(nullptr, factory);
  EXPECT_EQ(1u, a_.refs());

  EXPECT_HR(E_POINTER, ptr.QueryInterface(static_cast<IDispatch**>(nullptr)));

  CComPtr<IUnknown> empty;
  dispatch = a_.dispatch();
  EXPECT_HR(E_POINTER, empty.QueryInterface(&dispatch));
  EXPECT_EQ(nullptr, dispatch);
}

TEST_F(CComPtrTest, CallsGoToTheHeldObject) {
  CComPtr<IDispatch> ptr(a_.dispatch());
  UINT count = 7;
  EXPECT_HR(S_OK, ptr->GetTypeInfoCount(&count));
  EXPECT_EQ(0u, count);
  CComPtr<IDispatch> same(a_.dispatch());
  EXPECT_TRUE(ptr == same);
  ptr.Release();
  EXPECT_EQ(nullptr, ptr.p);
  ptr.Release();  // empty: nothing
  EXPECT_EQ(1u, a_.refs());
}

}  // namespace
