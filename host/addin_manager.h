// CHostAddInManager: the host's IAddInManager ("AddIn Manager" in the rack),
// listing one descriptor (CHostAddInDescriptor, IAddinObject) per add-in of
// the host, in the order they were added.
//   GetAddIns(ppsa)   S_OK and a new array the caller destroys: by default
//                     one dimension of VT_UNKNOWN, lower bound 0, one
//                     element per listed add-in (null where a null element
//                     was listed). AnswerGetAddIns picks another shape:
//                     no array at all, the add-ins as VARIANTs (VT_UNKNOWN
//                     each) or as BSTRs of their names, a 2-D array of
//                     VT_UNKNOWN (n rows, 1 column), a lower bound of 1.
//                     A null ppsa: E_POINTER. An injected failure: *ppsa
//                     null, unless FailWithArray asked for an array beside it.
// CHostAddInDescriptor answers IAddinObject's get_Name with a copy of its
// name (the caller frees it); every other member answers E_NOTIMPL.
//   On demand: a failing get_Name (FailOperation(GetAddInName, hr), *pVal
//   null), a null name with S_OK (AnswerNullName), or no IAddinObject at
//   all (HideAddinObjectInterface: it answers IUnknown only).
// Calls are logged with "AddIn Manager" and "addin <name>" as the objects.
#ifndef VELMORA_HOST_ADDIN_MANAGER_H
#define VELMORA_HOST_ADDIN_MANAGER_H

#include <memory>
#include <string>
#include <vector>

#include "host/call_log.h"
#include "host/failures.h"
#include "host/host_object.h"
#include "host/host_text.h"

class CHostAddInDescriptor final : public CHostObject<IAddinObject> {
 public:
  static ATL::CComPtr<CHostAddInDescriptor> Create(LPCOLESTR name, std::shared_ptr<CHostCallLog> log = nullptr);

  // IAddinObject
  STDMETHOD(get_Name)(BSTR* pVal) override;
  STDMETHOD(put_Name)(BSTR) override { return E_NOTIMPL; }
  STDMETHOD(get_Reserved)(BSTR* pVal) override { return NotImplemented(pVal); }
  STDMETHOD(put_Reserved)(BSTR) override { return E_NOTIMPL; }
  STDMETHOD(get_Status)(LONG* pVal) override { return NotImplemented(pVal); }
  STDMETHOD(put_Status)(LONG) override { return E_NOTIMPL; }
  STDMETHOD(get_DisplayName)(BSTR* pVal) override { return NotImplemented(pVal); }
  STDMETHOD(put_DisplayName)(BSTR) override { return E_NOTIMPL; }
  STDMETHOD(get_Description)(BSTR* pVal) override { return NotImplemented(pVal); }
  STDMETHOD(put_Description)(BSTR) override { return E_NOTIMPL; }
  STDMETHOD(get_ControlProgID)(BSTR* pVal) override { return NotImplemented(pVal); }
  STDMETHOD(put_ControlProgID)(BSTR) override { return E_NOTIMPL; }
  STDMETHOD(get_Version)(BSTR* pVal) override { return NotImplemented(pVal); }
  STDMETHOD(put_Version)(BSTR) override { return E_NOTIMPL; }
  STDMETHOD(get_Conflicts)(BSTR* pVal) override { return NotImplemented(pVal); }
  STDMETHOD(put_Conflicts)(BSTR) override { return E_NOTIMPL; }
  STDMETHOD(get_InitScript)(BSTR* pVal) override { return NotImplemented(pVal); }
  STDMETHOD(put_InitScript)(BSTR) override { return E_NOTIMPL; }
  STDMETHOD(CopyFromObj)(IAddinObject*) override { return E_NOTIMPL; }
  STDMETHOD(get_UIOrder)(LONG* pVal) override { return NotImplemented(pVal); }
  STDMETHOD(put_UIOrder)(LONG) override { return E_NOTIMPL; }

  const WideString& Name() const { return m_name; }
  // get_Name answers S_OK with a null BSTR.
  void AnswerNullName(bool answer = true) { m_nullName = answer; }
  // The descriptor answers IUnknown only.
  void HideAddinObjectInterface(bool hide = true) { m_hidden = hide; }

 private:
  CHostAddInDescriptor(WideString name, std::shared_ptr<CHostCallLog> log);

  bool Refuses(REFIID iid) const override;
  template <class T>
  static HRESULT NotImplemented(T* out) {
    if (out) *out = T();
    return E_NOTIMPL;
  }

  WideString m_name;
  bool m_nullName = false;
  bool m_hidden = false;
};

// The shape of the array GetAddIns hands back (see the file comment).
enum class HostAddInArray {
  Interfaces,
  NoArray,
  Variants,
  Strings,
  TwoDimensional,
  LowerBoundOne,
};

class CHostAddInManager final : public CHostObject<IAddInManager> {
 public:
  static ATL::CComPtr<CHostAddInManager> Create(std::shared_ptr<CHostCallLog> log = nullptr);

  // IAddInManager
  STDMETHOD(Reserved1)() override { return E_NOTIMPL; }
  STDMETHOD(Reserved2)() override { return E_NOTIMPL; }
  STDMETHOD(Reserved3)() override { return E_NOTIMPL; }
  STDMETHOD(Reserved4)() override { return E_NOTIMPL; }
  STDMETHOD(Reserved5)() override { return E_NOTIMPL; }
  STDMETHOD(GetAddIns)(SAFEARRAY** ppsaAddIns) override;

  // Lists one more add-in, sharing this manager's log, and returns it.
  ATL::CComPtr<CHostAddInDescriptor> AddAddIn(LPCOLESTR name);
  // Lists a null element.
  void AddNullElement();
  size_t Count() const { return m_addIns.size(); }

  void AnswerGetAddIns(HostAddInArray shape) { m_shape = shape; }
  // GetAddIns fails with hr and hands back an array all the same.
  void FailWithArray(HRESULT hr) { m_failWithArray = hr; }
  void ClearFailures() override;

 private:
  explicit CHostAddInManager(std::shared_ptr<CHostCallLog> log)
      : CHostObject("AddIn Manager", std::move(log), HostNameMatch::Exact) {}

  // The array of the chosen shape, or null when it cannot be made.
  SAFEARRAY* BuildArray() const;

  std::vector<ATL::CComPtr<CHostAddInDescriptor>> m_addIns;  // null: a null element
  HostAddInArray m_shape = HostAddInArray::Interfaces;
  HRESULT m_failWithArray = S_OK;
};

#endif  // VELMORA_HOST_ADDIN_MANAGER_H
