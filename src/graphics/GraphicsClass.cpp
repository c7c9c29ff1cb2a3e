// The Graphics class of the language: its pen, text and colour state as
// properties and the context's primitives as methods. Programs give
// coordinates relative to the pane drawn into; the methods add the pane's
// position before they call the context.
#include <algorithm>
#include <cstdint>
#include <iterator>

#include "foundation/AssertionAlert.h"
#include "foundation/QVColor.h"
#include "graphics/Drawable.h"
#include "graphics/Graphics.h"
#include "graphics/PictureObject.h"
#include "graphics/RuntimeGraphics.h"
#include "graphics/ShapeServices.h"
#include "language/ClassBuilding.h"
#include "language/RuntimeArray.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "windows/Pane.h"

ObjectDefinition *PictureClass();
ObjectDefinition *Object2DClass();

namespace {

constexpr int32_t kOmitted = -10000;

Graphics *ContextOf(RuntimeObject *object) {
  return object ? reinterpret_cast<RuntimeGraphics *>(object)->context : nullptr;
}

// A rectangle of the pane-relative (x, y, width, height) in window-content
// coordinates.
QV::Rect PaneRect(RuntimeObject *object, int32_t x, int32_t y, int32_t width, int32_t height) {
  int32_t ox, oy;
  reinterpret_cast<RuntimeGraphics *>(object)->GetOffset(ox, oy);
  QV::Rect r;
  QV::SetRect(&r, x + ox, y + oy, x + ox + width, y + oy + height);
  return r;
}

void Destruct(RuntimeObject *object) {
  auto *g = reinterpret_cast<RuntimeGraphics *>(object);
  Graphics *context = g->context;
  g->context = nullptr;
  Graphics::Release(context);
}

int32_t Bool(bool b) { return b ? 1 : 0; }

// One of the print job's numbers; a nil object shows the alert and reads 0.
int32_t PrintField(RuntimeObject *object, int32_t RuntimeGraphics::*field) {
  if (!object) {
    DisplayRuntimeErrorAlert(kAssertionCode, kAssertionNumber, "../Common/runGraphics", 96,
                             "object", nullptr);
    return 0;
  }
  return reinterpret_cast<RuntimeGraphics *>(object)->*field;
}

void SetFaceBit(RuntimeObject *object, int32_t bit, int32_t on) {
  if (Graphics *g = ContextOf(object))
    g->TextFace(on ? (g->GetFace() | bit) : (g->GetFace() & ~bit));
}

void DrawStockIcon(RuntimeObject *object, int32_t type, int32_t x, int32_t y) {
  Graphics *g = ContextOf(object);
  if (!g)
    return;
  int32_t ox, oy;
  reinterpret_cast<RuntimeGraphics *>(object)->GetOffset(ox, oy);
  g->DrawStandardIcon(type, x + ox, y + oy, 32, 32);
}

} // namespace

void RuntimeGraphics::GetOffset(int32_t &x, int32_t &y) const {
  x = y = 0;
  if (context && context->GetPane()) {
    x = context->GetPane()->Bounds().left;
    y = context->GetPane()->Bounds().top;
  }
}

extern "C" {

int32_t graphicsForeColorGetter(RuntimeObject *object, int32_t) {
  Graphics *g = ContextOf(object);
  if (!g)
    return 0;
  const QV::RGBColor &c = g->GetForeColor();
  return ((c.red >> 8) << 16) | ((c.green >> 8) << 8) | (c.blue >> 8);
}

void graphicsForeColorSetter(RuntimeObject *object, int32_t, int32_t color) {
  if (Graphics *g = ContextOf(object)) {
    QV::RGBColor c = QV::RGBColorFromColorValue(static_cast<uint32_t>(color));
    g->RGBForeColor(&c);
  }
}

int32_t graphicsWidthGetter(RuntimeObject *object, int32_t) {
  Graphics *g = ContextOf(object);
  return g && g->GetPane() ? g->GetPane()->Width() : 0;
}

int32_t graphicsHeightGetter(RuntimeObject *object, int32_t) {
  Graphics *g = ContextOf(object);
  return g && g->GetPane() ? g->GetPane()->Height() : 0;
}

stringStorage *graphicsTextFontGetter(RuntimeObject *object, int32_t) {
  Graphics *g = ContextOf(object);
  return g ? g->GetFontName().ExtractStringStorage() : nullptr;
}

void graphicsTextFontSetter(RuntimeObject *object, int32_t, stringStorage *name) {
  if (Graphics *g = ContextOf(object))
    g->TextFont(string::Borrow(name));
}

int32_t graphicsTextSizeGetter(RuntimeObject *object, int32_t) {
  Graphics *g = ContextOf(object);
  return g ? g->GetFontSize() : 0;
}

void graphicsTextSizeSetter(RuntimeObject *object, int32_t, int32_t size) {
  if (Graphics *g = ContextOf(object))
    g->TextSize(size);
}

int32_t graphicsCopiesGetter(RuntimeObject *object, int32_t) {
  return PrintField(object, &RuntimeGraphics::copies);
}

int32_t graphicsFirstPageGetter(RuntimeObject *object, int32_t) {
  return PrintField(object, &RuntimeGraphics::firstPage);
}

int32_t graphicsLastPageGetter(RuntimeObject *object, int32_t) {
  return PrintField(object, &RuntimeGraphics::lastPage);
}

int32_t graphicsBoldGetter(RuntimeObject *object, int32_t) {
  Graphics *g = ContextOf(object);
  return g ? Bool(g->GetFace() & kBoldFace) : 0;
}

void graphicsBoldSetter(RuntimeObject *object, int32_t, int32_t on) {
  SetFaceBit(object, kBoldFace, on);
}

int32_t graphicsItalicGetter(RuntimeObject *object, int32_t) {
  Graphics *g = ContextOf(object);
  return g ? Bool(g->GetFace() & kItalicFace) : 0;
}

void graphicsItalicSetter(RuntimeObject *object, int32_t, int32_t on) {
  SetFaceBit(object, kItalicFace, on);
}

int32_t graphicsUnderlineGetter(RuntimeObject *object, int32_t) {
  Graphics *g = ContextOf(object);
  return g ? Bool(g->GetFace() & kUnderlineFace) : 0;
}

void graphicsUnderlineSetter(RuntimeObject *object, int32_t, int32_t on) {
  SetFaceBit(object, kUnderlineFace, on);
}

int32_t graphicsPenWidthGetter(RuntimeObject *object, int32_t) {
  Graphics *g = ContextOf(object);
  return g ? g->GetPenWidth() : 0;
}

void graphicsPenWidthSetter(RuntimeObject *object, int32_t, int32_t width) {
  if (Graphics *g = ContextOf(object))
    g->PenSize(width, g->GetPenHeight());
}

int32_t graphicsPenHeightGetter(RuntimeObject *object, int32_t) {
  Graphics *g = ContextOf(object);
  return g ? g->GetPenHeight() : 0;
}

void graphicsPenHeightSetter(RuntimeObject *object, int32_t, int32_t height) {
  if (Graphics *g = ContextOf(object))
    g->PenSize(g->GetPenWidth(), height);
}

int32_t graphicsUseOldRendererGetter(RuntimeObject *object, int32_t) {
  Graphics *g = ContextOf(object);
  return g ? Bool(g->GetNewRenderer() == 0) : 1;
}

// This platform has only the old renderer.
void graphicsUseOldRendererSetter(RuntimeObject *, int32_t, int32_t) {}

void RuntimeGraphicsClearRect(RuntimeObject *object, int32_t x, int32_t y, int32_t width,
                              int32_t height) {
  if (Graphics *g = ContextOf(object)) {
    QV::Rect r = PaneRect(object, x, y, width, height);
    g->EraseRect(&r);
  }
}

void RuntimeGraphicsDrawLine(RuntimeObject *object, int32_t x1, int32_t y1, int32_t x2,
                             int32_t y2) {
  Graphics *g = ContextOf(object);
  if (!g)
    return;
  int32_t ox, oy;
  reinterpret_cast<RuntimeGraphics *>(object)->GetOffset(ox, oy);
  g->MoveTo(x1 + ox, y1 + oy);
  g->LineTo(x2 + ox, y2 + oy);
}

void RuntimeGraphicsDrawOval(RuntimeObject *object, int32_t x, int32_t y, int32_t width,
                             int32_t height) {
  if (Graphics *g = ContextOf(object)) {
    QV::Rect r = PaneRect(object, x, y, width, height);
    g->FrameOval(&r);
  }
}

void RuntimeGraphicsDrawRect(RuntimeObject *object, int32_t x, int32_t y, int32_t width,
                             int32_t height) {
  if (Graphics *g = ContextOf(object)) {
    QV::Rect r = PaneRect(object, x, y, width, height);
    g->FrameRect(&r);
  }
}

void RuntimeGraphicsDrawRoundRect(RuntimeObject *object, int32_t x, int32_t y, int32_t width,
                                  int32_t height, int32_t arcWidth, int32_t arcHeight) {
  if (Graphics *g = ContextOf(object)) {
    QV::Rect r = PaneRect(object, x, y, width, height);
    g->FrameRoundRect(&r, arcWidth, arcHeight);
  }
}

void RuntimeGraphicsFillOval(RuntimeObject *object, int32_t x, int32_t y, int32_t width,
                             int32_t height) {
  if (Graphics *g = ContextOf(object)) {
    QV::Rect r = PaneRect(object, x, y, width, height);
    g->FillOval(&r);
  }
}

void RuntimeGraphicsFillRect(RuntimeObject *object, int32_t x, int32_t y, int32_t width,
                             int32_t height) {
  if (Graphics *g = ContextOf(object)) {
    QV::Rect r = PaneRect(object, x, y, width, height);
    g->FillRect(&r);
  }
}

void RuntimeGraphicsFillRoundRect(RuntimeObject *object, int32_t x, int32_t y, int32_t width,
                                  int32_t height, int32_t arcWidth, int32_t arcHeight) {
  if (Graphics *g = ContextOf(object)) {
    QV::Rect r = PaneRect(object, x, y, width, height);
    g->FillRoundRect(&r, arcWidth, arcHeight);
  }
}

// -10000 marks an omitted argument. The source rectangle is clipped to the
// picture, and the destination shrinks in proportion; products are taken in
// 64 bits so that large sizes cannot overflow.
void RuntimeGraphicsDrawPicture(RuntimeObject *object, RuntimeObject *picture, int32_t x,
                                int32_t y, int32_t w1, int32_t h1, int32_t sx, int32_t sy,
                                int32_t w2, int32_t h2) {
  Graphics *g = ContextOf(object);
  if (!g || !picture)
    return;
  auto *pic = reinterpret_cast<PictureObject *>(picture);
  if (sx == kOmitted)
    sx = 0;
  if (sy == kOmitted)
    sy = 0;
  int32_t ox, oy;
  reinterpret_cast<RuntimeGraphics *>(object)->GetOffset(ox, oy);
  if (pic->image) {
    int32_t pw = 0, ph = 0;
    pic->image->getSize(&pw, &ph);
    int64_t dw = w1 == kOmitted ? pw : w1, dh = h1 == kOmitted ? ph : h1;
    int64_t sw = w2 == kOmitted ? dw : w2, sh = h2 == kOmitted ? dh : h2;
    int64_t dx = x, dy = y, fx = sx, fy = sy;
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0)
      return;
    if (fx < 0) {
      int64_t cut = (-fx * dw) / sw;
      dx += cut;
      dw -= cut;
      sw += fx;
      fx = 0;
    }
    if (fx + sw > pw) {
      int64_t d = pw - fx;
      dw = sw ? dw * d / sw : 0;
      sw = d;
    }
    if (fy < 0) {
      int64_t cut = (-fy * dh) / sh;
      dy += cut;
      dh -= cut;
      sh += fy;
      fy = 0;
    }
    if (fy + sh > ph) {
      int64_t d = ph - fy;
      dh = sh ? dh * d / sh : 0;
      sh = d;
    }
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0)
      return;
    g->StretchFromOffscreen(static_cast<int32_t>(dx + ox), static_cast<int32_t>(dy + oy),
                            static_cast<int32_t>(dw), static_cast<int32_t>(dh), pic->image,
                            static_cast<int32_t>(fx), static_cast<int32_t>(fy),
                            static_cast<int32_t>(sw), static_cast<int32_t>(sh),
                            pic->transparent != 0);
  }
  if (pic->objects) {
    GraphicsClipSaver scope(g);
    int64_t dw = w1 == kOmitted ? pic->width : w1, dh = h1 == kOmitted ? pic->height : h1;
    int64_t sw = w2 == kOmitted ? dw : w2, sh = h2 == kOmitted ? dh : h2;
    if (dw <= 0 || dh <= 0)
      return;
    QV::Rect clip = PaneRect(object, x, y, static_cast<int32_t>(dw), static_cast<int32_t>(dh));
    g->ClipRect(clip);
    PlotShapeObject(g, pic->objects, static_cast<int32_t>(int64_t(x) * sw / dw - sx),
                    static_cast<int32_t>(int64_t(y) * sh / dh - sy));
  }
}

void RuntimeGraphicsDrawString(RuntimeObject *object, stringStorage *text, int32_t x, int32_t y,
                               int32_t width) {
  Graphics *g = ContextOf(object);
  string s = string::Borrow(text);
  if (!g || s.IsEmpty())
    return;
  int32_t ox, oy;
  reinterpret_cast<RuntimeGraphics *>(object)->GetOffset(ox, oy);
  if (width == 0) {
    g->DrawString(s, x + ox, y + oy);
    return;
  }
  QV::Rect box;
  QV::SetRect(&box, x + ox, y + oy - g->FontAscent(), x + ox + width, 32767);
  g->DrawWrapText(s, box, 0);
}

void RuntimeGraphicsDrawObjectXY(RuntimeObject *object, RuntimeObject *shape, int32_t dx,
                                 int32_t dy) {
  if (Graphics *g = ContextOf(object); g && shape)
    PlotShapeObject(g, shape, dx, dy);
}

void RuntimeGraphicsDrawObject(RuntimeObject *object, RuntimeObject *shape) {
  if (Graphics *g = ContextOf(object); g && shape)
    PlotShapeObjectInPlace(g, shape);
}

int32_t RuntimeGraphicsStringWidth(RuntimeObject *object, stringStorage *text) {
  Graphics *g = ContextOf(object);
  string s = string::Borrow(text);
  return g && !s.IsEmpty() ? g->StringWidth(s) : 0;
}

int32_t RuntimeGraphicsStringHeight(RuntimeObject *object, stringStorage *text,
                                    int32_t wrapWidth) {
  Graphics *g = ContextOf(object);
  string s = string::Borrow(text);
  return g && !s.IsEmpty() ? g->GetWrapHeight(s, wrapWidth) : 0;
}

int32_t RuntimeGraphicsTextHeight(RuntimeObject *object) {
  Graphics *g = ContextOf(object);
  return g ? g->FontHeight() : 0;
}

int32_t RuntimeGraphicsTextAscent(RuntimeObject *object) {
  Graphics *g = ContextOf(object);
  return g ? g->FontAscent() : 0;
}

void RuntimeGraphicsNextPage(RuntimeObject *object) {
  Graphics *g = ContextOf(object);
  if (g && g->GetPane())
    g->GetPane()->NextPage();
}

void graphicsDrawStopIcon(RuntimeObject *object, int32_t x, int32_t y) {
  DrawStockIcon(object, 0, x, y);
}

void graphicsDrawNoteIcon(RuntimeObject *object, int32_t x, int32_t y) {
  DrawStockIcon(object, 1, x, y);
}

void graphicsDrawCautionIcon(RuntimeObject *object, int32_t x, int32_t y) {
  DrawStockIcon(object, 2, x, y);
}

int32_t graphicsPixelGetter(RuntimeObject *object, int32_t x, int32_t y) {
  Graphics *g = ContextOf(object);
  if (!g)
    return 0;
  int32_t ox, oy;
  reinterpret_cast<RuntimeGraphics *>(object)->GetOffset(ox, oy);
  QV::RGBColor c;
  g->getPixel(x + ox, y + oy, &c);
  return ((c.red >> 8) << 16) | ((c.green >> 8) << 8) | (c.blue >> 8);
}

void graphicsPixelSetter(RuntimeObject *object, int32_t x, int32_t y, int32_t color) {
  Graphics *g = ContextOf(object);
  if (!g)
    return;
  int32_t ox, oy;
  reinterpret_cast<RuntimeGraphics *>(object)->GetOffset(ox, oy);
  g->setPixel(x + ox, y + oy, QV::RGBColorFromColorValue(static_cast<uint32_t>(color)));
}

void graphicsDrawPolygon(RuntimeObject *object, RuntimeArray *points) {
  if (Graphics *g = ContextOf(object))
    g->DrawPolygon(points, false);
}

void graphicsFillPolygon(RuntimeObject *object, RuntimeArray *points) {
  if (Graphics *g = ContextOf(object))
    g->DrawPolygon(points, true);
}

} // extern "C"

namespace {

MethodParameter sRect[] = {{"x", &integerType.type, 0, {}, 0, {}, 0, {}},
                           {"y", &integerType.type, 0, {}, 0, {}, 0, {}},
                           {"width", &integerType.type, 0, {}, 0, {}, 0, {}},
                           {"height", &integerType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sLine[] = {{"x1", &integerType.type, 0, {}, 0, {}, 0, {}},
                           {"y1", &integerType.type, 0, {}, 0, {}, 0, {}},
                           {"x2", &integerType.type, 0, {}, 0, {}, 0, {}},
                           {"y2", &integerType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sRoundRect[] = {{"x", &integerType.type, 0, {}, 0, {}, 0, {}},
                                {"y", &integerType.type, 0, {}, 0, {}, 0, {}},
                                {"width", &integerType.type, 0, {}, 0, {}, 0, {}},
                                {"height", &integerType.type, 0, {}, 0, {}, 0, {}},
                                {"arcWidth", &integerType.type, 0, {}, 0, {}, 0, {}},
                                {"arcHeight", &integerType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sDrawString[] = {{"str", &stringType.type, 0, {}, 0, {}, 0, {}},
                                 {"x", &integerType.type, 0, {}, 0, {}, 0, {}},
                                 {"y", &integerType.type, 0, {}, 0, {}, 0, {}},
                                 {"width", &integerType.type, 0, {}, 1, {}, 0, {}}};
MethodParameter sString[] = {{"str", &stringType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sStringHeight[] = {{"Text", &stringType.type, 0, {}, 0, {}, 0, {}},
                                   {"WrapWidth", &integerType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sPoint[] = {{"x", &integerType.type, 0, {}, 0, {}, 0, {}},
                            {"y", &integerType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sPixel[] = {{"x", &integerType.type, 0, {}, 0, {}, 0, {}},
                            {"y", &integerType.type, 0, {}, 0, {}, 0, {}},
                            {"value", &colourType.type, 0, {}, 0, {}, 0, {}}};
ArrayPropertyType sIntegerArray{{kArrayTypeKind}, &integerType.type, 1};
MethodParameter sPoints[] = {{"points", &sIntegerArray.type, 0, {}, 0, {}, 0, {}}};

#define GRAPHICS_METHOD(name, type, params, count, entry)                                         \
  {                                                                                                \
    name, type, params, count, {{EntryCode(entry), #entry, {}}, {}}, kPlainMethod,                 \
        kConsoleAvailableFlag, 0                                                                   \
  }
#define GRAPHICS_PROPERTY(name, type, getter, setter)                                              \
  {                                                                                                \
    kConsoleAvailableFlag, name, type, EntryCode(getter), #getter, EntryCode(setter), #setter, 0,  \
        0                                                                                          \
  }
#define GRAPHICS_READ_ONLY(name, type, getter)                                                     \
  { kConsoleAvailableFlag, name, type, EntryCode(getter), #getter, nullptr, nullptr, 0, 0 }

} // namespace

ObjectDefinition *GraphicsClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  // The class is named first: the Picture class, built from here, names
  // Graphics in turn and must find it rather than build it again.
  DefineBuiltinClass(defn, {"Graphics", sizeof(RuntimeGraphics), nullptr, Destruct, false}, nullptr,
                     0, nullptr, 0);
  // These two lists name other classes, so they are completed now.
  static MethodParameter sDrawPicture[] = {
      {"image", nullptr, 0, {}, 0, {}, 0, {}},
      {"x", &integerType.type, 0, {}, 0, {}, 0, {}},
      {"y", &integerType.type, 0, {}, 0, {}, 0, {}},
      {"w1", &integerType.type, 0, {}, 1, {}, kOmitted, {}},
      {"h1", &integerType.type, 0, {}, 1, {}, kOmitted, {}},
      {"sx", &integerType.type, 0, {}, 1, {}, kOmitted, {}},
      {"sy", &integerType.type, 0, {}, 1, {}, kOmitted, {}},
      {"w2", &integerType.type, 0, {}, 1, {}, kOmitted, {}},
      {"h2", &integerType.type, 0, {}, 1, {}, kOmitted, {}}};
  static MethodParameter sDrawObject[] = {{"object2D", nullptr, 0, {}, 0, {}, 0, {}},
                                          {"deltaX", &integerType.type, 0, {}, 1, {}, 0, {}},
                                          {"deltaY", &integerType.type, 0, {}, 1, {}, 0, {}}};
  ObjectDefinition *picture = PictureClass();
  ObjectDefinition *shape = Object2DClass();
  if (picture)
    sDrawPicture[0].type = picture->AsType();
  if (shape)
    sDrawObject[0].type = shape->AsType();

  static ObjectInstanceTemplate sProperties[] = {
      GRAPHICS_PROPERTY("ForeColor", &colourType.type, graphicsForeColorGetter,
                        graphicsForeColorSetter),
      GRAPHICS_READ_ONLY("Width", &integerType.type, graphicsWidthGetter),
      GRAPHICS_READ_ONLY("Height", &integerType.type, graphicsHeightGetter),
      GRAPHICS_PROPERTY("TextFont", &stringType.type, graphicsTextFontGetter,
                        graphicsTextFontSetter),
      GRAPHICS_PROPERTY("TextSize", &integerType.type, graphicsTextSizeGetter,
                        graphicsTextSizeSetter),
      GRAPHICS_READ_ONLY("Copies", &integerType.type, graphicsCopiesGetter),
      GRAPHICS_READ_ONLY("FirstPage", &integerType.type, graphicsFirstPageGetter),
      GRAPHICS_READ_ONLY("LastPage", &integerType.type, graphicsLastPageGetter),
      GRAPHICS_PROPERTY("Bold", &booleanType.type, graphicsBoldGetter, graphicsBoldSetter),
      GRAPHICS_PROPERTY("Italic", &booleanType.type, graphicsItalicGetter, graphicsItalicSetter),
      GRAPHICS_PROPERTY("Underline", &booleanType.type, graphicsUnderlineGetter,
                        graphicsUnderlineSetter),
      GRAPHICS_PROPERTY("PenWidth", &integerType.type, graphicsPenWidthGetter,
                        graphicsPenWidthSetter),
      GRAPHICS_PROPERTY("PenHeight", &integerType.type, graphicsPenHeightGetter,
                        graphicsPenHeightSetter),
      GRAPHICS_PROPERTY("UseOldRenderer", &booleanType.type, graphicsUseOldRendererGetter,
                        graphicsUseOldRendererSetter),
  };
  PropertyMethod methods[] = {
      GRAPHICS_METHOD("ClearRect", nullptr, sRect, 4, RuntimeGraphicsClearRect),
      GRAPHICS_METHOD("DrawLine", nullptr, sLine, 4, RuntimeGraphicsDrawLine),
      GRAPHICS_METHOD("DrawOval", nullptr, sRect, 4, RuntimeGraphicsDrawOval),
      GRAPHICS_METHOD("DrawRect", nullptr, sRect, 4, RuntimeGraphicsDrawRect),
      GRAPHICS_METHOD("DrawRoundRect", nullptr, sRoundRect, 6, RuntimeGraphicsDrawRoundRect),
      GRAPHICS_METHOD("FillOval", nullptr, sRect, 4, RuntimeGraphicsFillOval),
      GRAPHICS_METHOD("FillRect", nullptr, sRect, 4, RuntimeGraphicsFillRect),
      GRAPHICS_METHOD("FillRoundRect", nullptr, sRoundRect, 6, RuntimeGraphicsFillRoundRect),
      GRAPHICS_METHOD("DrawPicture", nullptr, sDrawPicture, 9, RuntimeGraphicsDrawPicture),
      GRAPHICS_METHOD("DrawString", nullptr, sDrawString, 4, RuntimeGraphicsDrawString),
      GRAPHICS_METHOD("DrawObject", nullptr, sDrawObject, 3, RuntimeGraphicsDrawObjectXY),
      GRAPHICS_METHOD("StringWidth", &integerType.type, sString, 1, RuntimeGraphicsStringWidth),
      GRAPHICS_METHOD("StringHeight", &integerType.type, sStringHeight, 2,
                      RuntimeGraphicsStringHeight),
      GRAPHICS_METHOD("TextHeight", &integerType.type, nullptr, 0, RuntimeGraphicsTextHeight),
      GRAPHICS_METHOD("TextAscent", &integerType.type, nullptr, 0, RuntimeGraphicsTextAscent),
      GRAPHICS_METHOD("NextPage", nullptr, nullptr, 0, RuntimeGraphicsNextPage),
      GRAPHICS_METHOD("DrawStopIcon", nullptr, sPoint, 2, graphicsDrawStopIcon),
      GRAPHICS_METHOD("DrawNoteIcon", nullptr, sPoint, 2, graphicsDrawNoteIcon),
      GRAPHICS_METHOD("DrawCautionIcon", nullptr, sPoint, 2, graphicsDrawCautionIcon),
      {"Pixel",
       &colourType.type,
       sPixel,
       3,
       {{EntryCode(graphicsPixelGetter), "graphicsPixelGetter", {}},
        {EntryCode(graphicsPixelSetter), "graphicsPixelSetter", {}}},
       kAssignsMethod,
       kConsoleAvailableFlag,
       0},
      GRAPHICS_METHOD("DrawPolygon", nullptr, sPoints, 1, graphicsDrawPolygon),
      GRAPHICS_METHOD("FillPolygon", nullptr, sPoints, 1, graphicsFillPolygon),
  };
  // A method whose parameter class is not linked in is left out of the table
  // (its entry point stays bound by name).
  PropertyMethod *end = std::remove_if(std::begin(methods), std::end(methods),
                                       [](const PropertyMethod &m) {
                                         for (int32_t i = 0; i < m.paramCount; ++i)
                                           if (!m.params[i].type)
                                             return true;
                                         return false;
                                       });
  defn.properties = FillInstances(sProperties, 14);
  defn.methods = FillMethods(methods, static_cast<int32_t>(end - methods));
  return &defn;
}

RuntimeObject *NewGraphicsObject(Graphics *context) {
  RuntimeObject *object = CreateInstance(GraphicsClass());
  if (!object) {
    Graphics::Release(context);
    return nullptr;
  }
  reinterpret_cast<RuntimeGraphics *>(object)->context = context;
  return object;
}
