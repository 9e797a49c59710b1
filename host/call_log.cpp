#include "host/call_log.h"

#include <algorithm>
#include <functional>

#include "host/host_text.h"

namespace {

struct OperationName {
  HostOperation operation;
  const char* name;
};

const OperationName kOperationNames[] = {
    {HostOperation::GetName, "GetName"},
    {HostOperation::GetNode, "GetNode"},
    {HostOperation::NodeExists, "NodeExists"},
    {HostOperation::AddNode, "AddNode"},
    {HostOperation::RemoveNode, "RemoveNode"},
    {HostOperation::SetValue, "SetValue"},
    {HostOperation::GetValue, "GetValue"},
    {HostOperation::GetNodeValue, "GetNodeValue"},
    {HostOperation::SetNodeValue, "SetNodeValue"},
    {HostOperation::SetObject, "SetObject"},
    {HostOperation::GetObject, "GetObject"},
    {HostOperation::RemoveObject, "RemoveObject"},
    {HostOperation::LocatorReserved, "Reserved"},
    {HostOperation::LocateFile, "LocateFile"},
    {HostOperation::GetItemByName, "GetItemByName"},
    {HostOperation::SetItemByName, "SetItemByName"},
    {HostOperation::GetHistoryByName, "GetHistoryByName"},
    {HostOperation::SetHistoryByName, "SetHistoryByName"},
    {HostOperation::SetItemByNameEx, "SetItemByNameEx"},
    {HostOperation::GetAddIns, "GetAddIns"},
    {HostOperation::GetAddInName, "get_Name"},
    {HostOperation::CreateInstance, "CreateInstance"},
    {HostOperation::GetRunMode, "GetRunMode"},
    {HostOperation::GetSettingsItem, "GetSettingsItem"},
    {HostOperation::AddLauncher, "AddLauncher"},
    {HostOperation::SetRack, "SetRack"},
};

std::string NameText(const std::string& name) { return name.empty() ? "''" : name; }

using Selector = std::function<bool(const CHostCall&)>;

Selector ByOperation(const std::vector<HostOperation>& operations) {
  return [&operations](const CHostCall& call) {
    return operations.empty() || std::find(operations.begin(), operations.end(), call.operation) != operations.end();
  };
}

Selector OfObject(const std::string& object, Selector selected) {
  return [&object, selected](const CHostCall& call) { return call.object == object && selected(call); };
}

}  // namespace

const char* HostOperationName(HostOperation operation) {
  for (const OperationName& entry : kOperationNames) {
    if (entry.operation == operation) return entry.name;
  }
  return "?";
}

std::optional<HostOperation> HostOperationNamed(const std::string& name) {
  for (const OperationName& entry : kOperationNames) {
    if (name == entry.name) return entry.operation;
  }
  return std::nullopt;
}

std::string CHostCall::Name() const {
  std::string name = HostOperationName(operation);
  if (slot) name += std::to_string(*slot);
  return name;
}

std::string CHostCall::Text() const {
  std::vector<std::string> args;
  if (entry) args.push_back(NameText(*entry));
  if (valueName) args.push_back(NameText(*valueName));
  if (value) args.push_back(HostVariantText(*value));
  if (iid) args.push_back(HostIidText(*iid));
  if (flag) args.push_back("flag " + std::to_string(static_cast<long long>(*flag)));
  if (level) args.push_back("level " + std::to_string(static_cast<long long>(*level)));
  if (std::any_of(reserved.begin(), reserved.end(), [](LONG r) { return r != 0; })) {
    std::string text = "reserved";
    for (LONG r : reserved) text += " " + std::to_string(static_cast<long long>(r));
    args.push_back(text);
  }
  std::string text = Name() + "(";
  for (size_t i = 0; i < args.size(); ++i) {
    if (i) text += ", ";
    text += args[i];
  }
  text += ")";
  if (hr != S_OK) text += " -> " + HostHresultText(hr);
  return text;
}

std::string CHostCall::QualifiedText() const { return object + ": " + Text(); }

std::shared_ptr<CHostCallLog> CHostCallLog::Create() { return std::make_shared<CHostCallLog>(); }

void CHostCallLog::Record(CHostCall call) { m_calls.push_back(std::move(call)); }

void CHostCallLog::Clear() { m_calls.clear(); }

std::vector<CHostCall> CHostCallLog::Select(const std::function<bool(const CHostCall&)>& selected) const {
  std::vector<CHostCall> result;
  std::copy_if(m_calls.begin(), m_calls.end(), std::back_inserter(result), selected);
  return result;
}

std::vector<CHostCall> CHostCallLog::Calls(const std::vector<HostOperation>& operations) const {
  return Select(ByOperation(operations));
}

std::vector<CHostCall> CHostCallLog::CallsOf(const std::string& object,
                                             const std::vector<HostOperation>& operations) const {
  return Select(OfObject(object, ByOperation(operations)));
}

std::vector<std::string> CHostCallLog::Texts(const std::vector<HostOperation>& operations) const {
  return TextsOf(Calls(operations));
}

std::vector<std::string> CHostCallLog::QualifiedTexts(const std::vector<HostOperation>& operations) const {
  return QualifiedTextsOf(Calls(operations));
}

std::vector<std::string> CHostCallLog::Writes() const { return QualifiedTexts(WriteOperations()); }

size_t CHostCallLog::Count(HostOperation operation) const { return Calls({operation}).size(); }

std::string CHostCallLog::Dump() const {
  std::string text;
  for (const CHostCall& call : m_calls) text += call.QualifiedText() + "\n";
  return text;
}

const std::vector<HostOperation>& CHostCallLog::WriteOperations() {
  static const std::vector<HostOperation> writes = {
      HostOperation::AddNode,         HostOperation::RemoveNode,    HostOperation::SetValue,
      HostOperation::SetNodeValue,    HostOperation::SetObject,     HostOperation::RemoveObject,
      HostOperation::SetItemByName,   HostOperation::SetItemByNameEx, HostOperation::SetHistoryByName};
  return writes;
}

std::vector<std::string> CHostCallLog::TextsOf(const std::vector<CHostCall>& calls) {
  std::vector<std::string> texts;
  for (const CHostCall& call : calls) texts.push_back(call.Text());
  return texts;
}

std::vector<std::string> CHostCallLog::QualifiedTextsOf(const std::vector<CHostCall>& calls) {
  std::vector<std::string> texts;
  for (const CHostCall& call : calls) texts.push_back(call.QualifiedText());
  return texts;
}
