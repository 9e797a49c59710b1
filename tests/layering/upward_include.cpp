// Compiled against one layer's library only, with VELMORA_PROBE_HEADER naming
// a header of a layer above it (or beside it, undeclared): the build must
// not find that header.
#include VELMORA_PROBE_HEADER
