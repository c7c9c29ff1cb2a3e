// What the drawing code needs of the vector shapes and their plotter. The
// bodies are weak and draw nothing until the shapes are built.
#pragma once
#include <cstdint>

#include "foundation/QVGeometry.h"

class Graphics;
struct RuntimeObject;

// A rounded rectangle over r (already in drawable coordinates), filled or
// framed with the pen width, in the context's foreground colour.
void PlotRoundRect(Graphics *g, const QV::Rect &r, int32_t cornerWidth, int32_t cornerHeight,
                   bool fill);
// Plots an Object2D on the context, moved by (dx, dy).
void PlotShapeObject(Graphics *g, RuntimeObject *shape, int32_t dx, int32_t dy);
