// The standard IIDs and the registry form of GUIDs.
#include <gtest/gtest.h>

#include "tests/platform/support/owners.h"

namespace platform_test {
namespace {

struct GuidCase {
  const char* name;
  GUID guid;
  const OLECHAR* text;
};

TEST(Guid, StandardInterfaceIdentifiersHaveTheirWellKnownValues) {
  const GuidCase cases[] = {
      {"IUnknown", IID_IUnknown, OLESTR("{00000000-0000-0000-C000-000000000046}")},
      {"IClassFactory", IID_IClassFactory, OLESTR("{00000001-0000-0000-C000-000000000046}")},
      {"IDispatch", IID_IDispatch, OLESTR("{00020400-0000-0000-C000-000000000046}")},
  };
  for (const GuidCase& c : cases) {
    OLECHAR text[64];
    EXPECT_EQ(StringFromGUID2(c.guid, text, 64), 39) << c.name;
    EXPECT_EQ(wcscmp(text, c.text), 0) << c.name << ": " << Narrow(text);
  }
}

TEST(Guid, StringFromGuid2WritesUpperCaseHexInFieldOrder) {
  // Data1 and the words print as numbers; Data4 prints byte by byte.
  const GUID guid = {0x6B29FC40, 0xCA47, 0x1067, {0xB3, 0x1D, 0x00, 0xDD, 0x01, 0x06, 0x62, 0xDA}};
  OLECHAR text[39];
  ASSERT_EQ(StringFromGUID2(guid, text, 39), 39);
  EXPECT_EQ(wcscmp(text, OLESTR("{6B29FC40-CA47-1067-B31D-00DD010662DA}")), 0) << Narrow(text);
}

TEST(Guid, StringFromGuid2RefusesABufferWithoutRoomForTheTerminator) {
  OLECHAR text[38];
  EXPECT_EQ(StringFromGUID2(IID_IDispatch, text, 38), 0);
}

TEST(Guid, IsEqualGuidComparesEveryByte) {
  GUID changed = IID_IDispatch;
  EXPECT_TRUE(IsEqualGUID(changed, IID_IDispatch));
  changed.Data4[7] ^= 1;
  EXPECT_FALSE(IsEqualGUID(changed, IID_IDispatch));
  EXPECT_FALSE(IsEqualGUID(IID_IUnknown, IID_IClassFactory));
}

}  // namespace
}  // namespace platform_test
