// Failures on demand, shared by the host objects: "make this operation return
// this HRESULT", always or once, for any call or only for calls about one
// name (the call's entry: a child, a value name, an object or item name).
// An injected result replaces the operation: nothing is read or written, and
// out-parameters are left as the operation leaves them on failure. It may be a
// success code (S_FALSE, even S_OK) to model a host that does nothing.
#ifndef VELMORA_HOST_FAILURES_H
#define VELMORA_HOST_FAILURES_H

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "host/host_text.h"

enum class HostFailTimes { Once, Always };

class CHostFailures {
 public:
  // Names are matched without regard to case in the option tree, exactly elsewhere.
  explicit CHostFailures(bool ignoreCase) : m_ignoreCase(ignoreCase) {}

  // key == nullptr: every call of the operation.
  void Add(const std::string& operation, HRESULT hr, HostFailTimes times, LPCOLESTR key);
  void Clear() { m_plans.clear(); }
  // The result to return instead of running the call, if any; uses up a
  // "once" failure. The latest matching plan wins.
  std::optional<HRESULT> Take(const std::string& operation, const HostString& key);

 private:
  struct Plan {
    std::string operation;
    HRESULT hr;
    HostFailTimes times;
    std::optional<HostString> key;
  };

  bool NamesMatch(const HostString& a, const HostString& b) const;

  bool m_ignoreCase;
  std::vector<Plan> m_plans;
};

#endif  // VELMORA_HOST_FAILURES_H
