// The helpers built on the context: separators, written lines with their page
// breaks, constrained numbers, widest-string measuring, and the inert
// platform answers.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/OffscreenPixels.h"
#include "graphics/DrawingUtilities.h"
#include "support/AlertRecorder.h"

namespace {

class Helpers : public testing::Test {
protected:
  void SetUp() override {
    SKIP_WITHOUT_DISPLAY();
    pane = NewOffscreen(200, 40);
    g = pane->getGraphics();
  }
  void TearDown() override {
    Graphics::Release(g);
    if (pane)
      pane->removeReference();
  }
  // The rightmost column with ink, or -1.
  int RightmostInk() {
    int right = -1;
    for (const std::string &row : Ink(pane, 0, 0, 200, 40))
      right = std::max(right, static_cast<int>(row.find_last_of('#')));
    return right;
  }
  DrawablePane *pane = nullptr;
  Graphics *g = nullptr;
};

TEST_F(Helpers, SeparatorsDrawDarkThenLightAndLeaveTheLightColour) {
  QV::Rect all = Rect(0, 0, 200, 40);
  g->FillRect(&all);
  DrawHorzSeparator(g, 2, 5, 10, nullptr, nullptr);
  EXPECT_EQ(PixelAt(pane, 2, 5), 0x969696u);
  EXPECT_EQ(PixelAt(pane, 12, 5), 0x969696u);
  EXPECT_EQ(PixelAt(pane, 2, 6), 0xFFFFFFu);
  EXPECT_EQ(PixelAt(pane, 13, 6), 0x000000u);
  EXPECT_EQ(g->GetForeColor().red, 65535) << "left at the light colour";
  QV::RGBColor dark{0, 0, 65535}, light{65535, 0, 0};
  DrawVertSeparator(g, 30, 2, 5, &dark, &light);
  EXPECT_EQ(PixelAt(pane, 30, 7), 0x0000FFu);
  EXPECT_EQ(PixelAt(pane, 31, 2), 0xFF0000u);
}

TEST_F(Helpers, WriteLineStartsANewPageWhenTheNextLineWouldNotFit) {
  int32_t height = g->FontHeight();
  ASSERT_GT(height, 0);
  int lines = 40 / height;
  for (int i = 0; i < lines; ++i)
    g->WriteLine(string("Wm"), 0, 0);
  EXPECT_EQ(g->GetPenY(), lines * height);
  int before = InkCount(pane);
  EXPECT_GT(before, 0);
  g->WriteLine(string("Wm"), 0, 0);
  EXPECT_EQ(g->GetPenY(), height) << "the new page starts at the top";
  EXPECT_LT(InkCount(pane), before) << "the page was erased: only the last line shows";
  EXPECT_GT(InkCount(pane), 0);
}

TEST_F(Helpers, ConstrainedNumbersStayInsideTheirWidth) {
  int32_t narrow = g->StringWidth(string("1.2e+8")) + 2;
  g->DrawConstrainedDouble(123456789.125, 9, 10, 20, narrow);
  EXPECT_GT(InkCount(pane), 0);
  EXPECT_LT(RightmostInk(), 10 + narrow);
  EXPECT_EQ(g->GetFace(), 0);

  DrawablePane *wide = NewOffscreen(200, 40);
  Graphics *wg = wide->getGraphics();
  wg->DrawConstrainedDouble(2.5, 6, 10, 20, 190);
  DrawablePane *plain = NewOffscreen(200, 40);
  Graphics *pg = plain->getGraphics();
  pg->DrawString(string("2.5"), 10, 20);
  EXPECT_EQ(Ink(wide, 0, 0, 200, 40), Ink(plain, 0, 0, 200, 40));
  Graphics::Release(wg);
  Graphics::Release(pg);
  wide->removeReference();
  plain->removeReference();
}

TEST_F(Helpers, FindMaxStringWidthOnlyRaisesAndNeedsAPane) {
  FontStructure font;
  long widest = 0;
  FindMaxStringWidth(&widest, string("Wide text"), font, pane);
  long first = widest;
  EXPECT_GT(first, 0);
  FindMaxStringWidth(&widest, string("W"), font, pane);
  EXPECT_EQ(widest, first);
  font.size = 30;
  FindMaxStringWidth(&widest, string("W"), font, pane);
  EXPECT_GT(widest, 0);
  AlertRecorder alerts;
  long none = 5;
  FindMaxStringWidth(&none, string("W"), font, nullptr);
  EXPECT_EQ(none, 5);
  EXPECT_EQ(alerts.count(), 1u);
}

TEST_F(Helpers, PlatformAnswers) {
  QV::RGBColor highlight = GetSystemHighlightColor();
  EXPECT_NE(QV::ColorValueFromRGBColor(highlight), 0u) << "the theme's selection colour";
  QV::Rect r{};
  EXPECT_EQ(FindDeviceRect(0, 0, &r), 0);
  EXPECT_EQ(EnableCoreGraphicsTextOnOSX(), 1);
  AlertRecorder alerts;
  EXPECT_TRUE(RotateDrawablePane(pane, pane, 90, 0));
  EXPECT_TRUE(alerts.saw("srcDP and dstDP and srcDP != dstDP"));
  EXPECT_EQ(GetPictureFromMemory(nullptr, 0), nullptr);
  DrawablePiece piece(pane, 1, 2, 3, 4);
  int32_t w, h;
  piece.getSize(&w, &h);
  EXPECT_EQ(w, 3);
  EXPECT_EQ(h, 4);
  EXPECT_EQ(pane->RefCount(), 2) << "the piece holds its source";
}

} // namespace
