// WideString: the one UTF-16 string type of the project, for text that is
// worked on in place rather than handed across an interface (that is a BSTR).
// std::u16string on Linux, std::wstring on Windows: UTF-16 on both.
#ifndef VELMORA_ATL_WIDE_STRING_H
#define VELMORA_ATL_WIDE_STRING_H

#include <windows.h>

#include <string>

typedef std::basic_string<WCHAR> WideString;

#endif  // VELMORA_ATL_WIDE_STRING_H
