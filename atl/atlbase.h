// The stand-in's entry header, as ATL's: the smart pointer and the owners of
// BSTR, VARIANT and kernel handles, with the ATL namespace in scope.
#ifndef VELMORA_ATL_ATLBASE_H
#define VELMORA_ATL_ATLBASE_H

#include "atlbstr.h"
#include "atlcomptr.h"
#include "atlexcept.h"
#include "atlhandle.h"
#include "atlvariant.h"

using namespace ATL;

#endif  // VELMORA_ATL_ATLBASE_H
