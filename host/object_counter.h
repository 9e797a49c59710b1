// How many host objects are alive in this process. A test releases its own
// pointers and expects Live() back where it started: anything above is a
// reference the add-in took and never released.
#ifndef VELMORA_HOST_OBJECT_COUNTER_H
#define VELMORA_HOST_OBJECT_COUNTER_H

#include <windows.h>

class CHostObjectCounter {
 public:
  static LONG Live();

  // Called by CHostObject's constructor and destructor only.
  static void Created();
  static void Destroyed();
};

#endif  // VELMORA_HOST_OBJECT_COUNTER_H
