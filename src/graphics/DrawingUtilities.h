// Small drawing and measuring helpers that controls share, and the inert
// appearance layer of this platform (it has no theme manager).
#pragma once
#include <cstdint>

#include "foundation/FontStructure.h"
#include "foundation/QVColor.h"
#include "foundation/QVGeometry.h"
#include "foundation/String.h"

class Graphics;
class Pane;

// Raises *widest to the width of text in font, measured on pane.
void FindMaxStringWidth(long *widest, const string &text, FontStructure &font, Pane *pane);
// A dark line with a light one below it (right of it); nil colours mean grey
// 150 and white. The foreground is left at the light colour.
void DrawHorzSeparator(Graphics *g, int32_t x, int32_t y, int32_t length,
                       const QV::RGBColor *dark, const QV::RGBColor *light);
void DrawVertSeparator(Graphics *g, int32_t x, int32_t y, int32_t length,
                       const QV::RGBColor *dark, const QV::RGBColor *light);
// Digits of the integer part of |value|; 0 below 1.
int32_t NumDigits(double value);
void SwapRect(QV::Rect *a, QV::Rect *b);
// Option and shift held, command not.
bool IsOurCopyClick(unsigned long modifiers);
unsigned long CurrentModifierKeys();
long FindDeviceRect(short h, short v, QV::Rect *r);
// The colour the GTK+ theme marks selections with.
QV::RGBColor GetSystemHighlightColor();

void AppearanceSetup();
void AppearanceShutdown();
long AppearanceManagerVersion();
bool ControlManager2Installed();

class AppearanceThemeStateSaver {
public:
  void StoreState() { mSaved = true; }
  void RestoreState() { mSaved = false; }
  void ClearState() { mSaved = false; }
  bool Saved() const { return mSaved; }

private:
  bool mSaved = false;
};
