// The drawing context of one pane (window, control, offscreen image or printed
// page): a pen with position, size and pattern, a text font by name, size and
// style bits, 16-bit colours, an origin and a clip rectangle. Coordinates are
// in the window's content; the back end (GraphicsGTK.cpp) turns them into the
// pane's GDK drawable's. A context without a pane draws and measures nothing,
// and a context whose pane dies forgets it, so it then does nothing either.
#pragma once
#include <cstdint>

#include <gdk/gdk.h>
#include <pango/pango.h>

#include "foundation/FontStructure.h"
#include "foundation/QVColor.h"
#include "foundation/QVGeometry.h"
#include "foundation/String.h"
#include "windows/PaneDelegate.h"

class Pane;
class Drawable;
struct RuntimeArray;

// A polygon's point as the drawing primitives take it.
struct PolygonPoint {
  int32_t x, y;
};

// Stock pen patterns.
enum QVPatterns : int32_t {
  kCheckerboardPattern = 1,
  kAlternateRowsPattern = 2,
  kAlternateColumnsPattern = 3,
};

struct Pattern {
  uint8_t pat[8];
};

// Face bits.
constexpr int32_t kBoldFace = 1;
constexpr int32_t kItalicFace = 2;
constexpr int32_t kUnderlineFace = 4;
constexpr int32_t kCondenseFace = 8;

class Graphics : private PaneDeathNotificationReceiver {
public:
  explicit Graphics(Pane *pane);
  ~Graphics() override;
  Graphics(const Graphics &) = delete;
  Graphics &operator=(const Graphics &) = delete;

  // Deletes the context; nothing for nil.
  static void Release(Graphics *g);
  void Release() { Release(this); }
  // Lets go of the pane as if it had died: from now on nothing is drawn.
  void ForgetPane() { PaneImpendingDeath(mPane); }

  // State: stored only, no drawing.
  void TextFont(const string &name);
  void TextFont(const FontStructure *font);
  void TextSize(int32_t size);
  void TextFace(int32_t face);
  void TextMode(int32_t) {}
  void PenSize(int32_t width, int32_t height);
  void PenNormal();
  void PenPat(const Pattern *pattern);
  void PenEnumPat(int32_t which);
  void PenMode(int32_t) {}
  void SetPatternAlign(int32_t x, int32_t y);
  void SetOrigin(int32_t h, int32_t v);
  void MoveTo(int32_t x, int32_t y);
  void RGBBackColor(const QV::RGBColor *color);
  void ClipRgn(long region);
  void setVisibleRgn(long) {}
  void SelectGraphics() {}
  void DeselectGraphics() {}
  void Flush() {}
  // Alerts when there is no pane.
  void SelectPen();

  // Primitives (GDK).
  void RGBForeColor(const QV::RGBColor *color);
  void FillRect(const QV::Rect *r);
  void PaintRect(const QV::Rect *r) { FillRect(r); }
  void FrameRect(const QV::Rect *r);
  void FillOval(const QV::Rect *r);
  void FrameOval(const QV::Rect *r);
  void FillRoundRect(const QV::Rect *r, int32_t cornerWidth, int32_t cornerHeight);
  void FrameRoundRect(const QV::Rect *r, int32_t cornerWidth, int32_t cornerHeight);
  void EraseRect(const QV::Rect *r);
  void LineTo(int32_t x, int32_t y);
  void Line(int32_t, int32_t) {}
  void InvertRect(const QV::Rect *) {}
  void HighlightRect(const QV::Rect *r) { InvertRect(r); }
  void FrameWindowRect(const QV::Rect *r) { FrameRect(r); }
  void PaintWindowRect(const QV::Rect *r) { PaintRect(r); }
  // Points are pane-relative pairs from element 1 of a language integer array.
  void DrawPolygon(RuntimeArray *points, bool fill);
  // The same for count pane-relative points, left as they are (a pane that
  // sits inside its window's drawable draws a moved copy).
  void DrawPolygon(const PolygonPoint *points, int32_t count, bool fill);
  void setPixel(int32_t x, int32_t y, const QV::RGBColor &color);
  // Black outside the drawable.
  void getPixel(int32_t x, int32_t y, QV::RGBColor *color);
  void ClipRect(const QV::Rect &r);
  void ClipRect(const QV::Rect *r) { ClipRect(*r); }

  // Text (Pango). y is the baseline.
  void DrawString(const string &text, int32_t x, int32_t y, const QV::Rect *clip = nullptr);
  void DrawWrapText(const string &text, const QV::Rect &box, int32_t alignment);
  int32_t StringWidth(const string &text);
  int32_t GetWrapHeight(const string &text, int32_t width);
  int32_t FontAscent();
  int32_t FontDescent();
  int32_t FontHeight();
  int32_t FontLeading();
  // type 0 error, 1 information, 2 warning.
  void DrawStandardIcon(int32_t type, int32_t x, int32_t y, long width, long height);
  void SelectFont();
  GdkGC *GetGC();
  void ReleaseGC();
  GdkDrawable *GetGdkDrawable();

  // Text fitting.
  int32_t FindSoftLineBreak(const string &text, long width, bool wordBreak);
  void DrawConstrainedString(const string &text, int32_t x, int32_t y, int32_t maxWidth,
                             const string &ellipsis, const QV::Rect *clip);
  void DrawConstrainedDouble(double value, unsigned long digits, int32_t x, int32_t y,
                             int32_t maxWidth);
  void WriteLine(const string &text, int32_t x, int32_t extra);

  // Copies from images; the destination is in window-content coordinates.
  void CopyFromOffscreen(int32_t x, int32_t y, Drawable *source, int32_t sx, int32_t sy,
                         int32_t w, int32_t h, unsigned char useMask);
  void CopyFromOffscreenTransparent(int32_t x, int32_t y, Drawable *source, int32_t sx,
                                    int32_t sy, int32_t w, int32_t h);
  void StretchFromOffscreen(int32_t x, int32_t y, int32_t w, int32_t h, Drawable *source,
                            int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                            unsigned char useMask);
  // Not available on this platform: alerts.
  void DrawControl(void *control, QV::Rect &r);

  Pane *GetPane() const { return mPane; }
  const string &GetFontName() const { return mFontName; }
  int32_t GetFontSize() const { return mTextSize; }
  int32_t GetFace() const { return mTextFace; }
  int32_t GetTextMode() const { return mTextMode; }
  int32_t GetOriginH() const { return mOriginX; }
  int32_t GetOriginV() const { return mOriginY; }
  int32_t GetPenWidth() const { return mPenWidth; }
  int32_t GetPenHeight() const { return mPenHeight; }
  int32_t GetPenMode() const { return mPenMode; }
  int32_t GetPenX() const { return mPenX; }
  int32_t GetPenY() const { return mPenY; }
  bool PatternEnabled() const { return mPatternEnabled; }
  const Pattern &GetPattern() const { return mPattern; }
  const QV::RGBColor &GetForeColor() const { return mForeColor; }
  const QV::RGBColor &GetBackColor() const { return mBackColor; }
  long GetClipRegion() const { return mClipRegion; }
  int32_t GetNewRenderer() const { return mNewRenderer; }
  float GetScale() const { return mScale; }
  void SetScale(float scale) { mScale = scale; }
  bool IsPrinting() const { return mPrinting; }
  void SetPrinting(bool on) { mPrinting = on; }
  bool PlotterFlag() const { return mPlotterFlag; }
  void SetPlotterFlag(bool on) { mPlotterFlag = on; }
  void SetOwnsPane(bool on) { mOwnsPane = on; }

private:
  void PaneImpendingDeath(Pane *p) override;
  // The layout of text on the default screen with the current font, or nil
  // without a pane.
  PangoLayout *NewLayout(const string &text, int32_t *utf8Length);
  bool FontMetrics(int32_t *ascent, int32_t *descent);

  bool mPatternEnabled = false;
  PangoFontDescription *mFontDescription = nullptr;
  GdkGC *mGC = nullptr;
  bool mPrinting = false;
  bool mPlotterFlag = false;
  int32_t mNewRenderer = 0;
  bool mOwnsPane = false;
  Pane *mPane;
  string mFontName;
  int32_t mTextSize = 12;
  int32_t mTextFace = 0;
  int32_t mTextMode = 0;
  int32_t mPenWidth = 1;
  int32_t mPenHeight = 1;
  int32_t mPenMode = 0;
  int32_t mPenX = 0;
  int32_t mPenY = 0;
  float mScale = 1.0f;
  QV::RGBColor mForeColor{0, 0, 0};
  QV::RGBColor mBackColor{65535, 65535, 65535};
  bool mFontDescriptionValid = false;
  Pattern mPattern{{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}};
  int32_t mOriginX = 0;
  int32_t mOriginY = 0;
  int32_t mPatternAlignX = 0;
  int32_t mPatternAlignY = 0;
  long mClipRegion = 0;
};

// The context selected for drawing now, or nil.
extern Graphics *gCurrentGraphics;

// Ends a clipping scope: the clip region goes back to what it was (always 0
// here); the clip rectangle set meanwhile stays on the pane's GDK context.
class GraphicsClipSaver {
public:
  explicit GraphicsClipSaver(Graphics *g) : mGraphics(g) {}
  ~GraphicsClipSaver();
  GraphicsClipSaver(const GraphicsClipSaver &) = delete;
  GraphicsClipSaver &operator=(const GraphicsClipSaver &) = delete;

private:
  Graphics *mGraphics;
  long mSavedRegion = 0;
};

// Saves and restores the drawing state around a nested drawing; the pen
// position, pattern, background colour and clip are not part of it.
class GraphicsStateSaver {
public:
  void StoreState(Graphics *g);
  void RestoreState(Graphics *g);
  void ClearState() { mSaved = false; }
  bool Saved() const { return mSaved; }

private:
  Graphics *mGraphics = nullptr;
  bool mSaved = false;
  QV::RGBColor mForeColor{0, 0, 0};
  float mScale = 1.0f;
  string mFontName;
  int32_t mTextSize = 0;
  int32_t mTextFace = 0;
  int32_t mTextMode = 0;
  int32_t mPenWidth = 1;
  int32_t mPenHeight = 1;
  int32_t mPenMode = 0;
  int32_t mOriginX = 0;
  int32_t mOriginY = 0;
};

// The longest prefix of text, in bytes, narrower than width, as measured by
// measure(prefix); never inside a character of the text's encoding. With
// wordBreak the break moves back to the last blank and then past the blanks.
// The width of "a" seeds the first guess.
using TextMeasurer = int32_t (*)(void *ref, const string &text);
int32_t FindSoftLineBreak(const string &text, long width, bool wordBreak, TextMeasurer measure,
                          void *ref);

extern "C" int32_t EnableCoreGraphicsTextOnOSX();
