#include "foundation/QVGeometry.h"

#include <algorithm>

namespace QV {

void SetRect(Rect *rect, int16_t left, int16_t top, int16_t right, int16_t bottom) {
  rect->top = top;
  rect->left = left;
  rect->bottom = bottom;
  rect->right = right;
}

void OffsetRect(Rect *rect, int16_t dh, int16_t dv) {
  rect->left = static_cast<int16_t>(rect->left + dh);
  rect->right = static_cast<int16_t>(rect->right + dh);
  rect->top = static_cast<int16_t>(rect->top + dv);
  rect->bottom = static_cast<int16_t>(rect->bottom + dv);
}

void InsetRect(Rect *rect, int16_t dh, int16_t dv) {
  rect->left = static_cast<int16_t>(rect->left + dh);
  rect->right = static_cast<int16_t>(rect->right - dh);
  rect->top = static_cast<int16_t>(rect->top + dv);
  rect->bottom = static_cast<int16_t>(rect->bottom - dv);
  if (rect->right < rect->left || rect->bottom < rect->top)
    *rect = Rect{};
}

bool EqualRect(const Rect *a, const Rect *b) {
  return a->top == b->top && a->left == b->left && a->bottom == b->bottom && a->right == b->right;
}

bool PtInRect(Point point, const Rect *rect) {
  return rect->left <= point.h && point.h < rect->right && rect->top <= point.v &&
         point.v < rect->bottom;
}

bool SectRect(const Rect *a, const Rect *b, Rect *out) {
  if (!(a->left < b->right && b->left < a->right && a->top < b->bottom && b->top < a->bottom)) {
    *out = Rect{};
    return false;
  }
  // Computed into a local first: out may be a or b.
  Rect section;
  section.top = std::max(a->top, b->top);
  section.left = std::max(a->left, b->left);
  section.bottom = std::min(a->bottom, b->bottom);
  section.right = std::min(a->right, b->right);
  *out = section;
  return true;
}

} // namespace QV

bool InRect(const QV::Rect *a, const QV::Rect *b) {
  return a->left >= b->left && a->right <= b->right && a->top >= b->top && a->bottom <= b->bottom;
}

bool SmallerRect(const QV::Rect *a, const QV::Rect *b) {
  return a->right - a->left < b->right - b->left && a->bottom - a->top < b->bottom - b->top;
}
