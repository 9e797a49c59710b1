// The user's application list as the host keeps it in the data object: six
// parallel lists ("FILES_LIST", "DIRS_LIST", "ARGS_LIST", "APPS_LIST",
// "LNCH_LIST", "DESC_LIST"), built from a table of rows so that a scenario
// reads as the list the user sees.
#ifndef VELMORA_HOST_APP_ROWS_H
#define VELMORA_HOST_APP_ROWS_H

#include <windows.h>

#include <vector>

#include "host/data_obj.h"

// One row of the list; null strings are stored as empty strings, the two
// flags as VT_I4 (non-zero: set).
struct HostAppRow {
  const OLECHAR* app;
  const OLECHAR* file;
  const OLECHAR* dir;
  const OLECHAR* args;
  LONG launch;
  LONG children;
};

// Stores the six lists, one row each per table row, replacing any held.
// The first failure of SetList, else S_OK.
HRESULT HostSetAppRows(CHostDataObj& data, const std::vector<HostAppRow>& rows);

#endif  // VELMORA_HOST_APP_ROWS_H
