// Moving, scaling and turning shapes, and copying their properties. A curve
// keeps its points in drawing coordinates, so it moves them itself; a group
// moves its items about its own pivot. A group that holds itself, directly or
// further down, would recurse for ever: the item operations stop at the
// plotter's nesting limit.
#include <cmath>

#include "foundation/String.h"
#include "graphics/Shapes2D.h"

namespace {

void Retain(stringStorage *&field, stringStorage *value) {
  stringStorage::AddReference(value);
  stringStorage::RemoveReference(field);
  field = value;
}

void MovePoint(double &px, double &py, double dx, double dy) {
  px += dx;
  py += dy;
}

} // namespace

void Object2D::SetXY(double newX, double newY) { SetXY(newX, newY, kShapeNestingLimit); }
void Object2D::SetScale(double newScale) { SetScale(newScale, kShapeNestingLimit); }
void Object2D::SetRotation(double newRotation) { SetRotation(newRotation, kShapeNestingLimit); }

void Object2D::SetXY(double newX, double newY, int32_t depth) {
  if (kind == kCurveKind)
    static_cast<CurveShape *>(this)->SetCurveXY(newX, newY);
  else if (kind == kGroupKind || kind == kFigureKind)
    static_cast<Group2D *>(this)->SetGroupXY(newX, newY, depth);
  else {
    x = newX;
    y = newY;
  }
}

void Object2D::SetScale(double newScale, int32_t depth) {
  if (kind == kCurveKind)
    static_cast<CurveShape *>(this)->SetCurveScale(newScale);
  else if (kind == kGroupKind || kind == kFigureKind)
    static_cast<Group2D *>(this)->SetGroupScale(newScale, depth);
  else
    scale = newScale;
}

void Object2D::SetRotation(double newRotation, int32_t depth) {
  if (kind == kCurveKind)
    static_cast<CurveShape *>(this)->SetCurveRotation(newRotation);
  else if (kind == kGroupKind || kind == kFigureKind)
    static_cast<Group2D *>(this)->SetGroupRotation(newRotation, depth);
  else
    rotation = newRotation;
}

void CurveShape::SetCurveXY(double newX, double newY) {
  double dx = newX - x, dy = newY - y;
  x = newX;
  y = newY;
  MovePoint(x2, y2, dx, dy);
  for (PointXY &c : control)
    MovePoint(c.x, c.y, dx, dy);
}

void CurveShape::SetCurveScale(double newScale) {
  if (!(newScale > 0))
    return;
  double f = newScale / scale;
  auto apply = [&](double &px, double &py) {
    px = x + f * (px - x);
    py = y + f * (py - y);
  };
  apply(x2, y2);
  for (PointXY &c : control)
    apply(c.x, c.y);
  scale = newScale;
}

void CurveShape::SetCurveRotation(double newRotation) {
  double a = newRotation - rotation, c = std::cos(a), s = std::sin(a);
  auto apply = [&](double &px, double &py) {
    double rx = px - x, ry = py - y;
    px = x + c * rx - s * ry;
    py = y + s * rx + c * ry;
  };
  apply(x2, y2);
  for (PointXY &p : control)
    apply(p.x, p.y);
  rotation = newRotation;
}

void Group2D::SetGroupXY(double newX, double newY, int32_t depth) {
  double dx = newX - x, dy = newY - y;
  if (depth > 0)
    for (RuntimeObject *item : items)
      if (Object2D *o = AsShape(item))
        o->SetXY(o->x + dx, o->y + dy, depth - 1);
  x = newX;
  y = newY;
}

void Group2D::SetGroupScale(double newScale, int32_t depth) {
  if (!(newScale > 0))
    return;
  double f = newScale / scale;
  if (depth > 0)
    for (RuntimeObject *item : items)
      if (Object2D *o = AsShape(item)) {
        o->SetXY(x + f * (o->x - x), y + f * (o->y - y), depth - 1);
        o->SetScale(f * o->scale, depth - 1);
      }
  scale = newScale;
}

void Group2D::SetGroupRotation(double newRotation, int32_t depth) {
  double a = newRotation - rotation, c = std::cos(a), s = std::sin(a);
  if (depth > 0)
    for (RuntimeObject *item : items)
      if (Object2D *o = AsShape(item)) {
        double rx = o->x - x, ry = o->y - y;
        o->SetXY(x + c * rx - s * ry, y + s * rx + c * ry, depth - 1);
        o->SetRotation(o->rotation + a, depth - 1);
      }
  rotation = newRotation;
}

void Object2D::CopyObject2DProperties(const Object2D &source) {
  fillColor = source.fillColor;
  borderColor = source.borderColor;
  x = source.x;
  y = source.y;
  rotation = source.rotation;
  scale = source.scale;
  fill = source.fill;
  border = source.border;
  borderWidth = source.borderWidth;
}

void RectShape::CopyRectShapeProperties(const RectShape &source) {
  CopyObject2DProperties(source);
  width = source.width;
  height = source.height;
}

void RoundRectShape::CopyRoundRectShapeProperties(const RoundRectShape &source) {
  CopyRectShapeProperties(source);
  cornerWidth = source.cornerWidth;
  cornerHeight = source.cornerHeight;
  segments = source.segments;
}

void OvalShape::CopyOvalShapeProperties(const OvalShape &source) {
  CopyRectShapeProperties(source);
  segments = source.segments;
}

void ArcShape::CopyArcShapeProperties(const ArcShape &source) {
  CopyOvalShapeProperties(source);
  startAngle = source.startAngle;
  arcAngle = source.arcAngle;
}

void PixmapShape::CopyPixmapShapeProperties(const PixmapShape &source) {
  CopyRectShapeProperties(source);
  RuntimeLockUnlockObjects(source.image, image);
  image = source.image;
  sourceLeft = source.sourceLeft;
  sourceTop = source.sourceTop;
  sourceWidth = source.sourceWidth;
  sourceHeight = source.sourceHeight;
}

void StringShape::CopyStringShapeProperties(const StringShape &source) {
  CopyObject2DProperties(source);
  textSize = source.textSize;
  Retain(text, source.text);
  Retain(textFont, source.textFont);
  bold = source.bold;
  italic = source.italic;
  underline = source.underline;
}

void CurveShape::CopyCurveShapeProperties(const CurveShape &source) {
  CopyObject2DProperties(source);
  x2 = source.x2;
  y2 = source.y2;
  control[0] = source.control[0];
  control[1] = source.control[1];
  order = source.order;
  segments = source.segments;
}
