#include <gtest/gtest.h>

#include "foundation/QVColor.h"
#include "foundation/QVGeometry.h"

using QV::Point;
using QV::Rect;

namespace {
Rect Make(int left, int top, int right, int bottom) {
  Rect r;
  QV::SetRect(&r, int16_t(left), int16_t(top), int16_t(right), int16_t(bottom));
  return r;
}
} // namespace

TEST(QVGeometry, SetRectTakesLeftTopRightBottom) {
  Rect r = Make(10, 20, 30, 40);
  EXPECT_EQ(r.top, 20);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.bottom, 40);
  EXPECT_EQ(r.right, 30);
}

TEST(QVGeometry, OffsetAndInset) {
  Rect r = Make(10, 20, 30, 40);
  QV::OffsetRect(&r, 5, -5);
  EXPECT_TRUE(QV::EqualRect(&r, &(const Rect &)Make(15, 15, 35, 35)));

  Rect wrapping = Make(32760, 0, 32767, 10);
  QV::OffsetRect(&wrapping, 10, 0);
  EXPECT_EQ(wrapping.left, -32766);

  Rect tenWide = Make(0, 0, 10, 100);
  QV::InsetRect(&tenWide, 5, 0);
  EXPECT_EQ(tenWide.left, 5);
  EXPECT_EQ(tenWide.right, 5); // empty, but not zeroed
  Rect inverted = Make(0, 0, 10, 100);
  QV::InsetRect(&inverted, 6, 0);
  Rect zero{};
  EXPECT_TRUE(QV::EqualRect(&inverted, &zero));
  Rect grown = Make(0, 0, 10, 10);
  QV::InsetRect(&grown, -2, -3);
  EXPECT_TRUE(QV::EqualRect(&grown, &(const Rect &)Make(-2, -3, 12, 13)));
}

TEST(QVGeometry, PointsOnTheRightOrBottomEdgeLieOutside) {
  Rect r = Make(0, 0, 10, 10);
  struct Case {
    int v, h;
    bool inside;
  } cases[] = {{0, 0, true}, {9, 9, true}, {5, 10, false}, {10, 5, false}, {-1, 5, false}};
  for (const Case &c : cases)
    EXPECT_EQ(QV::PtInRect(Point{c.v, c.h}, &r), c.inside) << c.v << "," << c.h;
}

TEST(QVGeometry, SectRect) {
  Rect a = Make(0, 0, 10, 10);
  Rect touching = Make(10, 0, 20, 10);
  Rect out = Make(1, 1, 2, 2);
  EXPECT_FALSE(QV::SectRect(&a, &touching, &out));
  Rect zero{};
  EXPECT_TRUE(QV::EqualRect(&out, &zero));

  Rect b = Make(5, -5, 15, 8);
  EXPECT_TRUE(QV::SectRect(&a, &b, &a)); // into one of its inputs
  EXPECT_TRUE(QV::EqualRect(&a, &(const Rect &)Make(5, 0, 10, 8)));
}

TEST(QVGeometry, InRectAndSmallerRect) {
  Rect outer = Make(0, 0, 10, 10);
  Rect inner = Make(0, 2, 10, 8);
  EXPECT_TRUE(InRect(&inner, &outer));
  EXPECT_FALSE(InRect(&outer, &inner));
  EXPECT_FALSE(SmallerRect(&inner, &outer)); // same width
  Rect small = Make(1, 1, 9, 9);
  EXPECT_TRUE(SmallerRect(&small, &outer));
}

TEST(QVColor, ChannelsScaleBy257BothWays) {
  QV::RGBColor color = QV::RGBColorFromColorValue(0xFF8001);
  EXPECT_EQ(color.red, 0xFFFF);
  EXPECT_EQ(color.green, 0x8080);
  EXPECT_EQ(color.blue, 0x0101);
  EXPECT_EQ(QV::ColorValueFromRGBColor(color), 0xFF8001u);
  EXPECT_EQ(QV::ColorValueFromRGBColor(QV::RGBColor{0x8100, 0, 0}), 0x800000u);
}
