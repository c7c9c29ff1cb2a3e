// Rectangles and points of the toolbox vocabulary. A rectangle covers
// left <= h < right and top <= v < bottom; its fields are 16-bit, so moving it
// wraps around.
#pragma once
#include <cstddef>
#include <cstdint>

namespace QV {

struct Rect {
  int16_t top;
  int16_t left;
  int16_t bottom;
  int16_t right;
};
static_assert(sizeof(Rect) == 8);
static_assert(offsetof(Rect, top) == 0 && offsetof(Rect, left) == 2);
static_assert(offsetof(Rect, bottom) == 4 && offsetof(Rect, right) == 6);

struct Point {
  int32_t v;
  int32_t h;
};
static_assert(sizeof(Point) == 8);
static_assert(offsetof(Point, v) == 0 && offsetof(Point, h) == 4);

// Note the argument order: left, top, right, bottom.
void SetRect(Rect *rect, int16_t left, int16_t top, int16_t right, int16_t bottom);
void OffsetRect(Rect *rect, int16_t dh, int16_t dv);
// Moves every side inwards (outwards for negative amounts); a rectangle turned
// inside out becomes all zeros.
void InsetRect(Rect *rect, int16_t dh, int16_t dv);
bool EqualRect(const Rect *a, const Rect *b);
bool PtInRect(Point point, const Rect *rect);
// The intersection of a and b into out (which may be a or b) and true; all
// zeros and false when they do not overlap (touching edges do not overlap).
bool SectRect(const Rect *a, const Rect *b, Rect *out);

} // namespace QV

// a lies within b (edges may coincide).
bool InRect(const QV::Rect *a, const QV::Rect *b);
// a is strictly narrower and strictly shorter than b.
bool SmallerRect(const QV::Rect *a, const QV::Rect *b);
