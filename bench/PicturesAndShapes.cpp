// Packing a 1024 x 768 picture against reading the pixmap into a pixbuf and
// packing it by hand; a thick-outlined 1,024-point oval through the shape
// plotter against gdk_draw_polygon of the same ring, computed beforehand.
// Both need an X display.
#include <benchmark/benchmark.h>

#include <gdk/gdk.h>
#include <gtk/gtk.h>

#include <cmath>
#include <vector>

#include "graphics/DrawablePaneGTK.h"
#include "graphics/Graphics.h"
#include "graphics/PictureObject.h"
#include "graphics/ShapePlotter.h"
#include "runtime/objects/ClassLookup.h"

extern "C" {
RuntimeObject *newPicture(int32_t width, int32_t height, int32_t depth);
stringStorage *PicturePacker(RuntimeObject *picture);
}

namespace {

bool Display() {
  static bool open = gtk_init_check(nullptr, nullptr);
  return open;
}

void PackPicture(benchmark::State &state) {
  if (!Display()) {
    state.SkipWithError("no display");
    return;
  }
  RuntimeObject *picture = newPicture(1024, 768, 32);
  for (auto _ : state)
    stringStorage::RemoveReference(PicturePacker(picture));
  RuntimeUnlockObject(picture);
}
BENCHMARK(PackPicture)->Unit(benchmark::kMillisecond);

void PackPixbufByHand(benchmark::State &state) {
  if (!Display()) {
    state.SkipWithError("no display");
    return;
  }
  RuntimeObject *picture = newPicture(1024, 768, 32);
  auto *pane = static_cast<DrawablePane *>(reinterpret_cast<PictureObject *>(picture)->image);
  std::vector<uint32_t> packed(2 + 1024 * 768);
  for (auto _ : state) {
    GdkPixbuf *pixels = gdk_pixbuf_get_from_drawable(
        nullptr, pane->GetPixmap(), gdk_drawable_get_colormap(pane->GetPixmap()), 0, 0, 0, 0,
        1024, 768);
    int stride = gdk_pixbuf_get_rowstride(pixels), step = gdk_pixbuf_get_n_channels(pixels);
    const guchar *base = gdk_pixbuf_get_pixels(pixels);
    uint32_t *out = packed.data();
    *out++ = 1024;
    *out++ = 768;
    for (int y = 0; y < 768; ++y)
      for (int x = 0; x < 1024; ++x) {
        const guchar *p = base + y * stride + x * step;
        *out++ = (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
      }
    g_object_unref(pixels);
    benchmark::DoNotOptimize(packed.data());
  }
  RuntimeUnlockObject(picture);
}
BENCHMARK(PackPixbufByHand)->Unit(benchmark::kMillisecond);

void ThickOvalThroughThePlotter(benchmark::State &state) {
  if (!Display()) {
    state.SkipWithError("no display");
    return;
  }
  QV::Rect bounds;
  QV::SetRect(&bounds, 0, 0, 600, 600);
  auto *pane = new DrawablePane(bounds, 32, 0);
  Graphics *g = pane->getGraphics();
  auto *oval = reinterpret_cast<OvalShape *>(CreateInstance(OvalShapeClass()));
  oval->x = oval->y = 300;
  oval->width = 500;
  oval->height = 400;
  oval->segments = 1024;
  oval->rotation = 0.3; // turned: drawn as a polygon
  oval->fill = 0;
  oval->border = 1;
  oval->borderWidth = 6;
  for (auto _ : state)
    ShapePlotter(g).Plot(oval, 0.0, 0.0);
  gdk_flush();
  RuntimeUnlockObject(reinterpret_cast<RuntimeObject *>(oval));
  Graphics::Release(g);
  pane->removeReference();
}
BENCHMARK(ThickOvalThroughThePlotter)->Unit(benchmark::kMicrosecond);

void ThickOvalRingByHand(benchmark::State &state) {
  if (!Display()) {
    state.SkipWithError("no display");
    return;
  }
  QV::Rect bounds;
  QV::SetRect(&bounds, 0, 0, 600, 600);
  auto *pane = new DrawablePane(bounds, 32, 0);
  GdkGC *gc = gdk_gc_new(pane->GetPixmap());
  // The ring the plotter draws: 1,024 outer and inner points and the seam.
  std::vector<GdkPoint> ring;
  const double c = std::cos(0.3), s = std::sin(0.3);
  for (double r : {-3.0, 3.0})
    for (int i = 0; i <= 1024; ++i) {
      double t = 2 * M_PI * (r < 0 ? i : 1024 - i) / 1024;
      double x = (250 + r) * std::cos(t), y = (200 + r) * std::sin(t);
      ring.push_back({gint(300 + x * c - y * s), gint(300 + x * s + y * c)});
    }
  for (auto _ : state)
    gdk_draw_polygon(pane->GetPixmap(), gc, TRUE, ring.data(), gint(ring.size()));
  gdk_flush();
  g_object_unref(gc);
  pane->removeReference();
}
BENCHMARK(ThickOvalRingByHand)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
