// RGBSurface objects over test surfaces of each depth: pixels, seed fills and
// transforms.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/RGBSurface.h"
#include "language/RuntimeArray.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/objects/ObjectDefinitionConverter.h"

namespace {

// Exceptions raised outside compiled code, as "Class: message".
std::vector<std::string> &Raised() {
  static std::vector<std::string> raised;
  return raised;
}

struct RaisedExceptions {
  RaisedExceptions() {
    OutOfBoundsExceptionClass();
    UnsupportedFormatExceptionClass();
    NilObjectExceptionClass();
    Raised().clear();
    SetUnhandledExceptionHook([](RuntimeObject *e) {
      auto *object = reinterpret_cast<RuntimeExceptionObject *>(e);
      std::string text = stringStorage::CString(e->classPtr->name);
      if (object->message)
        text += std::string(": ") + stringStorage::CString(object->message);
      Raised().push_back(text);
    });
  }
  ~RaisedExceptions() { SetUnhandledExceptionHook(nullptr); }
};

// A surface of width x height at a depth, rows padded by a few bytes so that
// row bytes and width differ.
class TestSurface {
public:
  TestSurface(int width, int height, int depth)
      : rowBytes(width * (depth / 8) + 6), memory(rowBytes * height, 0),
        object(NewRGBSurface(nullptr, width, height, memory.data(), rowBytes, depth)) {}
  ~TestSurface() { RuntimeUnlockObject(object); }
  int32_t Get(int x, int y) { return rgbSurfaceGetPixel(object, x, y); }
  void Set(int x, int y, int32_t c) { rgbSurfaceSetPixel(object, x, y, c); }
  // Rows drawn as '#' for black, 'r' for red (as the depth keeps it), '.' for
  // anything else.
  std::vector<std::string> Picture(int width, int height) {
    std::vector<std::string> rows;
    for (int y = 0; y < height; ++y) {
      std::string row;
      for (int x = 0; x < width; ++x)
        row += Get(x, y) == 0 ? '#' : (Get(x, y) & 0xF8FFFF) == 0xF80000 ? 'r' : '.';
      rows.push_back(row);
    }
    return rows;
  }
  int rowBytes;
  std::vector<uint8_t> memory;
  RuntimeObject *object;
};

RuntimeArray *Map(int32_t upper, int32_t (*f)(int32_t)) {
  RuntimeArray *a = CreateArray(1, kIntegerElements, -1);
  for (int32_t i = 0; i <= upper; ++i)
    RuntimeIntArrayAppend(a, f(i));
  return a;
}

TEST(RGBSurface, PixelsPerDepth) {
  struct Case {
    int depth;
    int32_t written, read;
  } cases[] = {
      {32, 0x123456, 0x123456},  {24, 0x123456, 0x123456}, {16, 0xFFFFFF, 0xF8F8F8},
      {16, 0x123456, 0x103050},  {8, 0x123456, 0},
  };
  for (const Case &c : cases) {
    TestSurface s(3, 2, c.depth);
    s.Set(2, 1, c.written);
    EXPECT_EQ(s.Get(2, 1), c.read) << "depth " << c.depth;
    EXPECT_EQ(s.Get(-1, 0), 0);
    EXPECT_EQ(s.Get(3, 0), 0);
    s.Set(-1, 0, 0xFFFFFF);
    s.Set(0, 2, 0xFFFFFF);
    EXPECT_EQ(s.Get(0, 0), 0) << "writes outside change nothing";
  }
  TestSurface s32(1, 1, 32);
  s32.Set(0, 0, 0x7F123456);
  EXPECT_EQ(s32.memory[3], 0x7F) << "a write stores the value unchanged";
  EXPECT_EQ(s32.Get(0, 0), 0x123456) << "a read masks the top byte";
  TestSurface s24(1, 1, 24);
  s24.Set(0, 0, 0x123456);
  EXPECT_EQ(s24.memory[0], 0x56) << "blue first";
  EXPECT_EQ(s24.memory[2], 0x12);
}

// A diamond outline whose sides touch only at corners: a 4-connected fill
// inside it must not leak through the diagonal steps.
TEST(RGBSurface, FloodFillStopsAtADiagonalGapAtEveryDepth) {
  const std::vector<std::string> outline = {
      "....#....", "...#.#...", "..#...#..", ".#.....#.", "#.......#",
      ".#.....#.", "..#...#..", "...#.#...", "....#....",
  };
  for (int depth : {16, 24, 32}) {
    TestSurface s(9, 9, depth);
    for (int y = 0; y < 9; ++y)
      for (int x = 0; x < 9; ++x)
        s.Set(x, y, outline[y][x] == '#' ? 0 : 0xFFFFFF);
    rgbSurfaceSeedFill(s.object, 4, 4, 0xFF0000);
    std::vector<std::string> rows = s.Picture(9, 9);
    EXPECT_EQ(rows[4], "#rrrrrrr#") << depth;
    EXPECT_EQ(rows[1], "...#r#...") << depth;
    EXPECT_EQ(rows[0], "....#....") << "the outside stays";
    EXPECT_EQ(rows[8], "....#....");
    rgbSurfaceSeedFill(s.object, 4, 4, 0xFF0000);
    EXPECT_EQ(s.Picture(9, 9), rows) << "filling with the seed's own colour changes nothing";
  }
}

TEST(RGBSurface, FloodFillCoversLargeAreasAndRefusesOutsideSeeds) {
  RaisedExceptions raised;
  TestSurface s(300, 200, 32);
  rgbSurfaceSeedFill(s.object, 150, 100, 0x00FF00);
  int filled = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x)
      filled += s.Get(x, y) == 0x00FF00;
  EXPECT_EQ(filled, 300 * 200);
  EXPECT_TRUE(Raised().empty());
  rgbSurfaceSeedFill(s.object, 300, 0, 0);
  EXPECT_EQ(Raised(), (std::vector<std::string>{"OutOfBoundsException"}));
}

TEST(RGBSurface, TransformMapsEachChannelAsPixelReadsIt) {
  RaisedExceptions raised;
  RuntimeArray *red = Map(255, [](int32_t v) { return 255 - v; });
  RuntimeArray *green = Map(255, [](int32_t v) { return v / 2; });
  RuntimeArray *blue = Map(255, [](int32_t v) { return 0x100 + v; }); // only the low byte counts
  for (int depth : {24, 32}) {
    TestSurface s(3, 2, depth);
    s.Set(2, 1, 0x204060);
    s.Set(0, 0, 0xFF0000);
    rgbSurfaceTransformRGB(s.object, red, green, blue);
    EXPECT_EQ(s.Get(2, 1), 0xDF2060) << depth;
    EXPECT_EQ(s.Get(0, 0), 0x000000) << depth;
    EXPECT_EQ(s.Get(1, 0), 0xFF0000) << depth;
    EXPECT_EQ(s.memory[3 * (depth / 8)], 0) << "row padding untouched";
  }
  TestSurface single(1, 1, 32);
  single.Set(0, 0, 0x102030);
  rgbSurfaceTransform(single.object, red);
  EXPECT_EQ(single.Get(0, 0), 0xEFDFCF);
  EXPECT_TRUE(Raised().empty());
  RuntimeUnlockArray(red);
  RuntimeUnlockArray(green);
  RuntimeUnlockArray(blue);
}

TEST(RGBSurface, TransformRefusesBadMapsAndDepths) {
  RaisedExceptions raised;
  RuntimeArray *good = Map(255, [](int32_t v) { return v; });
  RuntimeArray *short254 = Map(254, [](int32_t v) { return v; });
  RuntimeArray *tiny = Map(0, [](int32_t v) { return v; });
  TestSurface s(2, 2, 32);
  s.Set(0, 0, 0x123456);
  rgbSurfaceTransformRGB(s.object, good, short254, tiny);
  rgbSurfaceTransformRGB(s.object, tiny, short254, good);
  rgbSurfaceTransform(s.object, tiny);
  TestSurface s16(2, 2, 16);
  rgbSurfaceTransform(s16.object, good);
  EXPECT_EQ(Raised(),
            (std::vector<std::string>{
                "UnsupportedFormatException: Transform map UBound must be 255, not 254",
                "UnsupportedFormatException: Transform map UBound must be 255, not 0",
                "UnsupportedFormatException: Transform map UBound must be 255, not 0",
                "UnsupportedFormatException: Transform depth must be 24 or 32, not 16"}));
  EXPECT_EQ(s.Get(0, 0), 0x123456) << "unchanged";
  RuntimeUnlockArray(good);
  RuntimeUnlockArray(short254);
  RuntimeUnlockArray(tiny);
}

TEST(RGBSurface, TheClassHasItsSizeAndMethods) {
  ObjectDefinition *defn = RGBSurfaceClass();
  EXPECT_EQ(defn->objectSize, 48);
  EXPECT_EQ(defn->className.CompareWithCase("RGBSurface"), 0);
  int methods = 0;
  for (ObjectMethod *m = defn->methods; m; m = m->next)
    ++methods;
  EXPECT_EQ(methods, 4);
}

} // namespace
