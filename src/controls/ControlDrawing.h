// The text and colour operations of a drawing context that the own-drawn
// controls and the message dialog use, in one place: measuring and drawing
// text, the foreground colour and the standard icons.
#pragma once
#include <cstdint>

#include "foundation/QVColor.h"
#include "foundation/QVGeometry.h"
#include "foundation/String.h"

class Graphics;

QV::RGBColor DrawingForeColor(Graphics *g);
void DrawingSetForeColor(Graphics *g, const QV::RGBColor &color);
int32_t DrawingStringWidth(Graphics *g, const string &text);
int32_t DrawingFontAscent(Graphics *g);
int32_t DrawingFontHeight(Graphics *g);
int32_t DrawingFontLeading(Graphics *g);
// One line; y is the baseline.
void DrawingString(Graphics *g, const string &text, int32_t x, int32_t y);
// The height of the text word-wrapped to the width.
int32_t DrawingWrapHeight(Graphics *g, const string &text, int32_t width);
// The text word-wrapped into the box from its top; alignment 0 left,
// 1 centre, 2 right.
void DrawingWrapText(Graphics *g, const string &text, const QV::Rect &box, int32_t alignment);
// Icon type 0 error, 1 information, 2 warning, scaled to width by height.
void DrawingStandardIcon(Graphics *g, int32_t type, int32_t x, int32_t y, int32_t width,
                         int32_t height);
