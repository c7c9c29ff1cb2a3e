#include "graphics/DrawingUtilities.h"

#include <cmath>
#include <utility>

#include "foundation/AssertionAlert.h"
#include "graphics/Graphics.h"
#include "graphics/GraphicsServices.h"
#include "windows/Pane.h"

void FindMaxStringWidth(long *widest, const string &text, FontStructure &font, Pane *pane) {
  long width = 0;
  if (!pane) {
    DisplayRuntimeErrorAlert(kAssertionCode, kAssertionNumber, "../Common/DrawingUtils", 88, "0",
                             nullptr);
  } else {
    Graphics *g = pane->getGraphics();
    g->TextFont(&font);
    width = g->StringWidth(text);
    Graphics::Release(g);
  }
  if (width > *widest)
    *widest = width;
}

namespace {

constexpr QV::RGBColor kSeparatorDark{38550, 38550, 38550};
constexpr QV::RGBColor kSeparatorLight{65535, 65535, 65535};

void Separator(Graphics *g, int32_t x, int32_t y, int32_t dx, int32_t dy, int32_t sx, int32_t sy,
               const QV::RGBColor *dark, const QV::RGBColor *light) {
  g->RGBForeColor(dark ? dark : &kSeparatorDark);
  g->MoveTo(x, y);
  g->LineTo(x + dx, y + dy);
  g->RGBForeColor(light ? light : &kSeparatorLight);
  g->MoveTo(x + sx, y + sy);
  g->LineTo(x + sx + dx, y + sy + dy);
}

} // namespace

void DrawHorzSeparator(Graphics *g, int32_t x, int32_t y, int32_t length,
                       const QV::RGBColor *dark, const QV::RGBColor *light) {
  Separator(g, x, y, length, 0, 0, 1, dark, light);
}

void DrawVertSeparator(Graphics *g, int32_t x, int32_t y, int32_t length,
                       const QV::RGBColor *dark, const QV::RGBColor *light) {
  Separator(g, x, y, 0, length, 1, 0, dark, light);
}

int32_t NumDigits(double value) {
  value = std::fabs(value);
  int32_t digits = 0;
  while (value >= 1 && digits < 400) {
    value /= 10;
    ++digits;
  }
  return digits;
}

void SwapRect(QV::Rect *a, QV::Rect *b) { std::swap(*a, *b); }

bool IsOurCopyClick(unsigned long modifiers) {
  return (modifiers & 0x800) && (modifiers & 0x200) && !(modifiers & 0x100);
}

unsigned long CurrentModifierKeys() { return 0; }
long FindDeviceRect(short, short, QV::Rect *) { return 0; }

void AppearanceSetup() {}
void AppearanceShutdown() {}
long AppearanceManagerVersion() { return 0; }
bool ControlManager2Installed() { return false; }
