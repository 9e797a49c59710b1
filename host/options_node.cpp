#include "host/options_node.h"

#include <utility>

namespace {

// The name a name VARIANT carries.
HRESULT NameOf(const VARIANT* value, WideString& name) {
  if (!value) return E_POINTER;
  if (value->vt == VT_BSTR) {
    name = HostBstrStr(value->bstrVal);
    return S_OK;
  }
  if (value->vt == (VT_BSTR | VT_BYREF)) {
    if (!value->pbstrVal) return E_POINTER;
    name = HostBstrStr(*value->pbstrVal);
    return S_OK;
  }
  return DISP_E_TYPEMISMATCH;
}

// A name VARIANT as the log shows it: the name, or what it was instead.
std::string NameArgText(const VARIANT* value) {
  if (!value) return "<null>";
  WideString name;
  if (SUCCEEDED(NameOf(value, name))) return HostUtf8(name);
  return "<" + HostVariantText(*value) + ">";
}

// A value VARIANT is stored as a copy; a reference into the caller's memory would dangle.
HRESULT CheckStorable(const VARIANT* value) {
  if (!value) return E_POINTER;
  if (value->vt & VT_BYREF) return E_INVALIDARG;
  return S_OK;
}

std::vector<WideString> SplitPath(LPCOLESTR path) {
  std::vector<WideString> parts;
  WideString part;
  for (const OLECHAR* p = path; p && *p; ++p) {
    if (*p == OLECHAR('/')) {
      if (!part.empty()) parts.push_back(std::move(part));
      part.clear();
    } else {
      part += *p;
    }
  }
  if (!part.empty()) parts.push_back(std::move(part));
  return parts;
}

}  // namespace

ATL::CComPtr<CHostOptionsNode> CHostOptionsNode::CreateRoot(LPCOLESTR name, std::shared_ptr<CHostCallLog> log) {
  const WideString rootName = HostStr(name);
  return ATL::CComPtr<CHostOptionsNode>(new CHostOptionsNode(rootName, HostUtf8(rootName), std::move(log)));
}

CHostOptionsNode::CHostOptionsNode(WideString name, std::string path, std::shared_ptr<CHostCallLog> log)
    : CHostDispatchObject(std::move(path), std::move(log), HostNameMatch::IgnoreCase), m_name(std::move(name)) {}

bool CHostOptionsNode::Refuses(REFIID iid) const {
  return m_hideOptionsNode && IsEqualGUID(iid, ATL::IidOf<IOptionsNode>());
}

// ---- IOptionsNode ----

STDMETHODIMP CHostOptionsNode::GetName(BSTR* name) {
  return GuardComCall([&]() -> HRESULT {
    CHostCall call = NewCall(HostOperation::GetName);
    if (!name) return Finish(call, E_POINTER);
    *name = nullptr;
    if (auto injected = Injected(HostOperation::GetName, WideString())) return Finish(call, *injected);
    *name = ::SysAllocStringLen(m_name.data(), static_cast<UINT>(m_name.size()));
    return Finish(call, *name ? S_OK : E_OUTOFMEMORY);
  });
}

STDMETHODIMP CHostOptionsNode::GetNode(VARIANT* name, VARIANT* node) {
  return GuardComCall([&]() -> HRESULT {
    CHostCall call = NewCall(HostOperation::GetNode);
    call.entry = NameArgText(name);
    if (node) ::VariantInit(node);
    if (!node) return Finish(call, E_POINTER);
    WideString childName;
    const HRESULT nameHr = NameOf(name, childName);
    if (FAILED(nameHr)) return Finish(call, nameHr);
    if (auto injected = Injected(HostOperation::GetNode, childName)) return Finish(call, *injected);

    const HostNodeAnswer answer = AnswerFor(childName);
    switch (answer) {
      case HostNodeAnswer::NoObject:
        return Finish(call, S_OK);
      case HostNodeAnswer::NotAnObject:
        node->vt = VT_I4;
        node->lVal = 1;
        return Finish(call, S_OK);
      case HostNodeAnswer::NullDispatch:
        node->vt = VT_DISPATCH;
        node->pdispVal = nullptr;
        return Finish(call, S_OK);
      case HostNodeAnswer::Child:
      case HostNodeAnswer::Unknown:
        break;
    }
    CHostOptionsNode* child = FindChild(childName);
    if (!child) return Finish(call, kMissingNode);
    if (answer == HostNodeAnswer::Unknown) {
      IUnknown* unknown = nullptr;
      const HRESULT hr = child->QueryInterface(ATL::IidOf<IUnknown>(), reinterpret_cast<void**>(&unknown));
      if (FAILED(hr)) return Finish(call, hr);
      node->vt = VT_UNKNOWN;
      node->punkVal = unknown;
      return Finish(call, S_OK);
    }
    IDispatch* dispatch = nullptr;
    const HRESULT hr = child->QueryInterface(ATL::IidOf<IDispatch>(), reinterpret_cast<void**>(&dispatch));
    if (FAILED(hr)) return Finish(call, hr);
    node->vt = VT_DISPATCH;
    node->pdispVal = dispatch;
    return Finish(call, S_OK);
  });
}

STDMETHODIMP CHostOptionsNode::NodeExists(VARIANT* name, VARIANT_BOOL* exists) {
  return GuardComCall([&]() -> HRESULT {
    CHostCall call = NewCall(HostOperation::NodeExists);
    call.entry = NameArgText(name);
    if (!exists) return Finish(call, E_POINTER);
    *exists = VARIANT_FALSE;
    WideString childName;
    const HRESULT nameHr = NameOf(name, childName);
    if (FAILED(nameHr)) return Finish(call, nameHr);
    if (auto injected = Injected(HostOperation::NodeExists, childName)) return Finish(call, *injected);
    *exists = FindChild(childName) ? VARIANT_TRUE : VARIANT_FALSE;
    return Finish(call, S_OK);
  });
}

STDMETHODIMP CHostOptionsNode::AddNode(BSTR name, LONG reserved) {
  return GuardComCall([&]() -> HRESULT {
    CHostCall call = NewCall(HostOperation::AddNode);
    const WideString childName = HostBstrStr(name);
    call.entry = HostUtf8(childName);
    call.reserved = {reserved};
    if (childName.empty()) return Finish(call, E_INVALIDARG);
    if (auto injected = Injected(HostOperation::AddNode, childName)) return Finish(call, *injected);
    if (!FindChild(childName)) AddChildNode(childName);
    return Finish(call, S_OK);
  });
}

STDMETHODIMP CHostOptionsNode::RemoveNode(BSTR name) {
  return GuardComCall([&]() -> HRESULT {
    CHostCall call = NewCall(HostOperation::RemoveNode);
    const WideString childName = HostBstrStr(name);
    call.entry = HostUtf8(childName);
    if (auto injected = Injected(HostOperation::RemoveNode, childName)) return Finish(call, *injected);
    return Finish(call, EraseChild(childName) ? S_OK : kMissingNode);
  });
}

STDMETHODIMP CHostOptionsNode::SetValue(VARIANT* valueName, VARIANT* value, LONG level, LONG reserved1,
                                        LONG reserved2, LONG reserved3) {
  return GuardComCall([&]() -> HRESULT {
    CHostCall call = NewCall(HostOperation::SetValue);
    call.entry = NameArgText(valueName);
    if (value) call.value.emplace(*value);
    call.level = level;
    call.reserved = {reserved1, reserved2, reserved3};
    WideString name;
    const HRESULT nameHr = NameOf(valueName, name);
    if (FAILED(nameHr)) return Finish(call, nameHr);
    if (name.empty()) return Finish(call, E_INVALIDARG);
    const HRESULT valueHr = CheckStorable(value);
    if (FAILED(valueHr)) return Finish(call, valueHr);
    if (auto injected = Injected(HostOperation::SetValue, name)) return Finish(call, *injected);
    StoreValue(name, *value);
    return Finish(call, S_OK);
  });
}

STDMETHODIMP CHostOptionsNode::GetValue(VARIANT* valueName, VARIANT* value) {
  return GuardComCall([&]() -> HRESULT {
    CHostCall call = NewCall(HostOperation::GetValue);
    call.entry = NameArgText(valueName);
    if (!value) return Finish(call, E_POINTER);
    ::VariantInit(value);
    WideString name;
    const HRESULT nameHr = NameOf(valueName, name);
    if (FAILED(nameHr)) return Finish(call, nameHr);
    if (auto injected = Injected(HostOperation::GetValue, name)) return Finish(call, *injected);
    const ValueEntry* entry = FindValue(name);
    if (!entry) return Finish(call, kMissingValue);
    return Finish(call, ::VariantCopy(value, entry->value.AsInput()));
  });
}

STDMETHODIMP CHostOptionsNode::GetNodeValue(BSTR child, BSTR valueName, VARIANT* value, LONG reserved1,
                                            LONG reserved2) {
  return GuardComCall([&]() -> HRESULT {
    CHostCall call = NewCall(HostOperation::GetNodeValue);
    const WideString childName = HostBstrStr(child);
    const WideString name = HostBstrStr(valueName);
    call.entry = HostUtf8(childName);
    call.valueName = HostUtf8(name);
    call.reserved = {reserved1, reserved2};
    if (!value) return Finish(call, E_POINTER);
    ::VariantInit(value);
    if (auto injected = Injected(HostOperation::GetNodeValue, childName)) return Finish(call, *injected);
    const CHostOptionsNode* target = childName.empty() ? this : FindChild(childName);
    if (!target) return Finish(call, kMissingNode);
    const ValueEntry* entry = target->FindValue(name);
    if (!entry) return Finish(call, kMissingValue);
    return Finish(call, ::VariantCopy(value, entry->value.AsInput()));
  });
}

STDMETHODIMP CHostOptionsNode::SetNodeValue(BSTR child, BSTR valueName, VARIANT* value, LONG flag, LONG reserved1,
                                            LONG reserved2, LONG level, LONG reserved3) {
  return GuardComCall([&]() -> HRESULT {
    CHostCall call = NewCall(HostOperation::SetNodeValue);
    const WideString childName = HostBstrStr(child);
    const WideString name = HostBstrStr(valueName);
    call.entry = HostUtf8(childName);
    call.valueName = HostUtf8(name);
    if (value) call.value.emplace(*value);
    call.flag = flag;
    call.level = level;
    call.reserved = {reserved1, reserved2, reserved3};
    if (name.empty()) return Finish(call, E_INVALIDARG);
    const HRESULT valueHr = CheckStorable(value);
    if (FAILED(valueHr)) return Finish(call, valueHr);
    if (auto injected = Injected(HostOperation::SetNodeValue, childName)) return Finish(call, *injected);
    CHostOptionsNode* target = childName.empty() ? this : FindChild(childName);
    if (!target && m_createOnWrite) target = AddChildNode(childName);
    if (!target) return Finish(call, kMissingNode);
    target->StoreValue(name, *value);
    return Finish(call, S_OK);
  });
}

// ---- building and reading ----

ATL::CComPtr<CHostOptionsNode> CHostOptionsNode::AddChild(LPCOLESTR name) {
  const WideString childName = HostStr(name);
  CHostOptionsNode* child = FindChild(childName);
  return child ? child : AddChildNode(childName);
}

ATL::CComPtr<CHostOptionsNode> CHostOptionsNode::AddChildPath(LPCOLESTR path) {
  ATL::CComPtr<CHostOptionsNode> node = this;
  for (const WideString& part : SplitPath(path)) node = node->AddChild(part.c_str());
  return node;
}

bool CHostOptionsNode::RemoveChild(LPCOLESTR name) { return EraseChild(HostStr(name)); }

ATL::CComPtr<CHostOptionsNode> CHostOptionsNode::Child(LPCOLESTR name) const { return FindChild(HostStr(name)); }

ATL::CComPtr<CHostOptionsNode> CHostOptionsNode::Find(LPCOLESTR path) const {
  const CHostOptionsNode* node = this;
  for (const WideString& part : SplitPath(path)) {
    node = node->FindChild(part);
    if (!node) return nullptr;
  }
  return const_cast<CHostOptionsNode*>(node);
}

std::vector<std::string> CHostOptionsNode::ChildNames() const {
  std::vector<std::string> names;
  for (const ChildEntry& child : m_children) names.push_back(HostUtf8(child.name));
  return names;
}

void CHostOptionsNode::PutValue(LPCOLESTR name, const VARIANT& value) { StoreValue(HostStr(name), value); }

bool CHostOptionsNode::HasValue(LPCOLESTR name) const { return FindValue(HostStr(name)) != nullptr; }

ATL::CComVariant CHostOptionsNode::PeekValue(LPCOLESTR name) const {
  const ValueEntry* entry = FindValue(HostStr(name));
  return entry ? entry->value : ATL::CComVariant();
}

bool CHostOptionsNode::EraseValue(LPCOLESTR name) {
  const WideString valueName = HostStr(name);
  for (auto it = m_values.begin(); it != m_values.end(); ++it) {
    if (!HostNamesEqualNoCase(it->name, valueName)) continue;
    m_values.erase(it);
    return true;
  }
  return false;
}

std::vector<std::string> CHostOptionsNode::ValueNames() const {
  std::vector<std::string> names;
  for (const ValueEntry& value : m_values) names.push_back(HostUtf8(value.name));
  return names;
}

// ---- failures on demand ----

void CHostOptionsNode::AnswerGetNode(LPCOLESTR child, HostNodeAnswer answer) {
  const WideString childName = HostStr(child);
  for (AnswerEntry& entry : m_answers) {
    if (!HostNamesEqualNoCase(entry.child, childName)) continue;
    entry.answer = answer;
    return;
  }
  m_answers.push_back(AnswerEntry{childName, answer});
}

void CHostOptionsNode::ClearFailures() {
  CHostDispatchObject::ClearFailures();
  m_answers.clear();
  m_hideOptionsNode = false;
}

// ---- private ----

CHostOptionsNode* CHostOptionsNode::FindChild(const WideString& name) const {
  for (const ChildEntry& child : m_children) {
    if (HostNamesEqualNoCase(child.name, name)) return child.node;
  }
  return nullptr;
}

bool CHostOptionsNode::EraseChild(const WideString& name) {
  for (auto it = m_children.begin(); it != m_children.end(); ++it) {
    if (!HostNamesEqualNoCase(it->name, name)) continue;
    // The child is released after the tree is whole again: a caller's
    // reference may keep it alive, and its values may hold objects whose
    // release calls back into the tree.
    ATL::CComPtr<CHostOptionsNode> removed = std::move(it->node);
    m_children.erase(it);
    return true;
  }
  return false;
}

CHostOptionsNode* CHostOptionsNode::AddChildNode(const WideString& name) {
  ATL::CComPtr<CHostOptionsNode> child(new CHostOptionsNode(name, Path() + "/" + HostUtf8(name), Log()));
  child->m_createOnWrite = m_createOnWrite;
  m_children.push_back(ChildEntry{name, child});
  return child;
}

const CHostOptionsNode::ValueEntry* CHostOptionsNode::FindValue(const WideString& name) const {
  for (const ValueEntry& value : m_values) {
    if (HostNamesEqualNoCase(value.name, name)) return &value;
  }
  return nullptr;
}

void CHostOptionsNode::StoreValue(const WideString& name, const VARIANT& value) {
  for (ValueEntry& entry : m_values) {
    if (!HostNamesEqualNoCase(entry.name, name)) continue;
    entry.value = value;
    return;
  }
  m_values.push_back(ValueEntry{name, ATL::CComVariant(value)});
}

HostNodeAnswer CHostOptionsNode::AnswerFor(const WideString& child) const {
  for (const AnswerEntry& entry : m_answers) {
    if (HostNamesEqualNoCase(entry.child, child)) return entry.answer;
  }
  return HostNodeAnswer::Child;
}
