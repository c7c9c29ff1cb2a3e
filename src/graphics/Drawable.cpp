#include "graphics/Drawable.h"

#include "graphics/DrawablePaneGTK.h"
#include "graphics/Graphics.h"

Drawable::Drawable() = default;

Drawable::~Drawable() {
  if (mMask)
    mMask->removeReference();
}

bool Drawable::purge() { return false; }

void Drawable::lockDescription(drawableDescription *d) {
  addReference();
  d->kind = kPlainDrawableKind;
  d->handle = nullptr;
  getSize(&d->width, &d->height);
}

void Drawable::unlockDescription() { removeReference(); }
void Drawable::Closing() {}

// Images are cacheable: the top-left part of the image at the destination's
// size.
void Drawable::Draw(Graphics *g, const QV::Rect *destination, unsigned char transparent) {
  QV::Rect source;
  QV::SetRect(&source, 0, 0, destination->right - destination->left,
              destination->bottom - destination->top);
  DrawPiece(g, source, *destination, transparent);
}

bool Drawable::GetPixelSurface(PixelSurface *) { return false; }
void Drawable::UnlockPixelSurface() {}
void Drawable::PrimitiveDrawPiece(Graphics *, const QV::Rect &, const QV::Rect &, bool,
                                  unsigned char) {}
bool Drawable::IsCacheable() { return true; }
Graphics *Drawable::getGraphics() { return nullptr; }
void Drawable::Preload() {}
int32_t Drawable::getGeneration() { return 0; }
int32_t Drawable::GetHorizontalRes() { return mHorizontalRes; }
int32_t Drawable::GetVerticalRes() { return mVerticalRes; }
void Drawable::SetHorizontalRes(long res) { mHorizontalRes = static_cast<int32_t>(res); }
void Drawable::SetVerticalRes(long res) { mVerticalRes = static_cast<int32_t>(res); }

void Drawable::removeReference() {
  if (--mRefCount > 0)
    return;
  Closing();
  delete this;
}

void Drawable::DrawPiece(Graphics *g, const QV::Rect &source, const QV::Rect &destination,
                         unsigned char transparent) {
  if (!g)
    return;
  g->SelectPen();
  Pane *pane = g->GetPane();
  PrimitiveDrawPiece(g, source, destination, pane && pane->isSubPane(), transparent);
}

void Drawable::SetMask(Drawable *mask) {
  if (mMask)
    mMask->removeReference();
  mMask = mask;
}

void Drawable::CreateMask(int32_t) {
  if (mMask)
    return;
  int32_t width = 0, height = 0;
  getSize(&width, &height);
  QV::Rect bounds;
  QV::SetRect(&bounds, 0, 0, width, height);
  mMask = new DrawablePane(bounds, 32, 0);
}

int32_t Drawable::getPageCount() { return mPageProvider ? mPageProvider->getPageCount() : 1; }

Drawable *Drawable::getIndexedPage(int32_t index) {
  if (mPageProvider)
    return mPageProvider->getPage(index);
  addReference();
  return this;
}

DrawablePiece::DrawablePiece(Drawable *source, int32_t x, int32_t y, int32_t width,
                             int32_t height)
    : mSource(source), mX(x), mY(y), mWidth(width), mHeight(height) {
  if (mSource)
    mSource->addReference();
}

DrawablePiece::~DrawablePiece() {
  if (mSource)
    mSource->removeReference();
}

void DrawablePiece::getSize(int32_t *width, int32_t *height) {
  *width = mWidth;
  *height = mHeight;
}
