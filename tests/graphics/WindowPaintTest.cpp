// A language window's Backdrop picture, read back from the X server. (Paint
// handlers drawing through the Graphics entry points are compiled code's:
// PaintImageTest runs them in a test image.)
#include <gtest/gtest.h>

#include "support/OffscreenPixels.h"
#include "graphics/PictureObject.h"
#include "runtime/objects/ClassLookup.h"
#include "windows/GTKHelper.h"
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

// The pixel of the window's GDK window as 0xRRGGBB, read from the X server.
uint32_t ScreenPixel(Window *w, int x, int y) {
  GdkDrawable *d = w->GetGdkDrawable();
  if (!d)
    return 0xDEAD;
  GdkPixbuf *p = gdk_pixbuf_get_from_drawable(nullptr, d, nullptr, x, y, 0, 0, 1, 1);
  if (!p)
    return 0xDEAD;
  const guchar *c = gdk_pixbuf_get_pixels(p);
  uint32_t value = (c[0] << 16) | (c[1] << 8) | c[2];
  g_object_unref(p);
  return value;
}

// Counts the exposes of the window's content from now on.
void CountExposes(Window *w, int *exposes) {
  g_signal_connect_swapped(w->GetFixed(), "expose-event", G_CALLBACK(+[](int *n) {
                             ++*n;
                             return FALSE;
                           }),
                           exposes);
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
  int exposes = 0;
  CountExposes(w, &exposes);
  ASSERT_TRUE(StepUntil([&] { return exposes > 0; }));
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

// A window with a 25-pixel menu bar: its content starts 25 rows down its GDK
// window, and drawing, invalidating, scrolling and icons all work in content
// coordinates.
class MenuBarPaint : public testing::Test {
protected:
  static constexpr int kBar = 25;
  void SetUp() override {
    SKIP_WITHOUT_DISPLAY();
    w = new RecordingWindow(MakeRect(40, 40, 240, 200));
    AddMenuBar(w, kBar);
    CountExposes(w, &exposes);
    ASSERT_TRUE(
        StepUntil([&] { return exposes > 0 && GTKHelper::GetMenuBarHeight(w) == kBar; }));
    for (int i = 0; i < 10; ++i)
      PaneLoopStep();
    g = w->getGraphics();
  }
  void TearDown() override {
    if (g)
      Graphics::Release(g);
    if (w)
      w->Close();
    StepUntil([] { return true; });
  }
  uint32_t ContentPixel(int x, int y) { return ScreenPixel(w, x, y + kBar); }
  // Pixels (as 0xRRGGBB) of rows top to bottom of the window's GDK window,
  // columns left to right.
  std::vector<uint32_t> Strip(int left, int right, int top, int bottom) {
    std::vector<uint32_t> out;
    GdkPixbuf *p = gdk_pixbuf_get_from_drawable(nullptr, w->GetGdkDrawable(), nullptr, left, top,
                                                0, 0, right - left, bottom - top);
    if (!p)
      return out;
    const int stride = gdk_pixbuf_get_rowstride(p), channels = gdk_pixbuf_get_n_channels(p);
    for (int y = 0; y < bottom - top; ++y)
      for (int x = 0; x < right - left; ++x) {
        const guchar *c = gdk_pixbuf_get_pixels(p) + y * stride + x * channels;
        out.push_back((c[0] << 16) | (c[1] << 8) | c[2]);
      }
    g_object_unref(p);
    return out;
  }
  void FillRed(const QV::Rect &r) {
    QV::RGBColor red{65535, 0, 0};
    g->RGBForeColor(&red);
    g->FillRect(&r);
    gdk_flush();
  }

  RecordingWindow *w = nullptr;
  Graphics *g = nullptr;
  int exposes = 0;
};

TEST_F(MenuBarPaint, DrawingAndScrollingLandInTheContent) {
  FillRed(Rect(0, 0, 10, 10));
  EXPECT_EQ(ContentPixel(0, 0), 0xFF0000u);
  EXPECT_EQ(ContentPixel(9, 9), 0xFF0000u);
  EXPECT_NE(ContentPixel(10, 5), 0xFF0000u);
  EXPECT_NE(ContentPixel(5, 10), 0xFF0000u);

  w->ScrollRect(0, 0, 100, 100, 20, 30);
  gdk_flush();
  EXPECT_EQ(ContentPixel(20, 30), 0xFF0000u);
  EXPECT_EQ(ContentPixel(29, 39), 0xFF0000u);
  EXPECT_NE(ContentPixel(30, 35), 0xFF0000u);
  EXPECT_NE(ContentPixel(25, 40), 0xFF0000u);
}

TEST_F(MenuBarPaint, AnInvalidatedRectangleIsExposedBelowTheBar) {
  GdkWindow *window = w->GetGtkWindow()->window;
  if (GdkRegion *stale = gdk_window_get_update_area(window))
    gdk_region_destroy(stale);
  w->InvalidatePaneRect(10, 20, 30, 45, true);
  GdkRegion *area = gdk_window_get_update_area(window);
  ASSERT_NE(area, nullptr);
  GdkRectangle box;
  gdk_region_get_clipbox(area, &box);
  gdk_region_destroy(area);
  EXPECT_EQ(box.x, 10);
  EXPECT_EQ(box.y, 20 + kBar);
  EXPECT_EQ(box.width, 20);
  EXPECT_EQ(box.height, 25);
}

TEST_F(MenuBarPaint, AStandardIconSitsInTheContentWhereItWasAsked) {
  // A 32 x 32 icon at the content's top edge covers content rows 0 to 31;
  // placed a bar's height too high it would end at content row 6.
  std::vector<uint32_t> before = Strip(50, 82, kBar, kBar + 32);
  g->DrawStandardIcon(1, 50, 0, 32, 32);
  gdk_flush();
  std::vector<uint32_t> after = Strip(50, 82, kBar, kBar + 32);
  ASSERT_EQ(after.size(), 32u * 32u);
  ASSERT_EQ(before.size(), after.size());
  int changedLow = 0;
  for (size_t i = size_t(32 - kBar) * 32; i < after.size(); ++i)
    changedLow += after[i] != before[i];
  EXPECT_GT(changedLow, 100) << "the icon fills the content's rows 7 to 31";
}

} // namespace
