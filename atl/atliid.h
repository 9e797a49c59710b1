// IidOf<I>(): the interface identifier of interface type I. Every query in
// the project takes its IID from the type it fills, never from a separate
// REFIID argument, so the two cannot disagree. The identifiers come from the
// headers (widl attaches one to each interface it declares), on every build.
#ifndef VELMORA_ATL_ATLIID_H
#define VELMORA_ATL_ATLIID_H

#include <windows.h>
#include <objbase.h>

namespace ATL {

template <class I>
const IID& IidOf() {
  return __uuidof(I);
}

}  // namespace ATL

#endif  // VELMORA_ATL_ATLIID_H
