// Stand-ins until the drawing context draws and measures text: nothing is
// drawn, every measure is 0 and the colour is black.
#include "controls/ControlDrawing.h"

QV::RGBColor DrawingForeColor(Graphics *) { return QV::RGBColor{0, 0, 0}; }
void DrawingSetForeColor(Graphics *, const QV::RGBColor &) {}
int32_t DrawingStringWidth(Graphics *, const string &) { return 0; }
int32_t DrawingFontAscent(Graphics *) { return 0; }
int32_t DrawingFontHeight(Graphics *) { return 0; }
int32_t DrawingFontLeading(Graphics *) { return 0; }
void DrawingString(Graphics *, const string &, int32_t, int32_t) {}
int32_t DrawingWrapHeight(Graphics *, const string &, int32_t) { return 0; }
void DrawingWrapText(Graphics *, const string &, const QV::Rect &, int32_t) {}
void DrawingStandardIcon(Graphics *, int32_t, int32_t, int32_t, int32_t, int32_t) {}
