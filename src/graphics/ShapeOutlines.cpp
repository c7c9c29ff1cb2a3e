// The shapes' outlines as polygons in drawing coordinates, and the strict
// containment tests. Ellipses, rounded corners and curves are flattened into
// regular steps whose number comes from the Segments property or from the
// shape's size, always capped, so no shape makes an unbounded polygon. Sizes
// that are NaN or infinite give the smallest counts rather than undefined
// conversions.
#include <cmath>

#include "foundation/AssertionAlert.h"
#include "graphics/Shapes2D.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr int32_t kMaxRingPoints = 1024;
constexpr int32_t kMaxCurveSteps = 512;
constexpr AlertSite kNullPointAlert{"Common/Graphics2D/Shapes2D", 122, "pt"};

// A count derived from a size: truncated, NaN as 0, clamped to [low, high].
int32_t CountFrom(double v, int32_t low, int32_t high) {
  if (!(v >= low))
    return low;
  if (v >= high)
    return high;
  return static_cast<int32_t>(v);
}

int32_t Capped(int32_t n, int32_t high) { return n > high ? high : n; }

// count points of the ellipse of radii rx, ry from angle start in equal
// steps, as points 0 to count - 1. Each point turns the last one by the
// step, so only the first point and the step take a cosine and a sine.
void EllipsePoints(PointList &points, int32_t count, double rx, double ry, double start,
                   double step) {
  double c = std::cos(start), s = std::sin(start);
  const double cs = std::cos(step), sn = std::sin(step);
  for (int32_t i = 0; i < count; ++i) {
    points[i] = {rx * c, ry * s};
    double turned = c * cs - s * sn;
    s = s * cs + c * sn;
    c = turned;
  }
}

double Square(double v) { return v * v; }

} // namespace

PointXY QuadraticBezierPoint(const PointXY &p0, const PointXY &c1, const PointXY &p2, double t) {
  double u = 1 - t;
  return {u * u * p0.x + 2 * t * u * c1.x + t * t * p2.x,
          u * u * p0.y + 2 * t * u * c1.y + t * t * p2.y};
}

PointXY CubicBezierPoint(const PointXY &p0, const PointXY &c1, const PointXY &c2,
                         const PointXY &p2, double t) {
  double u = 1 - t;
  double a = u * u * u, b = 3 * t * u * u, c = 3 * t * t * u, d = t * t * t;
  return {a * p0.x + b * c1.x + c * c2.x + d * p2.x, a * p0.y + b * c1.y + c * c2.y + d * p2.y};
}

void RectShape::TransformPoints(PointList &points) const {
  bool turned = std::fabs(rotation) > 0.00001;
  double c = turned ? std::cos(rotation) : 1, s = turned ? std::sin(rotation) : 0;
  for (PointXY &p : points) {
    if (turned) {
      double px = p.x * c - p.y * s;
      p.y = p.x * s + p.y * c;
      p.x = px;
    }
    p.x = p.x * scale + x;
    p.y = p.y * scale + y;
  }
}

void Object2D::TransformWorldToObject(PointXY *pt) const {
  if (!pt) {
    ShowAlert(kNullPointAlert);
    return;
  }
  double px = pt->x - x, py = pt->y - y;
  if (std::fabs(rotation) > 0.00001) {
    double c = std::cos(-rotation), s = std::sin(-rotation);
    double rx = c * px - s * py;
    py = s * px + c * py;
    px = rx;
  }
  pt->x = px * (1 / scale);
  pt->y = py * (1 / scale);
}

void RectShape::GetRectPolyPoints(PointList &points) const {
  double w = width / 2, h = height / 2;
  points.resize(4);
  points[0] = {w, h};
  points[1] = {-w, h};
  points[2] = {-w, -h};
  points[3] = {w, -h};
  TransformPoints(points);
}

void OvalShape::GetOvalPolyPoints(PointList &points) const {
  int32_t n = segments > 2 ? Capped(segments, kMaxRingPoints)
                           : CountFrom((std::fabs(width) + std::fabs(height)) * scale * 0.2, 8,
                                       kMaxRingPoints);
  points.resize(n);
  EllipsePoints(points, n, width / 2, height / 2, 0, kTwoPi / n);
  TransformPoints(points);
}

void ArcShape::GetArcPolyPoints(PointList &points) const {
  double span = std::fmod(arcAngle, kTwoPi);
  if (!std::isfinite(span))
    span = 0;
  int32_t n = CountFrom(segments * span / kTwoPi, 0, kMaxRingPoints);
  if (n <= 0)
    n = CountFrom((std::fabs(width) + std::fabs(height)) * scale * 0.2, 8, kMaxRingPoints);
  points.resize(n + 2);
  // (H/W)(W/2) is H/2, also when W is 0.
  EllipsePoints(points, n + 1, width / 2, height / 2, startAngle, span / n);
  points[n + 1] = {0, 0};
  TransformPoints(points);
}

void RoundRectShape::GetRoundRectPolyPoints(PointList &points) const {
  if (!(cornerWidth > 0) || !(cornerHeight > 0)) {
    GetRectPolyPoints(points);
    return;
  }
  double cw = cornerWidth < width ? cornerWidth : width;
  double ch = cornerHeight < height ? cornerHeight : height;
  int32_t n = segments > 3 ? Capped(segments, kMaxRingPoints)
                           : CountFrom((cw + ch) * scale * 0.2, 4, kMaxRingPoints);
  int32_t q = (n + 3) / 4, m = 4 * q;
  double rx = cw / 2, ry = ch / 2, cx = (width - cw) / 2, cy = (height - ch) / 2;
  double step = kTwoPi / m, theta = 0;
  const PointXY centres[4] = {{cx, cy}, {-cx, cy}, {-cx, -cy}, {cx, -cy}};
  points.resize(4 * q + 4);
  int32_t k = 0;
  for (const PointXY &centre : centres) {
    for (int32_t i = 0; i <= q; ++i) {
      points[k++] = {rx * std::cos(theta) + centre.x, ry * std::sin(theta) + centre.y};
      if (i < q)
        theta += step;
    }
  }
  TransformPoints(points);
}

void CurveShape::GetCurvePolyPoints(PointList &points) const {
  PointXY p0{x, y}, p2{x2, y2}, mid{(x + x2) / 2, (y + y2) / 2};
  if (order < 1) {
    points.resize(3);
    points[0] = p0;
    points[1] = p2;
    points[2] = mid;
    return;
  }
  int32_t n = segments;
  if (n <= 2) {
    double chord = Square(x2 - x) + Square(y2 - y);
    double first = Square(control[0].x - x) + Square(control[0].y - y);
    double e = order >= 2 ? Square(control[1].x - x2) + Square(control[1].y - y2) : first;
    n = CountFrom(std::sqrt(chord + first + e) * scale * 0.1, 3, kMaxCurveSteps);
  }
  n = Capped(n, kMaxCurveSteps);
  points.resize(n + 2);
  for (int32_t i = 0; i <= n; ++i) {
    double t = (1.0 / n) * i;
    points[i] = order == 1 ? QuadraticBezierPoint(p0, control[0], p2, t)
                           : CubicBezierPoint(p0, control[0], control[1], p2, t);
  }
  points[n + 1] = mid;
}

void FigureShape::GetFigurePolyPoints(PointList &points) const {
  int32_t curves = 0;
  for (RuntimeObject *item : items) {
    Object2D *o = AsShape(item);
    if (o && o->kind == kCurveKind && static_cast<CurveShape *>(o)->order > 0)
      ++curves;
  }
  int32_t cap = curves == 0 ? 2 : kMaxRingPoints / curves;
  if (cap < 2)
    cap = 2;
  points.resize(0);
  points.setGrowthIncrement(64);
  PointXY last{0, 0};
  bool first = true;
  for (RuntimeObject *item : items) {
    Object2D *o = AsShape(item);
    if (!o || o->kind != kCurveKind)
      continue;
    auto *c = static_cast<CurveShape *>(o);
    if (first || std::fabs(c->x - last.x) >= 1e-12 || std::fabs(c->y - last.y) >= 1e-12)
      points.push_back({c->x, c->y});
    first = false;
    PointXY p0{c->x, c->y}, p2{c->x2, c->y2};
    if (c->order <= 0) {
      points.push_back(p2);
    } else {
      int32_t s = c->segments < 2 || c->segments > cap ? cap : c->segments;
      for (int32_t j = 1; j <= s; ++j) {
        double t = (1.0 / s) * j;
        points.push_back(c->order == 1 ? QuadraticBezierPoint(p0, c->control[0], p2, t)
                                       : CubicBezierPoint(p0, c->control[0], c->control[1], p2, t));
      }
    }
    last = p2;
  }
  if (points.count() < 2)
    return;
  const PointXY &start = *points.begin();
  if (std::fabs(start.x - last.x) < 1e-12 && std::fabs(start.y - last.y) < 1e-12)
    points.deleteIdx(points.count() - 1);
}

bool RectShape::RectContains(double px, double py) const {
  PointXY p{px, py};
  TransformWorldToObject(&p);
  return -width / 2 < p.x && p.x < width / 2 && -height / 2 < p.y && p.y < height / 2;
}

bool OvalShape::OvalContains(double px, double py) const {
  if (!RectContains(px, py))
    return false;
  PointXY p{px, py};
  TransformWorldToObject(&p);
  return Square(width / 2) > Square(p.x) + Square(width * p.y / height);
}

bool ArcShape::ArcContains(double px, double py) const {
  if (!OvalContains(px, py))
    return false;
  PointXY p{px, py};
  TransformWorldToObject(&p);
  double a = std::atan2(width * p.y / height, p.x);
  if (a < 0)
    a += kTwoPi;
  double e = a - startAngle;
  if (arcAngle >= 0) {
    if (e < 0)
      e += kTwoPi;
    return arcAngle > e;
  }
  if (e > 0)
    e -= kTwoPi;
  return arcAngle < e;
}

bool RoundRectShape::RoundRectContains(double px, double py) const {
  if (!(cornerWidth > 0) || !(cornerHeight > 0))
    return RectContains(px, py);
  if (!RectContains(px, py))
    return false;
  double cw = cornerWidth < width ? cornerWidth : width;
  double ch = cornerHeight < height ? cornerHeight : height;
  PointXY p{px, py};
  TransformWorldToObject(&p);
  double sx = width / 2 - cw / 2, sy = height / 2 - ch / 2;
  if ((-sx < p.x && p.x < sx) || (-sy < p.y && p.y < sy))
    return true;
  double cx = p.x < 0 ? p.x + sx : p.x - sx;
  double cy = p.y < 0 ? p.y + sy : p.y - sy;
  return Square(cw / 2) > Square(cx) + Square(cw * cy / ch);
}
