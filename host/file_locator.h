// CHostFileLocator: the host's IFileLocator. The add-in calls LocateFile only,
// the 24th vtable entry (after IUnknown's three and twenty reserved ones,
// which answer E_NOTIMPL and are logged as "Reserved1" ... "Reserved20", so a
// call into the wrong slot shows in the log; their operation is
// HostOperation::LocatorReserved, the call's slot says which).
//   LocateFile(path, flags, located, extra)
//     mapped path (exact match, case counts): S_OK, *located = a copy of the
//       mapping, *extra = the BSTR "extra" (the caller frees both).
//     unmapped path: S_OK, *located and *extra null.
//     null located: E_POINTER; a null extra is allowed and left alone.
//     injected failure: that HRESULT, *located and *extra null.
// Calls are logged with "locator" as the object, the path as the entry and
// the flags as the flag.
#ifndef VELMORA_HOST_FILE_LOCATOR_H
#define VELMORA_HOST_FILE_LOCATOR_H

#include <memory>
#include <string>
#include <vector>

#include "host/call_log.h"
#include "host/failures.h"
#include "host/host_object.h"
#include "host/host_text.h"

class CHostFileLocator final : public CHostObject<IFileLocator> {
 public:
  static ATL::CComPtr<CHostFileLocator> Create(std::shared_ptr<CHostCallLog> log = nullptr);

  // IFileLocator
  STDMETHOD(Reserved1)() override { return Reserved(1); }
  STDMETHOD(Reserved2)() override { return Reserved(2); }
  STDMETHOD(Reserved3)() override { return Reserved(3); }
  STDMETHOD(Reserved4)() override { return Reserved(4); }
  STDMETHOD(Reserved5)() override { return Reserved(5); }
  STDMETHOD(Reserved6)() override { return Reserved(6); }
  STDMETHOD(Reserved7)() override { return Reserved(7); }
  STDMETHOD(Reserved8)() override { return Reserved(8); }
  STDMETHOD(Reserved9)() override { return Reserved(9); }
  STDMETHOD(Reserved10)() override { return Reserved(10); }
  STDMETHOD(Reserved11)() override { return Reserved(11); }
  STDMETHOD(Reserved12)() override { return Reserved(12); }
  STDMETHOD(Reserved13)() override { return Reserved(13); }
  STDMETHOD(Reserved14)() override { return Reserved(14); }
  STDMETHOD(Reserved15)() override { return Reserved(15); }
  STDMETHOD(Reserved16)() override { return Reserved(16); }
  STDMETHOD(Reserved17)() override { return Reserved(17); }
  STDMETHOD(Reserved18)() override { return Reserved(18); }
  STDMETHOD(Reserved19)() override { return Reserved(19); }
  STDMETHOD(Reserved20)() override { return Reserved(20); }
  STDMETHOD(LocateFile)(BSTR path, LONG flags, BSTR* located, BSTR* extra) override;

  // LocateFile(path) answers located from now on (a later mapping of the same path replaces it).
  void MapPath(LPCOLESTR path, LPCOLESTR located);
  void UnmapPath(LPCOLESTR path);

  // Failures on demand (FailOperation): LocateFile; a key limits them to
  // that path.

 private:
  struct Mapping {
    WideString path;
    WideString located;
  };

  explicit CHostFileLocator(std::shared_ptr<CHostCallLog> log)
      : CHostObject("locator", std::move(log), HostNameMatch::Exact) {}

  HRESULT Reserved(int slot);

  std::vector<Mapping> m_mappings;
};

#endif  // VELMORA_HOST_FILE_LOCATOR_H
