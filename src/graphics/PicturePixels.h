// Reading an image's pixels back from the display server.
#pragma once
#include <cstdint>

class Drawable;

// The image's top-left width x height pixels as 0x00RRGGBB, row by row into
// out; false (out untouched) when the image has no pixmap to read or the
// read fails.
bool ReadDrawablePixels(Drawable *image, int32_t width, int32_t height, uint32_t *out);
