#include "host/failures.h"

#include "host/host_text.h"

void CHostFailures::Add(HostOperation operation, HRESULT hr, HostFailTimes times, LPCOLESTR key) {
  Plan plan{operation, hr, times, std::nullopt};
  if (key) plan.key = WideString(key);
  m_plans.push_back(std::move(plan));
}

bool CHostFailures::NamesMatch(const WideString& a, const WideString& b) const {
  return m_match == HostNameMatch::IgnoreCase ? HostNamesEqualNoCase(a, b) : a == b;
}

std::optional<HRESULT> CHostFailures::Take(HostOperation operation, const WideString& key) {
  for (auto it = m_plans.rbegin(); it != m_plans.rend(); ++it) {
    if (it->operation != operation) continue;
    if (it->key && !NamesMatch(*it->key, key)) continue;
    const HRESULT hr = it->hr;
    if (it->times == HostFailTimes::Once) m_plans.erase(std::next(it).base());
    return hr;
  }
  return std::nullopt;
}
