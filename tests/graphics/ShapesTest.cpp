// The vector shape classes: defaults, setters, transforms, group items, and
// the outlines and containment tests of each kind.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "ShapeFixtures.h"
#include "language/LanguageFixtures.h"
#include "runtime/objects/ValueAccessors.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

int32_t FieldOf(double Object2D::*member) {
  Object2D probe{};
  return static_cast<int32_t>(reinterpret_cast<char *>(&(probe.*member)) -
                              reinterpret_cast<char *>(&probe));
}

class Shapes : public LanguageTest {};

TEST_F(Shapes, ClassesHaveTheirSizesKindsAndDefaults) {
  struct Case {
    ObjectDefinition *(*builder)();
    int32_t size;
    uint32_t kind;
  } cases[] = {{Object2DClass, 92, kObject2DKind},      {RectShapeClass, 108, kRectKind},
               {RoundRectShapeClass, 128, kRoundRectKind}, {OvalShapeClass, 112, kOvalKind},
               {ArcShapeClass, 128, kArcKind},          {PixmapShapeClass, 128, kPixmapKind},
               {StringShapeClass, 112, kStringKind},    {CurveShapeClass, 148, kCurveKind},
               {Group2DClass, 108, kGroupKind},         {FigureShapeClass, 108, kFigureKind}};
  for (const Case &c : cases) {
    EXPECT_EQ(c.builder()->objectSize, c.size);
    Object2D *o = NewShape<Object2D>(c.builder);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->kind, c.kind) << std::string(c.builder()->className.CString());
    EXPECT_EQ(o->scale, 1.0);
    EXPECT_EQ(o->borderWidth, 1.0);
    Release(o);
  }

  auto *rect = NewShape<RectShape>(RectShapeClass);
  EXPECT_EQ(rect->width, 100.0);
  EXPECT_EQ(rect->height, 100.0);
  EXPECT_EQ(rect->x, 0.0);
  EXPECT_EQ(doublePercentGetter(Obj(rect), FieldOf(&Object2D::fill)), 100.0);
  EXPECT_EQ(doublePercentGetter(Obj(rect), FieldOf(&Object2D::border)), 0.0);
  doublePercentSetter(Obj(rect), FieldOf(&Object2D::fill), 50);
  EXPECT_EQ(rect->fill, 0.5);
  EXPECT_EQ(doublePercentGetter(Obj(rect), FieldOf(&Object2D::fill)), 50.0);
  Release(rect);

  auto *pixmap = NewShape<PixmapShape>(PixmapShapeClass);
  EXPECT_EQ(pixmap->width, 0.0);
  EXPECT_EQ(pixmap->height, 0.0);
  PixmapShapeImageCtor(Obj(pixmap), nullptr);
  EXPECT_EQ(pixmap->image, nullptr);
  Release(pixmap);

  auto *curve = NewShape<CurveShape>(CurveShapeClass);
  EXPECT_EQ(curve->fill, 0.0);
  EXPECT_EQ(curve->border, 1.0);
  EXPECT_EQ(curve->x2, 100.0);
  EXPECT_EQ(curve->y2, 100.0);
  EXPECT_EQ(curve->order, 0);
  Release(curve);

  auto *text = NewShape<StringShape>(StringShapeClass);
  EXPECT_EQ(TextOf(text->text), "-");
  EXPECT_EQ(TextOf(text->textFont), "System");
  EXPECT_EQ(text->textSize, 12.0);
  Release(text);

  auto *arc = NewShape<ArcShape>(ArcShapeClass);
  EXPECT_DOUBLE_EQ(arc->arcAngle, kPi / 2);
  Release(arc);
}

TEST_F(Shapes, StartAngleIsKeptWithinOneTurn) {
  auto *arc = NewShape<ArcShape>(ArcShapeClass);
  int32_t field = FieldOf(arc, &arc->startAngle);
  ArcStartAngleSetter(Obj(arc), field, -kPi / 2);
  EXPECT_DOUBLE_EQ(arc->startAngle, 3 * kPi / 2);
  ArcStartAngleSetter(Obj(arc), field, 7);
  EXPECT_DOUBLE_EQ(arc->startAngle, 7 - 2 * kPi);
  Release(arc);
}

TEST_F(Shapes, MovingACurveMovesItsEndAndControlPoints) {
  auto *curve = NewShape<CurveShape>(CurveShapeClass);
  curve->control[0] = {20, 30};
  curve->control[1] = {40, 50};
  Object2DDoubleSetter(Obj(curve), FieldOf(&Object2D::x), 10);
  EXPECT_EQ(curve->x, 10);
  EXPECT_EQ(curve->x2, 110);
  EXPECT_EQ(curve->control[0].x, 30);
  EXPECT_EQ(curve->control[1].x, 50);
  EXPECT_EQ(curve->control[1].y, 50);
  Release(curve);
}

TEST_F(Shapes, TurningAGroupTurnsItsItemsAboutItsPivotOnce) {
  auto *group = NewShape<Group2D>(Group2DClass);
  auto *rect = NewShape<RectShape>(RectShapeClass);
  rect->x = 10;
  Group2DAppend(Obj(group), Obj(rect));
  for (int pass = 0; pass < 2; ++pass) {
    Object2DDoubleSetter(Obj(group), FieldOf(&Object2D::rotation), kPi / 2);
    EXPECT_NEAR(rect->x, 0, 1e-9) << pass;
    EXPECT_NEAR(rect->y, 10, 1e-9) << pass;
    EXPECT_DOUBLE_EQ(rect->rotation, kPi / 2) << pass;
  }
  Release(rect);
  Release(group);
}

TEST_F(Shapes, ScalesOfZeroOrLessAreIgnoredByGroupsAndCurvesOnly) {
  auto *group = NewShape<Group2D>(Group2DClass);
  auto *curve = NewShape<CurveShape>(CurveShapeClass);
  auto *rect = NewShape<RectShape>(RectShapeClass);
  for (double s : {0.0, -2.0}) {
    Object2DDoubleSetter(Obj(group), FieldOf(&Object2D::scale), s);
    Object2DDoubleSetter(Obj(curve), FieldOf(&Object2D::scale), s);
    Object2DDoubleSetter(Obj(rect), FieldOf(&Object2D::scale), s);
    EXPECT_EQ(group->scale, 1.0);
    EXPECT_EQ(curve->scale, 1.0);
    EXPECT_EQ(curve->x2, 100.0);
    EXPECT_EQ(rect->scale, s);
  }
  Object2DDoubleSetter(Obj(curve), FieldOf(&Object2D::scale), 2);
  EXPECT_EQ(curve->x2, 200.0);
  Release(group);
  Release(curve);
  Release(rect);
}

TEST_F(Shapes, BadIndexesAndOrdersRaiseAndChangeNothing) {
  auto *group = NewShape<Group2D>(Group2DClass);
  auto *rect = NewShape<RectShape>(RectShapeClass);
  auto *curve = NewShape<CurveShape>(CurveShapeClass);
  int32_t orderField = FieldOf(curve, &curve->order);
  Group2DInsert(Obj(group), 0, Obj(rect)); // Insert(Count) appends
  EXPECT_EQ(Group2DCount(Obj(group)), 1);
  EXPECT_EQ(Raised(), Names{});

  EXPECT_EQ(Group2DGetItem(Obj(group), 1), nullptr);
  Group2DSetItem(Obj(group), -1, Obj(rect));
  Group2DRemoveByIndex(Obj(group), 1);
  Group2DInsert(Obj(group), 2, Obj(rect));
  CurveOrderSetter(Obj(curve), orderField, 3);
  CurveOrderSetter(Obj(curve), orderField, -1);
  EXPECT_EQ(CurveGetControlX(Obj(curve), 2), 0);
  CurveSetControlY(Obj(curve), -1, 5);
  EXPECT_EQ(Raised(), Names(8, "OutOfBoundsException"));
  EXPECT_EQ(Group2DCount(Obj(group)), 1);
  EXPECT_EQ(curve->order, 0);
  EXPECT_EQ(Obj(rect)->refCount, 2);

  CurveOrderSetter(Obj(curve), orderField, 2);
  EXPECT_EQ(curve->order, 2);
  RuntimeObject *item = Group2DGetItem(Obj(group), 0);
  EXPECT_EQ(item, Obj(rect));
  EXPECT_EQ(Obj(rect)->refCount, 3);
  RuntimeUnlockObject(item);
  Group2DRemoveByObject(Obj(group), Obj(curve)); // not held: nothing
  Group2DRemoveByObject(Obj(group), Obj(rect));
  EXPECT_EQ(Group2DCount(Obj(group)), 0);
  EXPECT_EQ(Obj(rect)->refCount, 1);
  Release(group);
  Release(rect);
  Release(curve);
}

TEST_F(Shapes, FigureBuildersAddCurvesTheFigureAloneHolds) {
  auto *figure = NewShape<FigureShape>(FigureShapeClass);
  FigureShapeAddLine(Obj(figure), 0, 0, 10, 0);
  FigureShapeAddQuad(Obj(figure), 10, 0, 10, 10, 20, 5);
  FigureShapeAddCubic(Obj(figure), 10, 10, 0, 0, 1, 2, 3, 4);
  ASSERT_EQ(Group2DCount(Obj(figure)), 3);
  struct Expect {
    int32_t order;
    double cx1, cy1, cx2, cy2;
  } expected[] = {{0, 0, 0, 0, 0}, {1, 20, 5, 0, 0}, {2, 1, 2, 3, 4}};
  for (int32_t i = 0; i < 3; ++i) {
    auto *c = reinterpret_cast<CurveShape *>(figure->items.begin()[i]);
    EXPECT_EQ(Obj(c)->refCount, 1);
    EXPECT_EQ(c->order, expected[i].order);
    EXPECT_EQ(c->control[0].x, expected[i].cx1);
    EXPECT_EQ(c->control[0].y, expected[i].cy1);
    EXPECT_EQ(c->control[1].x, expected[i].cx2);
    EXPECT_EQ(c->control[1].y, expected[i].cy2);
  }
  Release(figure);
}

// Point counts of each generator.
TEST_F(Shapes, OutlinesHaveTheirPointCounts) {
  PointList points;
  auto *oval = NewShape<OvalShape>(OvalShapeClass);
  struct OvalCase {
    double w, h;
    int32_t segments, count;
  } ovals[] = {{100, 50, 0, 30}, {10, 10, 0, 8}, {100, 50, 5000, 1024}, {100, 50, 12, 12}};
  for (const OvalCase &c : ovals) {
    oval->width = c.w;
    oval->height = c.h;
    oval->segments = c.segments;
    oval->GetOvalPolyPoints(points);
    EXPECT_EQ(points.count(), c.count) << c.w << "x" << c.h << " segments " << c.segments;
  }
  Release(oval);

  auto *arc = NewShape<ArcShape>(ArcShapeClass);
  arc->x = 7;
  arc->y = 9;
  arc->segments = 64;
  arc->GetArcPolyPoints(points);
  ASSERT_EQ(points.count(), 18);
  EXPECT_EQ(points.begin()[17].x, 7);
  EXPECT_EQ(points.begin()[17].y, 9);
  arc->segments = 0;
  arc->GetArcPolyPoints(points);
  EXPECT_EQ(points.count(), 40 + 2) << "the automatic count of the whole oval";
  Release(arc);

  auto *round = NewShape<RoundRectShape>(RoundRectShapeClass);
  round->GetRoundRectPolyPoints(points);
  EXPECT_EQ(points.count(), 4) << "no corners: the rectangle";
  round->cornerWidth = 20;
  round->cornerHeight = 20;
  round->segments = 5;
  round->GetRoundRectPolyPoints(points);
  EXPECT_EQ(points.count(), 12);
  round->cornerWidth = 500;
  round->GetRoundRectPolyPoints(points);
  double minX = 1e9, maxX = -1e9;
  for (const PointXY &p : points) {
    minX = std::fmin(minX, p.x);
    maxX = std::fmax(maxX, p.x);
  }
  EXPECT_NEAR(maxX - minX, 100, 1e-9) << "the corner width is clamped to the width";
  Release(round);

  auto *curve = NewShape<CurveShape>(CurveShapeClass);
  curve->GetCurvePolyPoints(points);
  ASSERT_EQ(points.count(), 3);
  EXPECT_EQ(points.begin()[2].x, 50);
  EXPECT_EQ(points.begin()[2].y, 50);
  curve->order = 2;
  curve->segments = 10;
  curve->GetCurvePolyPoints(points);
  EXPECT_EQ(points.count(), 12);
  Release(curve);

  auto *figure = NewShape<FigureShape>(FigureShapeClass);
  FigureShapeAddLine(Obj(figure), 0, 0, 10, 0);
  FigureShapeAddLine(Obj(figure), 10, 0, 0, 0);
  figure->GetFigurePolyPoints(points);
  ASSERT_EQ(points.count(), 2) << "no closing duplicate";
  EXPECT_EQ(points.begin()[1].x, 10);
  Release(figure);

  figure = NewShape<FigureShape>(FigureShapeClass);
  FigureShapeAddCubic(Obj(figure), 0, 0, 100, 0, 30, 30, 60, 30);
  FigureShapeAddCubic(Obj(figure), 100, 0, 200, 50, 130, 30, 160, 30);
  figure->GetFigurePolyPoints(points);
  EXPECT_EQ(points.count(), 1 + 512 + 512);
  Release(figure);
}

TEST_F(Shapes, OutlinesAreOutsideAndAQuarterTurnSwapsWidthAndHeight) {
  auto *rect = NewShape<RectShape>(RectShapeClass);
  rect->width = 40;
  rect->height = 20;
  EXPECT_EQ(RectShapeContains(Obj(rect), 19, 9), 1);
  EXPECT_EQ(RectShapeContains(Obj(rect), 20, 0), 0) << "on the outline";
  EXPECT_EQ(RectShapeContains(Obj(rect), 0, 15), 0);
  rect->rotation = kPi / 2;
  EXPECT_EQ(RectShapeContains(Obj(rect), 0, 15), 1);
  EXPECT_EQ(RectShapeContains(Obj(rect), 15, 0), 0);
  rect->scale = 0;
  EXPECT_EQ(RectShapeContains(Obj(rect), 0, 0), 0) << "Scale 0: nothing is inside";
  Release(rect);

  auto *oval = NewShape<OvalShape>(OvalShapeClass);
  EXPECT_EQ(RectShapeContains(Obj(oval), 0, 49), 1);
  EXPECT_EQ(RectShapeContains(Obj(oval), 0, 50), 0);
  EXPECT_EQ(RectShapeContains(Obj(oval), 45, 45), 0) << "a corner of the frame";
  Release(oval);

  auto *arc = NewShape<ArcShape>(ArcShapeClass); // a quarter from 0: down and right
  EXPECT_EQ(RectShapeContains(Obj(arc), 20, 20), 1);
  EXPECT_EQ(RectShapeContains(Obj(arc), -20, 20), 0);
  EXPECT_EQ(RectShapeContains(Obj(arc), 20, -20), 0);
  Release(arc);

  auto *round = NewShape<RoundRectShape>(RoundRectShapeClass);
  round->cornerWidth = 40;
  round->cornerHeight = 40;
  EXPECT_EQ(RectShapeContains(Obj(round), 0, 49), 1);
  EXPECT_EQ(RectShapeContains(Obj(round), 48, 48), 0) << "cut off by the corner";
  EXPECT_EQ(RectShapeContains(Obj(round), 40, 40), 1);
  Release(round);
}

// Sizes that are not numbers, infinite or zero, and groups that hold
// themselves, give bounded outlines and finished transforms.
TEST_F(Shapes, DegenerateSizesAndSelfHoldingGroupsStayBounded) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  PointList points;
  for (double v : {nan, inf, -inf, 0.0}) {
    auto *oval = NewShape<OvalShape>(OvalShapeClass);
    auto *arc = NewShape<ArcShape>(ArcShapeClass);
    auto *round = NewShape<RoundRectShape>(RoundRectShapeClass);
    auto *curve = NewShape<CurveShape>(CurveShapeClass);
    oval->width = arc->width = round->width = v;
    oval->scale = arc->scale = round->scale = curve->scale = v;
    arc->arcAngle = v;
    round->cornerWidth = round->cornerHeight = v == 0 ? 10 : v;
    curve->order = 1;
    curve->x2 = v;
    oval->GetOvalPolyPoints(points);
    EXPECT_GE(points.count(), 8);
    EXPECT_LE(points.count(), 1024);
    arc->GetArcPolyPoints(points);
    EXPECT_LE(points.count(), 1026);
    if (v == 0) {
      for (const PointXY &p : points)
        EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y)) << "W = 0 uses H/2";
    }
    round->GetRoundRectPolyPoints(points);
    EXPECT_LE(points.count(), 1028);
    curve->GetCurvePolyPoints(points);
    EXPECT_LE(points.count(), 514);
    RectShapeContains(Obj(arc), 1, 1);
    RectShapeContains(Obj(round), 1, 1);
    for (void *s : {static_cast<void *>(oval), static_cast<void *>(arc),
                    static_cast<void *>(round), static_cast<void *>(curve)})
      Release(s);
  }

  auto *outer = NewShape<Group2D>(Group2DClass);
  auto *inner = NewShape<Group2D>(Group2DClass);
  auto *rect = NewShape<RectShape>(RectShapeClass);
  Group2DAppend(Obj(outer), Obj(rect));
  Group2DAppend(Obj(outer), Obj(inner));
  Group2DAppend(Obj(inner), Obj(outer));
  Object2DDoubleSetter(Obj(outer), FieldOf(&Object2D::x), 1);
  Object2DDoubleSetter(Obj(outer), FieldOf(&Object2D::rotation), 1);
  Object2DDoubleSetter(Obj(outer), FieldOf(&Object2D::scale), 2);
  EXPECT_EQ(outer->x, 1);
  EXPECT_EQ(outer->scale, 2);
  EXPECT_TRUE(std::isfinite(rect->x));
  Group2DRemoveByObject(Obj(inner), Obj(outer)); // break the cycle
  Release(inner);
  Release(outer);
  Release(rect);
}

} // namespace
