#include "host/app_rows.h"

#include "host/variants.h"

HRESULT HostSetAppRows(CHostDataObj& data, const std::vector<HostAppRow>& rows) {
  std::vector<ATL::CComVariant> files, dirs, args, apps, launch, children;
  const auto text = [](const OLECHAR* value) { return HostBstr(value ? value : OLESTR("")); };
  for (const HostAppRow& row : rows) {
    apps.push_back(text(row.app));
    files.push_back(text(row.file));
    dirs.push_back(text(row.dir));
    args.push_back(text(row.args));
    launch.push_back(HostI4(row.launch));
    children.push_back(HostI4(row.children));
  }
  const struct {
    const OLECHAR* key;
    const std::vector<ATL::CComVariant>* column;
  } lists[] = {{OLESTR("FILES_LIST"), &files}, {OLESTR("DIRS_LIST"), &dirs},     {OLESTR("ARGS_LIST"), &args},
               {OLESTR("APPS_LIST"), &apps},   {OLESTR("LNCH_LIST"), &launch}, {OLESTR("DESC_LIST"), &children}};
  for (const auto& list : lists) {
    const HRESULT hr = data.SetList(list.key, *list.column);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}
