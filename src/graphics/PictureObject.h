// The Picture language object as the drawing code and its neighbours read it:
// a pixel image, a vector group, or both.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/objects/RuntimeObject.h"

class Drawable;

constexpr int32_t kTransparentNone = 0;
constexpr int32_t kTransparentWhite = 1;

struct PictureObject {
  RuntimeObject header;
  int32_t transparent;    // its low byte is the copy's mask flag
  Drawable *image;        // one reference held; nil for a vector picture
  RuntimeObject *graphics; // the Graphics property's object, made on first use
  RuntimeObject *mask;     // the Mask property's Picture, made on first use
  int32_t width;           // as created
  int32_t height;
  RuntimeObject *objects; // the Group2D of a vector picture
};
static_assert(sizeof(PictureObject) == 52);
static_assert(offsetof(PictureObject, transparent) == 24);
static_assert(offsetof(PictureObject, image) == 28);
static_assert(offsetof(PictureObject, graphics) == 32);
static_assert(offsetof(PictureObject, mask) == 36);
static_assert(offsetof(PictureObject, width) == 40);
static_assert(offsetof(PictureObject, height) == 44);
static_assert(offsetof(PictureObject, objects) == 48);
