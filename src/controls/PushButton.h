// The push button as the window layer sees it: a pane that can be the
// window's default or cancel button, be pressed from code, and take a title
// and a font; it reports what the user does to one delegate.
#pragma once
#include <cstdint>

#include "foundation/QVGeometry.h"
#include "foundation/String.h"
#include "graphics/FontStructure.h"
#include "windows/SubPane.h"

class PushButton;

// What a push button reports. Every default does nothing and answers false.
// Coordinates are relative to the button's top-left corner.
class PushButtonDelegate {
public:
  virtual void PushButtonClicked(PushButton *pane);
  virtual bool PushButtonMouseDown(PushButton *pane, int32_t x, int32_t y);
  virtual bool PushButtonMouseUp(PushButton *pane, int32_t x, int32_t y);
  virtual void PushButtonGotFocus(PushButton *pane);
  virtual void PushButtonLostFocus(PushButton *pane);

protected:
  ~PushButtonDelegate() = default;
};

class PushButton : public ContainerPane {
public:
  PushButton(SubPane *parent, int32_t tabPanelIndex, const QV::Rect &bounds)
      : ContainerPane(parent, tabPanelIndex, bounds) {}

  virtual void setDefault(bool on) = 0;
  virtual void setCancel(bool on) = 0;
  // Reports a click to the delegate, as a press by the user would.
  virtual void PressButton() = 0;
  virtual void setTitle(const string &title) = 0;
  virtual void setFont(const FontStructure &font) = 0;
  // A pane that outlives its delegate is told to report to nobody.
  virtual void setDelegate(PushButtonDelegate *delegate) = 0;
};

// A new button pane with its widget placed in the window and shown. bounds
// are in the window's content coordinates.
PushButton *newPushButton(PushButtonDelegate *delegate, const FontStructure &font,
                          ContainerPane *container, int32_t tabPanelIndex, const QV::Rect &bounds,
                          const string &caption);
