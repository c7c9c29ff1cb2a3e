#include <gtest/gtest.h>

#include "foundation/IntMap.h"

TEST(IntMap, KeysSharingABinAreBothFound) {
  IntMap<int> map;
  EXPECT_EQ(IntMap<int>::hashInteger(1), 13u);
  EXPECT_EQ(IntMap<int>::hashInteger(1025), 13u);
  map.AddEntry(1, 10);
  map.AddEntry(1025, 20);
  int value = 0;
  EXPECT_TRUE(map.GetEntry(1, &value));
  EXPECT_EQ(value, 10);
  EXPECT_TRUE(map.GetEntry(1025, &value));
  EXPECT_EQ(value, 20);
  EXPECT_FALSE(map.GetEntry(2049, &value));
}

TEST(IntMap, ExistingKeyTakesTheNewValueAndNegativeKeysWork) {
  IntMap<const char *> map;
  map.AddEntry(-5, "first");
  map.AddEntry(-5, "second");
  map.AddEntry(0x7FFFFFFF, "max");
  const char *value = nullptr;
  EXPECT_TRUE(map.GetEntry(-5, &value));
  EXPECT_STREQ(value, "second");
  EXPECT_TRUE(map.GetEntry(0x7FFFFFFF, nullptr));
  EXPECT_LT(IntMap<int>::hashInteger(-5), 1024u);
}
