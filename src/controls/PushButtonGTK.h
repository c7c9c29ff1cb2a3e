// The push button on GTK+: a GtkButton whose child is a GtkLabel. Clicks go
// through the window's click dispatch and the mouse capture (the button's
// own "clicked" is not used), keys through "activate" and the window's
// default and cancel panes.
#pragma once
#include <cstdint>

#include <gtk/gtk.h>

#include "controls/PushButton.h"

class PushButtonGTK : public PushButton {
public:
  PushButtonGTK(PushButtonDelegate *delegate, const FontStructure &font, ContainerPane *container,
                int32_t tabPanelIndex, const QV::Rect &bounds, const string &caption);

  bool HandleClick(int32_t x, int32_t y, int32_t modifiers) override;
  void HandleMouseUp(int32_t x, int32_t y) override;
  void GainedFocus() override;
  void LostFocus() override;
  SubPane *getDefaultPane() override;
  SubPane *getCancelPane() override;
  void triggerPane() override;
  void DrawIntoOffscreen(Graphics *g) override;

  void setDefault(bool on) override;
  void setCancel(bool on) override;
  void PressButton() override;
  void setTitle(const string &title) override;
  void setFont(const FontStructure &font) override;
  void setDelegate(PushButtonDelegate *delegate) override { mButtonDelegate = delegate; }

  bool IsDefault() const { return mDefault; }
  bool IsCancel() const { return mCancel; }
  const string &Title() const { return mTitle; }
  GtkWidget *Label() const;

private:
  static void ActivateCallBack(GtkWidget *widget, PushButtonGTK *pane);
  // Reports a click unless the key press that caused it already did: GTK+'s
  // "activate" and the window's Return handling can both see one press.
  void ClickedByKeyOrCode();

  uint8_t mCancel = 0;
  string mTitle;
  uint8_t mDefault = 0;
  PushButtonDelegate *mButtonDelegate;
  FontStructure mFont;
  uint8_t mMouseDown = 0; // the last MouseDown answered true
  uint32_t mLastKeyTime = 0;
  uint16_t mLastKeyCode = 0;
  uint8_t mHaveLastKey = 0;
};
