// The theme colours: a fixed table of seven 16-bit RGB triples that the
// drawing code and the language's colour functions read.
#pragma once
#include <cstdint>

#include "foundation/QVColor.h"

enum KaleidoscopeColorIndex {
  kFrameColor,
  kFillColor,
  kTextColor,
  kLightTingeColor,
  kDarkTingeColor,
  kLightBevelColor,
  kDarkBevelColor,
  kKaleidoscopeColorCount,
};

// Copies entry index into colour and its packing 0xRRGGBB (each channel
// divided by 257) into packed, each when given. An index outside the table
// shows the alert and writes nothing.
void KaleidoscopeColor(int index, QV::RGBColor *colour, unsigned long *packed);
