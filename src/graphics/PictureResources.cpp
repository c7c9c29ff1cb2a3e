// The resource manager's pictures: a 'BMP ' resource decoded into an
// offscreen image that a new Picture holds.
#include "graphics/DrawablePaneGTK.h"
#include "graphics/PictureServices.h"
#include "runtime/image/ResourceManager.h"

RuntimeObject *ResourceManagerElf::GetPicture(int16_t id) {
  const ResourceEntry entry = GetResource(FourCharCode("BMP "), id);
  if (!entry.data)
    return nullptr;
  DrawablePane *image =
      GetBitmapFromMemory(reinterpret_cast<const char *>(entry.data), entry.length);
  if (!image)
    return nullptr; // not a BMP this reader takes
  return NewPictureFromDrawable(image);
}

extern "C" RuntimeObject *RuntimeGetBitmapFromResourceManager(int32_t id) {
  return gResourceManager.GetPicture(int16_t(id));
}
