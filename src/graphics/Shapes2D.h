// The vector shapes of the language: the ten shape objects as compiled code
// lays them out, the operations that move, scale and turn them, and their
// outlines as polygons in drawing coordinates (ShapeOutlines.cpp). Every
// dispatch goes by the shape's kind, a four-character code its class
// constructor sets, not by its class.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/SimpleVector.h"
#include "runtime/image/ResourceManager.h"
#include "runtime/objects/RuntimeObject.h"

struct ObjectDefinition;
struct stringStorage;

constexpr uint32_t kObject2DKind = FourCharCode("ob2D");
constexpr uint32_t kRectKind = FourCharCode("rect");
constexpr uint32_t kRoundRectKind = FourCharCode("roun");
constexpr uint32_t kOvalKind = FourCharCode("oval");
constexpr uint32_t kArcKind = FourCharCode("arc ");
constexpr uint32_t kPixmapKind = FourCharCode("pix ");
constexpr uint32_t kStringKind = FourCharCode("strn");
constexpr uint32_t kCurveKind = FourCharCode("curv");
constexpr uint32_t kGroupKind = FourCharCode("grup");
constexpr uint32_t kFigureKind = FourCharCode("figr");

// How deep groups nest before the plotter and the transforms stop.
constexpr int32_t kShapeNestingLimit = 128;

struct PointXY {
  double x = 0;
  double y = 0;
};
static_assert(sizeof(PointXY) == 16);

using PointList = SimpleVector<PointXY>;

struct Object2D {
  RuntimeObject header;
  uint32_t kind;
  int32_t fillColor;   // 0xRRGGBB, also the colour of text
  int32_t borderColor; // 0xRRGGBB
  double x;            // centre; a curve's start point
  double y;
  double rotation; // radians, clockwise on the screen
  double scale;
  double fill;   // fractions: drawn from 0.5 on
  double border;
  double borderWidth;

  // Move, scale and turn by kind: curves move their points, groups their
  // items; any other kind stores the value (a scale of 0 or less too).
  void SetXY(double newX, double newY);
  void SetScale(double newScale);
  void SetRotation(double newRotation);
  // Drawing coordinates to the shape's own frame, in place.
  void TransformWorldToObject(PointXY *pt) const;
  void CopyObject2DProperties(const Object2D &source);

  // The same operations with the nesting depth left for groups.
  void SetXY(double newX, double newY, int32_t depth);
  void SetScale(double newScale, int32_t depth);
  void SetRotation(double newRotation, int32_t depth);
};
static_assert(sizeof(Object2D) == 92);
static_assert(offsetof(Object2D, kind) == 24);
static_assert(offsetof(Object2D, fillColor) == 28);
static_assert(offsetof(Object2D, borderColor) == 32);
static_assert(offsetof(Object2D, x) == 36);
static_assert(offsetof(Object2D, y) == 44);
static_assert(offsetof(Object2D, rotation) == 52);
static_assert(offsetof(Object2D, scale) == 60);
static_assert(offsetof(Object2D, fill) == 68);
static_assert(offsetof(Object2D, border) == 76);
static_assert(offsetof(Object2D, borderWidth) == 84);

struct RectShape : Object2D {
  double width;
  double height;

  // The shape's frame (origin at the centre) to drawing coordinates.
  void TransformPoints(PointList &points) const;
  void GetRectPolyPoints(PointList &points) const;
  bool RectContains(double px, double py) const;
  void CopyRectShapeProperties(const RectShape &source);
};
static_assert(sizeof(RectShape) == 108);

struct RoundRectShape : RectShape {
  double cornerWidth;
  double cornerHeight;
  int32_t segments;

  void GetRoundRectPolyPoints(PointList &points) const;
  bool RoundRectContains(double px, double py) const;
  void CopyRoundRectShapeProperties(const RoundRectShape &source);
};
static_assert(sizeof(RoundRectShape) == 128);

struct OvalShape : RectShape {
  int32_t segments;

  void GetOvalPolyPoints(PointList &points) const;
  bool OvalContains(double px, double py) const;
  void CopyOvalShapeProperties(const OvalShape &source);
};
static_assert(sizeof(OvalShape) == 112);

struct ArcShape : OvalShape {
  double startAngle; // in [0, 2π) when set through the language
  double arcAngle;

  void GetArcPolyPoints(PointList &points) const;
  bool ArcContains(double px, double py) const;
  void CopyArcShapeProperties(const ArcShape &source);
};
static_assert(sizeof(ArcShape) == 128);

struct PixmapShape : RectShape {
  RuntimeObject *image; // a Picture, one reference held
  int32_t sourceLeft;
  int32_t sourceTop;
  int32_t sourceWidth;
  int32_t sourceHeight;

  bool PixmapContains(double px, double py) const { return RectContains(px, py); }
  void CopyPixmapShapeProperties(const PixmapShape &source);
};
static_assert(sizeof(PixmapShape) == 128);

struct StringShape : Object2D {
  double textSize;
  stringStorage *text; // one reference held
  stringStorage *textFont;
  uint8_t bold;
  uint8_t italic;
  uint8_t underline;

  void CopyStringShapeProperties(const StringShape &source);
};
static_assert(sizeof(StringShape) == 112);

struct CurveShape : Object2D {
  double x2;
  double y2;
  PointXY control[2];
  int32_t order; // 0 line, 1 quadratic, 2 cubic
  int32_t segments;

  void SetCurveXY(double newX, double newY);
  void SetCurveScale(double newScale);
  void SetCurveRotation(double newRotation);
  void GetCurvePolyPoints(PointList &points) const;
  void CopyCurveShapeProperties(const CurveShape &source);
};
static_assert(sizeof(CurveShape) == 148);

struct Group2D : Object2D {
  SimpleVector<RuntimeObject *> items; // one reference held to each; nil allowed

  void SetGroupXY(double newX, double newY, int32_t depth);
  void SetGroupScale(double newScale, int32_t depth);
  void SetGroupRotation(double newRotation, int32_t depth);
};
static_assert(sizeof(Group2D) == 108);

struct FigureShape : Group2D {
  void GetFigurePolyPoints(PointList &points) const;
};
static_assert(sizeof(FigureShape) == 108);

PointXY QuadraticBezierPoint(const PointXY &p0, const PointXY &c1, const PointXY &p2, double t);
PointXY CubicBezierPoint(const PointXY &p0, const PointXY &c1, const PointXY &c2,
                         const PointXY &p2, double t);

inline Object2D *AsShape(RuntimeObject *object) { return reinterpret_cast<Object2D *>(object); }

// The class builders; each builds its definition on the first call.
ObjectDefinition *Object2DClass();
ObjectDefinition *RectShapeClass();
ObjectDefinition *RoundRectShapeClass();
ObjectDefinition *OvalShapeClass();
ObjectDefinition *ArcShapeClass();
ObjectDefinition *PixmapShapeClass();
ObjectDefinition *StringShapeClass();
ObjectDefinition *CurveShapeClass();
ObjectDefinition *Group2DClass();
ObjectDefinition *FigureShapeClass();
void CreateObject2DClasses();

extern "C" {
void Object2DDoubleSetter(RuntimeObject *object, int32_t field, double value);
double doublePercentGetter(RuntimeObject *object, int32_t field);
void doublePercentSetter(RuntimeObject *object, int32_t field, double value);
void ArcStartAngleSetter(RuntimeObject *object, int32_t field, double value);
void CurveOrderSetter(RuntimeObject *object, int32_t field, int32_t value);
int32_t RectShapeContains(RuntimeObject *shape, double x, double y);
void PixmapShapeConstructor(RuntimeObject *shape);
void PixmapShapeImageCtor(RuntimeObject *shape, RuntimeObject *picture);
double CurveGetControlX(RuntimeObject *curve, int32_t index);
double CurveGetControlY(RuntimeObject *curve, int32_t index);
void CurveSetControlX(RuntimeObject *curve, int32_t index, double value);
void CurveSetControlY(RuntimeObject *curve, int32_t index, double value);
int32_t Group2DCount(RuntimeObject *group);
void Group2DAppend(RuntimeObject *group, RuntimeObject *item);
void Group2DInsert(RuntimeObject *group, int32_t index, RuntimeObject *item);
RuntimeObject *Group2DGetItem(RuntimeObject *group, int32_t index);
void Group2DSetItem(RuntimeObject *group, int32_t index, RuntimeObject *item);
void Group2DRemoveByObject(RuntimeObject *group, RuntimeObject *item);
void Group2DRemoveByIndex(RuntimeObject *group, int32_t index);
void FigureShapeAddLine(RuntimeObject *figure, float x1, float y1, float x2, float y2);
void FigureShapeAddQuad(RuntimeObject *figure, float x1, float y1, float x2, float y2, float cx1,
                        float cy1);
void FigureShapeAddCubic(RuntimeObject *figure, float x1, float y1, float x2, float y2,
                         float cx1, float cy1, float cx2, float cy2);
}
