// Text helpers of the substitute host: name matching,
// and the readable forms of VARIANTs, HRESULTs and IIDs that the call log and
// the tests print. Readable forms are UTF-8 std::string so that a test can
// compare them with plain literals and GoogleTest prints them as they are.
#ifndef VELMORA_HOST_HOST_TEXT_H
#define VELMORA_HOST_HOST_TEXT_H

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <wide_string.h>

#include <string>

// A null pointer is the empty string.
WideString HostStr(LPCOLESTR text);
// The whole BSTR, by its length prefix; a null BSTR is the empty string.
WideString HostBstrStr(BSTR text);

// The host's option tree matches names without regard to case.
bool HostNamesEqualNoCase(const WideString& a, const WideString& b);

std::string HostUtf8(const WideString& text);
std::string HostUtf8(LPCOLESTR text);

// "0x80070057".
std::string HostHresultText(HRESULT hr);
// The name of one of the host's interfaces ("IDataObj") or of IUnknown or
// IDispatch, else the IID itself, "{xxxxxxxx-...}".
std::string HostIidText(REFIID iid);
// "EMPTY", "NULL", "I4 1", "BOOL true", "BSTR 'text'", "DISPATCH", "DISPATCH null",
// "UNKNOWN", "ERROR 0x80004005", "R8 1.5", "ARRAY|VARIANT [2][3]" (element counts by
// dimension 1, 2 ... as SafeArrayGetUBound numbers them), "BYREF|I4", else "VT 0x0048".
std::string HostVariantText(const VARIANT& value);

#endif  // VELMORA_HOST_HOST_TEXT_H
