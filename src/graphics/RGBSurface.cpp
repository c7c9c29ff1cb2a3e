#include "graphics/RGBSurface.h"

#include <memory>
#include <new>
#include <string>

#include "foundation/String.h"
#include "graphics/Drawable.h"
#include "graphics/PictureObject.h"
#include "language/ClassBuilding.h"
#include "language/LanguageExceptions.h"
#include "language/RuntimeArray.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/SimplePropertyTypes.h"

namespace {

RGBSurfaceObject *AsSurface(RuntimeObject *object) {
  return reinterpret_cast<RGBSurfaceObject *>(object);
}

// Raw pixel values as each depth stores them: 0x00RRGGBB at 32 bits, blue,
// green, red bytes at 24, 5-5-5 at 16.
using RawReader = uint32_t (*)(const uint8_t *p);
using RawWriter = void (*)(uint8_t *p, uint32_t value);

uint32_t Read32(const uint8_t *p) {
  return (p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24)) & 0xFFFFFF;
}
void Write32(uint8_t *p, uint32_t v) {
  p[0] = v & 0xFF;
  p[1] = (v >> 8) & 0xFF;
  p[2] = (v >> 16) & 0xFF;
  p[3] = (v >> 24) & 0xFF;
}
uint32_t Read24(const uint8_t *p) { return p[0] | (p[1] << 8) | (p[2] << 16); }
void Write24(uint8_t *p, uint32_t v) {
  p[0] = v & 0xFF;
  p[1] = (v >> 8) & 0xFF;
  p[2] = (v >> 16) & 0xFF;
}
uint32_t Read16(const uint8_t *p) { return p[0] | (p[1] << 8); }
void Write16(uint8_t *p, uint32_t v) {
  p[0] = v & 0xFF;
  p[1] = (v >> 8) & 0xFF;
}

uint32_t ColorTo555(uint32_t c) {
  return (((c >> 19) & 0x1F) << 10) | (((c >> 11) & 0x1F) << 5) | ((c >> 3) & 0x1F);
}
uint32_t ColorFrom555(uint32_t p) {
  return ((p & 0x7C00) << 9) | ((p & 0x3E0) << 6) | ((p & 0x1F) << 3);
}

struct PixelAccess {
  RawReader read;
  RawWriter write;
  int32_t bytes;
};

bool AccessFor(int32_t depth, PixelAccess *access) {
  switch (depth) {
  case 32:
    *access = {Read32, Write32, 4};
    return true;
  case 24:
    *access = {Read24, Write24, 3};
    return true;
  case 16:
    *access = {Read16, Write16, 2};
    return true;
  default:
    return false;
  }
}

struct Surface {
  RGBSurfaceObject *s;
  PixelAccess access;
  uint8_t *At(int16_t x, int16_t y) const {
    return s->base + int32_t(y) * s->rowBytes + int32_t(x) * access.bytes;
  }
  uint32_t Get(int16_t x, int16_t y) const { return access.read(At(x, y)); }
  void Set(int16_t x, int16_t y, uint32_t v) const { access.write(At(x, y), v); }
};

bool Inside(const RGBSurfaceObject *s, int32_t x, int32_t y) {
  return x >= 0 && x < s->width && y >= 0 && y < s->height;
}

// Spans waiting to be filled: the row they lie next to, their ends and the
// direction of the row to fill. A full stack drops further spans.
struct Span {
  int16_t row, left, right, direction;
};
constexpr int kMaxSpans = 10000;

class SpanStack {
public:
  SpanStack(int32_t height) : mSpans(new (std::nothrow) Span[kMaxSpans]), mHeight(height) {}
  bool Ready() const { return mSpans != nullptr; }
  void Push(int32_t row, int32_t left, int32_t right, int32_t direction) {
    if (mCount >= kMaxSpans || row + direction < 0 || row + direction >= mHeight)
      return;
    mSpans[mCount++] = Span{int16_t(row), int16_t(left), int16_t(right), int16_t(direction)};
  }
  bool Pop(Span *span) {
    if (mCount == 0)
      return false;
    *span = mSpans[--mCount];
    return true;
  }

private:
  std::unique_ptr<Span[]> mSpans; // on the heap: the call's frame stays small
  int32_t mHeight;
  int32_t mCount = 0;
};

void Destruct(RuntimeObject *object) {
  RGBSurfaceObject *s = AsSurface(object);
  if (s->picture) {
    if (Drawable *image = reinterpret_cast<PictureObject *>(s->picture)->image)
      image->UnlockPixelSurface();
    RuntimeObject *picture = s->picture;
    s->picture = nullptr;
    RuntimeUnlockObject(picture);
  }
}

// The low bytes of a map's 256 entries.
void ReadMap(RuntimeArray *map, uint8_t table[256]) {
  for (int32_t i = 0; i < 256; ++i)
    table[i] = static_cast<uint8_t>(RuntimeDirectReadIntArray(map, i) & 0xFF);
}

} // namespace

extern "C" int32_t rgbSurfaceGetPixel(RuntimeObject *object, int32_t x, int32_t y) {
  RGBSurfaceObject *s = AsSurface(object);
  PixelAccess access;
  if (!s || !s->base || !Inside(s, x, y) || !AccessFor(s->depth, &access))
    return 0;
  Surface surface{s, access};
  uint32_t raw = surface.Get(int16_t(x), int16_t(y));
  return static_cast<int32_t>(s->depth == 16 ? ColorFrom555(raw) : raw);
}

extern "C" void rgbSurfaceSetPixel(RuntimeObject *object, int32_t x, int32_t y, int32_t color) {
  RGBSurfaceObject *s = AsSurface(object);
  PixelAccess access;
  if (!s || !s->base || !Inside(s, x, y) || !AccessFor(s->depth, &access))
    return;
  Surface surface{s, access};
  uint32_t c = static_cast<uint32_t>(color);
  surface.Set(int16_t(x), int16_t(y), s->depth == 16 ? ColorTo555(c) : c);
}

// Scan-line seed fill over the 4-connected pixels of exactly the seed's value.
extern "C" void rgbSurfaceSeedFill(RuntimeObject *object, int32_t seedX, int32_t seedY,
                                   int32_t color) {
  RGBSurfaceObject *s = AsSurface(object);
  PixelAccess access;
  if (!s || !s->base || !AccessFor(s->depth, &access))
    return;
  uint32_t fill = s->depth == 16 ? ColorTo555(uint32_t(color)) : uint32_t(color);
  if (!Inside(s, seedX, seedY)) {
    RaiseOutOfBounds();
    return;
  }
  Surface px{s, access};
  uint32_t old = px.Get(int16_t(seedX), int16_t(seedY));
  if (old == fill)
    return;
  SpanStack stack(s->height);
  if (!stack.Ready())
    return;
  stack.Push(seedY, seedX, seedX, 1);
  stack.Push(seedY + 1, seedX, seedX, -1);
  Span span;
  while (stack.Pop(&span)) {
    int32_t y = span.row + span.direction;
    int32_t x = span.left;
    int32_t l = 0;
    for (; x >= 0 && px.Get(int16_t(x), int16_t(y)) == old; --x)
      px.Set(int16_t(x), int16_t(y), fill);
    bool skip = x >= span.left;
    if (!skip) {
      l = x + 1;
      if (l < span.left)
        stack.Push(y, l, span.left - 1, -span.direction);
      x = span.left + 1;
    }
    do {
      if (!skip) {
        for (; x < s->width && px.Get(int16_t(x), int16_t(y)) == old; ++x)
          px.Set(int16_t(x), int16_t(y), fill);
        stack.Push(y, l, x - 1, span.direction);
        if (x > span.right + 1)
          stack.Push(y, span.right + 1, x - 1, -span.direction);
      }
      skip = false;
      for (++x; x <= span.right && px.Get(int16_t(x), int16_t(y)) != old; ++x) {
      }
      l = x;
    } while (x <= span.right);
  }
}

// Each pixel's red, green and blue, as Pixel reads them, go through their
// maps; 16-bit surfaces are refused.
extern "C" void rgbSurfaceTransformRGB(RuntimeObject *object, RuntimeArray *redMap,
                                       RuntimeArray *greenMap, RuntimeArray *blueMap) {
  RGBSurfaceObject *s = AsSurface(object);
  if (!s)
    return;
  if (!redMap || !greenMap || !blueMap) {
    RaiseNilObject();
    return;
  }
  for (RuntimeArray *map : {redMap, greenMap, blueMap}) {
    int32_t upper = RuntimeUBound(map);
    if (upper != 255) {
      RaiseExceptionClassWMessage(UnsupportedFormatExceptionClass(),
                                  string("Transform map UBound must be 255, not ") +
                                      string(std::to_string(upper).c_str()),
                                  0);
      return;
    }
  }
  if (s->depth <= 23) {
    RaiseExceptionClassWMessage(UnsupportedFormatExceptionClass(),
                                string("Transform depth must be 24 or 32, not ") +
                                    string(std::to_string(s->depth).c_str()),
                                0);
    return;
  }
  PixelAccess access;
  if (!s->base || !AccessFor(s->depth, &access))
    return;
  uint8_t red[256], green[256], blue[256];
  ReadMap(redMap, red);
  ReadMap(greenMap, green);
  ReadMap(blueMap, blue);
  Surface px{s, access};
  for (int32_t y = 0; y < s->height; ++y)
    for (int32_t x = 0; x < s->width; ++x) {
      uint32_t c = px.Get(int16_t(x), int16_t(y));
      uint32_t mapped = (uint32_t(red[(c >> 16) & 0xFF]) << 16) |
                        (uint32_t(green[(c >> 8) & 0xFF]) << 8) | blue[c & 0xFF];
      px.Set(int16_t(x), int16_t(y), mapped);
    }
}

extern "C" void rgbSurfaceTransform(RuntimeObject *object, RuntimeArray *map) {
  rgbSurfaceTransformRGB(object, map, map, map);
}

ObjectDefinition *RGBSurfaceClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  static ArrayPropertyType sIntegerArray{{kArrayTypeKind}, &integerType.type, 1};
  static MethodParameter sPixel[] = {{"x", &integerType.type, 0, {}, 0, {}, 0, {}},
                                     {"y", &integerType.type, 0, {}, 0, {}, 0, {}},
                                     {"value", &colourType.type, 0, {}, 0, {}, 0, {}}};
  static MethodParameter sFill[] = {{"x", &integerType.type, 0, {}, 0, {}, 0, {}},
                                    {"y", &integerType.type, 0, {}, 0, {}, 0, {}},
                                    {"fillColor", &colourType.type, 0, {}, 0, {}, 0, {}}};
  static MethodParameter sMap[] = {{"map", &sIntegerArray.type, 0, {}, 0, {}, 0, {}}};
  static MethodParameter sMaps[] = {{"redMap", &sIntegerArray.type, 0, {}, 0, {}, 0, {}},
                                    {"greenMap", &sIntegerArray.type, 0, {}, 0, {}, 0, {}},
                                    {"blueMap", &sIntegerArray.type, 0, {}, 0, {}, 0, {}}};
  PropertyMethod methods[] = {
      {"Pixel",
       &colourType.type,
       sPixel,
       3,
       {{EntryCode(rgbSurfaceGetPixel), "rgbSurfaceGetPixel", {}},
        {EntryCode(rgbSurfaceSetPixel), "rgbSurfaceSetPixel", {}}},
       kAssignsMethod,
       kConsoleAvailableFlag,
       0},
      {"FloodFill",
       nullptr,
       sFill,
       3,
       {{EntryCode(rgbSurfaceSeedFill), "rgbSurfaceSeedFill", {}}, {}},
       kPlainMethod,
       kConsoleAvailableFlag,
       0},
      {"Transform",
       nullptr,
       sMap,
       1,
       {{EntryCode(rgbSurfaceTransform), "rgbSurfaceTransform", {}}, {}},
       kPlainMethod,
       kConsoleAvailableFlag,
       0},
      {"Transform",
       nullptr,
       sMaps,
       3,
       {{EntryCode(rgbSurfaceTransformRGB), "rgbSurfaceTransformRGB", {}}, {}},
       kPlainMethod,
       kConsoleAvailableFlag,
       0},
  };
  DefineBuiltinClass(defn, {"RGBSurface", sizeof(RGBSurfaceObject), nullptr, Destruct, false},
                     nullptr, 0, methods, 4);
  return &defn;
}

RuntimeObject *NewRGBSurface(RuntimeObject *picture, int32_t width, int32_t height, void *base,
                             int32_t rowBytes, int32_t depth) {
  RuntimeObject *object = CreateInstance(RGBSurfaceClass());
  if (!object)
    return nullptr;
  RGBSurfaceObject *s = AsSurface(object);
  RuntimeLockObject(picture);
  s->picture = picture;
  s->width = width;
  s->height = height;
  s->base = static_cast<uint8_t *>(base);
  s->rowBytes = rowBytes;
  s->depth = depth;
  return object;
}
