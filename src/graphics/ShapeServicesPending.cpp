// Stand-ins until the vector shapes and their plotter exist: nothing is drawn.
#include "graphics/ShapeServices.h"

__attribute__((weak)) void PlotRoundRect(Graphics *, const QV::Rect &, int32_t, int32_t, bool) {}
__attribute__((weak)) void PlotShapeObject(Graphics *, RuntimeObject *, int32_t, int32_t) {}
