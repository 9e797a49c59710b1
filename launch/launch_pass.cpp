// The launch pass: starts the applications the user marked for launching.
#include "launch/launch_pass.h"

#include "launch/launch_application.h"
#include "settings/app_list.h"
#include "settings/option_read.h"
#include "settings/shared_constants.h"

namespace launch_pass {

namespace {

const LONG kScopeChosen = 2;

}  // namespace

HRESULT Run(IDataObj* pDataObj, IObjectRack* pRack, std::unique_ptr<LaunchedAppTable>& table) {
  if (!pDataObj) return E_INVALIDARG;
  const CSharedConstants& k = SharedConstants();
  const COptionValue runOpt = ReadOption(pDataObj, k.bstrRunOpt, kScopeChosen);
  if (!runOpt.bIsSet || runOpt.lValue != kScopeChosen) return S_OK;
  const COptionValue listed = ReadOption(pDataObj, k.bstrSpecAppDscOpt, 1);
  HRESULT hr = listed.hr;
  if (!listed.bIsSet || listed.lValue == 0) return S_OK;

  CAppList list(pDataObj);
  if (FAILED(list.GetLoadStatus())) return E_FAIL;

  auto next = std::make_unique<LaunchedAppTable>();
  if (!table) table = std::make_unique<LaunchedAppTable>();
  table->ReleaseExitedProcesses();
  for (ULONG i = 0; i < list.GetCount(); ++i) {
    AppListEntry entry;
    if (FAILED(list.GetEntry(i, entry))) continue;
    std::unique_ptr<CAppDetails> app = DetailsFromEntry(entry, pRack);
    if (!app || entry.m_bLaunch == VARIANT_FALSE) continue;
    // Still running from an earlier pass: the process carries over.
    CHandle process(table->Take(*app));
    if (!process.IsValid()) hr = launch_application::Launch(*app, process);
    if (process.IsValid()) (void)next->Insert(std::move(app), std::move(process));
  }
  // What is left was not listed or not marked this time: its handles go, its
  // processes keep running.
  table = std::move(next);
  return hr;
}

}  // namespace launch_pass
