// CHostOptionsNode: a node of the host's option tree, as IOptionsNode (dual;
// IDispatch answers no Invoke). A node has named child nodes and named values
// (VARIANTs). Names match without regard to case and keep the case they were
// stored with; children and values are listed in the order they were added.
//
// What the interface does here:
//   GetName(name)          this node's name.
//   GetNode(name, node)    name is a VT_BSTR (or VT_BYREF|VT_BSTR) VARIANT.
//                          Found: S_OK, *node = VT_DISPATCH holding a new
//                          reference to the child's IDispatch (the caller clears).
//                          Missing: kMissingNode, *node VT_EMPTY.
//   NodeExists(name, b)    S_OK with VARIANT_TRUE / VARIANT_FALSE.
//   AddNode(name, _)       creates the child; an existing child is kept (S_OK).
//   RemoveNode(name)       drops the child; missing: kMissingNode.
//   SetValue(name, v, level, ...)    sets a value of this node (a copy of v).
//   GetValue(name, v)      S_OK with a copy; missing: kMissingValue, v VT_EMPTY.
//   GetNodeValue(child, name, v, ...)  a value of the child (an empty or null
//                          child name: of this node). Missing child:
//                          kMissingNode; missing value: kMissingValue; v is
//                          VT_EMPTY on every failure.
//   SetNodeValue(child, name, v, flag, _, _, level, _)  writes a value of the
//                          child (empty or null child name: this node). A
//                          missing child fails with kMissingNode and nothing is
//                          written, unless CreateMissingChildrenOnWrite(true).
// VARIANT out-parameters are treated as [out]: they are overwritten, never
// cleared first, so a caller that passes a VARIANT holding something leaks it.
// A name VARIANT that is not a string gives DISP_E_TYPEMISMATCH; an empty
// value name and a VT_BYREF value give E_INVALIDARG; null pointers E_POINTER.
// A child name is one name: "A/B" is not a path here.
//
// Every call through the interface is logged in the tree's CHostCallLog with
// the node's path ("TestOptions/Hooks") as the object, reserved arguments
// (the "_" above) included: the host gives them no meaning yet, but may. The C++ methods below
// (building, reading, injecting failures) are not logged.
#ifndef VELMORA_HOST_OPTIONS_NODE_H
#define VELMORA_HOST_OPTIONS_NODE_H

#include <memory>
#include <string>
#include <vector>

#include "host/call_log.h"
#include "host/failures.h"
#include "host/host_object.h"
#include "host/host_text.h"

// What GetNode hands back for one child name (see AnswerGetNode).
enum class HostNodeAnswer {
  Child,         // the normal answer
  NoObject,      // S_OK with VT_EMPTY
  NotAnObject,   // S_OK with VT_I4 1
  Unknown,       // S_OK with VT_UNKNOWN holding the child's IUnknown (child must exist)
  NullDispatch,  // S_OK with VT_DISPATCH and a null pointer
};

class CHostOptionsNode final : public CHostDispatchObject<IOptionsNode> {
 public:
  static constexpr HRESULT kMissingNode = E_INVALIDARG;
  static constexpr HRESULT kMissingValue = DISP_E_MEMBERNOTFOUND;

  // A root node with a log of its own, or the given one.
  static ATL::CComPtr<CHostOptionsNode> CreateRoot(LPCOLESTR name, std::shared_ptr<CHostCallLog> log = nullptr);

  // IOptionsNode
  STDMETHOD(GetName)(BSTR* name) override;
  STDMETHOD(GetNode)(VARIANT* name, VARIANT* node) override;
  STDMETHOD(NodeExists)(VARIANT* name, VARIANT_BOOL* exists) override;
  STDMETHOD(AddNode)(BSTR name, LONG reserved) override;
  STDMETHOD(RemoveNode)(BSTR name) override;
  STDMETHOD(SetValue)(VARIANT* valueName, VARIANT* value, LONG level, LONG reserved1, LONG reserved2,
                      LONG reserved3) override;
  STDMETHOD(GetValue)(VARIANT* valueName, VARIANT* value) override;
  STDMETHOD(GetNodeValue)(BSTR child, BSTR valueName, VARIANT* value, LONG reserved1, LONG reserved2) override;
  STDMETHOD(SetNodeValue)(BSTR child, BSTR valueName, VARIANT* value, LONG flag, LONG reserved1, LONG reserved2,
                          LONG level, LONG reserved3) override;

  // Building the tree. AddChild returns the existing child of that name if
  // there is one; AddChildPath walks "A/B/C", creating what is missing, and
  // returns the last node.
  ATL::CComPtr<CHostOptionsNode> AddChild(LPCOLESTR name);
  ATL::CComPtr<CHostOptionsNode> AddChildPath(LPCOLESTR path);
  bool RemoveChild(LPCOLESTR name);

  // Reading the tree; null / empty when missing.
  ATL::CComPtr<CHostOptionsNode> Child(LPCOLESTR name) const;
  ATL::CComPtr<CHostOptionsNode> Find(LPCOLESTR path) const;  // "A/B/C" below this node
  std::vector<std::string> ChildNames() const;

  // Values, unlogged.
  void PutValue(LPCOLESTR name, const VARIANT& value);
  bool HasValue(LPCOLESTR name) const;
  ATL::CComVariant PeekValue(LPCOLESTR name) const;  // VT_EMPTY when missing
  bool EraseValue(LPCOLESTR name);
  std::vector<std::string> ValueNames() const;

  const WideString& Name() const { return m_name; }
  const std::string& Path() const { return ObjectName(); }  // as the log names this node

  // Failures on demand (FailOperation) are for this node only; a key limits
  // them to calls about that child (or value, for SetValue/GetValue), its
  // case ignored.
  // GetNode for this child name answers as told (Child restores the normal answer).
  void AnswerGetNode(LPCOLESTR child, HostNodeAnswer answer);
  // This node answers IUnknown and IDispatch but not IOptionsNode.
  void HideOptionsNodeInterface(bool hide = true) { m_hideOptionsNode = hide; }
  // SetNodeValue on a missing child creates it instead of failing. Children
  // created later take over this node's setting.
  void CreateMissingChildrenOnWrite(bool create = true) { m_createOnWrite = create; }
  void ClearFailures() override;

 private:
  struct ChildEntry {
    WideString name;
    ATL::CComPtr<CHostOptionsNode> node;
  };
  struct ValueEntry {
    WideString name;
    ATL::CComVariant value;
  };
  struct AnswerEntry {
    WideString child;
    HostNodeAnswer answer;
  };

  CHostOptionsNode(WideString name, std::string path, std::shared_ptr<CHostCallLog> log);

  bool Refuses(REFIID iid) const override;

  CHostOptionsNode* FindChild(const WideString& name) const;
  CHostOptionsNode* AddChildNode(const WideString& name);
  bool EraseChild(const WideString& name);
  const ValueEntry* FindValue(const WideString& name) const;
  void StoreValue(const WideString& name, const VARIANT& value);
  HostNodeAnswer AnswerFor(const WideString& child) const;

  WideString m_name;
  std::vector<ChildEntry> m_children;
  std::vector<ValueEntry> m_values;
  std::vector<AnswerEntry> m_answers;
  bool m_hideOptionsNode = false;
  bool m_createOnWrite = false;
};

#endif  // VELMORA_HOST_OPTIONS_NODE_H
