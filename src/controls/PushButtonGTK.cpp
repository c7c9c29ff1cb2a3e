#include "controls/PushButtonGTK.h"

#include <algorithm>

#include "graphics/Graphics.h"
#include "language/TextEscapes.h"
#include "runtime/loop/PaneInterface.h"
#include "windows/GTKHelper.h"

void PushButtonDelegate::PushButtonClicked(PushButton *) {}
bool PushButtonDelegate::PushButtonMouseDown(PushButton *, int32_t, int32_t) { return false; }
bool PushButtonDelegate::PushButtonMouseUp(PushButton *, int32_t, int32_t) { return false; }
void PushButtonDelegate::PushButtonGotFocus(PushButton *) {}
void PushButtonDelegate::PushButtonLostFocus(PushButton *) {}

PushButton *newPushButton(PushButtonDelegate *delegate, const FontStructure &font,
                          ContainerPane *container, int32_t tabPanelIndex, const QV::Rect &bounds,
                          const string &caption) {
  return new PushButtonGTK(delegate, font, container, tabPanelIndex, bounds, caption);
}

PushButtonGTK::PushButtonGTK(PushButtonDelegate *delegate, const FontStructure &font,
                             ContainerPane *container, int32_t tabPanelIndex,
                             const QV::Rect &bounds, const string &caption)
    : PushButton(container, tabPanelIndex, bounds), mButtonDelegate(delegate) {
  SetWidget(gtk_button_new_with_label(""));
  GTKHelper::SetupWidget(this, true);
  setFont(font);
  setTitle(caption);
  GObject *button = G_OBJECT(GetWidget());
  g_signal_connect(button, "activate", G_CALLBACK(ActivateCallBack), this);
  g_signal_connect(button, "button-press-event",
                   G_CALLBACK(GTKHelper::GenericButtonPressedCallBack),
                   static_cast<SubPane *>(this));
  g_signal_connect(button, "button-release-event",
                   G_CALLBACK(GTKHelper::GenericButtonReleasedCallBack),
                   static_cast<SubPane *>(this));
  g_signal_connect(button, "grab-focus", G_CALLBACK(GTKHelper::GenericFocusCallBack),
                   static_cast<SubPane *>(this));
}

GtkWidget *PushButtonGTK::Label() const { return gtk_bin_get_child(GTK_BIN(GetWidget())); }

bool PushButtonGTK::HandleClick(int32_t x, int32_t y, int32_t) {
  if (!IsEnabled())
    return false;
  if (mButtonDelegate)
    mMouseDown = mButtonDelegate->PushButtonMouseDown(this, x - Bounds().left, y - Bounds().top);
  CaptureMouse(this);
  return mMouseDown;
}

void PushButtonGTK::HandleMouseUp(int32_t x, int32_t y) {
  if (mButtonDelegate) {
    if (mMouseDown) {
      mButtonDelegate->PushButtonMouseUp(this, x - Bounds().left, y - Bounds().top);
    } else {
      QV::Rect r = Bounds();
      if (QV::PtInRect(QV::Point{y, x}, &r))
        mButtonDelegate->PushButtonClicked(this);
    }
  }
  mMouseDown = 0;
}

void PushButtonGTK::GainedFocus() {
  if (mButtonDelegate && !IsClosing())
    mButtonDelegate->PushButtonGotFocus(this);
}

void PushButtonGTK::LostFocus() {
  if (mButtonDelegate && !IsClosing())
    mButtonDelegate->PushButtonLostFocus(this);
}

SubPane *PushButtonGTK::getDefaultPane() {
  return mDefault && IsEnabled() && IsShowing() ? this : nullptr;
}

SubPane *PushButtonGTK::getCancelPane() {
  return mCancel && IsEnabled() && IsShowing() ? this : nullptr;
}

void PushButtonGTK::triggerPane() { ClickedByKeyOrCode(); }

// Push from code clicks every time it is called, also twice while one key
// press is handled: only a key's own clicks are told apart by their event.
void PushButtonGTK::PressButton() {
  if (mButtonDelegate)
    mButtonDelegate->PushButtonClicked(this);
}

void PushButtonGTK::ActivateCallBack(GtkWidget *, PushButtonGTK *pane) {
  pane->ClickedByKeyOrCode();
}

void PushButtonGTK::ClickedByKeyOrCode() {
  if (!mButtonDelegate)
    return;
  if (GdkEvent *e = gtk_get_current_event()) {
    bool repeat = false;
    if (e->type == GDK_KEY_PRESS) {
      repeat = mHaveLastKey && e->key.time == mLastKeyTime &&
               e->key.hardware_keycode == mLastKeyCode;
      mHaveLastKey = 1;
      mLastKeyTime = e->key.time;
      mLastKeyCode = e->key.hardware_keycode;
    }
    gdk_event_free(e);
    if (repeat)
      return;
  }
  mButtonDelegate->PushButtonClicked(this);
}

void PushButtonGTK::setDefault(bool on) {
  if (on) {
    GTK_WIDGET_SET_FLAGS(GetWidget(), GTK_CAN_DEFAULT);
    gtk_widget_grab_default(GetWidget());
  } else {
    GTK_WIDGET_UNSET_FLAGS(GetWidget(), GTK_CAN_DEFAULT);
  }
  mDefault = on;
}

void PushButtonGTK::setCancel(bool on) { mCancel = on; }

void PushButtonGTK::setTitle(const string &title) {
  GTKHelper::SetCaption(Label(), title, &mFont);
  mTitle = title;
}

void PushButtonGTK::setFont(const FontStructure &font) {
  mFont = font;
  GTKHelper::SetupFont(Label(), &mFont);
}

void PushButtonGTK::DrawIntoOffscreen(Graphics *g) {
  const QV::Rect &b = Bounds();
  if (GdkDrawable *drawable = g->GetPane() ? g->GetPane()->GetGdkDrawable() : nullptr) {
    QV::Rect r = GTKHelper::TranslateRect(g, b);
    gtk_paint_box(GetWidget()->style, drawable,
                  static_cast<GtkStateType>(GTK_WIDGET_STATE(GetWidget())), GTK_SHADOW_OUT,
                  nullptr, GetWidget(), nullptr, r.left, r.top, Width(), Height());
  }
  QV::RGBColor saved = g->GetForeColor();
  g->TextFont(mFont.name);
  g->TextFace(mFont.Style());
  g->TextSize(mFont.size);
  const QV::RGBColor black{0, 0, 0};
  g->RGBForeColor(&black);
  string caption = StripAmpersand(mTitle, nullptr);
  int32_t x = std::max(0, (Width() - g->StringWidth(caption)) / 2);
  int32_t y = (Height() - g->FontHeight()) / 2 + g->FontAscent() + b.top;
  g->DrawString(caption, b.left + x, y);
  g->RGBForeColor(&saved);
}
