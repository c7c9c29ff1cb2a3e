#include "graphics/Drawable.h"

// Pending: pictures supply real drawables.
int32_t Drawable::getGeneration() { return 0; }

void Drawable::getSize(int32_t *width, int32_t *height) {
  if (width)
    *width = 0;
  if (height)
    *height = 0;
}

void Drawable::Preload() {}
