// Stand-in until the picture subsystem exists: no Picture is made, and the
// drawable handed over is released.
#include "graphics/DrawablePaneGTK.h"
#include "graphics/PictureServices.h"

__attribute__((weak)) RuntimeObject *NewPictureFromDrawable(DrawablePane *image) {
  if (image)
    image->removeReference();
  return nullptr;
}
