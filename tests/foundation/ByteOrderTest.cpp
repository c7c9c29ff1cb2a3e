#include <gtest/gtest.h>

#include <cstring>

#include "foundation/ByteOrder.h"

TEST(ByteOrder, StoresAndLoadsBigEndianAtUnalignedAddresses) {
  unsigned char buffer[8] = {};
  nstorelong(buffer + 1, 0x12345678);
  unsigned char expected[] = {0x00, 0x12, 0x34, 0x56, 0x78, 0x00};
  EXPECT_EQ(std::memcmp(buffer, expected, sizeof expected), 0);
  EXPECT_EQ(nloadlong(buffer + 1), 0x12345678u);

  nstoreshort(buffer + 5, 0xBEEF);
  EXPECT_EQ(buffer[5], 0xBE);
  EXPECT_EQ(buffer[6], 0xEF);

  const unsigned char pair[] = {0x12, 0x34};
  EXPECT_EQ(nloadshort(pair), 0x1234);
  uint16_t shortOut = 0;
  uint32_t longOut = 0;
  nloadshort(shortOut, pair);
  nloadlong(longOut, buffer + 1);
  EXPECT_EQ(shortOut, 0x1234);
  EXPECT_EQ(longOut, 0x12345678u);
}

TEST(ByteOrder, SwapsReverseTheBytes) {
  EXPECT_EQ(uhtonl(0x01020304), 0x04030201u);
  EXPECT_EQ(SwapEndianLong(0x01020304), 0x04030201u);
  EXPECT_EQ(uhtons(0x0102), 0x0201);
  EXPECT_EQ(SwapEndianShort(0x0102), 0x0201);
  EXPECT_EQ(SwapEndianDouble(SwapEndianDouble(1.5)), 1.5);
  EXPECT_EQ(uhtond(uhtond(-2.25)), -2.25);

  unsigned char odd[] = {1, 2, 3, 4, 5};
  swapBytes(odd, 5);
  unsigned char oddReversed[] = {5, 4, 3, 2, 1};
  EXPECT_EQ(std::memcmp(odd, oddReversed, 5), 0);

  unsigned char reversed[3];
  nstorebytes(reversed, "abc", 3);
  EXPECT_EQ(std::memcmp(reversed, "cba", 3), 0);
}

TEST(ByteOrder, DoublesStoreInHostOrderAndLoadBigEndian) {
  // 1.0 is 3F F0 00 00 00 00 00 00 in big-endian order.
  const unsigned char bigEndianOne[8] = {0x3F, 0xF0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(hloaddouble8(bigEndianOne), 1.0);

  unsigned char stored[8];
  hstoredouble8(stored, 1.0);
  double host = 1.0;
  EXPECT_EQ(std::memcmp(stored, &host, 8), 0);
  EXPECT_NE(hloaddouble8(stored), 1.0); // not each other's inverse
}
