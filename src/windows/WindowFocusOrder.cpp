// The focus order of a window (the window itself, then its flat pane list)
// and the keys the window answers itself: Tab and Shift-Tab move along the
// order, Return and Enter press the default button, Escape the cancel
// button.
#include "runtime/loop/PaneInterface.h"
#include "windows/Window.h"

SubPane *Window::GetFocus() {
  if (mFocusPane && mFocusPane->IsShowing())
    return mFocusPane;
  mFocusPane = nullptr;
  for (int32_t i = 0; i < CountPanes(); ++i)
    if (PaneAt(i)->AcceptFocus())
      return PaneAt(i);
  return this;
}

namespace {

// The focus order: the window first, then its flat list.
SubPane *FocusOrderAt(Window *w, int32_t i) { return i == 0 ? w : w->PaneAt(i - 1); }

} // namespace

SubPane *Window::AdvanceFocus() {
  int32_t n = CountPanes() + 1;
  SubPane *focus = GetFocusPane();
  int32_t at = focus == this ? 0 : IndexOfPane(focus) + 1;
  for (int32_t step = 1; step <= n; ++step)
    if (SubPane *p = FocusOrderAt(this, (at + step) % n); p->AcceptFocus())
      return p;
  return nullptr;
}

SubPane *Window::ReverseFocus() {
  int32_t n = CountPanes() + 1;
  SubPane *focus = GetFocusPane();
  int32_t at = focus == this ? 0 : IndexOfPane(focus) + 1;
  for (int32_t step = 1; step <= n; ++step)
    if (SubPane *p = FocusOrderAt(this, ((at - step) % n + n) % n); p->AcceptFocus())
      return p;
  return nullptr;
}

SubPane *Window::SetFocusToFirstControl() {
  if (AcceptFocus())
    return this;
  for (int32_t i = 0; i < CountPanes(); ++i)
    if (PaneAt(i)->AcceptFocus())
      return PaneAt(i);
  return nullptr;
}

SubPane *Window::GetNextFocusPane(SubPane *p) {
  SubPane *owner = p ? p->GetOwnerPane() : nullptr;
  int32_t at = owner && owner != this ? IndexOfPane(owner) : -1;
  if (owner && owner != this && at < 0)
    return nullptr;
  for (int32_t i = at + 1; i < CountPanes(); ++i)
    if (PaneAt(i)->AcceptFocus())
      return PaneAt(i);
  for (int32_t i = 0; i < at; ++i)
    if (PaneAt(i)->AcceptFocus())
      return PaneAt(i);
  return nullptr;
}

SubPane *Window::GetPrevFocusPane(SubPane *p) {
  SubPane *owner = p ? p->GetOwnerPane() : nullptr;
  int32_t at = owner && owner != this ? IndexOfPane(owner) : -1;
  int32_t end = at < 0 ? CountPanes() : at;
  for (int32_t i = end - 1; i >= 0; --i)
    if (PaneAt(i)->AcceptFocus())
      return PaneAt(i);
  if (at >= 0)
    for (int32_t i = CountPanes() - 1; i > at; --i)
      if (PaneAt(i)->AcceptFocus())
        return PaneAt(i);
  return nullptr;
}

bool Window::HandleKeyPressHelper(int32_t ch, int32_t, int32_t modifiers) {
  if (ch == 9) {
    if (modifiers & (0x0100 | 0x0800 | 0x1000))
      return false;
    SubPane *focus = GetFocusPane();
    SubPane *target = nullptr;
    if (!focus)
      target = SetFocusToFirstControl();
    else if (IndexOfPane(focus) >= 0)
      target = (modifiers & 0x0200) ? ReverseFocus() : AdvanceFocus();
    if (!target || target == focus)
      return false;
    target->TabbedInto();
    target->SetFocus();
    return true;
  }
  SubPane *p = nullptr;
  if (ch == 13 || ch == 3)
    p = getDefaultPane();
  else if (ch == 27)
    p = getCancelPane();
  else
    return false;
  if (!p)
    return false;
  p->triggerPane();
  return true;
}
