#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "desktop/ClipboardPictureBuffer.h"

namespace {

std::vector<uint8_t> Buffer(int32_t total, int32_t stride, int32_t height, int32_t width,
                            size_t length) {
  std::vector<uint8_t> bytes(length);
  ClipboardPictureHeader header{total, stride, height, width};
  memcpy(bytes.data(), &header, std::min(length, sizeof header));
  return bytes;
}

// Only a buffer whose header tells the truth about its own bytes is a picture.
TEST(ClipboardPictureBuffer, OnlyAnHonestHeaderMakesAPicture) {
  struct Case {
    const char *what;
    int32_t total, stride, height, width;
    size_t length;
    bool wellFormed;
  } cases[] = {
      {"two rows of two pixels", 32, 8, 2, 2, 32, true},
      {"no padding", 22, 3, 2, 1, 22, true},
      {"a pixmap id", 0, 0, 0, 0, 4, false},
      {"header only", 16, 0, 0, 0, 16, false},
      {"total above length", 48, 8, 4, 2, 32, false},
      {"total below length", 16, 8, 2, 2, 32, false},
      {"more rows than carried", 32, 8, 3, 2, 32, false},
      {"rows narrower than pixels", 32, 5, 2, 2, 32, false},
      {"zero width", 32, 8, 2, 0, 32, false},
      {"negative height", 32, 8, -2, 2, 32, false},
      {"overflowing product", 32, 0x40000000, 4, 1, 32, false},
      {"negative stride", 32, -8, -2, 2, 32, false},
  };
  for (const Case &c : cases) {
    std::vector<uint8_t> bytes = Buffer(c.total, c.stride, c.height, c.width, c.length);
    EXPECT_EQ(IsWellFormedPictureBuffer(bytes.data(), static_cast<int64_t>(bytes.size())),
              c.wellFormed)
        << c.what;
  }
  EXPECT_FALSE(IsWellFormedPictureBuffer(nullptr, 0));
}

TEST(ClipboardPictureBuffer, ARejectedReplyKeepsTheHeldPicture) {
  std::vector<uint8_t> rows(2 * 8, 0x5A);
  SetClipboardPictureBuffer(2, 2, 8, rows.data());
  ASSERT_NE(ClipboardPictureBuffer(), nullptr);
  std::vector<uint8_t> lying = Buffer(32, 8, 3, 2, 32);
  EXPECT_FALSE(AdoptClipboardPictureReply(lying.data(), 32));
  const uint8_t *held = ClipboardPictureBuffer();
  ASSERT_NE(held, nullptr);
  ClipboardPictureHeader header;
  memcpy(&header, held, sizeof header);
  EXPECT_EQ(header.totalSize, 32);
  EXPECT_EQ(header.height, 2);
  EXPECT_EQ(held[kPictureHeaderSize + 15], 0x5A);

  std::vector<uint8_t> good = Buffer(22, 3, 2, 1, 22);
  EXPECT_TRUE(AdoptClipboardPictureReply(good.data(), 22));
  EXPECT_EQ(memcmp(ClipboardPictureBuffer(), good.data(), 22), 0);
  ClearClipboardPictureBuffer();
  EXPECT_EQ(ClipboardPictureBuffer(), nullptr);
}

} // namespace
