// A language window's Backdrop picture, read back from the X server. (Paint
// handlers drawing through the Graphics entry points are compiled code's:
// PaintImageTest runs them in a test image.)
#include <gtest/gtest.h>

#include "support/OffscreenPixels.h"
#include "graphics/PictureObject.h"
#include "runtime/objects/ClassLookup.h"
#include "windows/RuntimeWindow.h"

namespace {

ObjectDefinition *BackdropWindowClass() {
  static ObjectDefinition definition;
  if (definition.className.IsEmpty()) {
    definition.className = string("BackdropWindow");
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

TEST(WindowPaint, TheBackdropPictureSitsInTheTopLeftCorner) {
  SKIP_WITHOUT_DISPLAY();
  RuntimeObject *object = CreateInstance(BackdropWindowClass());
  ASSERT_NE(object, nullptr);
  auto *view = reinterpret_cast<RuntimeView *>(object);
  view->visible = 1;
  QV::SetRect(&view->bounds, 40, 40, 240, 200);
  view->laidOutBounds = view->bounds;

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
  ASSERT_TRUE(StepUntil([&] { return ScreenPixel(w, 5, 5) == 0xFF0000; }));
  EXPECT_EQ(ScreenPixel(w, 0, 0), 0xFF0000u);
  EXPECT_EQ(ScreenPixel(w, 9, 9), 0xFF0000u);
  EXPECT_NE(ScreenPixel(w, 10, 5), 0xFF0000u);
  EXPECT_NE(ScreenPixel(w, 5, 10), 0xFF0000u);

  w->Close();
  for (int i = 0; i < 5; ++i)
    PaneLoopStep();
  view->backdrop = nullptr;
  RuntimeUnlockObject(object);
  image->removeReference();
}

} // namespace
