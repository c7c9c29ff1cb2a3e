// The check box on GTK+: a GtkCheckButton whose child is its label. Every
// change of its state, by the user or by code, is reported through
// "toggled"; presses go through the window's click dispatch first.
#pragma once
#include <cstdint>

#include <gtk/gtk.h>

#include "controls/CheckBox.h"

class CheckBoxGTK : public CheckBox {
public:
  CheckBoxGTK(CheckBoxDelegate *delegate, const FontStructure &font, ContainerPane *container,
              int32_t tabPanelIndex, const QV::Rect &bounds, const string &caption, int32_t value);

  bool HandleClick(int32_t x, int32_t y, int32_t modifiers) override;
  void HandleMouseUp(int32_t x, int32_t y) override;
  void GainedFocus() override;
  void LostFocus() override;
  void DrawIntoOffscreen(Graphics *g) override;

  void setValue(bool on) override;
  bool getValue() override;
  void setTitle(const string &title) override;
  void setFont(const FontStructure &font) override;
  void setDelegate(CheckBoxDelegate *delegate) override { mDelegate = delegate; }

  const string &Title() const { return mTitle; }

private:
  static void ToggledCallBack(GtkToggleButton *button, CheckBoxGTK *pane);

  string mTitle;
  CheckBoxDelegate *mDelegate;
  FontStructure mFont;
};
