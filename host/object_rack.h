// CHostObjectRack: the host's IObjectRack, named objects the add-in finds by
// name. Names match exactly (case counts).
//   SetObject(name, object)   stores a reference (replacing an older one);
//                             a null object gives E_POINTER, an empty name E_INVALIDARG.
//   GetObject(name, iid, out) QueryInterface of the stored object for iid into
//                             *out (one reference, the caller releases). Unknown
//                             name: kMissingObject; a failed QueryInterface: its
//                             HRESULT. *out is null on every failure.
//   RemoveObject(name)        drops the reference; unknown name: kMissingObject.
// Calls are logged with "rack" as the object; GetObject records the iid.
#ifndef VELMORA_HOST_OBJECT_RACK_H
#define VELMORA_HOST_OBJECT_RACK_H

#include <memory>
#include <string>
#include <vector>

#include "host/call_log.h"
#include "host/failures.h"
#include "host/host_object.h"
#include "host/host_text.h"

class CHostObjectRack final : public CHostObject<IObjectRack> {
 public:
  static constexpr HRESULT kMissingObject = E_INVALIDARG;

  static ATL::CComPtr<CHostObjectRack> Create(std::shared_ptr<CHostCallLog> log = nullptr);

  // IObjectRack
  STDMETHOD(SetObject)(BSTR name, IUnknown* object) override;
  STDMETHOD(GetObject)(BSTR name, REFIID iid, IUnknown** object) override;
  STDMETHOD(RemoveObject)(BSTR name) override;

  // Unlogged access.
  void PutObject(LPCOLESTR name, IUnknown* object);  // null removes
  ATL::CComPtr<IUnknown> PeekObject(LPCOLESTR name) const;
  std::vector<std::string> ObjectNames() const;

  // Failures on demand (FailOperation): SetObject, GetObject or
  // RemoveObject; a key limits them to calls about that name.
  // GetObject for this name succeeds with a null object (S_OK, *out null).
  void AnswerNullObject(LPCOLESTR name, bool answer = true);
  void ClearFailures() override;

 private:
  struct Entry {
    WideString name;
    ATL::CComPtr<IUnknown> object;
  };

  explicit CHostObjectRack(std::shared_ptr<CHostCallLog> log)
      : CHostObject("rack", std::move(log), HostNameMatch::Exact) {}

  Entry* FindEntry(const WideString& name);
  const Entry* FindEntry(const WideString& name) const;
  bool AnswersNull(const WideString& name) const;
  CHostCall NewCall(HostOperation operation, const WideString& name) const;

  std::vector<Entry> m_objects;
  std::vector<WideString> m_nullAnswers;
};

#endif  // VELMORA_HOST_OBJECT_RACK_H
