// The radio button as the window layer sees it: one choice of a group of
// exclusive choices. The buttons of one parent pane and tab page form a
// group; selecting one deselects the others. It reports a selection, and
// what the user does, to one delegate.
#pragma once
#include <cstdint>

#include "foundation/QVGeometry.h"
#include "foundation/String.h"
#include "graphics/FontStructure.h"
#include "windows/SubPane.h"

class RadioButton;

// What a radio button reports. Every default does nothing and answers
// false. Coordinates are relative to the button's top-left corner.
class RadioButtonDelegate {
public:
  virtual void RadioButtonSet(RadioButton *pane);
  virtual void RadioButtonUnset(RadioButton *pane);
  virtual bool RadioButtonMouseDown(RadioButton *pane, int32_t x, int32_t y);
  virtual bool RadioButtonMouseUp(RadioButton *pane, int32_t x, int32_t y);
  virtual void RadioButtonGotFocus(RadioButton *pane);
  virtual void RadioButtonLostFocus(RadioButton *pane);

protected:
  ~RadioButtonDelegate() = default;
};

class RadioButton : public ContainerPane {
public:
  RadioButton(SubPane *parent, int32_t tabPanelIndex, const QV::Rect &bounds)
      : ContainerPane(parent, tabPanelIndex, bounds) {}

  // True selects the button; False on the selected button leaves no button
  // of its group selected.
  virtual void setValue(bool on) = 0;
  virtual bool getValue() = 0;
  virtual void setTitle(const string &title) = 0;
  virtual void setFont(const FontStructure &font) = 0;
  // A pane that outlives its delegate is told to report to nobody.
  virtual void setDelegate(RadioButtonDelegate *delegate) = 0;
};

// A new radio button with its widget placed in the window and shown, in the
// group of its parent pane and tab page. bounds are in the window's content
// coordinates.
RadioButton *newRadioButton(RadioButtonDelegate *delegate, const FontStructure &font,
                            ContainerPane *container, int32_t tabPanelIndex,
                            const QV::Rect &bounds, const string &caption, int32_t value);
// The number of radio groups that exist now.
int32_t CountRadioGroups();
