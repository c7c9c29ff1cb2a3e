#include "graphics/Graphics.h"

Graphics *gCurrentGraphics = nullptr;

Graphics::Graphics(Pane *pane) : mPane(pane) {}

Graphics::~Graphics() {
  if (gCurrentGraphics == this)
    gCurrentGraphics = nullptr;
}

void Graphics::Release() { delete this; }

void Graphics::TextFont(const string &name) { mFontName = name; }
void Graphics::TextSize(int32_t size) { mFontSize = size; }
void Graphics::TextFace(int32_t face) { mFace = face; }

void Graphics::SetOrigin(int32_t h, int32_t v) {
  mOriginH = h;
  mOriginV = v;
}

void Graphics::DeselectGraphics() {}

// Pending: the drawing subsystem draws these.
void Graphics::EraseRect(const QV::Rect *) {}
void Graphics::ClipRect(const QV::Rect *) {}
void Graphics::CopyFromOffscreen(int32_t, int32_t, Drawable *, int32_t, int32_t, int32_t, int32_t,
                                 int32_t) {}
