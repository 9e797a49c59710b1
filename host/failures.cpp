#include "host/failures.h"

void CHostFailures::Add(const std::string& operation, HRESULT hr, HostFailTimes times, LPCOLESTR key) {
  Plan plan{operation, hr, times, std::nullopt};
  if (key) plan.key = HostString(key);
  m_plans.push_back(std::move(plan));
}

bool CHostFailures::NamesMatch(const HostString& a, const HostString& b) const {
  return m_ignoreCase ? HostNamesEqualNoCase(a, b) : a == b;
}

std::optional<HRESULT> CHostFailures::Take(const std::string& operation, const HostString& key) {
  for (auto it = m_plans.rbegin(); it != m_plans.rend(); ++it) {
    if (it->operation != operation) continue;
    if (it->key && !NamesMatch(*it->key, key)) continue;
    const HRESULT hr = it->hr;
    if (it->times == HostFailTimes::Once) m_plans.erase(std::next(it).base());
    return hr;
  }
  return std::nullopt;
}
