// Primitives and image copies drawn into offscreen panes and read back.
#include <gtest/gtest.h>

#include "support/OffscreenPixels.h"
#include "language/RuntimeArray.h"
#include "support/AlertRecorder.h"

namespace {

class Offscreen : public testing::Test {
protected:
  void SetUp() override {
    SKIP_WITHOUT_DISPLAY();
    pane = NewOffscreen(12, 12);
    g = pane->getGraphics();
  }
  void TearDown() override {
    Graphics::Release(g);
    if (pane)
      pane->removeReference();
  }
  DrawablePane *pane = nullptr;
  Graphics *g = nullptr;
};

using Rows = std::vector<std::string>;

TEST_F(Offscreen, StartsWhiteAndReadsWhiteAsFullChannels) {
  EXPECT_EQ(InkCount(pane), 0);
  QV::RGBColor c;
  g->getPixel(11, 11, &c);
  EXPECT_EQ(c.red, 65535);
  EXPECT_EQ(c.green, 65535);
  EXPECT_EQ(c.blue, 65535);
}

TEST_F(Offscreen, FrameRectStaysInsideAndFrameOvalReachesTheFarEdge) {
  QV::Rect r = Rect(0, 0, 10, 10);
  g->FrameRect(&r);
  EXPECT_EQ(Ink(pane, 0, 0, 12, 12),
            (Rows{"##########..", "#........#..", "#........#..", "#........#..", "#........#..",
                  "#........#..", "#........#..", "#........#..", "#........#..", "##########..",
                  "............", "............"}));

  DrawablePane *oval = NewOffscreen(12, 12);
  Graphics *og = oval->getGraphics();
  og->FrameOval(&r);
  Rows rows = Ink(oval, 0, 0, 12, 12);
  EXPECT_NE(rows[10].find('#'), std::string::npos) << "row 10 is reached";
  EXPECT_EQ(rows[11], "............");
  bool column10 = false;
  for (const std::string &row : rows) {
    column10 = column10 || row[10] == '#';
    EXPECT_EQ(row[11], '.');
  }
  EXPECT_TRUE(column10);
  Graphics::Release(og);
  oval->removeReference();
}

TEST_F(Offscreen, ReversedRectanglesFillLikeOrderedOnes) {
  QV::Rect ordered = Rect(2, 3, 7, 9);
  g->FillRect(&ordered);
  Rows expected = Ink(pane, 0, 0, 12, 12);
  for (QV::Rect reversed : {Rect(7, 3, 2, 9), Rect(2, 9, 7, 3), Rect(7, 9, 2, 3)}) {
    DrawablePane *other = NewOffscreen(12, 12);
    Graphics *og = other->getGraphics();
    og->FillRect(&reversed);
    EXPECT_EQ(Ink(other, 0, 0, 12, 12), expected);
    Graphics::Release(og);
    other->removeReference();
  }
}

TEST_F(Offscreen, FilledPolygonsGetTheirOutline) {
  RuntimeArray *points = CreateArray(1, kIntegerElements, -1);
  for (int32_t v : {0, 1, 1, 10, 1, 5, 10, 99}) // element 0 and the odd last one are unused
    RuntimeIntArrayAppend(points, v);
  g->DrawPolygon(points, false);
  Rows outline = Ink(pane, 0, 0, 12, 12);
  DrawablePane *filled = NewOffscreen(12, 12);
  Graphics *fg = filled->getGraphics();
  fg->DrawPolygon(points, true);
  Rows inside = Ink(filled, 0, 0, 12, 12);
  for (size_t y = 0; y < outline.size(); ++y)
    for (size_t x = 0; x < outline[y].size(); ++x) {
      if (outline[y][x] == '#') {
        EXPECT_EQ(inside[y][x], '#') << x << "," << y;
      }
    }
  EXPECT_GT(InkCount(filled), InkCount(pane));
  Graphics::Release(fg);
  filled->removeReference();
  RuntimeUnlockArray(points);
}

TEST_F(Offscreen, EraseRectPaintsWhiteAndKeepsTheForeground) {
  QV::Rect all = Rect(0, 0, 12, 12), middle = Rect(4, 4, 8, 8);
  g->FillRect(&all);
  QV::RGBColor red{65535, 0, 0};
  g->RGBForeColor(&red);
  g->EraseRect(&middle);
  EXPECT_EQ(PixelAt(pane, 5, 5), 0xFFFFFFu);
  EXPECT_EQ(PixelAt(pane, 1, 1), 0x000000u);
  EXPECT_EQ(g->GetForeColor().red, 65535);
  QV::Rect corner = Rect(0, 0, 1, 1);
  g->FillRect(&corner);
  EXPECT_EQ(PixelAt(pane, 0, 0), 0xFF0000u);
}

TEST_F(Offscreen, LineToMovesThePenAndDrawsBothEnds) {
  g->MoveTo(1, 2);
  g->LineTo(5, 2);
  EXPECT_EQ(Ink(pane, 0, 2, 7, 1), (Rows{".#####."}));
  EXPECT_EQ(g->GetPenX(), 5);
  Graphics lost(nullptr);
  lost.LineTo(7, 8);
  EXPECT_EQ(lost.GetPenX(), 7) << "the pen moves without a drawable too";
  EXPECT_EQ(lost.GetPenY(), 8);
}

TEST_F(Offscreen, PixelsOutsideTheImageReadBlackAndSetPixelKeepsTheForeground) {
  QV::RGBColor c{1, 2, 3};
  g->getPixel(-1, 0, &c);
  EXPECT_EQ(QV::ColorValueFromRGBColor(c), 0u);
  g->getPixel(12, 3, &c);
  EXPECT_EQ(QV::ColorValueFromRGBColor(c), 0u);
  g->setPixel(3, 4, QV::RGBColor{0, 65535, 0});
  EXPECT_EQ(PixelAt(pane, 3, 4), 0x00FF00u);
  EXPECT_EQ(g->GetForeColor().green, 0);
}

// A 10 x 10 image whose pixel (x, y) is black when (x + 2y) mod 3 is 0.
DrawablePane *PatternImage() {
  DrawablePane *source = NewOffscreen(10, 10);
  Graphics *sg = source->getGraphics();
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
      if ((x + 2 * y) % 3 == 0)
        sg->setPixel(x, y, kBlack);
  Graphics::Release(sg);
  return source;
}

TEST_F(Offscreen, StretchingTenToTwentyDoublesEveryPixel) {
  DrawablePane *source = PatternImage();
  DrawablePane *target = NewOffscreen(20, 20);
  Graphics *tg = target->getGraphics();
  tg->StretchFromOffscreen(0, 0, 20, 20, source, 0, 0, 10, 10, 0);
  Rows small = Ink(source, 0, 0, 10, 10), big = Ink(target, 0, 0, 20, 20);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x)
      EXPECT_EQ(big[y][x], small[y / 2][x / 2]) << x << "," << y;
  Graphics::Release(tg);
  target->removeReference();
  source->removeReference();
}

TEST_F(Offscreen, CopiesSubtractTheOriginOnce) {
  DrawablePane *source = PatternImage();
  g->SetOrigin(3, 2);
  g->CopyFromOffscreen(5, 4, source, 0, 0, 4, 4, 0);
  Rows copied = Ink(pane, 2, 2, 4, 4), original = Ink(source, 0, 0, 4, 4);
  EXPECT_EQ(copied, original);
  EXPECT_EQ(Ink(pane, 0, 0, 12, 2), (Rows{"............", "............"}));
  source->removeReference();
}

TEST_F(Offscreen, TransparentWhiteDropsPureWhiteOnly) {
  DrawablePane *source = NewOffscreen(2, 1);
  Graphics *sg = source->getGraphics();
  sg->setPixel(1, 0, QV::RGBColor{254 * 257, 254 * 257, 254 * 257});
  Graphics::Release(sg);
  QV::Rect all = Rect(0, 0, 12, 12);
  g->FillRect(&all);
  g->CopyFromOffscreenTransparent(0, 0, source, 0, 0, 2, 1);
  EXPECT_EQ(PixelAt(pane, 0, 0), 0x000000u) << "white left out";
  EXPECT_EQ(PixelAt(pane, 1, 0), 0xFEFEFEu) << "near-white kept";
  source->removeReference();
}

TEST_F(Offscreen, AMaskMakesBlackOpaqueAndWhiteClear) {
  DrawablePane *source = NewOffscreen(2, 1);
  Graphics *sg = source->getGraphics();
  QV::RGBColor red{65535, 0, 0};
  sg->RGBForeColor(&red);
  QV::Rect whole = Rect(0, 0, 2, 1);
  sg->FillRect(&whole);
  Graphics::Release(sg);
  source->CreateMask(0);
  auto *mask = static_cast<DrawablePane *>(source->GetMask());
  Graphics *mg = mask->getGraphics();
  mg->setPixel(0, 0, kBlack);
  Graphics::Release(mg);

  QV::RGBColor green{0, 65535, 0};
  g->RGBForeColor(&green);
  QV::Rect all = Rect(0, 0, 12, 12);
  g->FillRect(&all);
  g->CopyFromOffscreen(0, 0, source, 0, 0, 2, 1, 1);
  EXPECT_EQ(PixelAt(pane, 0, 0), 0xFF0000u);
  EXPECT_EQ(PixelAt(pane, 1, 0), 0x00FF00u);
  source->removeReference();
}

TEST_F(Offscreen, ReferencesPagesAndDescriptions) {
  pane->addReference();
  pane->removeReference();
  EXPECT_EQ(pane->RefCount(), 1);
  EXPECT_EQ(pane->getPageCount(), 1);
  Drawable *page = pane->getIndexedPage(0);
  EXPECT_EQ(page, pane);
  EXPECT_EQ(pane->RefCount(), 2);
  page->removeReference();
  drawableDescription d{};
  pane->lockDescription(&d);
  EXPECT_EQ(d.kind, kPixmapDrawableKind);
  EXPECT_EQ(d.handle, pane->GetPixmap());
  EXPECT_EQ(d.width, 12);
  pane->unlockDescription();
  EXPECT_EQ(pane->RefCount(), 1);
}

TEST_F(Offscreen, AContextWhosePaneDiesDrawsNothing) {
  DrawablePane *doomed = NewOffscreen(4, 4);
  Graphics *kept = doomed->getGraphics();
  doomed->removeReference();
  EXPECT_EQ(kept->GetPane(), nullptr);
  QV::Rect r = Rect(0, 0, 4, 4);
  kept->FillRect(&r);
  EXPECT_EQ(kept->StringWidth(string("abc")), 0);
  EXPECT_EQ(kept->GetGdkDrawable(), nullptr);
  Graphics::Release(kept);
}

TEST_F(Offscreen, StateSaverRestoresWhatItStored) {
  GraphicsStateSaver saver;
  g->TextFont(string("Serif"));
  g->TextFace(kBoldFace);
  g->PenSize(3, 4);
  saver.StoreState(g);
  g->TextFont(string("Mono"));
  g->TextFace(0);
  g->PenSize(1, 1);
  g->SetOrigin(9, 9);
  saver.RestoreState(g);
  EXPECT_EQ(g->GetFontName().CompareWithCase("Serif"), 0);
  EXPECT_EQ(g->GetFace(), kBoldFace);
  EXPECT_EQ(g->GetPenWidth(), 3);
  EXPECT_EQ(g->GetOriginH(), 0);
  EXPECT_FALSE(saver.Saved());
}

TEST_F(Offscreen, PatternsAndAlerts) {
  g->PenEnumPat(kCheckerboardPattern);
  EXPECT_TRUE(g->PatternEnabled());
  EXPECT_EQ(g->GetPattern().pat[1], 0x55);
  g->PenEnumPat(7);
  EXPECT_FALSE(g->PatternEnabled());
  EXPECT_EQ(g->GetPattern().pat[0], 0xFF);
  g->PenEnumPat(kAlternateRowsPattern);
  g->PenSize(5, 5);
  g->PenNormal();
  EXPECT_FALSE(g->PatternEnabled());
  EXPECT_EQ(g->GetPenWidth(), 1);

  AlertRecorder alerts;
  Graphics lost(nullptr);
  lost.SelectPen();
  QV::Rect r = Rect(0, 0, 1, 1);
  g->DrawControl(nullptr, r);
  ASSERT_EQ(alerts.count(), 2u);
  EXPECT_EQ(alerts.alerts()[0].condition, "mPane");
  EXPECT_EQ(alerts.alerts()[1].message, "DrawControl not implemented for this platform.");
}

TEST(Windows, AContextKeptPastItsWindowsCloseDrawsNothingAndFreesCleanly) {
  SKIP_WITHOUT_DISPLAY();
  auto *window = new RecordingWindow(MakeRect(100, 100, 300, 300));
  window->ShowWindow();
  ASSERT_TRUE(StepUntil([&] { return window->GetGdkDrawable() != nullptr; }));
  Graphics *kept = window->getGraphics();
  QV::Rect r = Rect(0, 0, 10, 10);
  kept->FillRect(&r); // takes the pane's GDK context
  AlertRecorder alerts;
  window->Close();
  PaneLoopStep();
  EXPECT_EQ(kept->GetPane(), nullptr);
  kept->FillRect(&r);
  EXPECT_EQ(kept->FontHeight(), 0);
  Graphics::Release(kept);
  EXPECT_EQ(alerts.count(), 0u);
}

} // namespace
