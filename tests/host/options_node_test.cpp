// The option tree as the add-in sees it through IOptionsNode: what a fault
// here would make an add-in test believe about the add-in.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/options_node.h"
#include "host/variants.h"
#include "live_objects.h"
#include "tests/support/hresult.h"

namespace {

using Texts = std::vector<std::string>;

class OptionsNodeTest : public HostObjectsTest {
 protected:
  OptionsNodeTest() {
    root = CHostOptionsNode::CreateRoot(OLESTR("TestOptions"));
    hooks = root->AddChildPath(OLESTR("Hooks"));
    all = hooks->AddChild(OLESTR("All"));
    all->PutValue(OLESTR("GetMessageHook"), HostI4(0));
    hooks->PutValue(OLESTR("Enabled"), HostBool(true));
    log = root->Log();
  }

  // GetNode through the interface, as the add-in calls it.
  HRESULT GetNode(IOptionsNode* node, LPCOLESTR name, VARIANT* out) {
    ATL::CComVariant nameArg(name);
    return node->GetNode(nameArg.AsInput(), out);
  }

  ATL::CComPtr<CHostOptionsNode> root;
  ATL::CComPtr<CHostOptionsNode> hooks;
  ATL::CComPtr<CHostOptionsNode> all;
  std::shared_ptr<CHostCallLog> log;
};

TEST_F(OptionsNodeTest, GetNodeHandsOutAReferenceToTheChildAsDispatchThatAnswersOptionsNode) {
  const ULONG before = hooks->RefCount();
  ATL::CComVariant node;
  ASSERT_HR(S_OK, GetNode(root, OLESTR("hooks"), node.Receive()));  // case does not matter
  ASSERT_EQ(node.vt, VT_DISPATCH);
  ASSERT_NE(node.pdispVal, nullptr);
  EXPECT_EQ(hooks->RefCount(), before + 1);

  ATL::CComPtr<IOptionsNode> child;
  ASSERT_HR(S_OK, QueryTo(node.pdispVal, child));
  EXPECT_EQ(child.p, static_cast<IOptionsNode*>(hooks.p));
  ATL::CComBSTR name;
  ASSERT_HR(S_OK, child->GetName(name.Receive()));
  EXPECT_EQ(HostBstrStr(name), WideString(OLESTR("Hooks")));  // the stored case

  child.Release();
  node.Clear();
  EXPECT_EQ(hooks->RefCount(), before);
}

TEST_F(OptionsNodeTest, GetNodeOfAMissingChildFailsWithAnEmptyVariant) {
  VARIANT node;
  node.vt = VT_I4;  // whatever was there is overwritten, never cleared
  node.lVal = 7;
  EXPECT_HR(CHostOptionsNode::kMissingNode, GetNode(root, OLESTR("Nope"), &node));
  EXPECT_EQ(node.vt, VT_EMPTY);

  ATL::CComVariant notAName(5);
  EXPECT_HR(DISP_E_TYPEMISMATCH, root->GetNode(notAName.AsInput(), &node));
  EXPECT_EQ(node.vt, VT_EMPTY);
  EXPECT_EQ(log->Texts({HostOperation::GetNode}), (Texts{"GetNode(Nope) -> 0x80070057", "GetNode(<I4 5>) -> 0x80020005"}));
}

TEST_F(OptionsNodeTest, NodeExistsAddNodeAndRemoveNode) {
  ATL::CComVariant hooksName(OLESTR("HOOKS"));
  ATL::CComVariant newName(OLESTR("New"));
  VARIANT_BOOL exists = VARIANT_FALSE;
  ASSERT_HR(S_OK, root->NodeExists(hooksName.AsInput(), &exists));
  EXPECT_EQ(exists, VARIANT_TRUE);
  ASSERT_HR(S_OK, root->NodeExists(newName.AsInput(), &exists));
  EXPECT_EQ(exists, VARIANT_FALSE);

  ASSERT_HR(S_OK, root->AddNode(ATL::CComBSTR(OLESTR("New")), 0));
  ASSERT_HR(S_OK, root->NodeExists(newName.AsInput(), &exists));
  EXPECT_EQ(exists, VARIANT_TRUE);

  // An existing child is kept, with what it holds.
  ASSERT_HR(S_OK, root->AddNode(ATL::CComBSTR(OLESTR("hooks")), 0));
  EXPECT_EQ(root->Child(OLESTR("Hooks")).p, hooks.p);
  EXPECT_TRUE(hooks->HasValue(OLESTR("Enabled")));
  EXPECT_EQ(root->ChildNames(), (Texts{"Hooks", "New"}));
  EXPECT_HR(E_INVALIDARG, root->AddNode(nullptr, 0));

  ASSERT_HR(S_OK, root->RemoveNode(ATL::CComBSTR(OLESTR("new"))));
  EXPECT_HR(CHostOptionsNode::kMissingNode, root->RemoveNode(ATL::CComBSTR(OLESTR("new"))));
  EXPECT_EQ(root->ChildNames(), (Texts{"Hooks"}));
}

TEST_F(OptionsNodeTest, GetNodeValueReadsTheChildOrThisNode) {
  struct Case {
    LPCOLESTR child;
    LPCOLESTR valueName;
    HRESULT hr;
    const char* value;
  };
  const Case cases[] = {
      {OLESTR("All"), OLESTR("GetMessageHook"), S_OK, "I4 0"},
      {OLESTR("ALL"), OLESTR("getmessagehook"), S_OK, "I4 0"},
      {OLESTR(""), OLESTR("Enabled"), S_OK, "BOOL true"},
      {nullptr, OLESTR("Enabled"), S_OK, "BOOL true"},
      {OLESTR("Missing"), OLESTR("GetMessageHook"), CHostOptionsNode::kMissingNode, "EMPTY"},
      {OLESTR("All"), OLESTR("Missing"), CHostOptionsNode::kMissingValue, "EMPTY"},
      {OLESTR(""), OLESTR("GetMessageHook"), CHostOptionsNode::kMissingValue, "EMPTY"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(HostUtf8(c.child) + "/" + HostUtf8(c.valueName));
    ATL::CComVariant value;
    ATL::CComBSTR child(c.child);
    EXPECT_HR(c.hr, hooks->GetNodeValue(child, ATL::CComBSTR(c.valueName), value.AsInput(), 0, 0));
    EXPECT_EQ(HostVariantText(value), c.value);
  }
}

TEST_F(OptionsNodeTest, SetNodeValueWritesTheChildAndIsLoggedWithItsArguments) {
  ATL::CComVariant one = HostI4(1);
  ASSERT_HR(S_OK, hooks->SetNodeValue(ATL::CComBSTR(OLESTR("all")), ATL::CComBSTR(OLESTR("GetMessageHook")), one.AsInput(),
                                      1, 0, 0, 3, 0));
  ATL::CComVariant text(OLESTR("x"));
  ASSERT_HR(S_OK, hooks->SetNodeValue(nullptr, ATL::CComBSTR(OLESTR("Mode")), text.AsInput(), 0, 0, 0, 2, 0));

  EXPECT_EQ(HostVariantText(all->PeekValue(OLESTR("GetMessageHook"))), "I4 1");
  EXPECT_EQ(all->ValueNames(), (Texts{"GetMessageHook"}));  // replaced, not added
  EXPECT_EQ(HostVariantText(hooks->PeekValue(OLESTR("Mode"))), "BSTR 'x'");
  EXPECT_EQ(log->Writes(), (Texts{"TestOptions/Hooks: SetNodeValue(all, GetMessageHook, I4 1, flag 1, level 3)",
                                  "TestOptions/Hooks: SetNodeValue('', Mode, BSTR 'x', flag 0, level 2)"}));
  ASSERT_EQ(log->CallsOf("TestOptions/Hooks", {HostOperation::SetNodeValue}).size(), 2u);
  EXPECT_EQ(log->Calls({HostOperation::SetNodeValue})[0].value->lVal, 1);
}

// Each reserved argument is recorded from its own position; distinct values
// show a swap with a neighbour (SetNodeValue's level sits between them).
TEST_F(OptionsNodeTest, ReservedArgumentsAreRecordedInTheirOrder) {
  ATL::CComVariant one = HostI4(1);
  ATL::CComVariant mode(OLESTR("Mode"));
  ATL::CComVariant read;
  const ATL::CComBSTR child(OLESTR("All"));
  const ATL::CComBSTR name(OLESTR("GetMessageHook"));
  struct Case {
    std::function<HRESULT()> call;
    std::vector<LONG> reserved;
    const char* text;
  };
  const Case cases[] = {
      {[&] { return hooks->AddNode(ATL::CComBSTR(OLESTR("New")), 7); }, {7}, "AddNode(New, reserved 7)"},
      {[&] { return hooks->SetValue(mode.AsInput(), one.AsInput(), 2, 11, 12, 13); },
       {11, 12, 13},
       "SetValue(Mode, I4 1, level 2, reserved 11 12 13)"},
      {[&] { return hooks->GetNodeValue(child, name, read.Receive(), 21, 22); },
       {21, 22},
       "GetNodeValue(All, GetMessageHook, reserved 21 22)"},
      {[&] { return hooks->SetNodeValue(child, name, one.AsInput(), 4, 31, 32, 5, 33); },
       {31, 32, 33},
       "SetNodeValue(All, GetMessageHook, I4 1, flag 4, level 5, reserved 31 32 33)"},
      {[&] { return hooks->SetNodeValue(child, name, one.AsInput(), 0, 0, 0, 1, 0); },
       {0, 0, 0},
       "SetNodeValue(All, GetMessageHook, I4 1, flag 0, level 1)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    log->Clear();
    EXPECT_HR(S_OK, c.call());
    ASSERT_EQ(log->All().size(), 1u);
    EXPECT_EQ(log->All()[0].reserved, c.reserved);
    EXPECT_EQ(log->All()[0].Text(), c.text);
  }
}

TEST_F(OptionsNodeTest, SetNodeValueOnAMissingChildFailsUnlessTheNodeCreatesIt) {
  ATL::CComVariant one = HostI4(1);
  const ATL::CComBSTR child(OLESTR("Other"));
  const ATL::CComBSTR name(OLESTR("Value"));
  EXPECT_HR(CHostOptionsNode::kMissingNode, hooks->SetNodeValue(child, name, one.AsInput(), 0, 0, 0, 0, 0));
  EXPECT_EQ(hooks->ChildNames(), (Texts{"All"}));

  hooks->CreateMissingChildrenOnWrite();
  ASSERT_HR(S_OK, hooks->SetNodeValue(child, name, one.AsInput(), 0, 0, 0, 0, 0));
  ASSERT_TRUE(hooks->Child(OLESTR("Other")));
  EXPECT_EQ(HostVariantText(hooks->Find(OLESTR("Other"))->PeekValue(OLESTR("Value"))), "I4 1");
  EXPECT_EQ(hooks->Child(OLESTR("Other"))->Path(), "TestOptions/Hooks/Other");
}

TEST_F(OptionsNodeTest, SetValueAndGetValueOnTheNodeItself) {
  ATL::CComVariant name(OLESTR("enabled"));
  ATL::CComVariant off = HostBool(false);
  ASSERT_HR(S_OK, hooks->SetValue(name.AsInput(), off.AsInput(), 4, 0, 0, 0));
  EXPECT_EQ(hooks->ValueNames(), (Texts{"Enabled"}));

  ATL::CComVariant read;
  ASSERT_HR(S_OK, hooks->GetValue(name.AsInput(), read.Receive()));
  EXPECT_EQ(HostVariantText(read), "BOOL false");
  ATL::CComVariant missing(OLESTR("Missing"));
  EXPECT_HR(CHostOptionsNode::kMissingValue, hooks->GetValue(missing.AsInput(), read.AsInput()));
  EXPECT_EQ(read.vt, VT_EMPTY);

  LONG outside = 3;
  VARIANT byRef;
  byRef.vt = VT_I4 | VT_BYREF;
  byRef.plVal = &outside;
  EXPECT_HR(E_INVALIDARG, hooks->SetValue(name.AsInput(), &byRef, 0, 0, 0, 0));
  EXPECT_EQ(log->Texts({HostOperation::SetValue}),
            (Texts{"SetValue(enabled, BOOL false, level 4)", "SetValue(enabled, BYREF|I4, level 0) -> 0x80070057"}));
}

TEST_F(OptionsNodeTest, InjectedFailuresReplaceTheOperationAndAreLogged) {
  hooks->FailOperation(HostOperation::SetNodeValue, E_ACCESSDENIED, HostFailTimes::Once);
  hooks->FailOperation(HostOperation::GetNodeValue, E_FAIL, HostFailTimes::Always, OLESTR("ALL"));
  ATL::CComVariant two = HostI4(2);
  const ATL::CComBSTR child(OLESTR("All"));
  const ATL::CComBSTR name(OLESTR("GetMessageHook"));

  EXPECT_HR(E_ACCESSDENIED, hooks->SetNodeValue(child, name, two.AsInput(), 0, 0, 0, 0, 0));
  EXPECT_EQ(HostVariantText(all->PeekValue(OLESTR("GetMessageHook"))), "I4 0");  // nothing written
  EXPECT_HR(S_OK, hooks->SetNodeValue(child, name, two.AsInput(), 0, 0, 0, 0, 0));        // once only

  ATL::CComVariant value;
  EXPECT_HR(E_FAIL, hooks->GetNodeValue(child, name, value.AsInput(), 0, 0));
  EXPECT_EQ(value.vt, VT_EMPTY);
  EXPECT_HR(E_FAIL, hooks->GetNodeValue(child, name, value.AsInput(), 0, 0));  // always
  EXPECT_HR(S_OK, hooks->GetNodeValue(nullptr, ATL::CComBSTR(OLESTR("Enabled")), value.AsInput(), 0, 0));  // other key

  EXPECT_EQ(log->Texts(), (Texts{"SetNodeValue(All, GetMessageHook, I4 2, flag 0, level 0) -> 0x80070005",
                                 "SetNodeValue(All, GetMessageHook, I4 2, flag 0, level 0)",
                                 "GetNodeValue(All, GetMessageHook) -> 0x80004005",
                                 "GetNodeValue(All, GetMessageHook) -> 0x80004005", "GetNodeValue('', Enabled)"}));

  hooks->ClearFailures();
  EXPECT_HR(S_OK, hooks->GetNodeValue(child, name, value.AsInput(), 0, 0));
}

TEST_F(OptionsNodeTest, GetNodeCanBeMadeToAnswerWithoutAUsableObject) {
  struct Case {
    HostNodeAnswer answer;
    const char* text;
  };
  const Case cases[] = {
      {HostNodeAnswer::NoObject, "EMPTY"},
      {HostNodeAnswer::NotAnObject, "I4 1"},
      {HostNodeAnswer::NullDispatch, "DISPATCH null"},
      {HostNodeAnswer::Unknown, "UNKNOWN"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    root->AnswerGetNode(OLESTR("Hooks"), c.answer);
    ATL::CComVariant node;
    EXPECT_HR(S_OK, GetNode(root, OLESTR("Hooks"), node.Receive()));
    EXPECT_EQ(HostVariantText(node), c.text);
  }
  // The VT_UNKNOWN answer is a real reference to the child.
  ATL::CComVariant node;
  ASSERT_HR(S_OK, GetNode(root, OLESTR("Hooks"), node.Receive()));
  ATL::CComPtr<IOptionsNode> child;
  ASSERT_HR(S_OK, QueryTo(node.punkVal, child));
  EXPECT_EQ(child.p, static_cast<IOptionsNode*>(hooks.p));

  // Other names keep the normal answer.
  ATL::CComVariant other;
  root->AddChild(OLESTR("Other"));
  ASSERT_HR(S_OK, GetNode(root, OLESTR("Other"), other.Receive()));
  EXPECT_EQ(other.vt, VT_DISPATCH);
}

TEST_F(OptionsNodeTest, AChildCanAnswerDispatchButNotOptionsNode) {
  hooks->HideOptionsNodeInterface();
  ATL::CComVariant node;
  ASSERT_HR(S_OK, GetNode(root, OLESTR("Hooks"), node.Receive()));
  ASSERT_EQ(node.vt, VT_DISPATCH);
  ATL::CComPtr<IOptionsNode> child;
  EXPECT_HR(E_NOINTERFACE, QueryTo(node.pdispVal, child));
  EXPECT_FALSE(child);
  ATL::CComPtr<IUnknown> unknown;
  EXPECT_HR(S_OK, QueryTo(node.pdispVal, unknown));
}

TEST_F(OptionsNodeTest, ReferencesBalanceWhenTheTreeIsReleased) {
  const LONG liveBefore = CHostObjectCounter::Live();
  ATL::CComPtr<CHostOptionsNode> tree = CHostOptionsNode::CreateRoot(OLESTR("Tree"));
  EXPECT_EQ(tree->RefCount(), 1u);
  ATL::CComPtr<CHostOptionsNode> leaf = tree->AddChildPath(OLESTR("A/B/C"));
  EXPECT_EQ(tree->Find(OLESTR("A/B/C")).p, leaf.p);
  EXPECT_EQ(leaf->Path(), "Tree/A/B/C");
  EXPECT_EQ(CHostObjectCounter::Live(), liveBefore + 4);

  // A node removed from the tree lives on while someone holds it.
  ATL::CComPtr<CHostOptionsNode> a = tree->Child(OLESTR("a"));
  EXPECT_TRUE(tree->RemoveChild(OLESTR("A")));
  EXPECT_EQ(a->RefCount(), 1u);
  tree.Release();
  EXPECT_EQ(CHostObjectCounter::Live(), liveBefore + 3);
  a.Release();
  EXPECT_EQ(CHostObjectCounter::Live(), liveBefore + 1);  // the leaf we still hold
  leaf.Release();
  EXPECT_EQ(CHostObjectCounter::Live(), liveBefore);
}

}  // namespace
