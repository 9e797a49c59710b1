// The add-in's process-wide constants are built when its module loads; a
// test program that links the add-in's code builds them once for the run.
#include <gtest/gtest.h>

#include "settings/shared_constants.h"

namespace {

class SharedConstantsEnvironment : public testing::Environment {
 public:
  void SetUp() override { ASSERT_EQ(LoadSharedConstants(), S_OK); }
  void TearDown() override { FreeSharedConstants(); }
};

const testing::Environment* const kEnvironment = testing::AddGlobalTestEnvironment(new SharedConstantsEnvironment);

}  // namespace
