// The language's colour functions and the small shared helpers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "graphics/ColorFunctions.h"
#include "graphics/DrawingUtilities.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(Colors, BuildingColours) {
  struct Case {
    const char *name;
    int32_t got, expected;
  } cases[] = {
      {"RGB clamps each part", RuntimeRGB(300, -5, 128), 0xFF0080},
      {"HSV grey", RuntimeHSV(0, 0, 0.5), 0x7F7F7F},
      {"HSV grey above 1", RuntimeHSV(0, 0, 2), 0xFFFFFF},
      {"HSV grey below 0", RuntimeHSV(0, 0, -1), 0x000000},
      {"HSV hue 1 counts as 0", RuntimeHSV(1.0, 1, 1), 0xFF0000},
      {"HSV green", RuntimeHSV(1.0 / 3, 1, 1), 0x00FF00},
      {"HSV blue", RuntimeHSV(4.0 / 6, 1, 1), 0x0000FF},
      {"HSV sector 5", RuntimeHSV(5.5 / 6, 1, 1), 0xFF007F},
      {"HSV NaN hue", RuntimeHSV(kNaN, 1, 1), 0xFF0000},
      {"HSV NaN value", RuntimeHSV(0.5, 1, kNaN), 0x000000},
      {"HSV NaN saturation is grey", RuntimeHSV(0.5, kNaN, 1), 0xFFFFFF},
      {"HSV infinite value", RuntimeHSV(0, 1, kInf), 0xFF0000},
      {"HSV infinite saturation", RuntimeHSV(0.25, kInf, 1), 0x00FF00},
      {"CMY", RuntimeCMY(1, 0, 0.5), 0x00FF7F},
      {"CMY NaN counts as 0", RuntimeCMY(kNaN, kNaN, kNaN), 0xFFFFFF},
      {"CMY infinite", RuntimeCMY(kInf, -kInf, 0), 0x00FFFF},
  };
  for (const Case &c : cases)
    EXPECT_EQ(c.got, c.expected) << c.name;
}

TEST(Colors, ReadingParts) {
  EXPECT_EQ(readColorRed(0x123456), 0x12);
  EXPECT_EQ(readColorGreen(0x123456), 0x34);
  EXPECT_EQ(readColorBlue(0x123456), 0x56);
  EXPECT_DOUBLE_EQ(readColorHue(0x0000FF), 4.0 / 6);
  EXPECT_DOUBLE_EQ(readColorHue(0xFF00FF), 5.0 / 6);
  EXPECT_DOUBLE_EQ(readColorHue(0xFF0080), 1 - 128.0 / 255 / 6) << "negative hues wrap";
  EXPECT_DOUBLE_EQ(readColorHue(0xFFFFFF), 0);
  EXPECT_DOUBLE_EQ(readColorSaturation(0xFFFFFF), 0);
  EXPECT_DOUBLE_EQ(readColorSaturation(0x000000), 0);
  EXPECT_NEAR(readColorSaturation(0x804040), 0.5, 1e-12);
  EXPECT_DOUBLE_EQ(readColorValue(0x804040), 128.0 / 255);
  EXPECT_DOUBLE_EQ(readColorCyan(0x00FF33), 1);
  EXPECT_DOUBLE_EQ(readColorMagenta(0x00FF33), 0);
  EXPECT_DOUBLE_EQ(readColorYellow(0x00FF33), (255 - 0x33) / 255.0);
  EXPECT_EQ(RuntimeHSV(readColorHue(0x00FFFF), readColorSaturation(0x00FFFF),
                       readColorValue(0x00FFFF)),
            0x00FFFF);
}

TEST(Fonts, CopyFontReportsChangesAndStylesOnlyAdd) {
  FontStructure a, b;
  a.name = string("Serif");
  b.name = string("Serif");
  EXPECT_FALSE(a.CopyFont(b));
  b.name = string("serif");
  EXPECT_TRUE(a.CopyFont(b)) << "names compare with case";
  EXPECT_EQ(a.name.CompareWithCase("serif"), 0);
  b.size = 20;
  EXPECT_TRUE(a.CopyFont(b));
  EXPECT_EQ(a.size, 20);
  a.bold = 1;
  a.SetMacStyle(0);
  EXPECT_EQ(a.getMacStyle(), 1);
  a.SetMacStyle(6);
  EXPECT_EQ(a.getMacStyle(), 7);
  EXPECT_EQ(FontStructure().size, 12);
}

TEST(DrawingUtilities, SmallHelpers) {
  EXPECT_EQ(NumDigits(0.5), 0);
  EXPECT_EQ(NumDigits(1), 1);
  EXPECT_EQ(NumDigits(-999.9), 3);
  EXPECT_EQ(NumDigits(1000), 4);
  EXPECT_TRUE(IsOurCopyClick(0xA00));
  EXPECT_FALSE(IsOurCopyClick(0xB00));
  EXPECT_FALSE(IsOurCopyClick(0x800));
  QV::Rect a{1, 2, 3, 4}, b{5, 6, 7, 8};
  SwapRect(&a, &b);
  EXPECT_EQ(a.top, 5);
  EXPECT_EQ(b.right, 4);
  EXPECT_EQ(CurrentModifierKeys(), 0u);
  AppearanceThemeStateSaver saver;
  saver.StoreState();
  EXPECT_TRUE(saver.Saved());
  saver.RestoreState();
  EXPECT_FALSE(saver.Saved());
}

} // namespace
