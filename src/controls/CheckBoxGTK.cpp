#include "controls/CheckBoxGTK.h"

#include "controls/ToggleButtonGTK.h"
#include "windows/GTKHelper.h"

void CheckBoxDelegate::CheckBoxChanged(CheckBox *) {}
bool CheckBoxDelegate::CheckBoxMouseDown(CheckBox *, int32_t, int32_t) { return false; }
bool CheckBoxDelegate::CheckBoxMouseUp(CheckBox *, int32_t, int32_t) { return false; }
void CheckBoxDelegate::CheckBoxGotFocus(CheckBox *) {}
void CheckBoxDelegate::CheckBoxLostFocus(CheckBox *) {}

CheckBox *newCheckBox(CheckBoxDelegate *delegate, const FontStructure &font,
                      ContainerPane *container, int32_t tabPanelIndex, const QV::Rect &bounds,
                      const string &caption, int32_t value) {
  return new CheckBoxGTK(delegate, font, container, tabPanelIndex, bounds, caption, value);
}

CheckBoxGTK::CheckBoxGTK(CheckBoxDelegate *delegate, const FontStructure &font,
                         ContainerPane *container, int32_t tabPanelIndex, const QV::Rect &bounds,
                         const string &caption, int32_t value)
    : CheckBox(container, tabPanelIndex, bounds), mDelegate(delegate) {
  SetWidget(gtk_check_button_new_with_label(""));
  GTKHelper::SetupWidget(this, true);
  setFont(font);
  setTitle(caption);
  setValue(value != 0);
  GObject *button = G_OBJECT(GetWidget());
  g_signal_connect(button, "button-press-event",
                   G_CALLBACK(GTKHelper::GenericButtonPressedCallBack),
                   static_cast<SubPane *>(this));
  g_signal_connect(button, "button-release-event",
                   G_CALLBACK(GTKHelper::GenericButtonReleasedCallBack),
                   static_cast<SubPane *>(this));
  g_signal_connect(button, "toggled", G_CALLBACK(ToggledCallBack), this);
  g_signal_connect(button, "grab-focus", G_CALLBACK(GTKHelper::GenericFocusCallBack),
                   static_cast<SubPane *>(this));
}

// A report may close the window and with it the pane: nothing here touches
// the pane after the report.
void CheckBoxGTK::ToggledCallBack(GtkToggleButton *, CheckBoxGTK *pane) {
  if (pane->mDelegate)
    pane->mDelegate->CheckBoxChanged(pane);
}

bool CheckBoxGTK::HandleClick(int32_t x, int32_t y, int32_t) {
  return ToggleButtonGTK::HandleClick(
      this, mDelegate != nullptr,
      [&](int32_t dx, int32_t dy) { return mDelegate->CheckBoxMouseDown(this, dx, dy); }, x, y);
}

void CheckBoxGTK::HandleMouseUp(int32_t x, int32_t y) {
  if (mDelegate)
    mDelegate->CheckBoxMouseUp(this, x - Bounds().left, y - Bounds().top);
}

void CheckBoxGTK::GainedFocus() {
  if (mDelegate && !IsClosing())
    mDelegate->CheckBoxGotFocus(this);
}

void CheckBoxGTK::LostFocus() {
  if (mDelegate && !IsClosing())
    mDelegate->CheckBoxLostFocus(this);
}

bool CheckBoxGTK::getValue() {
  return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(GetWidget())) != 0;
}

void CheckBoxGTK::setValue(bool on) {
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(GetWidget()), on);
}

void CheckBoxGTK::setTitle(const string &title) {
  GTKHelper::SetCaption(ToggleButtonGTK::Label(this), title, &mFont);
  mTitle = title;
}

void CheckBoxGTK::setFont(const FontStructure &font) {
  mFont = font;
  GTKHelper::SetupFont(ToggleButtonGTK::Label(this), &mFont);
}

void CheckBoxGTK::DrawIntoOffscreen(Graphics *g) {
  ToggleButtonGTK::DrawIntoOffscreen(this, g, false, mFont, mTitle);
}
