// Walks over every window: the run-loop step that notices moves and shows
// the windows asked to show, closing a layer, drawers and floating boxes,
// and the windows in the window system's stacking order.
#include <algorithm>
#include <vector>

#include "windows/GTKHelper.h"
#include "windows/Window.h"

namespace {

bool IsListed(Window *w) {
  for (Window *p = gWindowList; p; p = p->NextWindow())
    if (p == w)
      return true;
  return false;
}

// The windows listed now, newest first: walks that run handlers take this
// copy, since a handler may close any window.
std::vector<Window *> SnapshotWindows() {
  std::vector<Window *> all;
  for (Window *w = gWindowList; w; w = w->NextWindow())
    all.push_back(w);
  return all;
}

} // namespace

void Window::AboutToYield() {
  for (Window *w : SnapshotWindows()) {
    if (!IsListed(w) || w->IsClosing())
      continue;
    w->Protect();
    w->MoveWindowPosition();
    if (!w->IsClosing() && w->mWindowVisible && !GTK_WIDGET_VISIBLE(w->mGtkWindow)) {
      // Mapped at its size with the menu bar, the window needs no second
      // configure when it is shown.
      int32_t bar = w->mHasMenuBar ? GTKHelper::GetMenuBarHeight(w) : 0;
      gtk_window_resize(GTK_WINDOW(w->mGtkWindow), std::max(1, w->Width()),
                        std::max(1, w->Height() + bar));
      gtk_widget_show(w->mGtkWindow);
    }
    w->UnprotectCausesDeath();
  }
}

void Window::DestroyLayerWindows(int32_t layer) {
  for (Window *w : SnapshotWindows())
    if (IsListed(w) && w->mLayer == layer)
      w->Close();
}

void Window::LimitDrawersToBounds() {
  for (Window *w = gWindowList; w; w = w->mNextWindow)
    if (w->mType == kWindowTypeDrawer && w->mParentWindow == this)
      w->LimitDrawerToBounds();
}

void Window::CloseAllFloatingShadowBoxes() {
  for (Window *w = gWindowList; w; w = w->mNextWindow)
    if (w->mType == kWindowTypeFloatingShadowBox)
      w->HideWindow();
}

bool Window::IterateWindowList(bool (*fn)(Window *w, void *arg), void *arg) {
  bool all = true;
  GList *toplevels = gdk_window_get_toplevels();
  for (GList *item = toplevels; item; item = item->next)
    for (Window *w = gWindowList; w; w = w->mNextWindow)
      if (w->mGtkWindow && w->mGtkWindow->window == item->data) {
        if (!fn(w, arg))
          all = false;
        break; // the list is searched afresh for the next toplevel
      }
  g_list_free(toplevels);
  return all;
}
