// An image that can be drawn: a picture's pixels. The pane layer asks only
// for its change count and size, and to load it ahead of drawing.
#pragma once
#include <cstdint>

class Drawable {
public:
  virtual ~Drawable() = default;
  // Grows each time the image changes.
  virtual int32_t getGeneration();
  virtual void getSize(int32_t *width, int32_t *height);
  virtual void Preload();
};
