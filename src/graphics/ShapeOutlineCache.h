// The polygons of the shapes plotted last, so that drawing a shape again
// unchanged skips recomputing its outline, its rounded fill and its thick
// band. The shapes' properties are plain fields that compiled code stores
// into without a call, and their layouts are fixed, so nothing can mark an
// entry stale: an entry keeps a copy of every field that shapes the outline
// (position, rotation, scale, border width and the kind's own sizes, counts
// and angles) and serves its object only while those fields are the same,
// byte for byte. The entries are few and reused in turn. An object that is
// gone leaves an entry that is overwritten later; a new object at the same
// address is served by it only when its geometry is the same, and then so
// are the polygons.
#pragma once
#include <vector>

#include "graphics/Graphics.h"
#include "graphics/Shapes2D.h"

struct ShapeOutline {
  PointList points;               // the outline in drawing coordinates
  std::vector<PolygonPoint> fill; // the points rounded, when hasFill
  std::vector<PolygonPoint> band; // a thick outline's ring, when hasBand
  bool hasFill = false;
  bool hasBand = false;
};

// The outline of a shape of the rectangle family (rectangles, rounded
// rectangles, ovals, arcs, pixmaps), as the last plot left it or computed
// now. The reference holds until the next call.
ShapeOutline &OutlineOfShape(const RectShape *shape);
// The number of entries kept.
constexpr int kShapeOutlineEntries = 32;
