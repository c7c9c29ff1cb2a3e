// The shape plotter. Shape coordinates are relative to the context's pane:
// DrawPolygon places its points itself, every other primitive gets the pane's
// left and top added. A fill or outline is drawn when its fraction is at
// least one half; the outline also needs a positive width.
#include "graphics/ShapePlotter.h"

#include <cmath>
#include <vector>

#include "foundation/AssertionAlert.h"
#include "foundation/QVColor.h"
#include "graphics/DrawablePaneGTK.h"
#include "graphics/Graphics.h"
#include "graphics/PictureObject.h"
#include "graphics/ShapeOutlineCache.h"
#include "graphics/ShapeServices.h"
#include "runtime/objects/ClassLookup.h"
#include "windows/Pane.h"

ObjectDefinition *RoundRectShapeClass();

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr char kPlotterSource[] = "Common/Graphics2D/ShapePlotter";
constexpr AlertSite kRotatedBoundsAlert{kPlotterSource, 90, "left and top and width and height"};
constexpr AlertSite kFrameSizeAlert{kPlotterSource, 158, "points.size() == 4"};
constexpr AlertSite kArcNilAlert{kPlotterSource, 501, "obj"};
constexpr AlertSite kArcKindAlert{kPlotterSource, 513, "0"};
constexpr AlertSite kPixmapNilAlert{kPlotterSource, 767, "pic"};
constexpr AlertSite kRectNilAlert{kPlotterSource, 912, "obj"};
constexpr AlertSite kFigureNilAlert{kPlotterSource, 934, "obj"};
constexpr AlertSite kStringNilAlert{kPlotterSource, 956, "str"};

// Coordinates beyond this are far outside any drawable.
constexpr double kCoordinateLimit = 1.0e9;

int32_t Rounded(double v) { return PlotterInt(v + 0.5); }

int16_t Short(double v) {
  int32_t i = PlotterInt(v);
  return static_cast<int16_t>(i < -32768 ? -32768 : i > 32767 ? 32767 : i);
}

bool FillsInside(const Object2D *o) { return o->fill >= 0.5; }
bool DrawsOutline(const Object2D *o) { return o->border >= 0.5 && o->borderWidth > 0; }

void SetColor(Graphics *g, int32_t rgb) {
  QV::RGBColor c{static_cast<uint16_t>(((rgb >> 16) & 0xFF) * 257),
                 static_cast<uint16_t>(((rgb >> 8) & 0xFF) * 257),
                 static_cast<uint16_t>((rgb & 0xFF) * 257)};
  g->RGBForeColor(&c);
}

bool Finite(const PointXY &p) { return std::isfinite(p.x) && std::isfinite(p.y); }
bool Same(const PointXY &a, const PointXY &b) { return a.x == b.x && a.y == b.y; }

// The outline without points that are not finite and without repeats of the
// point before, which have no direction to offset along. keepLast keeps the
// last point (an arc's centre, a curve's chord midpoint) whatever it is.
void CleanOutline(const PointList &points, PointList &out, bool closed, bool keepLast) {
  int32_t n = points.count(), ring = keepLast ? n - 1 : n;
  out.resize(n);
  int32_t k = 0;
  const PointXY *p = points.begin();
  for (int32_t i = 0; i < ring; ++i) {
    if (!Finite(p[i]) || (k > 0 && Same(p[i], out[k - 1])))
      continue;
    out[k++] = p[i];
  }
  if (closed && k > 1 && Same(out[0], out[k - 1]))
    --k;
  if (keepLast && n > 0) {
    PointXY last = Finite(p[n - 1]) ? p[n - 1] : PointXY{0, 0};
    out[k++] = last;
  }
  out.resize(k);
}

// The intersection of the lines through the two segments, or the second
// segment's end when they are parallel.
PointXY Meet(const PointXY &a1, const PointXY &b1, const PointXY &a2, const PointXY &b2) {
  double d1x = b1.x - a1.x, d1y = b1.y - a1.y, d2x = b2.x - a2.x, d2y = b2.y - a2.y;
  double k = d1x * d2y - d1y * d2x;
  if (std::fabs(k) < 1e-10)
    return b2;
  double t = ((a2.x - a1.x) * d2y - (a2.y - a1.y) * d2x) / k;
  return {a1.x + t * d1x, a1.y + t * d1y};
}

struct Segment {
  PointXY a, b;
};

Segment Offset(const PointXY &a, const PointXY &b, double d) {
  Segment s;
  OffsetSegment(a, b, d, &s.a, &s.b);
  return s;
}

} // namespace

int32_t PlotterInt(double v) {
  if (!(v == v))
    return 0;
  if (v > kCoordinateLimit)
    return static_cast<int32_t>(kCoordinateLimit);
  if (v < -kCoordinateLimit)
    return -static_cast<int32_t>(kCoordinateLimit);
  return static_cast<int32_t>(v);
}

void OffsetSegment(const PointXY &a, const PointXY &b, double d, PointXY *outA, PointXY *outB) {
  double dx = b.x - a.x, dy = b.y - a.y, len = std::sqrt(dx * dx + dy * dy);
  double mx = 0, my = 0;
  if (len > 0 && std::isfinite(len)) {
    mx = dy * d / len;
    my = -dx * d / len;
  }
  *outA = {a.x + mx, a.y + my};
  *outB = {b.x + mx, b.y + my};
}

void OffsetClosedOutline(const PointList &points, PointList &out, double d) {
  OffsetClosedOutlines(points, d, out, nullptr);
}

// Each corner moves along its mitre: where the two neighbouring sides, each
// moved by d along its normal, meet. The mitre does not depend on d, so one
// pass gives the outlines at d and -d. Sides in one line (no corner) give
// the next point moved along the side's normal instead.
void OffsetClosedOutlines(const PointList &points, double d, PointList &out, PointList *opposite) {
  int32_t n = points.count();
  out.resize(n);
  if (opposite)
    opposite->resize(n);
  if (n == 0)
    return;
  const PointXY *p = points.begin();
  struct Side {
    double dx, dy, nx, ny;
  };
  auto side = [p, n](int32_t i) {
    const PointXY &a = p[i], &b = p[i + 1 < n ? i + 1 : 0];
    double dx = b.x - a.x, dy = b.y - a.y, len = std::sqrt(dx * dx + dy * dy);
    Side s{dx, dy, 0, 0};
    if (len > 0 && std::isfinite(len)) {
      s.nx = dy / len;
      s.ny = -dx / len;
    }
    return s;
  };
  Side prev = side(n - 1);
  for (int32_t i = 0; i < n; ++i) {
    Side cur = side(i);
    double k = prev.dx * cur.dy - prev.dy * cur.dx;
    if (std::fabs(k) < 1e-10) {
      const PointXY &next = p[i + 1 < n ? i + 1 : 0];
      out[i] = {next.x + d * cur.nx, next.y + d * cur.ny};
      if (opposite)
        (*opposite)[i] = {next.x - d * cur.nx, next.y - d * cur.ny};
    } else {
      double t = ((cur.nx - prev.nx) * cur.dy - (cur.ny - prev.ny) * cur.dx) / k;
      double mx = prev.nx + t * prev.dx, my = prev.ny + t * prev.dy;
      out[i] = {p[i].x + d * mx, p[i].y + d * my};
      if (opposite)
        (*opposite)[i] = {p[i].x - d * mx, p[i].y - d * my};
    }
    prev = cur;
  }
}

void OffsetArcOutline(const PointList &points, PointList &out, double d) {
  int32_t n = points.count();
  out.resize(n);
  if (n == 0)
    return;
  const PointXY *p = points.begin();
  Segment prev{p[n - 1], p[0]};
  for (int32_t i = 0; i < n; ++i) {
    Segment cur = i >= n - 2 ? Segment{p[i], p[n - 1]} : Offset(p[i], p[(i + 1) % n], d);
    out[i] = Meet(prev.a, prev.b, cur.a, cur.b);
    prev = cur;
  }
  out[n - 1] = p[n - 1];
}

void OffsetOpenOutline(const PointList &points, PointList &out, double d) {
  int32_t n = points.count();
  out.resize(n);
  if (n == 0)
    return;
  const PointXY *p = points.begin();
  Segment prev{};
  for (int32_t i = 0; i <= n - 3; ++i) {
    Segment cur = Offset(p[i], p[i + 1], d);
    if (i == 0)
      out[0] = cur.a;
    else
      out[i] = Meet(prev.a, prev.b, cur.a, cur.b);
    if (i == n - 3)
      out[n - 2] = cur.b;
    prev = cur;
  }
  if (n < 3)
    for (int32_t i = 0; i < n - 1; ++i)
      out[i] = p[i];
  out[n - 1] = p[n - 1];
}

void GetRotatedBounds(int *left, int *top, int *width, int *height, double angle) {
  if (!left || !top || !width || !height) {
    ShowAlert(kRotatedBoundsAlert);
    return;
  }
  double hw = *width * 0.5, hh = *height * 0.5, cx = *left + hw, cy = *top + hh;
  double c = std::cos(angle), s = std::sin(angle);
  double minX = 0, maxX = 0, minY = 0, maxY = 0;
  for (double sx : {-hw, hw})
    for (double sy : {-hh, hh}) {
      double x = sx * c - sy * s, y = sx * s + sy * c;
      minX = std::fmin(minX, x);
      maxX = std::fmax(maxX, x);
      minY = std::fmin(minY, y);
      maxY = std::fmax(maxY, y);
    }
  int l = PlotterInt(cx + minX - 1), t = PlotterInt(cy + minY - 1);
  *left = l > 0 ? l : 0;
  *top = t > 0 ? t : 0;
  *width = PlotterInt(maxX - minX + 3);
  *height = PlotterInt(maxY - minY + 3);
}

bool IsAxisAlignedFrame(const PointList &points, double tolerance) {
  if (points.count() != 4) {
    ShowAlert(kFrameSizeAlert);
    if (points.count() < 4)
      return false;
  }
  const PointXY *p = points.begin();
  for (int32_t i = 0; i < 4; ++i) {
    const PointXY &a = p[i], &b = p[(i + 1) % 4];
    if (std::fabs(a.x - b.x) > tolerance && std::fabs(a.y - b.y) > tolerance)
      return false;
  }
  return true;
}

void ApplyStringStyle(Graphics *g, StringShape *str) {
  g->TextFont(string::Borrow(str->textFont));
  g->TextSize(PlotterInt(str->scale * str->textSize));
  g->TextFace((str->bold ? kBoldFace : 0) | (str->italic ? kItalicFace : 0) |
              (str->underline ? kUnderlineFace : 0));
  SetColor(g, str->fillColor);
}

int32_t ShapePlotter::PaneLeft() const {
  Pane *p = mGraphics->GetPane();
  return p ? p->Bounds().left : 0;
}

int32_t ShapePlotter::PaneTop() const {
  Pane *p = mGraphics->GetPane();
  return p ? p->Bounds().top : 0;
}

void ShapePlotter::ApplyFillColor(Object2D *obj) { SetColor(mGraphics, obj->fillColor); }
void ShapePlotter::ApplyBorderColor(Object2D *obj) { SetColor(mGraphics, obj->borderColor); }

void ShapePlotter::Plot(Object2D *obj, double x, double y) {
  GraphicsStateSaver saver;
  saver.StoreState(mGraphics);
  struct Restore {
    GraphicsStateSaver &saver;
    Graphics *g;
    ~Restore() { saver.RestoreState(g); }
  } restore{saver, mGraphics};
  if (!obj)
    return;
  if (x != 0 || y != 0) {
    double oldX = obj->x, oldY = obj->y;
    obj->SetXY(oldX + x, oldY + y);
    Plot(obj, static_cast<long>(kShapeNestingLimit));
    obj->SetXY(oldX, oldY);
  } else {
    Plot(obj, static_cast<long>(kShapeNestingLimit));
  }
}

void ShapePlotter::Plot(Object2D *obj, long depth) {
  if (!obj)
    return;
  switch (obj->kind) {
  case kStringKind:
    PlotString(static_cast<StringShape *>(obj));
    break;
  case kFigureKind:
    PlotFigure(static_cast<FigureShape *>(obj));
    break;
  case kOvalKind:
    PlotOval(static_cast<OvalShape *>(obj));
    break;
  case kArcKind:
  case kCurveKind:
    PlotArcOrCurve(obj);
    break;
  case kPixmapKind:
    PlotPixmap(static_cast<PixmapShape *>(obj));
    break;
  case kRoundRectKind:
  case kRectKind:
    PlotRect(static_cast<RectShape *>(obj));
    break;
  case kGroupKind:
    if (depth > 0) {
      // The list may change while it is drawn (an item's drawing does not
      // run language code here, but the count is read each time anyway).
      auto *group = static_cast<Group2D *>(obj);
      for (int32_t i = 0; i < group->items.count(); ++i)
        Plot(AsShape(group->items.begin()[i]), depth - 1);
    }
    break;
  default:
    break;
  }
}

void ShapePlotter::PlotRect(RectShape *obj) {
  if (!obj) {
    ShowAlert(kRectNilAlert);
    return;
  }
  ShapeOutline &outline = OutlineOfShape(obj);
  PlotOutline(obj, outline.points, outline);
}

void ShapePlotter::PlotFigure(FigureShape *obj) {
  if (!obj) {
    ShowAlert(kFigureNilAlert);
    return;
  }
  PointList points;
  obj->GetFigurePolyPoints(points);
  PlotPolyPoints(obj, points);
}

// The outline's points as the fill takes them.
static void RoundedPolygon(const PointList &points, std::vector<PolygonPoint> &polygon) {
  int32_t n = points.count();
  polygon.resize(n);
  const PointXY *p = points.begin();
  for (int32_t i = 0; i < n; ++i)
    polygon[i] = {Rounded(p[i].x), Rounded(p[i].y)};
}

void ShapePlotter::FillPolygon(const PointList &points) {
  std::vector<PolygonPoint> polygon;
  RoundedPolygon(points, polygon);
  mGraphics->DrawPolygon(polygon.data(), points.count(), true);
}

void ShapePlotter::ThinOutline(const PointList &points, int32_t count, bool closed) {
  if (count <= 0)
    return;
  const PointXY *p = points.begin();
  int32_t left = PaneLeft(), top = PaneTop();
  const PointXY &start = closed ? p[count - 1] : p[0];
  mGraphics->MoveTo(left + Rounded(start.x), top + Rounded(start.y));
  for (int32_t i = closed ? 0 : 1; i < count; ++i)
    mGraphics->LineTo(left + Rounded(p[i].x), top + Rounded(p[i].y));
}

// The band between inner and outer: the inner points forward, then the outer
// ones back; a closed ring repeats the inner and outer first points as a seam.
static void BandPolygon(const PointList &inner, const PointList &outer, int32_t m, bool closed,
                        std::vector<PolygonPoint> &band) {
  band.clear();
  if (m <= 0)
    return;
  band.reserve(closed ? 2 * m + 2 : 2 * m);
  const PointXY *in = inner.begin(), *out = outer.begin();
  auto add = [&band](const PointXY &p) { band.push_back({PlotterInt(p.x), PlotterInt(p.y)}); };
  for (int32_t i = 0; i < m; ++i)
    add(in[i]);
  if (closed) {
    add(in[0]);
    add(out[0]);
  }
  for (int32_t i = m - 1; i >= 0; --i)
    add(out[i]);
}

static void DrawBand(Graphics *g, const PointList &inner, const PointList &outer, int32_t m,
                     bool closed) {
  std::vector<PolygonPoint> band;
  BandPolygon(inner, outer, m, closed, band);
  if (!band.empty())
    g->DrawPolygon(band.data(), static_cast<int32_t>(band.size()), true);
}

void ShapePlotter::PlotPolyPoints(Object2D *obj, PointList &points) {
  ShapeOutline polygons;
  PlotOutline(obj, points, polygons);
}

// The fill and band polygons are made once for each memo: a kept outline
// draws its unchanged shape again straight from them.
void ShapePlotter::PlotOutline(Object2D *obj, const PointList &points, ShapeOutline &memo) {
  int32_t n = points.count();
  if (FillsInside(obj) && n > 0) {
    mGraphics->SetScale(static_cast<float>(obj->fill));
    ApplyFillColor(obj);
    if (!memo.hasFill) {
      RoundedPolygon(points, memo.fill);
      memo.hasFill = true;
    }
    mGraphics->DrawPolygon(memo.fill.data(), n, true);
  }
  if (!DrawsOutline(obj) || n == 0)
    return;
  bool open = obj->kind == kArcKind;
  mGraphics->SetScale(static_cast<float>(obj->border));
  ApplyBorderColor(obj);
  double w = obj->scale * obj->borderWidth;
  if (!(w >= 1.5)) {
    ThinOutline(points, open ? n - 1 : n, !open);
    return;
  }
  if (!memo.hasBand) {
    PointList clean, inner, outer;
    CleanOutline(points, clean, !open, open);
    OffsetClosedOutlines(clean, w / 2, outer, &inner);
    BandPolygon(inner, outer, outer.count() - (open ? 1 : 0), !open, memo.band);
    memo.hasBand = true;
  }
  if (!memo.band.empty())
    mGraphics->DrawPolygon(memo.band.data(), static_cast<int32_t>(memo.band.size()), true);
}

void ShapePlotter::PlotArcOrCurve(Object2D *obj) {
  if (!obj) {
    ShowAlert(kArcNilAlert);
    return;
  }
  PointList points;
  bool arc = obj->kind == kArcKind;
  if (arc)
    static_cast<ArcShape *>(obj)->GetArcPolyPoints(points);
  else if (obj->kind == kCurveKind)
    static_cast<CurveShape *>(obj)->GetCurvePolyPoints(points);
  else {
    ShowAlert(kArcKindAlert);
    return;
  }
  int32_t n = points.count();
  if (FillsInside(obj) && n > 0) {
    mGraphics->SetScale(static_cast<float>(obj->fill));
    ApplyFillColor(obj);
    FillPolygon(points);
  }
  if (!DrawsOutline(obj) || n < 2)
    return;
  mGraphics->SetScale(static_cast<float>(obj->border));
  ApplyBorderColor(obj);
  double w = obj->scale * obj->borderWidth;
  if (!(w >= 1.5)) {
    ThinOutline(points, n - 1, false);
    return;
  }
  PointList clean, inner, outer;
  CleanOutline(points, clean, false, true);
  if (arc) {
    OffsetArcOutline(clean, outer, w / 2);
    OffsetArcOutline(clean, inner, -w / 2);
  } else {
    OffsetOpenOutline(clean, outer, w / 2);
    OffsetOpenOutline(clean, inner, -w / 2);
  }
  DrawBand(mGraphics, inner, outer, clean.count() - 1, false);
}

void ShapePlotter::PlotOval(OvalShape *obj) {
  PointList frame;
  obj->GetRectPolyPoints(frame);
  if (!IsAxisAlignedFrame(frame, (obj->height + obj->width) * obj->scale * 0.01)) {
    PlotRect(obj);
    return;
  }
  const PointXY *p = frame.begin();
  QV::Rect r;
  QV::SetRect(&r, Short(std::fmin(p[0].x, p[2].x)), Short(std::fmin(p[0].y, p[2].y)),
              Short(std::fmax(p[0].x, p[2].x)), Short(std::fmax(p[0].y, p[2].y)));
  QV::OffsetRect(&r, static_cast<int16_t>(PaneLeft()), static_cast<int16_t>(PaneTop()));
  if (FillsInside(obj)) {
    mGraphics->SetScale(static_cast<float>(obj->fill));
    ApplyFillColor(obj);
    mGraphics->FillOval(&r);
  }
  if (!DrawsOutline(obj))
    return;
  mGraphics->SetScale(static_cast<float>(obj->border));
  ApplyBorderColor(obj);
  int32_t v = PlotterInt(obj->scale * obj->borderWidth);
  if (v <= 1)
    v = 1;
  else
    QV::InsetRect(&r, static_cast<int16_t>(-(v / 2 > 32767 ? 32767 : v / 2)),
                  static_cast<int16_t>(-(v / 2 > 32767 ? 32767 : v / 2)));
  mGraphics->PenSize(v, v);
  mGraphics->FrameOval(&r);
  mGraphics->PenNormal();
}

void ShapePlotter::PlotPixmap(PixmapShape *obj) {
  if (!obj) {
    ShowAlert(kPixmapNilAlert);
    return;
  }
  auto *pic = reinterpret_cast<PictureObject *>(obj->image);
  if (FillsInside(obj) && pic && pic->image) {
    int32_t iw = 0, ih = 0;
    pic->image->getSize(&iw, &ih);
    // 64-bit arithmetic throughout: the products below overflow 32 bits for
    // large images and sizes.
    int64_t dw = PlotterInt(obj->scale * obj->width), dh = PlotterInt(obj->scale * obj->height);
    int64_t dl = PlotterInt(obj->x - static_cast<double>(dw / 2));
    int64_t dt = PlotterInt(obj->y - static_cast<double>(dh / 2));
    int64_t sl = obj->sourceLeft, st = obj->sourceTop, sw = obj->sourceWidth,
            sh = obj->sourceHeight;
    bool draw = dw >= 1 && dh >= 1 && sw >= 1 && sh >= 1;
    if (draw && sl < 0) {
      int64_t k = (-sl * dw) / sw;
      dl += k;
      dw -= k;
      sw += sl;
      sl = 0;
    }
    if (draw && sl + sw > iw) {
      dw = sw > 0 ? ((iw - sl) * dw) / sw : 0;
      sw = iw - sl;
    }
    if (draw && st < 0) {
      int64_t k = (-st * dh) / sh;
      dt += k;
      dh -= k;
      sh += st;
      st = 0;
    }
    if (draw && st + sh > ih) {
      dh = sh > 0 ? ((ih - st) * dh) / sh : 0;
      sh = ih - st;
    }
    // No source pixel left, or nothing to draw into: no image.
    draw = draw && dw >= 1 && dh >= 1 && sw >= 1 && sh >= 1;
    if (draw && std::fabs(obj->rotation) <= 0.001) {
      mGraphics->StretchFromOffscreen(
          PlotterInt(double(PaneLeft() + dl)), PlotterInt(double(PaneTop() + dt)),
          static_cast<int32_t>(dw), static_cast<int32_t>(dh), pic->image,
          static_cast<int32_t>(sl), static_cast<int32_t>(st), static_cast<int32_t>(sw),
          static_cast<int32_t>(sh), static_cast<unsigned char>(pic->transparent & 0xFF));
    } else if (draw) {
      // A turned image is drawn through two offscreen panes that can be
      // turned; panes here never can (DrawablePane::IsValid), so a turned
      // image draws nothing, not even its outline.
      return;
    }
  }
  if (DrawsOutline(obj)) {
    double fill = obj->fill;
    obj->fill = 0;
    PlotRect(obj);
    obj->fill = fill;
  }
}

void ShapePlotter::PlotString(StringShape *obj) {
  if (!obj) {
    ShowAlert(kStringNilAlert);
    return;
  }
  if (!FillsInside(obj))
    return;
  ApplyStringStyle(mGraphics, obj);
  string text = string::Borrow(obj->text);
  int32_t w = mGraphics->StringWidth(text);
  double r = std::fmod(obj->rotation, kTwoPi);
  // A turned string is drawn through offscreen panes that can be turned;
  // panes here never can (DrawablePane::IsValid), so it draws nothing.
  if (!(std::fabs(r) < 0.001))
    return;
  mGraphics->DrawString(text, PlotterInt(PaneLeft() + obj->x - w / 2),
                        PlotterInt(PaneTop() + obj->y));
}

void PlotRoundRect(Graphics *g, const QV::Rect &r, int32_t cornerWidth, int32_t cornerHeight,
                   bool fill) {
  RuntimeObject *object = CreateInstance(RoundRectShapeClass());
  if (!g || !object) {
    RuntimeUnlockObject(object);
    return;
  }
  auto *shape = reinterpret_cast<RoundRectShape *>(object);
  shape->width = r.right - r.left - 1;
  shape->height = r.bottom - r.top - 1;
  shape->cornerWidth = cornerWidth;
  shape->cornerHeight = cornerHeight;
  const QV::RGBColor &c = g->GetForeColor();
  int32_t rgb = ((c.red / 257) << 16) | ((c.green / 257) << 8) | (c.blue / 257);
  if (fill) {
    shape->fill = 1.0;
    shape->border = 0.0;
    shape->borderWidth = 0;
    shape->fillColor = rgb;
  } else {
    shape->fill = 0.0;
    shape->border = 1.0;
    shape->borderWidth = g->GetPenWidth();
    shape->borderColor = rgb;
  }
  shape->x = r.left + shape->width / 2;
  shape->y = r.top + shape->height / 2;
  ShapePlotter(g).Plot(shape, 0.0, 0.0);
  RuntimeUnlockObject(object);
}

void PlotShapeObject(Graphics *g, RuntimeObject *shape, int32_t dx, int32_t dy) {
  if (g)
    ShapePlotter(g).Plot(AsShape(shape), static_cast<double>(dx), static_cast<double>(dy));
}

void PlotShapeObjectInPlace(Graphics *g, RuntimeObject *shape) {
  if (g)
    ShapePlotter(g).Plot(AsShape(shape), static_cast<long>(kShapeNestingLimit));
}
