// The RGBSurface language object: direct access to the pixels of a picture's
// image (reading and writing single pixels, flood filling, remapping every
// channel through lookup tables). It keeps the picture, and the image's
// pixel surface locked, for its whole life.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/objects/RuntimeObject.h"

struct ObjectDefinition;
struct RuntimeArray;

struct RGBSurfaceObject {
  RuntimeObject header;
  RuntimeObject *picture; // one reference held
  int32_t width;
  int32_t height;
  uint8_t *base; // the first row
  int32_t rowBytes;
  int32_t depth; // 16, 24 or 32; any other depth makes every operation do nothing
};
static_assert(sizeof(RGBSurfaceObject) == 48);
static_assert(offsetof(RGBSurfaceObject, picture) == 24);
static_assert(offsetof(RGBSurfaceObject, base) == 36);
static_assert(offsetof(RGBSurfaceObject, depth) == 44);

ObjectDefinition *RGBSurfaceClass();
// A surface over the pixels at base (one reference); picture may be nil.
RuntimeObject *NewRGBSurface(RuntimeObject *picture, int32_t width, int32_t height, void *base,
                             int32_t rowBytes, int32_t depth);

extern "C" {
int32_t rgbSurfaceGetPixel(RuntimeObject *surface, int32_t x, int32_t y);
void rgbSurfaceSetPixel(RuntimeObject *surface, int32_t x, int32_t y, int32_t color);
void rgbSurfaceSeedFill(RuntimeObject *surface, int32_t x, int32_t y, int32_t color);
void rgbSurfaceTransform(RuntimeObject *surface, RuntimeArray *map);
void rgbSurfaceTransformRGB(RuntimeObject *surface, RuntimeArray *redMap, RuntimeArray *greenMap,
                            RuntimeArray *blueMap);
}
