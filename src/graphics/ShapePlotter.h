// Draws a tree of vector shapes on a drawing context with its integer
// primitives: polygons flattened from the outlines, lines, ovals, text and
// copies from images. Thick outlines are filled ribbons between two offset
// copies of the outline. One plotter serves one drawing.
#pragma once
#include <cstdint>

#include "graphics/Shapes2D.h"

class Graphics;
struct ShapeOutline;

class ShapePlotter {
public:
  explicit ShapePlotter(Graphics *g) : mGraphics(g) {}
  virtual ~ShapePlotter() = default;
  ShapePlotter(const ShapePlotter &) = delete;
  ShapePlotter &operator=(const ShapePlotter &) = delete;

  // Draws the object; groups recurse while depth is above 0.
  virtual void Plot(Object2D *obj, long depth);
  // Draws the object moved by (x, y), the context's state saved around it;
  // the object's own position is left as it was.
  virtual void Plot(Object2D *obj, double x, double y);
  virtual void PlotArcOrCurve(Object2D *obj);
  virtual void PlotOval(OvalShape *obj);
  virtual void PlotRect(RectShape *obj);
  virtual void PlotString(StringShape *obj);
  virtual void PlotPixmap(PixmapShape *obj);
  virtual void PlotFigure(FigureShape *obj);
  // A ready polygon with the object's fill and border settings.
  virtual void PlotPolyPoints(Object2D *obj, PointList &points);

  void ApplyFillColor(Object2D *obj);
  void ApplyBorderColor(Object2D *obj);

private:
  int32_t PaneLeft() const;
  int32_t PaneTop() const;
  void FillPolygon(const PointList &points);
  void PlotOutline(Object2D *obj, const PointList &points, ShapeOutline &memo);
  void ThinOutline(const PointList &points, int32_t count, bool closed);

  Graphics *mGraphics;
};

// The integer bounding box of the rectangle turned by angle about its centre.
void GetRotatedBounds(int *left, int *top, int *width, int *height, double angle);
// For a four-point frame: every side horizontal or vertical within tolerance.
bool IsAxisAlignedFrame(const PointList &points, double tolerance);
// The segment a-b moved sideways by d (outward for positive d on the
// clockwise outlines of the rectangle family). A segment without a length
// stays where it is.
void OffsetSegment(const PointXY &a, const PointXY &b, double d, PointXY *outA, PointXY *outB);
void OffsetClosedOutline(const PointList &points, PointList &out, double d);
// The same at d into out and, when asked for, at -d into opposite.
void OffsetClosedOutlines(const PointList &points, double d, PointList &out, PointList *opposite);
// The last point is the wedge's centre: the two radii stay unmoved.
void OffsetArcOutline(const PointList &points, PointList &out, double d);
// The last point is the chord's midpoint and stays as it is.
void OffsetOpenOutline(const PointList &points, PointList &out, double d);
void ApplyStringStyle(Graphics *g, StringShape *str);
// A double as the primitives take it: truncated, NaN as 0, clamped to what
// the coordinates can hold.
int32_t PlotterInt(double v);
