/* Pictures as compiled code reaches them: by export name and through the
 * Picture class's property table.
 *
 * Before the window opens: the properties of a 100 x 50 picture of depth 32
 * and of depth 0, read through the table (Graphics and Mask read twice are
 * the same objects); a 2 x 1 picture, red then blue, packed; the 'BMP '
 * resource 128 (3 x 2, see pictures.bmp) as a Picture. It writes "Checked
 * pictures".
 *
 * The window ("Pictures", 300 x 200, white) sets as its Backdrop, in Open, a
 * 40 x 30 picture filled with &hC00000, puts the 2 x 1 picture on the
 * clipboard through the Clipboard class's Picture property, reads it back
 * through the same property and writes "Clipboard set". Any key closes the
 * window, which ends the run loop. A failed check writes
 * "failed check: ..."; the image returns (status 0). */
#include "../../app/ClassBuilding.h"
#include "../../app/Tavrin.h"
#include "window_images.h"

RuntimeObject *newPicture(int32_t width, int32_t height, int32_t depth);
RuntimeObject *pictureMaskGetter(RuntimeObject *picture, int32_t param);
RuntimeObject *pluginPictureGraphicsGetter(RuntimeObject *picture, int32_t param);
int32_t exportPicture(RuntimeObject *picture);
stringStorage *PicturePacker(RuntimeObject *picture);
RuntimeObject *RuntimeGetBitmapFromResourceManager(int32_t id);
void windowBackdropSetter(RuntimeObject *window, int32_t param, RuntimeObject *picture);
void graphicsForeColorSetter(RuntimeObject *g, int32_t index, int32_t color);
void RuntimeGraphicsFillRect(RuntimeObject *g, int32_t x, int32_t y, int32_t width, int32_t height);

ImageGlobals gImage;

typedef int32_t (*IntegerGetter)(RuntimeObject *, int32_t);
typedef RuntimeObject *(*ObjectGetter)(RuntimeObject *, int32_t);
typedef void (*ObjectSetter)(RuntimeObject *, int32_t, RuntimeObject *);

static RuntimeClass *sPictureClass;

/* The entry of the property whose name, up to its type code, is name. */
static PropertyEntry *PropertyCalled(RuntimeClass *cls, const char *name) {
  int32_t i, k;
  for (i = 0; cls && i < cls->propertyCount; ++i) {
    stringStorage *s = cls->properties[i].name;
    for (k = 0; s && k < s->length && name[k] && s->buffer[1 + k] == (unsigned char)name[k]; ++k)
      ;
    if (s && !name[k] && (k == s->length || s->buffer[1 + k] == '%'))
      return &cls->properties[i];
  }
  return 0;
}

static int32_t IntegerProperty(RuntimeObject *object, const char *name) {
  PropertyEntry *p = PropertyCalled(sPictureClass, name);
  return p && p->getter ? ((IntegerGetter)p->getter)(object, p->param) : -12345;
}

/* The property's value, with the reference the getter gives. */
static RuntimeObject *ObjectProperty(RuntimeClass *cls, RuntimeObject *object, const char *name) {
  PropertyEntry *p = PropertyCalled(cls, name);
  return p && p->getter ? ((ObjectGetter)p->getter)(object, p->param) : 0;
}

/* Whether the packed picture is exactly the count bytes. */
static int32_t PackedIs(stringStorage *packed, const unsigned char *bytes, int32_t count) {
  int32_t i;
  if (!packed || packed->length != count)
    return 0;
  for (i = 0; i < count; ++i)
    if (packed->buffer[1 + i] != bytes[i])
      return 0;
  return 1;
}

/* The pixel at (x, y) of a packed picture of width w, as 0xRRGGBB. */
static uint32_t PackedPixel(stringStorage *packed, int32_t w, int32_t x, int32_t y) {
  const unsigned char *p = packed->buffer + 1 + 8 + 4 * (y * w + x);
  return p[0] | (p[1] << 8) | (p[2] << 16) | ((uint32_t)p[3] << 24);
}

static void FillPicture(RuntimeObject *picture, int32_t x, int32_t w, int32_t h, int32_t color) {
  RuntimeObject *g = pluginPictureGraphicsGetter(picture, 0);
  if (!g) {
    KitFailedCheck(1, "a pixel picture has a Graphics");
    return;
  }
  graphicsForeColorSetter(g, 0, color);
  RuntimeGraphicsFillRect(g, x, 0, w, h);
  RuntimeUnlockObject(g);
}

static const unsigned char kRedBlue[16] = {2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0, 0};

/* A 2 x 1 picture, red then blue. */
static RuntimeObject *RedBlue(void) {
  RuntimeObject *p = newPicture(2, 1, 32);
  if (p) {
    FillPicture(p, 0, 1, 1, 0xFF0000);
    FillPicture(p, 1, 1, 1, 0x0000FF);
  }
  return p;
}

static void CheckProperties(int32_t depth) {
  RuntimeObject *p = newPicture(100, 50, depth), *g1, *g2, *m1, *m2, *objects, *surface;
  int32_t pixels = depth > 0;
  if (!p) {
    KitFailedCheck(1, "newPicture gives a picture");
    return;
  }
  if (IntegerProperty(p, "Width") != 100 || IntegerProperty(p, "Height") != 50)
    KitFailedCheck(1, "Width and Height are the size asked for");
  if (IntegerProperty(p, "Depth") != depth)
    KitFailedCheck(1, "Depth is 32 for a pixel picture, 0 for a vector one");
  if (IntegerProperty(p, "ImageCount") != pixels)
    KitFailedCheck(1, "ImageCount is 1 for a pixel picture, 0 for a vector one");
  if (IntegerProperty(p, "Transparent") != 0)
    KitFailedCheck(1, "Transparent starts at 0");
  if (IntegerProperty(p, "HorizontalResolution") != 72 ||
      IntegerProperty(p, "VerticalResolution") != 72)
    KitFailedCheck(1, "both resolutions are 72");
  surface = ObjectProperty(sPictureClass, p, "RGBSurface");
  if (surface)
    KitFailedCheck(1, "no RGBSurface here");
  RuntimeUnlockObject(surface);
  objects = ObjectProperty(sPictureClass, p, "Objects");
  if ((objects != 0) == pixels)
    KitFailedCheck(1, "only a vector picture has Objects");
  RuntimeUnlockObject(objects);
  g1 = ObjectProperty(sPictureClass, p, "Graphics");
  g2 = pluginPictureGraphicsGetter(p, 0);
  if ((g1 != 0) != pixels || g1 != g2)
    KitFailedCheck(1, "a pixel picture's Graphics is made once and kept; a vector one has none");
  m1 = ObjectProperty(sPictureClass, p, "Mask");
  m2 = pictureMaskGetter(p, 0);
  if ((m1 != 0) != pixels || m1 != m2)
    KitFailedCheck(1, "a pixel picture's Mask is made once and kept; a vector one has none");
  if (m1 && (IntegerProperty(m1, "Width") != 100 || IntegerProperty(m1, "Height") != 50))
    KitFailedCheck(1, "the Mask is the picture's size");
  RuntimeUnlockObject(g1);
  RuntimeUnlockObject(g2);
  RuntimeUnlockObject(m1);
  RuntimeUnlockObject(m2);
  if (exportPicture(p) != 0)
    KitFailedCheck(1, "pictures cannot be exported");
  RuntimeUnlockObject(p);
}

static void CheckPictures(void) {
  RuntimeObject *p, *bmp;
  stringStorage *packed;
  sPictureClass = RuntimeLookupClass(KIT_STRING("Picture"));
  if (!sPictureClass) {
    KitFailedCheck(1, "the runtime has the Picture class");
    return;
  }
  CheckProperties(32);
  CheckProperties(0);

  p = RedBlue();
  packed = PicturePacker(p);
  if (!PackedIs(packed, kRedBlue, 16))
    KitFailedCheck(1, "2 x 1 red, blue packs as 2, 1, &hFF0000, &h0000FF");
  RuntimeUnlockString(packed);
  RuntimeUnlockObject(p);

  bmp = RuntimeGetBitmapFromResourceManager(128);
  if (!bmp) {
    KitFailedCheck(1, "the 'BMP ' resource gives a Picture");
    return;
  }
  if (IntegerProperty(bmp, "Width") != 3 || IntegerProperty(bmp, "Height") != 2)
    KitFailedCheck(1, "the resource's Picture is 3 x 2");
  packed = PicturePacker(bmp);
  if (!packed || packed->length != 8 + 24 || PackedPixel(packed, 3, 0, 0) != 0xFF0000 ||
      PackedPixel(packed, 3, 2, 1) != 0x00FF00)
    KitFailedCheck(1, "the resource's pixels: red at the top left, green at the bottom right");
  RuntimeUnlockString(packed);
  RuntimeUnlockObject(bmp);
  SayLine("Checked pictures");
}

void PicturesOpen(RuntimeObject *self) {
  RuntimeObject *backdrop = 0, *clip = 0, *picture = 0, *copy = 0;
  RuntimeClass *clipboardClass;
  PropertyEntry *clipboardPicture;
  stringStorage *packed = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_TAKE_OBJECT(backdrop, newPicture(40, 30, 32));
  KIT_CHECK_NIL(backdrop);
  FillPicture(backdrop, 0, 40, 30, 0xC00000);
  windowBackdropSetter(self, 0, backdrop);

  clipboardClass = RuntimeLookupClass(KIT_STRING("Clipboard"));
  clipboardPicture = PropertyCalled(clipboardClass, "Picture");
  if (!clipboardPicture || !clipboardPicture->setter) {
    KitFailedCheck(1, "the Clipboard class has a Picture property");
    KIT_LEAVE();
  }
  KIT_TAKE_OBJECT(clip, RuntimeNewObject(clipboardClass));
  KIT_TAKE_OBJECT(picture, RedBlue());
  KIT_CHECK_NIL(picture);
  ((ObjectSetter)clipboardPicture->setter)(clip, clipboardPicture->param, picture);
  KIT_TAKE_OBJECT(copy, ObjectProperty(clipboardClass, clip, "Picture"));
  if (!copy) {
    KitFailedCheck(1, "the clipboard's Picture reads back");
  } else {
    KIT_TAKE_STRING(packed, PicturePacker(copy));
    if (!PackedIs(packed, kRedBlue, 16))
      KitFailedCheck(1, "the clipboard's Picture is the 2 x 1 red, blue picture");
  }
  SayLine("Clipboard set");
  KIT_CATCH_ALL();
  KIT_RELEASE_STRING(packed);
  KIT_RELEASE_OBJECT(copy);
  KIT_RELEASE_OBJECT(picture);
  KIT_RELEASE_OBJECT(clip);
  KIT_RELEASE_OBJECT(backdrop);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

int32_t PicturesKeyDown(RuntimeObject *self, stringStorage *key) {
  (void)key;
  RuntimeCloseWindow(self);
  return 1;
}

void PicturesLayout(RuntimeObject *self) {
  LayOutWindow(self, KIT_STRING("Pictures"), 300, 200);
}

void ImageEntry(void) {
  RuntimeInit();
  CheckPictures();
  RunWithWindow(WindowSubclassHandling(KIT_STRING("PicturesWindow"), (void *)PicturesLayout,
                                       "Open", (void *)PicturesOpen, "KeyDown",
                                       (void *)PicturesKeyDown));
  gImage.exitResult = RuntimeExit();
}
