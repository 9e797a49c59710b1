#include "host/host_text.h"

#include <host.h>

#include <atliid.h>

#include <cstdio>

WideString HostStr(LPCOLESTR text) { return text ? WideString(text) : WideString(); }

WideString HostBstrStr(BSTR text) { return text ? WideString(text, ::SysStringLen(text)) : WideString(); }

bool HostNamesEqualNoCase(const WideString& a, const WideString& b) {
  return a.size() == b.size() && _wcsicmp(a.c_str(), b.c_str()) == 0;
}

namespace {

std::string Hex32(unsigned value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08X", value);
  return buffer;
}

const char* BaseTypeName(VARTYPE vt) {
  switch (vt & VT_TYPEMASK) {
    case VT_EMPTY: return "EMPTY";
    case VT_NULL: return "NULL";
    case VT_I1: return "I1";
    case VT_UI1: return "UI1";
    case VT_I2: return "I2";
    case VT_UI2: return "UI2";
    case VT_I4: return "I4";
    case VT_UI4: return "UI4";
    case VT_I8: return "I8";
    case VT_UI8: return "UI8";
    case VT_INT: return "INT";
    case VT_UINT: return "UINT";
    case VT_R4: return "R4";
    case VT_R8: return "R8";
    case VT_CY: return "CY";
    case VT_DATE: return "DATE";
    case VT_BSTR: return "BSTR";
    case VT_DISPATCH: return "DISPATCH";
    case VT_ERROR: return "ERROR";
    case VT_BOOL: return "BOOL";
    case VT_VARIANT: return "VARIANT";
    case VT_UNKNOWN: return "UNKNOWN";
    case VT_DECIMAL: return "DECIMAL";
    default: return nullptr;
  }
}

std::string OtherTypeText(VARTYPE vt) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "VT 0x%04X", static_cast<unsigned>(vt));
  return buffer;
}

std::string ArrayText(const VARIANT& value) {
  const char* base = BaseTypeName(value.vt);
  std::string text = std::string("ARRAY|") + (base ? base : "?");
  if (value.vt & VT_BYREF) return "BYREF|" + text;
  SAFEARRAY* array = value.parray;
  if (!array) return text + " null";
  text += ' ';
  const UINT dims = ::SafeArrayGetDim(array);
  for (UINT dim = 1; dim <= dims; ++dim) {
    LONG lower = 0;
    LONG upper = -1;
    ::SafeArrayGetLBound(array, dim, &lower);
    ::SafeArrayGetUBound(array, dim, &upper);
    text += '[' + std::to_string(static_cast<long long>(upper) - lower + 1) + ']';
  }
  return text;
}

}  // namespace

std::string HostUtf8(const WideString& text) {
  // The platform's own conversion, on every build: one UTF-8 encoder in the
  // project. The length is passed, so embedded U+0000 are kept; a lone
  // surrogate becomes U+FFFD.
  if (text.empty()) return std::string();
  const int units = static_cast<int>(text.size());
  const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), units, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::string out(static_cast<size_t>(bytes), '\0');
  if (::WideCharToMultiByte(CP_UTF8, 0, text.data(), units, &out[0], bytes, nullptr, nullptr) != bytes) {
    return std::string();
  }
  return out;
}

std::string HostUtf8(LPCOLESTR text) { return HostUtf8(HostStr(text)); }

std::string HostHresultText(HRESULT hr) { return Hex32(static_cast<unsigned>(hr)); }

std::string HostIidText(REFIID iid) {
  // The interfaces the host's objects answer, and nothing of the add-in's:
  // an IID the host does not know is printed as it is.
  struct Known {
    const IID& iid;
    const char* name;
  };
  static const Known known[] = {
      {ATL::IidOf<IUnknown>(), "IUnknown"},         {ATL::IidOf<IDispatch>(), "IDispatch"},
      {ATL::IidOf<IOptionsNode>(), "IOptionsNode"}, {ATL::IidOf<IFileLocator>(), "IFileLocator"},
      {ATL::IidOf<IDataObj>(), "IDataObj"},         {ATL::IidOf<IObjectRack>(), "IObjectRack"},
      {ATL::IidOf<IAddInManager>(), "IAddInManager"},
      {ATL::IidOf<IRunModeComponent>(), "IRunModeComponent"},
      {ATL::IidOf<IRunModeProvider>(), "IRunModeProvider"},
      {ATL::IidOf<ITestSettingsAuto>(), "ITestSettingsAuto"},
      {ATL::IidOf<ILaunchers>(), "ILaunchers"},
  };
  for (const Known& entry : known) {
    if (IsEqualGUID(iid, entry.iid)) return entry.name;
  }
  OLECHAR buffer[40] = {};
  if (::StringFromGUID2(iid, buffer, 40) == 0) return "{?}";
  return HostUtf8(buffer);
}

std::string HostVariantText(const VARIANT& value) {
  const VARTYPE vt = value.vt;
  if (vt & VT_ARRAY) return ArrayText(value);
  if (vt & VT_BYREF) {
    const char* base = BaseTypeName(vt);
    return base ? std::string("BYREF|") + base : OtherTypeText(vt);
  }
  switch (vt) {
    case VT_EMPTY: return "EMPTY";
    case VT_NULL: return "NULL";
    case VT_I1: return "I1 " + std::to_string(static_cast<int>(value.cVal));
    case VT_UI1: return "UI1 " + std::to_string(static_cast<unsigned>(value.bVal));
    case VT_I2: return "I2 " + std::to_string(static_cast<int>(value.iVal));
    case VT_UI2: return "UI2 " + std::to_string(static_cast<unsigned>(value.uiVal));
    case VT_I4: return "I4 " + std::to_string(static_cast<long long>(value.lVal));
    case VT_UI4: return "UI4 " + std::to_string(static_cast<unsigned long long>(value.ulVal));
    case VT_INT: return "INT " + std::to_string(static_cast<long long>(value.intVal));
    case VT_UINT: return "UINT " + std::to_string(static_cast<unsigned long long>(value.uintVal));
    case VT_I8: return "I8 " + std::to_string(static_cast<long long>(value.llVal));
    case VT_UI8: return "UI8 " + std::to_string(static_cast<unsigned long long>(value.ullVal));
    case VT_BOOL: return value.boolVal == VARIANT_FALSE ? "BOOL false" : "BOOL true";
    case VT_ERROR: return "ERROR " + Hex32(static_cast<unsigned>(value.scode));
    case VT_BSTR: return "BSTR '" + HostUtf8(HostBstrStr(value.bstrVal)) + "'";
    case VT_DISPATCH: return value.pdispVal ? "DISPATCH" : "DISPATCH null";
    case VT_UNKNOWN: return value.punkVal ? "UNKNOWN" : "UNKNOWN null";
    case VT_R4:
    case VT_R8:
    case VT_DATE: {
      char buffer[48];
      const double number = vt == VT_R4 ? value.fltVal : vt == VT_R8 ? value.dblVal : value.date;
      std::snprintf(buffer, sizeof buffer, "%s %g", BaseTypeName(vt), number);
      return buffer;
    }
    default: return OtherTypeText(vt);
  }
}
