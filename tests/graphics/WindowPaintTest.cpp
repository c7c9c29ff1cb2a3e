// A language window's Paint event drawing through the Graphics entry points,
// as compiled code calls them, and its Backdrop picture: read back from the
// X server.
#include <gtest/gtest.h>

#include "support/OffscreenPixels.h"
#include "graphics/PictureObject.h"
#include "graphics/RuntimeGraphics.h"
#include "runtime/objects/ClassLookup.h"
#include "windows/RuntimeWindow.h"

extern "C" {
void graphicsForeColorSetter(RuntimeObject *, int32_t, int32_t);
int32_t graphicsForeColorGetter(RuntimeObject *, int32_t);
void RuntimeGraphicsFillRect(RuntimeObject *, int32_t, int32_t, int32_t, int32_t);
void RuntimeGraphicsDrawLine(RuntimeObject *, int32_t, int32_t, int32_t, int32_t);
void RuntimeGraphicsDrawString(RuntimeObject *, stringStorage *, int32_t, int32_t, int32_t);
}

namespace {

struct PaintSeen {
  int paints = 0;
  int32_t foreColorRead = -1;
  RuntimeObject *kept = nullptr; // a Graphics the handler holds on to
};
PaintSeen sPaint;

extern "C" int32_t OnPaint(RuntimeObject *, RuntimeObject *g) {
  ++sPaint.paints;
  graphicsForeColorSetter(g, 0, 0x00C000);
  sPaint.foreColorRead = graphicsForeColorGetter(g, 0);
  RuntimeGraphicsFillRect(g, 20, 30, 40, 10);
  graphicsForeColorSetter(g, 0, 0x0000FF);
  RuntimeGraphicsDrawLine(g, 20, 60, 59, 60);
  stringStorage *text = string("Paint").ExtractStringStorage();
  RuntimeGraphicsDrawString(g, text, 100, 100, 0);
  stringStorage::RemoveReference(text);
  if (!sPaint.kept) {
    RuntimeLockObject(g);
    sPaint.kept = g;
  }
  return 0;
}

ObjectDefinition *PaintingWindowClass() {
  static ObjectDefinition definition;
  if (definition.className.IsEmpty()) {
    definition.className = string("PaintingWindow");
    definition.super = WindowBaseClass();
    definition.objectSize = kRuntimeViewInstanceSize;
    definition.staticTables = 1;
  }
  return &definition;
}

// The window's content pixel as 0xRRGGBB, read from the X server.
uint32_t ScreenPixel(Window *w, int x, int y) {
  GdkDrawable *d = w->GetGdkDrawable();
  GdkPixbuf *p = gdk_pixbuf_get_from_drawable(nullptr, d, nullptr, x, y, 0, 0, 1, 1);
  if (!p)
    return 0xDEAD;
  const guchar *c = gdk_pixbuf_get_pixels(p);
  uint32_t value = (c[0] << 16) | (c[1] << 8) | c[2];
  g_object_unref(p);
  return value;
}

TEST(WindowPaint, PaintDrawsThroughTheEntryPointsAndAKeptGraphicsOutlivesTheWindow) {
  SKIP_WITHOUT_DISPLAY();
  sPaint = PaintSeen{};
  RuntimeObject *object = CreateInstance(PaintingWindowClass());
  ASSERT_NE(object, nullptr);
  auto *view = reinterpret_cast<RuntimeView *>(object);
  view->visible = 1;
  QV::SetRect(&view->bounds, 40, 40, 240, 200);
  view->laidOutBounds = view->bounds;
  EventEntry *table = MakePrivateEventTable(object);
  ASSERT_NE(table, nullptr);
  table[WindowBaseHooks[kPaintEvent].hook->eventIndex].vector = reinterpret_cast<void *>(OnPaint);

  // A backdrop: a 10 x 10 red picture in the top-left corner.
  DrawablePane *image = NewOffscreen(10, 10);
  Graphics *ig = image->getGraphics();
  QV::RGBColor red{65535, 0, 0};
  ig->RGBForeColor(&red);
  QV::Rect all = Rect(0, 0, 10, 10);
  ig->FillRect(&all);
  Graphics::Release(ig);
  PictureObject backdrop{};
  backdrop.image = image; // an uncounted stand-in: reference count 0
  view->backdrop = &backdrop.header;

  auto *w = RuntimeViewWindow::Open(view, Window::kWindowTypeDocument);
  ASSERT_TRUE(StepUntil([&] {
    return sPaint.paints > 0 && ScreenPixel(w, 25, 35) == 0x00C000;
  })) << "paints " << sPaint.paints;
  EXPECT_EQ(sPaint.foreColorRead, 0x00C000);
  EXPECT_EQ(ScreenPixel(w, 20, 30), 0x00C000u) << "the fill's top-left corner";
  EXPECT_EQ(ScreenPixel(w, 59, 39), 0x00C000u) << "its bottom-right corner";
  EXPECT_NE(ScreenPixel(w, 60, 39), 0x00C000u);
  EXPECT_NE(ScreenPixel(w, 59, 40), 0x00C000u);
  EXPECT_NE(ScreenPixel(w, 19, 30), 0x00C000u);
  EXPECT_EQ(ScreenPixel(w, 40, 60), 0x0000FFu) << "the line";
  EXPECT_EQ(ScreenPixel(w, 5, 5), 0xFF0000u) << "the backdrop";
  EXPECT_NE(ScreenPixel(w, 12, 5), 0xFF0000u);

  w->Close();
  for (int i = 0; i < 5; ++i)
    PaneLoopStep();
  ASSERT_NE(sPaint.kept, nullptr);
  Graphics *context = reinterpret_cast<RuntimeGraphics *>(sPaint.kept)->context;
  EXPECT_EQ(context->GetPane(), nullptr) << "the context heard its pane die";
  RuntimeGraphicsFillRect(sPaint.kept, 0, 0, 10, 10); // draws nothing, touches nothing
  RuntimeUnlockObject(sPaint.kept);
  view->backdrop = nullptr;
  RuntimeUnlockObject(object);
  image->removeReference();
}

} // namespace
