// The radio button on GTK+: a GtkRadioButton whose child is its label. Each
// group keeps a hidden anchor button that is selected whenever none of the
// visible ones is. A button belongs to the group of its current parent and
// tab page: moved to another, it changes group; the group goes with its
// last member.
#pragma once
#include <cstdint>

#include <gtk/gtk.h>

#include "controls/RadioButton.h"

struct RadioGroup;

class RadioButtonGTK : public RadioButton {
public:
  RadioButtonGTK(RadioButtonDelegate *delegate, const FontStructure &font,
                 ContainerPane *container, int32_t tabPanelIndex, const QV::Rect &bounds,
                 const string &caption, int32_t value);
  ~RadioButtonGTK() override;

  bool HandleClick(int32_t x, int32_t y, int32_t modifiers) override;
  void HandleMouseUp(int32_t x, int32_t y) override;
  void GainedFocus() override;
  void LostFocus() override;
  bool AcceptFocus() override;
  void DrawIntoOffscreen(Graphics *g) override;
  void ReassignParent(SubPane *newParent) override;
  void SetTabPanelIndex(int32_t index) override;

  void setValue(bool on) override;
  bool getValue() override;
  void setTitle(const string &title) override;
  void setFont(const FontStructure &font) override;
  void setDelegate(RadioButtonDelegate *delegate) override { mDelegate = delegate; }

  const string &Title() const { return mTitle; }
  RadioGroup *Group() const { return mGroup; }

private:
  static void ToggledCallBack(GtkToggleButton *button, RadioButtonGTK *pane);
  // Joins the group of the current parent and tab page when it is not in
  // it, keeping its selection and reporting nothing.
  void Regroup();

  string mTitle;
  RadioButtonDelegate *mDelegate;
  FontStructure mFont;
  RadioGroup *mGroup = nullptr;
  uint8_t mRegrouping = 0;
};
