// Where a window is and how big: the moves and sizes a program asks for, the
// size hints, and the window system's changes, each noticed and reported
// once.
#include <algorithm>

#include "windows/GTKHelper.h"
#include "windows/Window.h"

// MoveWindow and SizeWindow record the place asked for at once; Moved and
// Resized follow when the window system has made the change, once each.
// Before the window is on screen there is nothing to report: the request is
// then where it appears.
void Window::MoveWindow(int32_t x, int32_t y, bool) {
  if (mGtkWindow->window)
    GetWindowBounds(&mScreenBounds);
  // The window's top is the top of its client area, where a menu bar
  // begins: the same top that GetWindowBounds reports.
  gtk_window_move(GTK_WINDOW(mGtkWindow), x, y);
  QV::OffsetRect(&mScreenBounds, static_cast<int16_t>(x - mScreenBounds.left),
                 static_cast<int16_t>(y - mScreenBounds.top));
  if (!mGtkWindow->window)
    mReportedBounds = mScreenBounds;
}

void Window::SizeWindow(int32_t width, int32_t height, bool) {
  int32_t bar = mHasMenuBar ? GTKHelper::GetMenuBarHeight(this) : 0;
  if (mGtkWindow->window) {
    gint x, y;
    gdk_window_get_origin(mGtkWindow->window, &x, &y);
    QV::SetRect(&mScreenBounds, x, y, x + width, y + height);
    if (!mResizable)
      ApplySizeHints(width, height + bar, width, height + bar);
    gtk_window_resize(GTK_WINDOW(mGtkWindow), std::max(1, width), std::max(1, height + bar));
  } else {
    QV::SetRect(&mScreenBounds, mScreenBounds.left, mScreenBounds.top, mScreenBounds.left + width,
                mScreenBounds.top + height);
    mReportedBounds = mScreenBounds;
  }
  QV::Rect r{0, 0, static_cast<int16_t>(height), static_cast<int16_t>(width)};
  SetBounds(r);
}

void Window::ApplySizeHints(int32_t minW, int32_t minH, int32_t maxW, int32_t maxH) {
  GdkGeometry hints{};
  int mask = 0;
  // A 0 limit sets no bound on that side.
  if (minW || minH) {
    hints.min_width = minW;
    hints.min_height = minH;
    mask |= GDK_HINT_MIN_SIZE;
  }
  if (maxW || maxH) {
    hints.max_width = maxW ? maxW : G_MAXSHORT;
    hints.max_height = maxH ? maxH : G_MAXSHORT;
    mask |= GDK_HINT_MAX_SIZE;
  }
  gtk_window_set_geometry_hints(GTK_WINDOW(mGtkWindow), mBox, &hints,
                                static_cast<GdkWindowHints>(mask));
}

void Window::GetWindowBounds(QV::Rect *r) {
  if (!mGtkWindow || !mGtkWindow->window) {
    *r = mBounds;
    return;
  }
  gint x, y;
  gdk_window_get_origin(mGtkWindow->window, &x, &y);
  int32_t bar = mHasMenuBar ? GTKHelper::GetMenuBarHeight(this) : 0;
  QV::SetRect(r, x, y, x + mGtkWindow->allocation.width, y + mGtkWindow->allocation.height - bar);
}

void Window::MoveWindowPosition() { NoticeScreenChanges(true); }

void Window::NoticeScreenChanges(bool sizeToo) {
  // Before GTK+ made the window's GDK window nothing can have moved; the
  // pane bounds that stand in for it then are no screen position.
  if (!mGtkWindow->window)
    return;
  QV::Rect now;
  GetWindowBounds(&now);
  const QV::Rect &was = mReportedBounds;
  bool moved = now.left != was.left || now.top != was.top;
  bool resized = sizeToo && (now.right - now.left != was.right - was.left ||
                             now.bottom - now.top != was.bottom - was.top);
  if (resized && mHasMenuBar) {
    GTKHelper::GetMenuBarHeight(this); // measures the bar once it is laid out
    GetWindowBounds(&now);
  }
  if (moved) {
    auto moveTo = [&now](QV::Rect &r) {
      QV::OffsetRect(&r, static_cast<int16_t>(now.left - r.left),
                     static_cast<int16_t>(now.top - r.top));
    };
    moveTo(mReportedBounds);
    moveTo(mScreenBounds);
  }
  if (resized) {
    mReportedBounds = mScreenBounds = now;
    QV::Rect r{0, 0, static_cast<int16_t>(now.bottom - now.top),
               static_cast<int16_t>(now.right - now.left)};
    SetBounds(r);
  }
  if (!moved && !resized)
    return;
  Protect();
  if (moved)
    Moved();
  if (resized && !IsClosing())
    Resized();
  UnprotectCausesDeath();
}
