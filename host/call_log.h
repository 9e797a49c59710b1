// The ordered record of the calls the host objects receive through their COM
// interfaces, with their arguments and the HRESULT each returned. The objects
// of one tree share one log; a test may hand the same log to the rack, the
// locator and the data object as well, to see the calls of all in order.
//
// A call's text form lists the arguments it has, in this order:
//   entry, value name, value, interface, "flag N", "level N", "reserved N N"
// and, when the call returned anything but S_OK, " -> 0x80070057". Reserved
// arguments are always recorded but printed only when one is not 0, so that
// a caller passing something there stands out. Examples:
//   SetNodeValue(all, GetMessageHook, I4 1, flag 1, level 3)
//   GetNode(Hooks) -> 0x80070057
//   GetObject(Settings, IDataObj)
//   LocateFile(bin\tool.exe, flag 0)
// Names are written as they are ('' when empty); values as HostVariantText
// writes them. The qualified form puts the object first:
//   TestOptions/Hooks: SetNodeValue(all, GetMessageHook, I4 1, flag 1, level 3)
#ifndef VELMORA_HOST_CALL_LOG_H
#define VELMORA_HOST_CALL_LOG_H

#include <windows.h>
#include <oleauto.h>

#include <atlbase.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The operations of the host's objects, one per interface method.
enum class HostOperation {
  // IOptionsNode
  GetName,
  GetNode,
  NodeExists,
  AddNode,
  RemoveNode,
  SetValue,
  GetValue,
  GetNodeValue,
  SetNodeValue,
  // IObjectRack
  SetObject,
  GetObject,
  RemoveObject,
  // IFileLocator: its twenty reserved slots are one operation; the call
  // carries the slot's number.
  LocatorReserved,
  LocateFile,
  // IDataObj
  GetItemByName,
  SetItemByName,
  GetHistoryByName,
  SetHistoryByName,
  SetItemByNameEx,
  // IAddInManager, and IAddinObject's Name on the descriptors it lists
  GetAddIns,
  GetAddInName,
  // IClassFactory of the classes the add-in creates by identifier
  CreateInstance,
  // IRunModeProvider
  GetRunMode,
  // ITestSettingsAuto
  GetSettingsItem,
  // ILaunchers
  AddLauncher,
  // IObjectRackClient of the launcher component
  SetRack,
};

// The method's name as the log prints it ("SetNodeValue"); the locator's
// reserved slots print as "Reserved", the call adds the number.
const char* HostOperationName(HostOperation operation);
// The operation of that printed name; none for an unknown name.
std::optional<HostOperation> HostOperationNamed(const std::string& name);

struct CHostCall {
  // A node's path ("TestOptions/Hooks"), "rack", "locator" or "dataobj".
  std::string object;
  HostOperation operation = HostOperation::GetName;
  // The locator's reserved slot, 1 to 20.
  std::optional<int> slot;
  // The name the call is about: the child, the value of SetValue/GetValue,
  // the rack's object, the data object's item, the located path.
  std::optional<std::string> entry;
  // The value name of GetNodeValue/SetNodeValue.
  std::optional<std::string> valueName;
  // A copy of the value written.
  std::optional<ATL::CComVariant> value;
  // The interface asked for (GetObject).
  std::optional<IID> iid;
  // SetNodeValue's flag, LocateFile's flags.
  std::optional<LONG> flag;
  // The level of SetValue/SetNodeValue.
  std::optional<LONG> level;
  // The reserved arguments, in the order the method declares them: one for
  // AddNode, three for SetValue and SetNodeValue, two for GetNodeValue; none
  // for the other methods.
  std::vector<LONG> reserved;
  HRESULT hr = S_OK;

  // "SetNodeValue", "Reserved3".
  std::string Name() const;
  std::string Text() const;
  std::string QualifiedText() const;
};

class CHostCallLog {
 public:
  static std::shared_ptr<CHostCallLog> Create();

  void Record(CHostCall call);
  void Clear();

  // Every call, in order.
  const std::vector<CHostCall>& All() const { return m_calls; }
  // The calls of the given operations (all calls when the list is empty).
  std::vector<CHostCall> Calls(const std::vector<HostOperation>& operations = {}) const;
  // The same, of one object only ("rack", "TestOptions/Hooks").
  std::vector<CHostCall> CallsOf(const std::string& object, const std::vector<HostOperation>& operations = {}) const;
  // Text forms of Calls(operations).
  std::vector<std::string> Texts(const std::vector<HostOperation>& operations = {}) const;
  // Qualified text forms of Calls(operations).
  std::vector<std::string> QualifiedTexts(const std::vector<HostOperation>& operations = {}) const;
  // Qualified text forms of the calls that change state: AddNode, RemoveNode,
  // SetValue, SetNodeValue, SetObject, RemoveObject, SetItemByName,
  // SetItemByNameEx, SetHistoryByName.
  std::vector<std::string> Writes() const;
  size_t Count(HostOperation operation) const;


  // One qualified text a line, for a failure message.
  std::string Dump() const;

  static const std::vector<HostOperation>& WriteOperations();

 private:
  std::vector<CHostCall> Select(const std::function<bool(const CHostCall&)>& selected) const;
  static std::vector<std::string> TextsOf(const std::vector<CHostCall>& calls);
  static std::vector<std::string> QualifiedTextsOf(const std::vector<CHostCall>& calls);

  std::vector<CHostCall> m_calls;
};

#endif  // VELMORA_HOST_CALL_LOG_H
