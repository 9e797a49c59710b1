// Failures on demand, shared by the host objects: "make this operation return
// this HRESULT", always or once, for any call or only for calls about one
// name (the call's entry: a child, a value name, an object or item name).
// An injected result replaces the operation: nothing is read or written, and
// out-parameters are left as the operation leaves them on failure. It may be a
// success code (S_FALSE, even S_OK) to model a host that does nothing.
#ifndef VELMORA_HOST_FAILURES_H
#define VELMORA_HOST_FAILURES_H

#include <windows.h>

#include <wide_string.h>

#include <optional>
#include <vector>

#include "host/call_log.h"

enum class HostFailTimes { Once, Always };

// How an object matches the names its calls are about.
enum class HostNameMatch { Exact, IgnoreCase };

class CHostFailures {
 public:
  explicit CHostFailures(HostNameMatch match) : m_match(match) {}

  // key == nullptr: every call of the operation.
  void Add(HostOperation operation, HRESULT hr, HostFailTimes times, LPCOLESTR key);
  void Clear() { m_plans.clear(); }
  // The result to return instead of running the call, if any; uses up a
  // "once" failure. The latest matching plan wins.
  std::optional<HRESULT> Take(HostOperation operation, const WideString& key);

 private:
  struct Plan {
    HostOperation operation;
    HRESULT hr;
    HostFailTimes times;
    std::optional<WideString> key;
  };

  bool NamesMatch(const WideString& a, const WideString& b) const;

  HostNameMatch m_match;
  std::vector<Plan> m_plans;
};

#endif  // VELMORA_HOST_FAILURES_H
