// BMP files built byte by byte: what they decode to, and what is refused.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>

#include <sys/mman.h>

#include "support/OffscreenPixels.h"
#include "graphics/BitmapDecoder.h"
#include "support/AlertRecorder.h"
#include "support/GuardedBytes.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes &b, size_t at, uint32_t v) {
  b[at] = v & 0xFF;
  b[at + 1] = (v >> 8) & 0xFF;
}
void Put32(Bytes &b, size_t at, uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}

// A BMP file: header of 12 or 40 bytes, palette entries (blue, green, red),
// then the rows exactly as given (padding included).
Bytes Bmp(uint32_t headerSize, int32_t width, int32_t height, uint16_t depth,
          const std::vector<std::array<uint8_t, 3>> &palette, const Bytes &rows,
          uint32_t compression = 0) {
  size_t entry = headerSize == 12 ? 3 : 4;
  size_t pixelOffset = 14 + headerSize + palette.size() * entry;
  Bytes b(pixelOffset, 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, static_cast<uint32_t>(pixelOffset + rows.size()));
  Put32(b, 10, static_cast<uint32_t>(pixelOffset));
  Put32(b, 14, headerSize);
  if (headerSize == 12) {
    Put16(b, 18, static_cast<uint16_t>(width));
    Put16(b, 20, static_cast<uint16_t>(height));
    Put16(b, 22, 1);
    Put16(b, 24, depth);
  } else {
    Put32(b, 18, static_cast<uint32_t>(width));
    Put32(b, 22, static_cast<uint32_t>(height));
    Put16(b, 26, 1);
    Put16(b, 28, depth);
    Put32(b, 30, compression);
  }
  for (size_t i = 0; i < palette.size(); ++i)
    std::memcpy(&b[14 + headerSize + i * entry], palette[i].data(), 3);
  b.insert(b.end(), rows.begin(), rows.end());
  return b;
}

// Decoded pixels as 0xRRGGBB, top row first.
std::vector<uint32_t> Pixels(const DecodedBitmap &d) {
  std::vector<uint32_t> out;
  for (size_t i = 0; i + 2 < d.rgb.size(); i += 3)
    out.push_back((d.rgb[i] << 16) | (d.rgb[i + 1] << 8) | d.rgb[i + 2]);
  return out;
}

std::string Text(const Bytes &b, size_t length) {
  return std::string(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(length));
}

bool Decodes(const Bytes &b, DecodedBitmap *d) { return DecodeBitmap(b.data(), b.size(), d); }

const std::vector<std::array<uint8_t, 3>> kPalette = {
    {0, 0, 0}, {0, 0, 255}, {0, 255, 0}, {255, 0, 0}}; // black, red, green, blue

TEST(BitmapDecoder, DecodesEachDepthWithItsRowPadding) {
  struct Case {
    const char *name;
    Bytes file;
    int32_t width, height;
    std::vector<uint32_t> expected;
  } cases[] = {
      {"1x1 24-bit", Bmp(40, 1, 1, 24, {}, {0x30, 0x20, 0x10, 0xEE}), 1, 1, {0x102030}},
      {"3-wide 8-bit, bottom-up",
       Bmp(40, 3, 2, 8, kPalette, {1, 2, 3, 0xEE, 3, 0, 1, 0xEE}),
       3,
       2,
       {0x0000FF, 0x000000, 0xFF0000, 0xFF0000, 0x00FF00, 0x0000FF}},
      {"5-wide 4-bit",
       Bmp(40, 5, 1, 4, kPalette, {0x12, 0x30, 0x10, 0xEE}),
       5,
       1,
       {0xFF0000, 0x00FF00, 0x0000FF, 0x000000, 0xFF0000}},
      {"12-byte header, 3-byte palette",
       Bmp(12, 2, 1, 8, kPalette, {3, 1, 0, 0}),
       2,
       1,
       {0x0000FF, 0xFF0000}},
      {"32-bit", Bmp(40, 2, 1, 32, {}, {1, 2, 3, 9, 4, 5, 6, 9}), 2, 1, {0x030201, 0x060504}},
      {"top-down", Bmp(40, 1, -2, 24, {}, {0, 0, 255, 0, 255, 0, 0, 0}), 1, 2,
       {0xFF0000, 0x0000FF}},
      {"bottom-up", Bmp(40, 1, 2, 24, {}, {0, 0, 255, 0, 255, 0, 0, 0}), 1, 2,
       {0x0000FF, 0xFF0000}},
  };
  for (const Case &c : cases) {
    DecodedBitmap d;
    ASSERT_TRUE(Decodes(c.file, &d)) << c.name;
    EXPECT_EQ(d.width, c.width) << c.name;
    EXPECT_EQ(d.height, c.height) << c.name;
    EXPECT_EQ(Pixels(d), c.expected) << c.name;
  }
}

TEST(BitmapDecoder, RefusesWhatItCannotRead) {
  Bytes good = Bmp(40, 3, 2, 8, kPalette, {1, 2, 3, 0, 3, 0, 1, 0});
  Bytes pastEnd = good;
  Put32(pastEnd, 10, static_cast<uint32_t>(good.size() + 4));
  struct Case {
    const char *name;
    Bytes file;
  } cases[] = {
      {"width 0", Bmp(40, 0, 1, 24, {}, {0, 0, 0, 0})},
      {"width -5", Bmp(40, -5, 1, 24, {}, Bytes(64, 0))},
      {"width 40000", Bmp(40, 40000, 1, 8, {}, Bytes(40000, 0))},
      {"height 0", Bmp(40, 1, 0, 24, {}, {})},
      {"run-length 8", Bmp(40, 3, 2, 8, kPalette, {1, 2, 3, 0, 3, 0, 1, 0}, 1)},
      {"run-length 4", Bmp(40, 5, 1, 4, kPalette, {0x12, 0x30, 0x10, 0}, 2)},
      {"16-bit", Bmp(40, 2, 1, 16, {}, {0, 0, 0, 0})},
      {"1-bit", Bmp(40, 8, 1, 1, kPalette, {0xFF, 0, 0, 0})},
      {"pixel data past the end", pastEnd},
  };
  for (const Case &c : cases) {
    DecodedBitmap d;
    EXPECT_FALSE(Decodes(c.file, &d)) << c.name;
  }
  for (size_t cut = 0; cut < good.size(); ++cut) {
    DecodedBitmap d;
    GuardedBytes bytes(Text(good, cut));
    EXPECT_FALSE(DecodeBitmap(bytes.begin(), cut, &d)) << "cut at " << cut;
  }
  DecodedBitmap d;
  EXPECT_FALSE(DecodeBitmap(nullptr, 10, &d));
}

TEST(BitmapDecoder, AFileTooBigToDecodeInMemoryIsRefused) {
  // A whole 30000 x 30000 4-bit file, its pixel bytes untouched zero pages;
  // decoded it would need 2.7 GB.
  const int32_t side = 30000;
  Bytes header = Bmp(40, side, side, 4, kPalette, {});
  const size_t length = header.size() + size_t(side / 2) * side;
  void *mapped = mmap(nullptr, length, PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  ASSERT_NE(mapped, MAP_FAILED);
  std::memcpy(mapped, header.data(), header.size());
  DecodedBitmap d;
  EXPECT_FALSE(DecodeBitmap(static_cast<const uint8_t *>(mapped), length, &d));
  EXPECT_TRUE(d.rgb.empty());
  munmap(mapped, length);
}

TEST(BitmapDecoder, OtherHeaderSizesAlertAndGiveNothing) {
  Bytes file = Bmp(40, 1, 1, 24, {}, {0, 0, 0, 0});
  Put32(file, 14, 108);
  AlertRecorder alerts;
  DecodedBitmap d;
  EXPECT_FALSE(Decodes(file, &d));
  ASSERT_EQ(alerts.count(), 1u);
  EXPECT_EQ(alerts.alerts()[0].condition, "0");
}

TEST(BitmapDecoder, PalettesKeepAtMost256EntriesAndMissingOnesReadBlack) {
  std::vector<std::array<uint8_t, 3>> big(300, {9, 9, 9});
  big[255] = {0, 0, 255};
  big[299] = {255, 255, 255};
  DecodedBitmap d;
  ASSERT_TRUE(Decodes(Bmp(40, 1, 1, 8, big, {255, 0, 0, 0}), &d));
  EXPECT_EQ(Pixels(d), (std::vector<uint32_t>{0xFF0000}));
  ASSERT_TRUE(Decodes(Bmp(40, 2, 1, 8, kPalette, {3, 200, 0, 0}), &d));
  EXPECT_EQ(Pixels(d), (std::vector<uint32_t>{0x0000FF, 0x000000})) << "index 200 of 4";
}

TEST(BitmapDecoder, SeededMutantsNeverReadPastTheirBytes) {
  const Bytes seeds[] = {Bmp(40, 3, 2, 8, kPalette, {1, 2, 3, 0, 3, 0, 1, 0}),
                         Bmp(12, 5, 1, 4, kPalette, {0x12, 0x30, 0x10, 0}),
                         Bmp(40, 2, 2, 24, {}, Bytes(16, 7)),
                         Bmp(40, 2, -1, 32, {}, Bytes(8, 3))};
  std::mt19937 random(1234);
  AlertRecorder alerts; // header sizes the mutants break alert
  int decoded = 0;
  for (int i = 0; i < 10000; ++i) {
    Bytes b = seeds[i % 4];
    int flips = 1 + random() % 4;
    for (int f = 0; f < flips; ++f)
      b[random() % b.size()] = static_cast<uint8_t>(random());
    size_t length = random() % 4 == 0 ? random() % b.size() : b.size();
    GuardedBytes bytes(Text(b, length));
    DecodedBitmap d;
    if (DecodeBitmap(bytes.begin(), length, &d)) {
      ++decoded;
      EXPECT_EQ(d.rgb.size(), size_t(d.width) * d.height * 3);
    }
  }
  EXPECT_GT(decoded, 0);
}

TEST(BitmapDecoder, GetBitmapFromMemoryDrawsTheDecodedPixels) {
  SKIP_WITHOUT_DISPLAY();
  Bytes file = Bmp(40, 3, 2, 8, kPalette, {1, 2, 3, 0, 3, 0, 1, 0});
  DrawablePane *pane = GetBitmapFromMemory(reinterpret_cast<const char *>(file.data()), file.size());
  ASSERT_NE(pane, nullptr);
  int32_t w, h;
  pane->getSize(&w, &h);
  EXPECT_EQ(w, 3);
  EXPECT_EQ(h, 2);
  EXPECT_EQ(pane->GetPictureDepth(), 24);
  EXPECT_EQ(PixelAt(pane, 0, 0), 0x0000FFu);
  EXPECT_EQ(PixelAt(pane, 2, 0), 0xFF0000u);
  EXPECT_EQ(PixelAt(pane, 1, 1), 0x00FF00u);
  pane->removeReference();
  EXPECT_EQ(GetBitmapFromMemory(nullptr, 10), nullptr);
  EXPECT_EQ(GetBitmapFromMemory(reinterpret_cast<const char *>(file.data()), 20), nullptr);
}

} // namespace
