#include "launch/launched_app_table.h"

#include <wchar.h>

namespace {

// STILL_ACTIVE: the exit code of a process that has not exited.
const DWORD kStillActive = 259;

}  // namespace

bool AppDetailsLess::operator()(const CAppDetails& a, const CAppDetails& b) const {
  int order = wcscmp(a.m_strPath.c_str(), b.m_strPath.c_str());
  if (order != 0) return order < 0;
  order = wcscmp(a.m_strWorkingDir.c_str(), b.m_strWorkingDir.c_str());
  if (order != 0) return order < 0;
  order = wcscmp(a.m_strArgs.c_str(), b.m_strArgs.c_str());
  if (order != 0) return order < 0;
  return !a.m_bChildProcesses && b.m_bChildProcesses;
}

LaunchedAppTable::~LaunchedAppTable() {
  while (!m_entries.empty()) {
    auto entry = m_entries.extract(m_entries.begin());
    entry.key().reset();
    entry.mapped().Close();
  }
}

void LaunchedAppTable::ReleaseExitedProcesses() {
  for (auto& entry : m_entries) {
    CHandle& process = entry.second;
    if (!process.IsValid()) continue;
    DWORD code = 0;
    if (::GetExitCodeProcess(process, &code) && code == kStillActive) continue;
    process.Close();
  }
}

HANDLE LaunchedAppTable::Take(const CAppDetails& app) {
  const auto it = m_entries.find(app);
  if (it == m_entries.end()) return nullptr;
  const HANDLE process = it->second.Detach();
  m_entries.erase(it);
  return process;
}

bool LaunchedAppTable::Insert(std::unique_ptr<CAppDetails> app, CHandle process) {
  if (m_entries.find(*app) != m_entries.end()) {
    // The record goes first, then the handle, as at teardown.
    app.reset();
    process.Close();
    return false;
  }
  m_entries.emplace(std::move(app), std::move(process));
  return true;
}

std::vector<LaunchedAppTable::View> LaunchedAppTable::Entries() const {
  std::vector<View> views;
  for (const auto& entry : m_entries) views.push_back({entry.first.get(), entry.second});
  return views;
}
