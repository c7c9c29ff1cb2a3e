// Images that can be copied onto a drawing context. A Drawable is reference
// counted (the creator holds the first reference, every holder adds its own);
// the last removeReference closes and deletes it. DrawablePane
// (DrawablePaneGTK.h) is the offscreen kind that a Graphics can draw into.
#pragma once
#include <cstdint>

#include "foundation/Memory.h"
#include "foundation/QVGeometry.h"

class Graphics;
class DrawablePageProvider;

// What lockDescription hands the plug-in interface.
struct drawableDescription {
  int32_t kind; // 0 plain drawable, 6 an offscreen pane's GdkPixmap
  void *handle; // the GdkPixmap, or nil
  int32_t width;
  int32_t height;
};
static_assert(sizeof(drawableDescription) == 16);

constexpr int32_t kPlainDrawableKind = 0;
constexpr int32_t kPixmapDrawableKind = 6;

// A directly addressable pixel buffer; none on this platform.
struct PixelSurface {
  void *base = nullptr;
  int32_t rowBytes = 0;
  int32_t depth = 0;
};

class Drawable : public purgableObject {
public:
  Drawable();
  ~Drawable() override;

  bool purge() override;
  virtual void lockDescription(drawableDescription *d);
  virtual void unlockDescription();
  virtual void Closing();
  virtual void Draw(Graphics *g, const QV::Rect *destination, unsigned char transparent);
  // False: no pixel surface.
  virtual bool GetPixelSurface(PixelSurface *surface);
  virtual void UnlockPixelSurface();
  virtual void getSize(int32_t *width, int32_t *height) = 0;
  virtual void DrawPrimitive(Graphics *g, const QV::Rect *destination,
                             unsigned char transparent) = 0;
  virtual void PrimitiveDrawPiece(Graphics *g, const QV::Rect &source,
                                  const QV::Rect &destination, bool toSubPane,
                                  unsigned char transparent);
  virtual bool IsCacheable();
  virtual Graphics *getGraphics();
  virtual void Preload();
  // Changes when the image changes.
  virtual int32_t getGeneration();
  virtual int32_t GetHorizontalRes();
  virtual int32_t GetVerticalRes();
  virtual void SetHorizontalRes(long res);
  virtual void SetVerticalRes(long res);

  void addReference() { ++mRefCount; }
  void removeReference();
  uint16_t RefCount() const { return mRefCount; }

  // Copies source (image pixels) to destination (the context's coordinates).
  void DrawPiece(Graphics *g, const QV::Rect &source, const QV::Rect &destination,
                 unsigned char transparent);

  int32_t GetPictureDepth() const { return mDepth; }
  Drawable *GetMask() const { return mMask; }
  // Takes over the caller's reference.
  void SetMask(Drawable *mask);
  // Gives the image a white mask of its size when it has none.
  void CreateMask(int32_t);
  void SetPageProvider(DrawablePageProvider *provider) { mPageProvider = provider; }
  int32_t getPageCount();
  // One reference for the caller.
  Drawable *getIndexedPage(int32_t index);

protected:
  uint16_t mRefCount = 1;
  int32_t mHorizontalRes = 72;
  int32_t mVerticalRes = 72;
  int32_t mDepth = 0;
  Drawable *mMask = nullptr;
  DrawablePageProvider *mPageProvider = nullptr;
};

// A rectangle of another image; it draws nothing on this platform.
class DrawablePiece : public Drawable {
public:
  DrawablePiece(Drawable *source, int32_t x, int32_t y, int32_t width, int32_t height);
  ~DrawablePiece() override;
  void getSize(int32_t *width, int32_t *height) override;
  void DrawPrimitive(Graphics *, const QV::Rect *, unsigned char) override {}

private:
  Drawable *mSource;
  int32_t mX, mY, mWidth, mHeight;
};

// The pages of a multi-page image.
class DrawablePageProvider {
public:
  virtual ~DrawablePageProvider() = default;
  virtual int32_t getPageCount() = 0;
  // One reference for the caller.
  virtual Drawable *getPage(int32_t index) = 0;
};
