// Base of the host tests' fixtures: when a test ends and its fixture has
// released its pointers, every host object made during the test is gone.
#ifndef VELMORA_TESTS_HOST_LIVE_OBJECTS_H
#define VELMORA_TESTS_HOST_LIVE_OBJECTS_H

#include <gtest/gtest.h>

#include "host/object_counter.h"

class HostObjectsTest : public testing::Test {
 protected:
  // Runs after the derived fixture's members are destroyed.
  ~HostObjectsTest() override { EXPECT_EQ(CHostObjectCounter::Live(), m_liveAtStart) << "a host object leaked"; }

 private:
  LONG m_liveAtStart = CHostObjectCounter::Live();
};

#endif  // VELMORA_TESTS_HOST_LIVE_OBJECTS_H
