// The shape plotter drawing into offscreen panes, read back pixel by pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ShapeFixtures.h"
#include "graphics/PictureObject.h"
#include "graphics/ShapePlotter.h"
#include "support/AlertRecorder.h"
#include "support/OffscreenPixels.h"

namespace {

class Plotter : public testing::Test {
protected:
  void SetUp() override {
    SKIP_WITHOUT_DISPLAY();
    pane = NewOffscreen(220, 160);
    g = pane->getGraphics();
  }
  void TearDown() override {
    Graphics::Release(g);
    if (pane)
      pane->removeReference();
  }
  void Plot(void *shape) { ShapePlotter(g).Plot(AsShape(Obj(shape)), 0.0, 0.0); }
  QV::Rect Ink() { return DarkBounds(pane, 0, 0, 220, 160, 128); }

  DrawablePane *pane = nullptr;
  Graphics *g = nullptr;
};

void ExpectRect(const QV::Rect &r, int left, int top, int right, int bottom) {
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right, right);
  EXPECT_EQ(r.bottom, bottom);
}

TEST_F(Plotter, ASquareFillsWithoutAnOutline) {
  auto *rect = NewShape<RectShape>(RectShapeClass);
  rect->x = rect->y = 50;
  Plot(rect);
  ExpectRect(Ink(), 0, 0, 101, 101);
  EXPECT_EQ(PixelAt(pane, 50, 50), 0x000000u);
  EXPECT_EQ(g->GetForeColor().red, 0) << "the state comes back";
  Release(rect);
}

TEST_F(Plotter, FillStartsAtOneHalf) {
  auto *rect = NewShape<RectShape>(RectShapeClass);
  rect->x = rect->y = 50;
  rect->fill = 0.49;
  Plot(rect);
  EXPECT_EQ(InkCount(pane), 0);
  rect->fill = 0.5;
  Plot(rect);
  EXPECT_EQ(PixelAt(pane, 50, 50), 0x000000u);
  Release(rect);
}

TEST_F(Plotter, ThinAndThickOutlines) {
  auto *rect = NewShape<RectShape>(RectShapeClass);
  rect->x = rect->y = 60;
  rect->fill = 0;
  rect->border = 1;
  rect->borderColor = 0xFF0000;
  Plot(rect);
  EXPECT_EQ(PixelAt(pane, 60, 60), 0xFFFFFFu);
  EXPECT_EQ(PixelAt(pane, 10, 60), 0xFF0000u);
  EXPECT_EQ(PixelAt(pane, 9, 60), 0xFFFFFFu);
  EXPECT_EQ(PixelAt(pane, 11, 60), 0xFFFFFFu);

  DrawablePane *thick = NewOffscreen(220, 160);
  Graphics *tg = thick->getGraphics();
  rect->borderWidth = 2;
  ShapePlotter(tg).Plot(rect, 0.0, 0.0);
  // A ring two pixels wide centred on the outline at x = 10.
  int inked = 0;
  for (int x = 5; x < 16; ++x)
    inked += PixelAt(thick, x, 60) != 0xFFFFFFu;
  EXPECT_GE(inked, 2);
  EXPECT_LE(inked, 3);
  EXPECT_NE(PixelAt(thick, 10, 60), 0xFFFFFFu);
  EXPECT_EQ(PixelAt(thick, 60, 60), 0xFFFFFFu);
  Graphics::Release(tg);
  thick->removeReference();
  Release(rect);
}

TEST_F(Plotter, UprightOvalsUseTheOvalPrimitiveAndTurnedOnesAPolygon) {
  auto *oval = NewShape<OvalShape>(OvalShapeClass);
  oval->x = 60;
  oval->y = 60;
  oval->height = 50;
  Plot(oval);
  DrawablePane *direct = NewOffscreen(220, 160);
  Graphics *dg = direct->getGraphics();
  QV::Rect r = Rect(10, 35, 110, 85);
  dg->FillOval(&r);
  EXPECT_EQ(::Ink(pane, 0, 0, 220, 160), ::Ink(direct, 0, 0, 220, 160));
  Graphics::Release(dg);
  direct->removeReference();

  DrawablePane *turned = NewOffscreen(220, 160);
  Graphics *tg = turned->getGraphics();
  oval->rotation = 0.5;
  ShapePlotter(tg).Plot(oval, 0.0, 0.0);
  QV::Rect ink = DarkBounds(turned, 0, 0, 220, 160, 128);
  EXPECT_GT(ink.bottom - ink.top, 60) << "turned half a radian, the oval stands taller";
  EXPECT_LT(ink.right - ink.left, 100);
  Graphics::Release(tg);
  turned->removeReference();
  Release(oval);
}

TEST_F(Plotter, ArcsFillTheirWedgeAndOutlineOnlyTheirEdge) {
  auto *arc = NewShape<ArcShape>(ArcShapeClass);
  arc->x = arc->y = 60;
  Plot(arc); // the quarter below and right of the centre
  EXPECT_EQ(PixelAt(pane, 62, 62), 0x000000u);
  EXPECT_EQ(PixelAt(pane, 50, 62), 0xFFFFFFu);
  ExpectRect(Ink(), 60, 60, 111, 111);

  DrawablePane *edge = NewOffscreen(220, 160);
  Graphics *eg = edge->getGraphics();
  arc->fill = 0;
  arc->border = 1;
  ShapePlotter(eg).Plot(arc, 0.0, 0.0);
  EXPECT_EQ(PixelAt(edge, 80, 60), 0xFFFFFFu) << "no radius";
  EXPECT_EQ(PixelAt(edge, 60, 80), 0xFFFFFFu) << "no radius";
  EXPECT_EQ(PixelAt(edge, 110, 60), 0x000000u) << "the edge starts at angle 0";
  EXPECT_GT(InkCount(edge), 60);
  Graphics::Release(eg);
  edge->removeReference();
  Release(arc);
}

TEST_F(Plotter, GroupsDrawInOrderAndStopAtTheirNestingLimit) {
  auto *group = NewShape<Group2D>(Group2DClass);
  auto *rect = NewShape<RectShape>(RectShapeClass);
  auto *oval = NewShape<OvalShape>(OvalShapeClass);
  rect->x = rect->y = oval->x = oval->y = 60;
  rect->fillColor = 0xFF0000;
  oval->fillColor = 0x0000FF;
  Group2DAppend(Obj(group), Obj(rect));
  Group2DAppend(Obj(group), Obj(oval));
  Plot(group);
  EXPECT_EQ(PixelAt(pane, 60, 60), 0x0000FFu);
  EXPECT_EQ(PixelAt(pane, 12, 12), 0xFF0000u);

  Group2DAppend(Obj(group), Obj(group)); // holds itself
  Plot(group);
  EXPECT_EQ(PixelAt(pane, 60, 60), 0x0000FFu);
  Group2DRemoveByObject(Obj(group), Obj(group));
  Release(group);
  Release(rect);
  Release(oval);
}

TEST_F(Plotter, DisplacedPlotsLeaveThePositionAlone) {
  auto *rect = NewShape<RectShape>(RectShapeClass);
  rect->x = rect->y = 50;
  rect->width = rect->height = 20;
  ShapePlotter(g).Plot(rect, 10.0, 20.0);
  EXPECT_EQ(rect->x, 50);
  EXPECT_EQ(rect->y, 50);
  ExpectRect(Ink(), 50, 60, 71, 81);
  Release(rect);
}

TEST_F(Plotter, StringsSitOnTheirBaselineCentredOnX) {
  auto *text = NewShape<StringShape>(StringShapeClass);
  stringStorage::RemoveReference(text->text);
  text->text = string("HHHH").ExtractStringStorage();
  text->x = 100;
  text->y = 50;
  Plot(text);
  QV::Rect ink = Ink();
  ASSERT_GT(ink.right, ink.left);
  EXPECT_LE(ink.bottom, 51);
  EXPECT_GE(ink.bottom, 48);
  EXPECT_NEAR((ink.left + ink.right) / 2.0, 100, 3);

  for (double turn : {2 * 3.14159265358979323846, 1.0}) {
    DrawablePane *other = NewOffscreen(220, 160);
    Graphics *og = other->getGraphics();
    text->rotation = turn;
    ShapePlotter(og).Plot(text, 0.0, 0.0);
    if (turn > 2)
      EXPECT_EQ(::Ink(other, 0, 0, 220, 160), ::Ink(pane, 0, 0, 220, 160)) << "a whole turn";
    else
      EXPECT_EQ(InkCount(other), 0) << "turned text cannot be drawn here";
    Graphics::Release(og);
    other->removeReference();
  }
  Release(text);
}

TEST_F(Plotter, PixmapsClipTheirSourceInProportion) {
  DrawablePane *image = NewOffscreen(100, 10);
  Graphics *ig = image->getGraphics();
  QV::RGBColor red{65535, 0, 0};
  QV::Rect dark = Rect(0, 0, 90, 10), tail = Rect(90, 0, 100, 10);
  ig->FillRect(&dark);
  ig->RGBForeColor(&red);
  ig->FillRect(&tail);
  Graphics::Release(ig);
  PictureObject picture{};
  picture.image = image;

  auto *pixmap = NewShape<PixmapShape>(PixmapShapeClass);
  pixmap->image = Obj(&picture); // borrowed: cleared before the shape goes
  pixmap->x = 100;
  pixmap->y = 50;
  pixmap->width = 200;
  pixmap->height = 10;
  pixmap->sourceLeft = -10;
  pixmap->sourceWidth = 100;
  pixmap->sourceHeight = 10;
  Plot(pixmap);
  ExpectRect(Ink(), 20, 45, 200, 55);
  EXPECT_EQ(PixelAt(pane, 199, 50), 0x000000u) << "source column 89, not the red tail";

  DrawablePane *none = NewOffscreen(220, 160);
  Graphics *ng = none->getGraphics();
  pixmap->sourceHeight = 0;
  ShapePlotter(ng).Plot(pixmap, 0.0, 0.0);
  pixmap->sourceHeight = 10;
  pixmap->sourceLeft = 100; // no source pixel left
  ShapePlotter(ng).Plot(pixmap, 0.0, 0.0);
  EXPECT_EQ(InkCount(none), 0);
  Graphics::Release(ng);
  none->removeReference();

  pixmap->image = nullptr;
  Release(pixmap);
  image->removeReference();
}

TEST_F(Plotter, RoundRectanglesOfTheContextArePlotted) {
  QV::Rect r = Rect(10, 10, 110, 60);
  g->FillRoundRect(&r, 30, 30);
  EXPECT_EQ(PixelAt(pane, 60, 35), 0x000000u);
  EXPECT_EQ(PixelAt(pane, 11, 11), 0xFFFFFFu) << "the corner is cut";
  EXPECT_EQ(PixelAt(pane, 60, 11), 0x000000u);

  DrawablePane *framed = NewOffscreen(220, 160);
  Graphics *fg = framed->getGraphics();
  fg->FrameRoundRect(&r, 30, 30);
  EXPECT_EQ(PixelAt(framed, 60, 35), 0xFFFFFFu);
  EXPECT_EQ(PixelAt(framed, 60, 10), 0x000000u);
  Graphics::Release(fg);
  framed->removeReference();
}

// The plotter keeps the polygons of the shapes it drew. A shape plotted
// again after any property that shapes it changed must draw what a new shape
// with the same properties draws; an unchanged one draws the same again.
// Each change runs on a thick ring and on a filled shape with a thick
// border, so both kept polygons are checked.
TEST_F(Plotter, ShapesPlottedAgainDrawTheirCurrentGeometry) {
  struct Change {
    const char *name;
    void (*apply)(OvalShape *);
  };
  const Change changes[] = {
      {"nothing", [](OvalShape *) {}},
      {"width", [](OvalShape *o) { o->width = 120; }},
      {"height", [](OvalShape *o) { o->height = 40; }},
      {"x", [](OvalShape *o) { o->x += 7.5; }},
      {"y", [](OvalShape *o) { o->y -= 5.25; }},
      {"rotation", [](OvalShape *o) { o->rotation = 0.9; }},
      {"scale", [](OvalShape *o) { o->scale = 0.7; }},
      {"border width", [](OvalShape *o) { o->borderWidth = 9; }},
      {"segments", [](OvalShape *o) { o->segments = 12; }},
      {"fill", [](OvalShape *o) { o->fill = 1 - o->fill; }},
  };
  for (bool filled : {false, true}) {
    auto setUp = [filled](OvalShape *o) {
      o->x = 110;
      o->y = 80;
      o->width = 150;
      o->height = 100;
      o->rotation = 0.4;
      o->segments = 64;
      o->fill = filled ? 1 : 0;
      o->border = 1;
      o->borderWidth = 4;
    };
    for (const Change &change : changes) {
      SCOPED_TRACE(std::string(change.name) + (filled ? ", filled" : ", ring"));
      auto *kept = NewShape<OvalShape>(OvalShapeClass);
      setUp(kept);
      DrawablePane *first = NewOffscreen(220, 160), *again = NewOffscreen(220, 160),
                   *fresh = NewOffscreen(220, 160);
      Graphics *firstG = first->getGraphics(), *ag = again->getGraphics(),
               *fg = fresh->getGraphics();
      ShapePlotter(firstG).Plot(kept, 0.0, 0.0);
      change.apply(kept);
      ShapePlotter(ag).Plot(kept, 0.0, 0.0);
      auto *made = NewShape<OvalShape>(OvalShapeClass);
      setUp(made);
      change.apply(made);
      ShapePlotter(fg).Plot(made, 0.0, 0.0);
      const std::vector<std::string> drawn = ::Ink(again, 0, 0, 220, 160);
      EXPECT_EQ(drawn, ::Ink(fresh, 0, 0, 220, 160));
      if (&change != &changes[0]) {
        EXPECT_NE(drawn, ::Ink(first, 0, 0, 220, 160)) << "the change shows";
      }
      for (Graphics *each : {firstG, ag, fg})
        Graphics::Release(each);
      for (DrawablePane *each : {first, again, fresh})
        each->removeReference();
      Release(made);
      Release(kept);
    }
  }
}

// Thick outlines over repeated and non-finite points, and shapes whose sizes
// are not numbers, draw without faults (checked under AddressSanitizer).
TEST_F(Plotter, DegenerateOutlinesDrawWithoutFaults) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  auto *round = NewShape<RoundRectShape>(RoundRectShapeClass);
  round->x = round->y = 60;
  round->cornerWidth = round->cornerHeight = 100; // corners meet: repeated points
  round->border = 1;
  round->borderWidth = 4;
  Plot(round);
  QV::Rect ink = Ink();
  EXPECT_GE(ink.left, 5);
  EXPECT_LE(ink.right, 116);

  auto *curve = NewShape<CurveShape>(CurveShapeClass);
  curve->borderWidth = 3;
  curve->x2 = curve->x; // zero length
  curve->y2 = curve->y;
  Plot(curve);
  for (double v : {nan, inf, 0.0}) {
    round->width = v;
    round->scale = v == 0 ? 1 : v;
    curve->x2 = v;
    curve->order = 2;
    Plot(round);
    Plot(curve);
  }
  Release(round);
  Release(curve);
}

TEST(PlotterGeometry, OffsetsAndBoundsOfSimpleFigures) {
  PointXY a, b;
  OffsetSegment({0, 0}, {10, 0}, 2, &a, &b);
  EXPECT_EQ(a.x, 0);
  EXPECT_EQ(a.y, -2);
  EXPECT_EQ(b.y, -2);
  OffsetSegment({3, 3}, {3, 3}, 2, &a, &b);
  EXPECT_EQ(a.x, 3) << "no length: unmoved";
  EXPECT_EQ(a.y, 3);

  int left = 0, top = 0, width = 100, height = 20;
  GetRotatedBounds(&left, &top, &width, &height, 3.14159265358979323846 / 2);
  EXPECT_EQ(width, 23);
  EXPECT_EQ(height, 103);
  AlertRecorder alerts;
  GetRotatedBounds(nullptr, &top, &width, &height, 0);
  ASSERT_EQ(alerts.count(), 1u);
  EXPECT_EQ(alerts.alerts()[0].condition, "left and top and width and height");

  PointList frame;
  frame.resize(4);
  frame[0] = {10, 10};
  frame[1] = {-10, 10};
  frame[2] = {-10, -10};
  frame[3] = {10, -10};
  EXPECT_TRUE(IsAxisAlignedFrame(frame, 0.1));
  frame[0].x = 11;
  EXPECT_FALSE(IsAxisAlignedFrame(frame, 0.1));
  EXPECT_EQ(PlotterInt(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(PlotterInt(-2.7), -2);
}

} // namespace
