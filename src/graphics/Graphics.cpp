#include "graphics/Graphics.h"

#include <cstring>

#include "foundation/AssertionAlert.h"
#include "foundation/NumberFormat.h"
#include "foundation/TextEncodings.h"
#include "graphics/Drawable.h"
#include "language/CharTables.h"
#include "windows/Pane.h"

Graphics *gCurrentGraphics = nullptr;

namespace {

constexpr const char *kSource = "../Common/Linux/GraphicsLinux";

int32_t sCoreGraphicsText = 0;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// mid moved back to the start of the character it falls in.
int32_t CharacterStart(const string &text, uint32_t encoding, int32_t mid) {
  const auto *bytes = reinterpret_cast<const unsigned char *>(text.CString());
  if (encoding == kEncodingUTF8) {
    while (mid > 0 && mid < text.Length() && (bytes[mid] & 0xC0) == 0x80)
      --mid;
  } else if (encoding == kEncodingUTF16) {
    mid &= ~1;
  } else if (encoding != kEncodingASCII && encoding != kEncodingMacRoman) {
    if (mid > 0 && mid <= text.Length() && IsCharDBCS(bytes[mid - 1]))
      --mid;
  }
  return mid;
}

// The offset of the character after the one at offset.
int32_t NextCharacter(const string &text, uint32_t encoding, int32_t offset) {
  const auto *bytes = reinterpret_cast<const unsigned char *>(text.CString());
  const int32_t length = text.Length();
  if (offset >= length)
    return length + 1;
  if (encoding == kEncodingUTF8) {
    int32_t next = offset + 1;
    while (next < length && (bytes[next] & 0xC0) == 0x80)
      ++next;
    return next;
  }
  if (encoding == kEncodingUTF16)
    return (offset & ~1) + 2;
  if (encoding != kEncodingASCII && encoding != kEncodingMacRoman && IsCharDBCS(bytes[offset]))
    return offset + 2;
  return offset + 1;
}

} // namespace

Graphics::Graphics(Pane *pane) : mPane(pane), mFontName("System") {
  if (mPane)
    Pane::AddPaneDeathNotificationReceiver(this);
}

Graphics::~Graphics() {
  if (gCurrentGraphics == this)
    gCurrentGraphics = nullptr;
  if (mFontDescription)
    pango_font_description_free(mFontDescription);
  ReleaseGC();
  if (mPane) {
    Pane::RemovePaneDeathNotificationReceiver(this, true);
    if (mOwnsPane) {
      Pane *pane = mPane;
      mPane = nullptr;
      delete pane;
    }
  }
}

void Graphics::Release(Graphics *g) { delete g; }

void Graphics::PaneImpendingDeath(Pane *p) {
  if (p != mPane)
    return;
  // The pane is still whole when it closes, so its context goes back to it;
  // from now on this context draws and measures nothing.
  ReleaseGC();
  Pane::RemovePaneDeathNotificationReceiver(this, true);
  mPane = nullptr;
  mOwnsPane = false;
}

void Graphics::TextFont(const string &name) {
  mFontName = name;
  mFontDescriptionValid = false;
}

void Graphics::TextFont(const FontStructure *font) {
  TextFont(font->name);
  TextSize(font->size);
  TextFace(font->getMacStyle());
}

void Graphics::TextSize(int32_t size) {
  mTextSize = size;
  mFontDescriptionValid = false;
}

void Graphics::TextFace(int32_t face) {
  mTextFace = face & 0xFF;
  mFontDescriptionValid = false;
}

void Graphics::PenSize(int32_t width, int32_t height) {
  mPenWidth = width;
  mPenHeight = height;
}

void Graphics::PenNormal() {
  PenSize(1, 1);
  mPatternEnabled = false;
}

void Graphics::PenPat(const Pattern *pattern) {
  mPattern = *pattern;
  mPatternEnabled = true;
}

void Graphics::PenEnumPat(int32_t which) {
  static const uint8_t kStock[3][2] = {{0xAA, 0x55}, {0x00, 0xFF}, {0xAA, 0xAA}};
  if (which < kCheckerboardPattern || which > kAlternateColumnsPattern) {
    std::memset(mPattern.pat, 0xFF, sizeof mPattern.pat);
    mPatternEnabled = false;
    return;
  }
  for (int row = 0; row < 8; ++row)
    mPattern.pat[row] = kStock[which - 1][row & 1];
  mPatternEnabled = true;
}

void Graphics::SetPatternAlign(int32_t x, int32_t y) {
  mPatternAlignX = x;
  mPatternAlignY = y;
}

void Graphics::SetOrigin(int32_t h, int32_t v) {
  mOriginX = h;
  mOriginY = v;
}

void Graphics::MoveTo(int32_t x, int32_t y) {
  mPenX = x;
  mPenY = y;
}

void Graphics::RGBBackColor(const QV::RGBColor *color) { mBackColor = *color; }

void Graphics::ClipRgn(long region) {
  if (region == 0)
    mClipRegion = 0;
}

void Graphics::SelectPen() {
  if (!mPane)
    DisplayRuntimeErrorAlert(kAssertionCode, kAssertionNumber, kSource, 231, "mPane", nullptr);
}

int32_t FindSoftLineBreak(const string &text, long width, bool wordBreak, TextMeasurer measure,
                          void *ref) {
  const int32_t length = text.Length();
  if (length == 0)
    return 0;
  const int32_t fullWidth = measure(ref, text);
  if (fullWidth < width)
    return length;
  const uint32_t encoding = text.Encoding();
  const char *bytes = text.CString();

  // First guess: the width of "a" times 1.8 per byte; when "a" measures
  // nothing, the share of the whole text's width.
  int32_t aWidth = measure(ref, string("a"));
  double guess;
  if (aWidth > 0)
    guess = double(width) / (aWidth * 1.8);
  else if (fullWidth > 0)
    guess = double(length) * double(width) / double(fullWidth);
  else
    guess = length / 2.0;
  int32_t mid = guess <= 0 ? 0 : guess >= length ? length : static_cast<int32_t>(guess);

  int32_t lo = 0, hi = length, step = 2;
  bool up = false, down = false, first = true;
  for (;;) {
    if (!first) {
      mid = CharacterStart(text, encoding, (lo + hi) / 2);
      if (mid <= lo) {
        // Nothing to halve: a guessed bound is tested before the search ends
        // (lo while galloping down, the next character while galloping up).
        int32_t next = NextCharacter(text, encoding, lo);
        if (down)
          mid = lo;
        else if (next < hi || (up && next <= length))
          mid = next;
        else
          break;
      }
    } else {
      mid = CharacterStart(text, encoding, mid);
    }
    bool fits = measure(ref, left(text, mid)) < width;
    if (fits) {
      lo = mid;
      down = false;
      if (first)
        up = true;
      if (up) {
        if (mid + step < length) {
          hi = mid + step;
          step *= 2;
        } else {
          up = false;
          hi = length;
        }
      }
    } else {
      hi = mid;
      up = false;
      if (first)
        down = true;
      if (down) {
        if (mid - step > 0) {
          lo = CharacterStart(text, encoding, mid - step);
          step *= 2;
        } else {
          down = false;
          lo = 0;
        }
      }
    }
    first = false;
    if (lo >= hi)
      break;
  }

  int32_t result = lo;
  if (wordBreak) {
    if (result > 0)
      for (int32_t c = result; c >= 1; --c)
        if (c < length && IsBlank(bytes[c])) {
          result = c;
          break;
        }
    while (result < length && IsBlank(bytes[result]))
      ++result;
  }
  return result;
}

int32_t Graphics::FindSoftLineBreak(const string &text, long width, bool wordBreak) {
  return ::FindSoftLineBreak(
      text, width, wordBreak,
      [](void *ref, const string &s) { return static_cast<Graphics *>(ref)->StringWidth(s); },
      this);
}

void Graphics::DrawConstrainedString(const string &text, int32_t x, int32_t y, int32_t maxWidth,
                                     const string &ellipsis, const QV::Rect *clip) {
  int32_t face = mTextFace;
  if (!mPane)
    return;
  string line = text;
  bool cut = false;
  int32_t w = 0;
  if (StringWidth(line) > maxWidth) {
    TextFace(face | kCondenseFace);
    if (StringWidth(line) > maxWidth) {
      int32_t ellipsisWidth = StringWidth(ellipsis);
      line = left(line, FindSoftLineBreak(line, maxWidth - ellipsisWidth, false));
      w = StringWidth(line);
      cut = true;
    }
  }
  if (!line.IsEmpty())
    DrawString(line, x, y, clip);
  if (cut)
    DrawString(ellipsis, x + w, y, clip);
  TextFace(face);
}

void Graphics::DrawConstrainedDouble(double value, unsigned long digits, int32_t x, int32_t y,
                                     int32_t maxWidth) {
  int32_t face = mTextFace;
  string text = doubleStr(value, kDoubleStrAutomatic, digits);
  if (!mPane)
    return;
  if (StringWidth(text) > maxWidth) {
    TextFace(face | kCondenseFace);
    if (StringWidth(text) > maxWidth) {
      long count = static_cast<long>(digits) - 1;
      text = doubleStr(value, kDoubleStrScientific, count < 0 ? 0 : count);
      while (!text.IsEmpty() && StringWidth(text) > maxWidth) {
        if (count > 0) {
          --count;
          text = doubleStr(value, kDoubleStrScientific, count);
        } else if (count == 0) {
          text = right(text, text.Length() - 2);
          count = -1;
        } else {
          text = string();
        }
      }
    }
  }
  if (!text.IsEmpty())
    DrawString(text, x, y);
  TextFace(face);
}

void Graphics::WriteLine(const string &text, int32_t x, int32_t extra) {
  if (!mPane)
    return;
  int32_t height = FontHeight();
  if (mPenY - mOriginY + height + extra > mPane->Height()) {
    mPane->NextPage();
    mPenY = 0;
  }
  if (!mPane)
    return; // the page's pane went away
  DrawString(text, x, mPenY - mOriginY + FontAscent());
  mPenY += height;
}

// The destination goes to the image in window-content coordinates: the
// image's draw translates it for the drawable, origin included, once.
void Graphics::CopyFromOffscreen(int32_t x, int32_t y, Drawable *source, int32_t sx, int32_t sy,
                                 int32_t w, int32_t h, unsigned char useMask) {
  if (!source)
    return;
  QV::Rect from, to;
  QV::SetRect(&from, sx, sy, sx + w, sy + h);
  QV::SetRect(&to, x, y, x + w, y + h);
  source->DrawPiece(this, from, to, useMask);
}

void Graphics::CopyFromOffscreenTransparent(int32_t x, int32_t y, Drawable *source, int32_t sx,
                                            int32_t sy, int32_t w, int32_t h) {
  CopyFromOffscreen(x, y, source, sx, sy, w, h, 1);
}

void Graphics::StretchFromOffscreen(int32_t x, int32_t y, int32_t w, int32_t h, Drawable *source,
                                    int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                                    unsigned char useMask) {
  if (!source)
    return;
  QV::Rect from, to;
  QV::SetRect(&from, sx, sy, sx + sw, sy + sh);
  QV::SetRect(&to, x, y, x + w, y + h);
  source->DrawPiece(this, from, to, useMask);
}

void Graphics::DrawControl(void *, QV::Rect &) {
  DisplayRuntimeErrorAlert(kAssertionCode, kAssertionNumber, kSource, 1205, "0",
                           "DrawControl not implemented for this platform.");
}

GraphicsClipSaver::~GraphicsClipSaver() {
  if (mGraphics)
    mGraphics->ClipRgn(mSavedRegion);
}

void GraphicsStateSaver::StoreState(Graphics *g) {
  if (!g)
    return;
  mGraphics = g;
  mForeColor = g->GetForeColor();
  mOriginX = g->GetOriginH();
  mOriginY = g->GetOriginV();
  mPenMode = g->GetPenMode();
  mPenWidth = g->GetPenWidth();
  mPenHeight = g->GetPenHeight();
  mFontName = g->GetFontName();
  mTextSize = g->GetFontSize();
  mTextFace = g->GetFace();
  mTextMode = g->GetTextMode();
  mScale = g->GetScale();
  mSaved = true;
}

void GraphicsStateSaver::RestoreState(Graphics *g) {
  if (!g || !mSaved)
    return;
  g->RGBForeColor(&mForeColor);
  g->SetOrigin(mOriginX, mOriginY);
  g->PenMode(mPenMode);
  g->PenSize(mPenWidth, mPenHeight);
  g->TextFont(mFontName);
  g->TextSize(mTextSize);
  g->TextFace(mTextFace & 0xFF);
  g->TextMode(mTextMode);
  g->SetScale(mScale);
  mSaved = false;
}

extern "C" int32_t EnableCoreGraphicsTextOnOSX() {
  sCoreGraphicsText = 1;
  return 1;
}
