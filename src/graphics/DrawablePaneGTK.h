// The offscreen image: a GdkPixmap at the screen's depth that is also a pane,
// so that a Graphics from getGraphics draws into it. It starts white.
#pragma once
#include <cstdint>

#include <gdk/gdk.h>

#include "graphics/Drawable.h"
#include "windows/Pane.h"

class DrawablePane : public Drawable, public Pane {
public:
  // depth is recorded; the pixmap always takes the screen's depth. flag has
  // no effect.
  DrawablePane(const QV::Rect &bounds, int32_t depth, unsigned char flag);
  ~DrawablePane() override;

  void lockDescription(drawableDescription *d) override;
  void Closing() override;
  bool GetPixelSurface(PixelSurface *surface) override;
  void UnlockPixelSurface() override;
  void getSize(int32_t *width, int32_t *height) override;
  void DrawPrimitive(Graphics *g, const QV::Rect *destination, unsigned char transparent) override;
  void PrimitiveDrawPiece(Graphics *g, const QV::Rect &source, const QV::Rect &destination,
                          bool toSubPane, unsigned char transparent) override;
  // A new context on this pane; release it with Graphics::Release.
  Graphics *getGraphics() override;
  int32_t getGeneration() override;
  void EstablishDrawingSurface() override;
  void ResetDrawingSurface() override;
  GdkGC *GetGC() override;
  void ReleaseGC() override;
  GdkDrawable *GetGdkDrawable() override;

  bool IsValid() const { return false; }
  void getGWorldPtr() {}
  GdkPixmap *GetPixmap() const { return mPixmap; }

private:
  GdkGC *mGC = nullptr;
  GdkPixmap *mPixmap = nullptr;
  int32_t mGeneration = 0;
  int32_t mPixmapWidth;
  int32_t mPixmapHeight;
};

// A BMP file held in memory decoded into a new offscreen image (one reference
// for the caller), or nil when the bytes are not a BMP this reader takes.
DrawablePane *GetBitmapFromMemory(const char *data, unsigned long length);
// No other format is recognised here: nil.
Drawable *GetPictureFromMemory(char **data, long length);
// Rotation is not done on this platform; alerts for a missing or shared pane.
bool RotateDrawablePane(DrawablePane *source, DrawablePane *destination, double angle,
                        long flags);
