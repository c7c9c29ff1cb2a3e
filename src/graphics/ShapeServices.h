// What the drawing code needs of the vector shapes and their plotter
// (ShapePlotter.cpp).
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
// Plots an Object2D where it is, nested groups to the plotter's limit,
// without saving the context's state around it.
void PlotShapeObjectInPlace(Graphics *g, RuntimeObject *shape);
