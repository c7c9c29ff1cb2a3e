#include <climits>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/FileHandle.h"
#include "foundation/FilePtr.h"

namespace {

std::vector<uint8_t> Written(int value) {
  FileHandle stream;
  EXPECT_TRUE(stream.WriteEncodedInt(value));
  const uint8_t *bytes = reinterpret_cast<const uint8_t *>(*stream.GetHandle());
  return std::vector<uint8_t>(bytes, bytes + stream.GetLength());
}

struct Case {
  int value;
  std::vector<uint8_t> bytes;
};

const Case kBoundaries[] = {
    {0, {0x00}},
    {63, {0x3F}},
    {64, {0x80, 0x01}},
    {-1, {0x41}},
    {-63, {0x7F}},
    {-64, {0xC0, 0x01}},
    {8191, {0xBF, 0x7F}},
    {8192, {0x80, 0x80, 0x01}},
    {(1 << 27) - 1, {0xBF, 0xFF, 0xFF, 0x7F}},
    {1 << 27, {0x80, 0x80, 0x80, 0x80, 0x01}},
    {INT_MAX, {0xBF, 0xFF, 0xFF, 0xFF, 0x0F}},
    {-INT_MAX, {0xFF, 0xFF, 0xFF, 0xFF, 0x0F}},
    {INT_MIN, {0x80, 0x80, 0x80, 0x80, 0x10}},
};

bool ReadFrom(const std::vector<uint8_t> &bytes, int &value) {
  FilePtr stream;
  stream.Open(bytes.data(), static_cast<long>(bytes.size()));
  return stream.ReadEncodedInt(value);
}

} // namespace

TEST(EncodedInteger, BoundaryValuesRoundTripByteForByte) {
  for (const Case &c : kBoundaries) {
    EXPECT_EQ(Written(c.value), c.bytes) << c.value;
    int value = 12345;
    ASSERT_TRUE(ReadFrom(c.bytes, value)) << c.value;
    EXPECT_EQ(value, c.value);
  }
}

TEST(EncodedInteger, TruncatedInputFails) {
  for (const Case &c : kBoundaries) {
    for (size_t cut = 0; cut < c.bytes.size(); ++cut) {
      std::vector<uint8_t> truncated(c.bytes.begin(), c.bytes.begin() + static_cast<long>(cut));
      int value = 0;
      EXPECT_FALSE(ReadFrom(truncated, value)) << c.value << " cut to " << cut;
    }
  }
}

TEST(EncodedInteger, ReaderQuirksOfForeignData) {
  int value = 0;
  // The magnitude 0x80000000 reads as the most negative value, sign bit or not.
  ASSERT_TRUE(ReadFrom({0xC0, 0x80, 0x80, 0x80, 0x10}, value));
  EXPECT_EQ(value, INT_MIN);
  // Bits beyond 31 fall away.
  ASSERT_TRUE(ReadFrom({0x80, 0x80, 0x80, 0x80, 0x70}, value)); // 0x70 << 27 keeps bit 31 only
  EXPECT_EQ(value, INT_MIN);
  // A fifth byte that announces a sixth is no encoded integer.
  EXPECT_FALSE(ReadFrom({0x81, 0x80, 0x80, 0x80, 0x80, 0x00}, value));
}
