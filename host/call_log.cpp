#include "host/call_log.h"

#include <algorithm>

#include "host/host_text.h"

namespace {

std::string NameText(const std::string& name) { return name.empty() ? "''" : name; }

bool Selected(const CHostCall& call, const std::vector<std::string>& operations) {
  return operations.empty() || std::find(operations.begin(), operations.end(), call.operation) != operations.end();
}

}  // namespace

std::string CHostCall::Text() const {
  std::vector<std::string> args;
  if (entry) args.push_back(NameText(*entry));
  if (valueName) args.push_back(NameText(*valueName));
  if (value) args.push_back(HostVariantText(*value));
  if (iid) args.push_back(HostIidText(*iid));
  if (flag) args.push_back("flag " + std::to_string(static_cast<long long>(*flag)));
  if (level) args.push_back("level " + std::to_string(static_cast<long long>(*level)));
  std::string text = operation + "(";
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

std::vector<CHostCall> CHostCallLog::Calls(const std::vector<std::string>& operations) const {
  std::vector<CHostCall> result;
  for (const CHostCall& call : m_calls) {
    if (Selected(call, operations)) result.push_back(call);
  }
  return result;
}

std::vector<CHostCall> CHostCallLog::CallsOf(const std::string& object,
                                             const std::vector<std::string>& operations) const {
  std::vector<CHostCall> result;
  for (const CHostCall& call : m_calls) {
    if (call.object == object && Selected(call, operations)) result.push_back(call);
  }
  return result;
}

std::vector<std::string> CHostCallLog::Texts(const std::vector<std::string>& operations) const {
  std::vector<std::string> result;
  for (const CHostCall& call : m_calls) {
    if (Selected(call, operations)) result.push_back(call.Text());
  }
  return result;
}

std::vector<std::string> CHostCallLog::QualifiedTexts(const std::vector<std::string>& operations) const {
  std::vector<std::string> result;
  for (const CHostCall& call : m_calls) {
    if (Selected(call, operations)) result.push_back(call.QualifiedText());
  }
  return result;
}

std::vector<std::string> CHostCallLog::Writes() const { return QualifiedTexts(WriteOperations()); }

size_t CHostCallLog::Count(const std::string& operation) const {
  return static_cast<size_t>(std::count_if(m_calls.begin(), m_calls.end(),
                                           [&](const CHostCall& call) { return call.operation == operation; }));
}

std::string CHostCallLog::Dump() const {
  std::string text;
  for (const CHostCall& call : m_calls) text += call.QualifiedText() + "\n";
  return text;
}

const std::vector<std::string>& CHostCallLog::WriteOperations() {
  static const std::vector<std::string> writes = {"AddNode",   "RemoveNode",    "SetValue",
                                                  "SetNodeValue", "SetObject",  "RemoveObject",
                                                  "SetItemByName", "SetItemByNameEx", "SetHistoryByName"};
  return writes;
}
