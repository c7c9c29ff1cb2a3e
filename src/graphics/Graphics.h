// A drawing context for one pane: the font and origin that drawing uses.
// The drawing operations themselves draw nothing yet; the pane layer only
// needs the object's life and its current-context register.
#pragma once
#include <cstdint>

#include "foundation/QVGeometry.h"
#include "foundation/String.h"

class Pane;
class Drawable;

class Graphics {
public:
  explicit Graphics(Pane *pane);
  virtual ~Graphics();
  Graphics(const Graphics &) = delete;
  Graphics &operator=(const Graphics &) = delete;

  // Ends the context; it must not be used afterwards.
  void Release();

  void TextFont(const string &name);
  void TextSize(int32_t size);
  void TextFace(int32_t face);
  void SetOrigin(int32_t h, int32_t v);

  // Leaves this context unselected; the caller clears the current register.
  void DeselectGraphics();

  void EraseRect(const QV::Rect *r);
  void ClipRect(const QV::Rect *r);
  void CopyFromOffscreen(int32_t destH, int32_t destV, Drawable *source, int32_t srcH, int32_t srcV,
                         int32_t width, int32_t height, int32_t mode);

  Pane *GetPane() const { return mPane; }
  const string &GetFontName() const { return mFontName; }
  int32_t GetFontSize() const { return mFontSize; }
  int32_t GetFace() const { return mFace; }
  int32_t GetOriginH() const { return mOriginH; }
  int32_t GetOriginV() const { return mOriginV; }

private:
  Pane *mPane;
  string mFontName;
  int32_t mFontSize = 12;
  int32_t mFace = 0;
  int32_t mOriginH = 0;
  int32_t mOriginV = 0;
};

// The context selected for drawing now, or nil.
extern Graphics *gCurrentGraphics;
