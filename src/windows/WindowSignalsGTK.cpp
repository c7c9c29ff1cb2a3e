// The window's GTK+ signal handlers: each turns a signal into the window's
// own call, holding the window while a handler may close it.
#include "windows/GTKHelper.h"
#include "windows/MenuServices.h"
#include "windows/RunLoopRegisters.h"
#include "windows/Window.h"

gboolean Window::PaintCallBack(GtkWidget *, GdkEventExpose *, Window *w) {
  w->Repaint();
  return FALSE;
}

gboolean Window::MouseMoveCallBack(GtkWidget *, GdkEventMotion *, Window *w) {
  QV::Point pt = GTKHelper::GetCursorPos(w);
  w->Protect();
  w->ApplyCursorAt(pt.h, pt.v);
  if (!GetCaptureMouse() && !w->IsClosing())
    w->HandleMouseMove(pt.h, pt.v);
  w->UnprotectCausesDeath();
  if (GTKDragHelper::IsDragInProgress())
    GTKDragHelper::UpdateDragProgress();
  return FALSE;
}

void Window::ShowCallBack(GtkWidget *, Window *w) {
  if (w->mHasMenuBar)
    EnableMenus(false, w);
  w->SizeWindow(w->Width(), w->Height(), true);
  for (int32_t i = 0; i < w->CountPanes(); ++i)
    if (SubPane *p = w->PaneAt(i); p->AcceptFocus()) {
      p->SetFocus();
      break;
    }
}

gboolean Window::ConfigureCallBack(GtkWidget *, GdkEventConfigure *e, Window *w) {
  if (e->type != GDK_CONFIGURE)
    return FALSE;
  QV::Rect limits{0, 0, 0, 0};
  w->RestrictSize(&limits);
  if (limits.left || limits.top || limits.right || limits.bottom) {
    int32_t bar = w->mHasMenuBar ? GTKHelper::GetMenuBarHeight(w) : 0;
    if (w->mResizable)
      w->ApplySizeHints(limits.left, limits.top ? limits.top + bar : 0, limits.right,
                        limits.bottom ? limits.bottom + bar : 0);
    else
      w->ApplySizeHints(w->Width(), w->Height() + bar, w->Width(), w->Height() + bar);
  }
  // The run-loop step may have seen the new origin before this event came:
  // each move is reported once, by whichever notices it first. A new size
  // waits for the step, since GTK+ allocates it after this event.
  w->NoticeScreenChanges(false);
  return FALSE;
}

gboolean Window::DeleteCallBack(GtkWidget *, GdkEvent *, Window *w) {
  // GTK+ never destroys the widgets itself: a window that is kept stays
  // whole, and one that closes is destroyed by the runtime with its panes.
  w->Protect();
  bool keep = w->CloseBoxClicked();
  if (!keep && !w->IsClosing())
    w->Close();
  w->UnprotectCausesDeath();
  return TRUE;
}

gboolean Window::KeyPressCallBack(GtkWidget *, GdkEventKey *e, Window *w) {
  int32_t modifiers = 0;
  if (e->state & GDK_SHIFT_MASK)
    modifiers |= 0x0200;
  if (e->state & GDK_CONTROL_MASK)
    modifiers |= 0x1000;
  gLastModifiers = static_cast<uint16_t>(modifiers);
  if (e->keyval >= 0xFFE1 && e->keyval <= 0xFFE6)
    return FALSE;
  if (e->keyval == 0xFFE9 || e->keyval == 0xFFEA) {
    gLastModifiers = static_cast<uint16_t>(modifiers + 0x0800);
    return FALSE;
  }
  int32_t ch = GTKHelper::GetCharCodeFromKeyCode(e->keyval, modifiers);
  int32_t key = e->keyval & 0xFF;
  w->Protect();
  bool handled = false;
  SubPane *focus = GetFocusPane();
  if (focus) {
    focus->Protect();
    handled = focus->HandleKeyPress(ch, key, modifiers);
    focus->UnprotectCausesDeath();
  }
  // The window is asked once, also when it is the focus pane itself.
  if (!handled && focus != w && !w->IsClosing())
    handled = w->HandleKeyPress(ch, key, modifiers);
  if (!handled && !w->IsClosing())
    handled = w->HandleKeyPressHelper(ch, key, modifiers);
  w->UnprotectCausesDeath();
  return handled;
}

gboolean Window::ButtonReleasedCallBack(GtkWidget *widget, GdkEventButton *e, Window *) {
  if (SubPane *capture = GetCaptureMouse())
    GTKHelper::GenericButtonReleasedCallBack(widget, e, capture);
  GTKDragHelper::StopDragProgress();
  return TRUE;
}

gboolean Window::EnterCallBack(GtkWidget *, GdkEventCrossing *e, Window *w) {
  if (e->detail != GDK_NOTIFY_INFERIOR)
    w->MouseEnter();
  return FALSE;
}

gboolean Window::LeaveCallBack(GtkWidget *, GdkEventCrossing *e, Window *w) {
  if (e->detail != GDK_NOTIFY_INFERIOR)
    w->MouseLeave();
  return FALSE;
}

gboolean Window::ActivateCallBack(GtkWidget *, GdkEventFocus *, Window *w) {
  w->Activate();
  return FALSE;
}

gboolean Window::DeactivateCallBack(GtkWidget *, GdkEventFocus *, Window *w) {
  w->Deactivate();
  return FALSE;
}

gboolean Window::ScrollWheelCallBack(GtkWidget *, GdkEventScroll *e, Window *w) {
  if (e->type != GDK_SCROLL)
    return FALSE;
  int32_t delta = e->direction == GDK_SCROLL_UP ? -3 : 3;
  QV::Point pt = GTKHelper::EventPos(w, e->x_root, e->y_root);
  w->Protect();
  bool handled = false;
  for (int32_t i = w->CountPanes() - 1; i >= 0 && !handled && !w->IsClosing(); --i) {
    if (i >= w->CountPanes())
      continue;
    SubPane *p = w->PaneAt(i);
    QV::Rect r = p->ClippedBounds();
    if (p->IsShowing() && QV::PtInRect(pt, &r))
      handled = p->HandleMouseWheel(pt.h, pt.v, delta);
  }
  w->UnprotectCausesDeath();
  return handled;
}
