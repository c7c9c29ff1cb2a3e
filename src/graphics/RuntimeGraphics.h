// The Graphics object of the language: one drawing context, owned, and the
// page settings of a print job. Whoever makes the object (a Paint event, a
// picture, a print job) hands it its context.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/objects/RuntimeObject.h"

class Graphics;
struct ObjectDefinition;
struct RuntimeArray;

struct RuntimeGraphics {
  RuntimeObject header;
  Graphics *context; // released with the object
  int32_t copies;
  int32_t firstPage;
  int32_t lastPage;

  // The left and top of the context's pane: where pane-relative coordinates
  // start in the window.
  void GetOffset(int32_t &x, int32_t &y) const;
};
static_assert(sizeof(RuntimeGraphics) == 40);
static_assert(offsetof(RuntimeGraphics, context) == 24);
static_assert(offsetof(RuntimeGraphics, copies) == 28);
static_assert(offsetof(RuntimeGraphics, firstPage) == 32);
static_assert(offsetof(RuntimeGraphics, lastPage) == 36);

ObjectDefinition *GraphicsClass();
// A new Graphics object (one reference) owning context; nil when the class
// cannot make one (then context is released).
RuntimeObject *NewGraphicsObject(Graphics *context);
