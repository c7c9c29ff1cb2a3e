// The kept outlines: a small table searched by object, each entry checked
// against a copy of the fields its polygons were computed from.
#include "graphics/ShapeOutlineCache.h"

#include <cstddef>
#include <cstring>

namespace {

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
// Position, rotation and scale come before the fill and border fractions,
// which do not shape anything; the border width and the kind's own fields
// follow them.
constexpr size_t kPlacementStart = offsetof(Object2D, x);
constexpr size_t kPlacementEnd = offsetof(Object2D, fill);
constexpr size_t kShapedFrom = offsetof(Object2D, borderWidth);
#pragma GCC diagnostic pop
constexpr size_t kLargestKey = kPlacementEnd - kPlacementStart + sizeof(ArcShape) - kShapedFrom;

// The end of the fields the kind's outline reads.
size_t ShapedTo(uint32_t kind) {
  switch (kind) {
  case kRoundRectKind:
    return sizeof(RoundRectShape);
  case kOvalKind:
    return sizeof(OvalShape);
  case kArcKind:
    return sizeof(ArcShape);
  default:
    return sizeof(RectShape);
  }
}

struct Entry {
  const RectShape *owner = nullptr;
  uint32_t kind = 0;
  size_t keySize = 0;
  unsigned char key[kLargestKey];
  ShapeOutline outline;
};

size_t KeyOf(const RectShape *shape, unsigned char *key) {
  const auto *bytes = reinterpret_cast<const unsigned char *>(shape);
  size_t placement = kPlacementEnd - kPlacementStart, shaped = ShapedTo(shape->kind) - kShapedFrom;
  std::memcpy(key, bytes + kPlacementStart, placement);
  std::memcpy(key + placement, bytes + kShapedFrom, shaped);
  return placement + shaped;
}

void ComputeOutline(const RectShape *shape, PointList &points) {
  switch (shape->kind) {
  case kOvalKind:
    static_cast<const OvalShape *>(shape)->GetOvalPolyPoints(points);
    break;
  case kArcKind:
    static_cast<const ArcShape *>(shape)->GetArcPolyPoints(points);
    break;
  case kRoundRectKind:
    static_cast<const RoundRectShape *>(shape)->GetRoundRectPolyPoints(points);
    break;
  default:
    shape->GetRectPolyPoints(points);
  }
}

} // namespace

ShapeOutline &OutlineOfShape(const RectShape *shape) {
  static Entry entries[kShapeOutlineEntries];
  static int next = 0;
  unsigned char key[kLargestKey];
  size_t size = KeyOf(shape, key);
  Entry *reuse = nullptr;
  for (Entry &e : entries) {
    if (e.owner != shape)
      continue;
    if (e.kind == shape->kind && e.keySize == size && std::memcmp(e.key, key, size) == 0)
      return e.outline;
    reuse = &e;
  }
  // The object's own entry is out of date: it is replaced in place, so that
  // one object changing on every plot does not push the others out.
  if (!reuse) {
    reuse = &entries[next];
    next = (next + 1) % kShapeOutlineEntries;
  }
  reuse->owner = shape;
  reuse->kind = shape->kind;
  reuse->keySize = size;
  std::memcpy(reuse->key, key, size);
  reuse->outline.hasFill = false;
  reuse->outline.hasBand = false;
  ComputeOutline(shape, reuse->outline.points);
  return reuse->outline;
}
