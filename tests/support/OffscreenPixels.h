// Offscreen panes read back pixel by pixel, so that drawing tests compare
// what landed in the image.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/DrawablePaneGTK.h"
#include "graphics/Graphics.h"
#include "support/WindowsTestSupport.h"

// A white offscreen pane of that size (one reference).
DrawablePane *NewOffscreen(int width, int height);
// The pixel as 0xRRGGBB.
uint32_t PixelAt(DrawablePane *pane, int x, int y);
// Rows of the rectangle (left, top, width, height), '#' for pixels that are
// not white and '.' for white ones.
std::vector<std::string> Ink(DrawablePane *pane, int left, int top, int width, int height);
// Count of non-white pixels in the whole pane.
int InkCount(DrawablePane *pane);
// The lowest row with a non-white pixel, or -1.
int LowestInkRow(DrawablePane *pane);
// Within the rectangle (left, top, width, height), the smallest rectangle
// holding every pixel whose channels are all below limit, in the pane's
// coordinates; empty (all zero) when there is none.
QV::Rect DarkBounds(DrawablePane *pane, int left, int top, int width, int height, int limit);
// The darkest pixel of the pane (least sum of channels) as 0xRRGGBB.
uint32_t DarkestPixel(DrawablePane *pane);

constexpr QV::RGBColor kBlack{0, 0, 0};
constexpr QV::RGBColor kWhite{65535, 65535, 65535};

inline QV::Rect Rect(int left, int top, int right, int bottom) {
  QV::Rect r;
  QV::SetRect(&r, left, top, right, bottom);
  return r;
}

#define SKIP_WITHOUT_DISPLAY()                                                                     \
  if (!HaveDisplay()) {                                                                            \
    GTEST_SKIP() << "no X display";                                                                \
  }                                                                                                \
  static_assert(true)
