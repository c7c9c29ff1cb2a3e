// The Picture class of the language: a pixel image, a group of vector shapes,
// or both. The Graphics object and the Mask are made on first use and kept;
// the packer turns a picture into the packed format the application image
// reads (width, height, then 0x00RRGGBB pixels row by row).
#include <climits>
#include <cstring>

#include "foundation/AssertionAlert.h"
#include "graphics/DrawablePaneGTK.h"
#include "graphics/Graphics.h"
#include "graphics/PictureObject.h"
#include "graphics/PicturePixels.h"
#include "graphics/PictureServices.h"
#include "graphics/RGBSurface.h"
#include "graphics/RuntimeGraphics.h"
#include "graphics/Shapes2D.h"
#include "language/ClassBuilding.h"
#include "runtime/exports/ExportTable.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "windows/Pane.h"

ObjectDefinition *PictureClass();

extern "C" {
RuntimeObject *newPicture(int32_t width, int32_t height, int32_t depth);
void PictureConstructor(RuntimeObject *picture, int32_t width, int32_t height, int32_t depth);
int32_t pictureWidthGetter(RuntimeObject *picture, int32_t);
int32_t pictureHeightGetter(RuntimeObject *picture, int32_t);
RuntimeObject *pictureGraphicsGetter(RuntimeObject *picture, int32_t);
void RuntimeGraphicsDrawPicture(RuntimeObject *object, RuntimeObject *picture, int32_t x,
                                int32_t y, int32_t w1, int32_t h1, int32_t sx, int32_t sy,
                                int32_t w2, int32_t h2);
}

namespace {

constexpr char kPackerSource[] = "Common/runPicture";
constexpr AlertSite kTempPictureAlert{kPackerSource, 444, "tempPicture"};
constexpr AlertSite kTempGraphicsAlert{kPackerSource, 446, "tempG"};
constexpr int32_t kLargestSide = 32767;

PictureObject *AsPicture(RuntimeObject *object) {
  return reinterpret_cast<PictureObject *>(object);
}

RuntimeObject *Retained(RuntimeObject *object) {
  RuntimeLockObject(object);
  return object;
}

// A new Picture holding image (whose reference passes to it); nil when none
// can be made, the image then released.
RuntimeObject *PictureHolding(Drawable *image) {
  RuntimeObject *object = CreateInstance(PictureClass());
  if (!object) {
    if (image)
      image->removeReference();
    return nullptr;
  }
  AsPicture(object)->image = image;
  return object;
}

void Destruct(RuntimeObject *object) {
  PictureObject *pic = AsPicture(object);
  Pane::AboutToYield();
  RuntimeObject *mask = pic->mask;
  pic->mask = nullptr;
  RuntimeUnlockObject(mask);
  if (RuntimeObject *graphics = pic->graphics) {
    pic->graphics = nullptr;
    // A Graphics object kept elsewhere draws nothing from now on.
    if (Graphics *context = reinterpret_cast<RuntimeGraphics *>(graphics)->context)
      context->ForgetPane();
    RuntimeUnlockObject(graphics);
  }
  if (Drawable *image = pic->image) {
    pic->image = nullptr;
    image->removeReference();
  }
  RuntimeObject *objects = pic->objects;
  pic->objects = nullptr;
  RuntimeUnlockObject(objects);
}

struct Size {
  int32_t width = 0;
  int32_t height = 0;
};

// The image's size; without an image, a vector picture's stored size.
Size PictureSize(PictureObject *pic) {
  Size size;
  if (pic->image)
    pic->image->getSize(&size.width, &size.height);
  else if (pic->objects)
    size = {pic->width, pic->height};
  return size;
}

bool HasVectorContents(PictureObject *pic) {
  return pic->objects && Group2DCount(pic->objects) > 0;
}

} // namespace

extern "C" {

void PictureConstructor(RuntimeObject *picture, int32_t width, int32_t height, int32_t depth) {
  PictureObject *pic = AsPicture(picture);
  pic->width = width;
  pic->height = height;
  if (depth <= 0) {
    RuntimeUnlockObject(pic->objects);
    pic->objects = CreateInstance(Group2DClass());
    return;
  }
  // X makes no pixmap with a side outside this range.
  if (width < 1 || width > kLargestSide || height < 1 || height > kLargestSide)
    return;
  QV::Rect bounds;
  QV::SetRect(&bounds, 0, 0, static_cast<int16_t>(width), static_cast<int16_t>(height));
  auto *pane = new DrawablePane(bounds, depth, 1);
  if (!pane->GetPixmap()) {
    pane->removeReference();
    return;
  }
  if (pic->image)
    pic->image->removeReference();
  pic->image = pane;
}

RuntimeObject *newPicture(int32_t width, int32_t height, int32_t depth) {
  RuntimeObject *object = CreateInstance(PictureClass());
  if (!object)
    return nullptr;
  PictureConstructor(object, width, height, depth);
  if (depth > 0 && !AsPicture(object)->image) {
    RuntimeUnlockObject(object);
    return nullptr;
  }
  return object;
}

int32_t pictureWidthGetter(RuntimeObject *picture, int32_t) {
  return PictureSize(AsPicture(picture)).width;
}

int32_t pictureHeightGetter(RuntimeObject *picture, int32_t) {
  return PictureSize(AsPicture(picture)).height;
}

RuntimeObject *pictureGraphicsGetter(RuntimeObject *picture, int32_t) {
  PictureObject *pic = AsPicture(picture);
  if (!pic->image)
    return nullptr;
  if (!pic->graphics) {
    Graphics *context = pic->image->getGraphics();
    if (!context)
      return nullptr;
    pic->graphics = NewGraphicsObject(context);
  }
  return Retained(pic->graphics);
}

RuntimeObject *pluginPictureGraphicsGetter(RuntimeObject *picture, int32_t field) {
  return pictureGraphicsGetter(picture, field);
}

RuntimeObject *pictureGroup2DGetter(RuntimeObject *picture, int32_t) {
  return Retained(AsPicture(picture)->objects);
}

void pictureGroup2DSetter(RuntimeObject *picture, int32_t, RuntimeObject *group) {
  PictureObject *pic = AsPicture(picture);
  RuntimeLockUnlockObjects(group, pic->objects);
  pic->objects = group;
}

int32_t pictureTransparentGetter(RuntimeObject *picture, int32_t) {
  return AsPicture(picture)->transparent;
}

void pictureTransparentSetter(RuntimeObject *picture, int32_t, int32_t value) {
  AsPicture(picture)->transparent = value;
}

RuntimeObject *pictureRGBSurfaceGetter(RuntimeObject *picture, int32_t) {
  PictureObject *pic = AsPicture(picture);
  if (!pic || !pic->image)
    return nullptr;
  PixelSurface surface;
  if (!pic->image->GetPixelSurface(&surface))
    return nullptr;
  if (surface.depth <= 15) {
    pic->image->UnlockPixelSurface();
    return nullptr;
  }
  int32_t w = 0, h = 0;
  pic->image->getSize(&w, &h);
  return NewRGBSurface(picture, w, h, surface.base, surface.rowBytes, surface.depth);
}

int32_t pictureImageCountGetter(RuntimeObject *picture, int32_t) {
  PictureObject *pic = AsPicture(picture);
  return pic->image ? pic->image->getPageCount() : 0;
}

RuntimeObject *pictureIndexedImage(RuntimeObject *picture, int32_t v) {
  PictureObject *pic = AsPicture(picture);
  if (!pic->image)
    return nullptr;
  Drawable *page = pic->image->getIndexedPage(v);
  return page ? PictureHolding(page) : nullptr;
}

RuntimeObject *pictureMaskGetter(RuntimeObject *picture, int32_t) {
  PictureObject *pic = AsPicture(picture);
  if (pic->image && !pic->mask) {
    int32_t w = 0, h = 0;
    pic->image->getSize(&w, &h);
    if (!pic->image->GetMask())
      pic->image->CreateMask(8);
    Drawable *mask = pic->image->GetMask();
    if (!mask)
      return nullptr;
    mask->addReference();
    pic->mask = PictureHolding(mask);
    if (Graphics *context = mask->getGraphics()) {
      QV::Rect all;
      QV::SetRect(&all, 0, 0, static_cast<int16_t>(w), static_cast<int16_t>(h));
      context->FillRect(&all);
      Graphics::Release(context);
    }
  }
  return Retained(pic->mask);
}

int32_t PictureDepthGetter(RuntimeObject *picture, int32_t) {
  PictureObject *pic = AsPicture(picture);
  return pic->image ? pic->image->GetPictureDepth() : 0;
}

int32_t PictureHResGetter(RuntimeObject *picture, int32_t) {
  PictureObject *pic = AsPicture(picture);
  return pic->image ? pic->image->GetHorizontalRes() : 72;
}

void PictureHResSetter(RuntimeObject *picture, int32_t, int32_t value) {
  if (Drawable *image = AsPicture(picture)->image)
    image->SetHorizontalRes(value);
}

int32_t PictureVResGetter(RuntimeObject *picture, int32_t) {
  PictureObject *pic = AsPicture(picture);
  return pic->image ? pic->image->GetVerticalRes() : 72;
}

void PictureVResSetter(RuntimeObject *picture, int32_t, int32_t value) {
  if (Drawable *image = AsPicture(picture)->image)
    image->SetVerticalRes(value);
}

RuntimeObject *pictureGetPicHandle(RuntimeObject *picture) { return picture; }

// Pictures cannot be exported on this platform.
int32_t exportPicture(RuntimeObject *) { return 0; }

// Offscreen images have no pixel surface here, so the pixels are always read
// back from the image; a picture with a mask or vector contents is first drawn
// into a temporary one. Sizes whose packed form does not fit give nil.
stringStorage *PicturePacker(RuntimeObject *picture) {
  if (!picture)
    return nullptr;
  PictureObject *pic = AsPicture(picture);
  int32_t w = pictureWidthGetter(picture, 0), h = pictureHeightGetter(picture, 0);
  if (w < 0 || h < 0 || int64_t(w) * h > (INT_MAX - 8) / 4)
    return nullptr;
  string packed;
  packed.AllocateBuffer(static_cast<int>(8 + 4 * int64_t(w) * h));
  if (packed.IsEmpty())
    return nullptr;
  char *bytes = packed.MutableChar(0);
  std::memcpy(bytes, &w, 4);
  std::memcpy(bytes + 4, &h, 4);
  auto *pixels = reinterpret_cast<uint32_t *>(bytes + 8);
  RuntimeObject *temp = nullptr;
  Drawable *source = pic->image;
  if ((pic->mask || HasVectorContents(pic) || !source) && w > 0 && h > 0) {
    source = nullptr;
    temp = newPicture(w, h, 32);
    RuntimeObject *tempG = temp ? pictureGraphicsGetter(temp, 0) : nullptr;
    if (!temp)
      ShowAlert(kTempPictureAlert);
    else if (!tempG)
      ShowAlert(kTempGraphicsAlert);
    if (tempG) {
      RuntimeGraphicsDrawPicture(tempG, picture, 0, 0, w, h, 0, 0, w, h);
      RuntimeUnlockObject(tempG);
      source = AsPicture(temp)->image;
    }
  }
  if (!source || !ReadDrawablePixels(source, w, h, pixels))
    std::memset(pixels, 0, 4 * size_t(w) * size_t(h));
  RuntimeUnlockObject(temp);
  return packed.ExtractStringStorage();
}

} // extern "C"

RuntimeObject *NewPictureFromDrawable(DrawablePane *image) { return PictureHolding(image); }

namespace {

#define PICTURE_PROPERTY(name, type, getter, setter)                                               \
  {                                                                                                \
    kConsoleAvailableFlag, name, type, EntryCode(getter), #getter, EntryCode(setter), #setter, 0,  \
        0                                                                                          \
  }
#define PICTURE_READ_ONLY(name, type, getter)                                                      \
  { kConsoleAvailableFlag, name, type, EntryCode(getter), #getter, nullptr, nullptr, 0, 0 }

} // namespace

ObjectDefinition *PictureClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  DefineBuiltinClass(defn, {"Picture", sizeof(PictureObject), nullptr, Destruct, true}, nullptr,
                     0, nullptr, 0);
  // The tables name Picture itself and other classes: completed now.
  static ObjectInstanceTemplate sProperties[] = {
      PICTURE_READ_ONLY("Width", &integerType.type, pictureWidthGetter),
      PICTURE_READ_ONLY("Height", &integerType.type, pictureHeightGetter),
      PICTURE_READ_ONLY("Graphics", GraphicsClass()->AsType(), pictureGraphicsGetter),
      PICTURE_PROPERTY("Objects", Group2DClass()->AsType(), pictureGroup2DGetter,
                       pictureGroup2DSetter),
      PICTURE_PROPERTY("Transparent", &integerType.type, pictureTransparentGetter,
                       pictureTransparentSetter),
      PICTURE_READ_ONLY("RGBSurface", RGBSurfaceClass()->AsType(), pictureRGBSurfaceGetter),
      PICTURE_READ_ONLY("ImageCount", &integerType.type, pictureImageCountGetter),
      PICTURE_READ_ONLY("Mask", defn.AsType(), pictureMaskGetter),
      PICTURE_READ_ONLY("Depth", &integerType.type, PictureDepthGetter),
      PICTURE_PROPERTY("HorizontalResolution", &integerType.type, PictureHResGetter,
                       PictureHResSetter),
      PICTURE_PROPERTY("VerticalResolution", &integerType.type, PictureVResGetter,
                       PictureVResSetter),
  };
  static MethodParameter sSize[] = {{"width", &integerType.type, 0, {}, 0, {}, 0, {}},
                                    {"height", &integerType.type, 0, {}, 0, {}, 0, {}},
                                    {"depth", &integerType.type, 0, {}, 0, {}, 0, {}}};
  static MethodParameter sIndex[] = {{"v", &integerType.type, 0, {}, 0, {}, 0, {}}};
  PropertyMethod methods[] = {
      {"Picture",
       nullptr,
       sSize,
       3,
       {{EntryCode(PictureConstructor), "PictureConstructor", {}}, {}},
       kPlainMethod,
       kConsoleAvailableFlag,
       0},
      {"IndexedImage",
       defn.AsType(),
       sIndex,
       1,
       {{EntryCode(pictureIndexedImage), "pictureIndexedImage", {}}, {}},
       kPlainMethod,
       kConsoleAvailableFlag,
       0},
  };
  static ObjectConstantTemplate sConstants[] = {{0, "TransparentNone", 1, "0"},
                                                {0, "TransparentWhite", 1, "1"}};
  defn.properties = FillInstances(sProperties, 11);
  defn.methods = FillMethods(methods, 2);
  FillConstants(&defn, sConstants, 2);
  return &defn;
}

void InitPictureClass() {
  addIntrinsicClass(PictureClass());
  AddRelocEntry("PicturePacker", reinterpret_cast<void *>(PicturePacker));
}
