// The mouse cursor over a window: the application's cursor, else that of the
// topmost showing pane under the pointer, else the window's own; set on the
// window system only when it changes.
#include "windows/MouseCursor.h"
#include "windows/RunLoopRegisters.h"
#include "windows/Window.h"

int32_t Window::sCursorsApplied = 0;

void Window::ApplyCursorAt(int32_t x, int32_t y) {
  MouseCursor *record = nullptr;
  if (!ApplicationMouseCursor(&record)) {
    QV::Point pt{y, x};
    bool found = false;
    for (int32_t i = CountPanes() - 1; i >= 0 && !found; --i) {
      SubPane *p = PaneAt(i);
      if (!p->IsShowing() || !p->getMouseCursor())
        continue;
      QV::Rect r = p->ClippedBounds();
      if (QV::PtInRect(pt, &r)) {
        record = p->getMouseCursor();
        found = true;
      }
    }
    if (!found)
      record = getMouseCursor();
  }
  GdkWindow *target = GetFixed() ? GetFixed()->window : nullptr;
  if (!target)
    return;
  if (!record || !record->cursor) {
    if (mCursorCache.type != 2 || mCursorCache.id != 0) {
      gdk_window_set_cursor(target, nullptr);
      ++sCursorsApplied;
    }
    mCursorCache = CursorCache{2, 0};
    return;
  }
  int32_t type = gdk_cursor_get_cursor_type(record->cursor);
  if (type != mCursorCache.type ||
      (type == GDK_CURSOR_IS_PIXMAP && record->id != mCursorCache.id)) {
    gdk_window_set_cursor(target, record->cursor);
    ++sCursorsApplied;
  }
  mCursorCache = CursorCache{type, record->id};
}
