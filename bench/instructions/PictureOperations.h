// The two picture benchmark pairs, each side one call, shared by the timed
// benchmark (bench/PicturesAndShapes.cpp) and the instruction counter
// (picturecount): packing a 1024 x 768 picture against reading its pixmap
// into a pixbuf and packing that by hand, and a thick-outlined 1,024-point
// oval through the shape plotter against gdk_draw_polygon of the same ring,
// computed beforehand. Both need GTK+ started on a display.
#pragma once
#include <gdk/gdk.h>

#include <cmath>
#include <cstdint>
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

class PackPair {
public:
  PackPair() : mPicture(newPicture(kWidth, kHeight, 32)), mPacked(2 + kWidth * kHeight) {}
  ~PackPair() { RuntimeUnlockObject(mPicture); }
  PackPair(const PackPair &) = delete;
  PackPair &operator=(const PackPair &) = delete;

  void Ours() { stringStorage::RemoveReference(PicturePacker(mPicture)); }
  void ByHand() {
    auto *pane = static_cast<DrawablePane *>(reinterpret_cast<PictureObject *>(mPicture)->image);
    GdkPixbuf *pixels = gdk_pixbuf_get_from_drawable(nullptr, pane->GetPixmap(),
                                                     gdk_drawable_get_colormap(pane->GetPixmap()),
                                                     0, 0, 0, 0, kWidth, kHeight);
    int stride = gdk_pixbuf_get_rowstride(pixels), step = gdk_pixbuf_get_n_channels(pixels);
    const guchar *base = gdk_pixbuf_get_pixels(pixels);
    uint32_t *out = mPacked.data();
    *out++ = kWidth;
    *out++ = kHeight;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const guchar *p = base + y * stride + x * step;
        *out++ = (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
      }
    g_object_unref(pixels);
    asm volatile("" : : "g"(mPacked.data()) : "memory");
  }

private:
  static constexpr int kWidth = 1024, kHeight = 768;
  RuntimeObject *mPicture;
  std::vector<uint32_t> mPacked;
};

class ThickOvalPair {
public:
  ThickOvalPair() {
    QV::Rect bounds;
    QV::SetRect(&bounds, 0, 0, 600, 600);
    mPane = new DrawablePane(bounds, 32, 0);
    mGraphics = mPane->getGraphics();
    mGC = gdk_gc_new(mPane->GetPixmap());
    mOval = reinterpret_cast<OvalShape *>(CreateInstance(OvalShapeClass()));
    mOval->x = mOval->y = 300;
    mOval->width = 500;
    mOval->height = 400;
    mOval->segments = 1024;
    mOval->rotation = kTurn; // turned: drawn as a polygon
    mOval->fill = 0;
    mOval->border = 1;
    mOval->borderWidth = 6;
    // The ring the plotter draws: 1,024 outer and inner points and the seam.
    const double c = std::cos(kTurn), s = std::sin(kTurn);
    for (double r : {-3.0, 3.0})
      for (int i = 0; i <= 1024; ++i) {
        double t = 2 * M_PI * (r < 0 ? i : 1024 - i) / 1024;
        double x = (250 + r) * std::cos(t), y = (200 + r) * std::sin(t);
        mRing.push_back({gint(300 + x * c - y * s), gint(300 + x * s + y * c)});
      }
  }
  ~ThickOvalPair() {
    gdk_flush();
    RuntimeUnlockObject(reinterpret_cast<RuntimeObject *>(mOval));
    g_object_unref(mGC);
    Graphics::Release(mGraphics);
    mPane->removeReference();
  }
  ThickOvalPair(const ThickOvalPair &) = delete;
  ThickOvalPair &operator=(const ThickOvalPair &) = delete;

  void Ours() { ShapePlotter(mGraphics).Plot(mOval, 0.0, 0.0); }
  void ByHand() {
    gdk_draw_polygon(mPane->GetPixmap(), mGC, TRUE, mRing.data(), gint(mRing.size()));
  }

private:
  static constexpr double kTurn = 0.3;
  DrawablePane *mPane;
  Graphics *mGraphics;
  GdkGC *mGC;
  OvalShape *mOval;
  std::vector<GdkPoint> mRing;
};
