#include "windows/Window.h"

#include <algorithm>
#include <vector>

#include "foundation/AssertionAlert.h"
#include "graphics/Graphics.h"
#include "graphics/GraphicsServices.h"
#include "windows/GTKHelper.h"
#include "windows/MenuServices.h"
#include "windows/MouseCursor.h"
#include "windows/RunLoopRegisters.h"

Window *gWindowList = nullptr;
int32_t Window::sCursorsApplied = 0;

namespace {

struct NamedProperty {
  string name;
  uint32_t value;
};

QV::Rect AtOrigin(const QV::Rect &r) {
  QV::Rect moved = r;
  QV::OffsetRect(&moved, static_cast<int16_t>(-r.left), static_cast<int16_t>(-r.top));
  return moved;
}

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

// Windows queued by CloseWindowLater, closed newest first by a timeout.
std::vector<Window *> sDeferredClose;
guint sDeferredCloser = 0;

gboolean CloseDeferredWindows(gpointer) {
  while (!sDeferredClose.empty()) {
    Window *w = sDeferredClose.back();
    sDeferredClose.pop_back();
    w->Close();
  }
  sDeferredCloser = 0;
  return FALSE;
}

} // namespace

Window::Window(const string &title, const QV::Rect &bounds, WindowType type, bool, int32_t layer,
               bool resizable, bool, int32_t, bool, bool)
    : ContainerPane(nullptr, -1, AtOrigin(bounds)), mLayer(layer), mType(type),
      mResizable(resizable), mTitle(title), mScreenBounds(bounds), mReportedBounds(bounds) {
  Pane::AboutToYield();
  if (mType == kWindowTypeDrawer)
    mType = kWindowTypeFloating;
  else if (mType == kWindowTypeMetal)
    mType = kWindowTypeDocument;
  bool modal = false;
  if (mType >= kWindowTypeModal && mType <= kWindowTypeShadowedBox) {
    mResizable = 0;
    modal = true;
  } else if (mType == kWindowTypeSheet) {
    modal = true;
  } else if (mType == kWindowTypeRounded || mType == kWindowTypeFloatingShadowBox) {
    mResizable = 0;
  }
  if (layer != GetForeLayer())
    DisplayRuntimeErrorAlert(kAssertionCode, kAssertionNumber, "../Common/ClassLib/window", 1798,
                             "layer == GetForeLayer()", nullptr);
  mNextWindow = gWindowList;
  gWindowList = this;
  SetActive(true);

  mGtkWindow = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  mBox = gtk_vbox_new(FALSE, 0);
  gtk_container_add(GTK_CONTAINER(mGtkWindow), mBox);
  gtk_widget_show(mBox);
  GtkWidget *fixed = gtk_fixed_new();
  gtk_box_pack_end(GTK_BOX(mBox), fixed, TRUE, TRUE, 0);
  gtk_widget_show(fixed);
  SetWidget(fixed);
  gtk_window_set_title(GTK_WINDOW(mGtkWindow), GTKHelper::ToUTF8(mTitle).CString());
  gtk_window_move(GTK_WINDOW(mGtkWindow), bounds.left, bounds.top);
  gtk_window_resize(GTK_WINDOW(mGtkWindow), std::max(1, Width()), std::max(1, Height()));
  gtk_window_set_modal(GTK_WINDOW(mGtkWindow), modal);
  if (modal)
    if (Window *parent = GTKHelper::GetDialogParent(this))
      gtk_window_set_transient_for(GTK_WINDOW(mGtkWindow), GTK_WINDOW(parent->mGtkWindow));

  gtk_widget_add_events(mGtkWindow,
                        GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK);
  g_signal_connect(fixed, "expose-event", G_CALLBACK(PaintCallBack), this);
  GObject *win = G_OBJECT(mGtkWindow);
  g_signal_connect(win, "motion-notify-event", G_CALLBACK(MouseMoveCallBack), this);
  g_signal_connect(win, "show", G_CALLBACK(ShowCallBack), this);
  g_signal_connect(win, "configure-event", G_CALLBACK(ConfigureCallBack), this);
  g_signal_connect(win, "delete-event", G_CALLBACK(DeleteCallBack), this);
  g_signal_connect(win, "key-press-event", G_CALLBACK(KeyPressCallBack), this);
  g_signal_connect(win, "button-press-event", G_CALLBACK(GTKHelper::GenericButtonPressedCallBack),
                   static_cast<SubPane *>(this));
  g_signal_connect(win, "button-release-event", G_CALLBACK(ButtonReleasedCallBack), this);
  g_signal_connect(win, "enter-notify-event", G_CALLBACK(EnterCallBack), this);
  g_signal_connect(win, "leave-notify-event", G_CALLBACK(LeaveCallBack), this);
  g_signal_connect(win, "focus-in-event", G_CALLBACK(ActivateCallBack), this);
  g_signal_connect(win, "focus-out-event", G_CALLBACK(DeactivateCallBack), this);
  g_signal_connect(win, "scroll-event", G_CALLBACK(ScrollWheelCallBack), this);
}

Window::~Window() {
  auto queued = std::find(sDeferredClose.begin(), sDeferredClose.end(), this);
  if (queued != sDeferredClose.end())
    sDeferredClose.erase(queued);
  if (mGtkWindow) {
    if (mHasMenuBar)
      DetachMenuBar(this); // its menu nodes outlive the window
    g_signal_handlers_disconnect_matched(mGtkWindow, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr,
                                         this);
    g_signal_handlers_disconnect_matched(GetWidget(), G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr,
                                         this);
    gtk_widget_destroy(mGtkWindow);
  }
  mGtkWindow = nullptr;
  SetWidget(nullptr);
  mBox = nullptr;
  for (int32_t i = 0; i < mProperties.GetCount(); ++i)
    delete static_cast<NamedProperty *>(mProperties.GetElement(i));
  for (Window **link = &gWindowList; *link; link = &(*link)->mNextWindow)
    if (*link == this) {
      *link = mNextWindow;
      break;
    }
  for (Window *w = gWindowList; w; w = w->mNextWindow)
    if (w->mParentWindow == this)
      w->mParentWindow = nullptr;
}

SubPane *Window::PaneAt(int32_t i) const { return static_cast<SubPane *>(mPaneList.GetElement(i)); }

int32_t Window::IndexOfPane(SubPane *p) const {
  for (int32_t i = 0; i < mPaneList.GetCount(); ++i)
    if (PaneAt(i) == p)
      return i;
  return -1;
}

void Window::RemovePane(SubPane *p) {
  int32_t i = IndexOfPane(p);
  if (i >= 0)
    mPaneList.RemoveElement(i);
}

void Window::EstablishDrawingSurface() {}
void Window::ResetDrawingSurface() {}
void Window::HideDragHilite() {}
void Window::ShowDragHilite() {}
bool Window::HandleKeyPress(int32_t, int32_t, int32_t) { return false; }

bool Window::HandleCmdKeyPress(int32_t, int32_t, int32_t) {
  return false; // the command-stop key does not exist on this platform
}

void Window::Redraw(Graphics *g) {
  if (mHasBackgroundColour) {
    QV::Rect r{0, 0, static_cast<int16_t>(Height()), static_cast<int16_t>(Width())};
    g->EraseRect(&r);
  }
  RedrawBackdrop(g);
  if (!IsClosing())
    SubPane::Redraw(g);
}

void Window::Repaint() { Update(); }

void Window::Close() {
  if (CloseRan())
    return;
  if (mType == kWindowTypeSheet || mType == kWindowTypeDrawer)
    HideWindow();
  SubPane::Close();
}

bool Window::HandleClick(int32_t x, int32_t y, int32_t modifiers) {
  QV::Point pt{y, x};
  for (int32_t i = CountPanes() - 1; i >= 0; --i) {
    if (i >= CountPanes() || IsClosing())
      break;
    SubPane *p = PaneAt(i);
    if (!p->IsShowing())
      continue;
    QV::Rect r = p->ClippedBounds();
    if (QV::PtInRect(pt, &r) && p->HandleClick(x, y, modifiers))
      return true;
  }
  return false;
}

void Window::Activate() {
  SubPane::Activate();
  if (mType == kWindowTypeFloating || mType == kWindowTypeFloatingShadowBox)
    return;
  SetFocusPane(GetFocus());
}

void Window::Deactivate() {
  if (SubPane *focus = GetFocusPane(); focus && focus->GetWindow() == this)
    InvalidateFocus();
  SubPane::Deactivate();
}

void Window::RedrawBackdrop(Graphics *) {}
void Window::SelectWindow() { mParentWindow = nullptr; }
void Window::Refresh() { SubPane::Refresh(); }

bool Window::IsModal() {
  return mType == kWindowTypeModal || mType == kWindowTypeMovableModal ||
         mType == kWindowTypeShadowedBox || mType == kWindowTypeSheet;
}

bool Window::IsRuntimeWindow() { return false; }

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

void Window::MouseEnter() {}
void Window::MouseLeave() {}
void Window::Moved() {}

void Window::Resizing() {
  if (GetLiveResize())
    Resized();
}

void Window::HonorControlLocking(const QV::Rect &) {}
void Window::RectInVisRgn(const QV::Rect &) {}

void Window::ReorderControl(SubPane *p, SubPane *before) {
  if (before && IndexOfPane(before) < 0)
    return; // an unlisted anchor changes nothing
  RemovePane(p);
  mPaneList.InsertItem(before ? IndexOfPane(before) + 1 : 0, p);
}

void Window::Resized() {}
void Window::RestrictSize(QV::Rect *) {}
bool Window::CloseBoxClicked() { return false; }
void Window::Minimize() {}
void Window::Maximize() {}
void Window::Restore() {}

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

void Window::ShowWindow() { mWindowVisible = 1; }

void Window::HideWindow() {
  if (!mWindowVisible)
    return;
  gtk_widget_hide(mGtkWindow);
  mWindowVisible = 0;
}

void Window::DoModal() {
  while (mWindowVisible && !IsAppShuttingDown())
    ModalEvents();
}

void Window::SetTitle(const string &title) {
  mTitle = title;
  gtk_window_set_title(GTK_WINDOW(mGtkWindow), GTKHelper::ToUTF8(mTitle).CString());
}

void Window::SetBackgroundColour(uint32_t rgb) {
  mHasBackgroundColour = 1;
  mBackgroundColour = rgb;
}

void Window::UnsetBackgroundColour() {
  if (!mHasBackgroundColour)
    return;
  mHasBackgroundColour = 0;
  InvalidatePane(true);
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

void Window::CloseWindowLater() {
  if (std::find(sDeferredClose.begin(), sDeferredClose.end(), this) != sDeferredClose.end())
    return;
  sDeferredClose.push_back(this);
  if (!sDeferredCloser)
    sDeferredCloser = g_timeout_add(100, CloseDeferredWindows, nullptr); // 6 ticks
}

void Window::DestroyLayerWindows(int32_t layer) {
  for (Window *w : SnapshotWindows())
    if (IsListed(w) && w->mLayer == layer)
      w->Close();
}

void Window::setProperty(const string &name, uint32_t value) {
  for (int32_t i = 0; i < mProperties.GetCount(); ++i) {
    auto *p = static_cast<NamedProperty *>(mProperties.GetElement(i));
    if (p->name.Compare(name) == 0) {
      p->value = value;
      return;
    }
  }
  mProperties.AppendItem(new NamedProperty{name, value});
}

bool Window::getProperty(const string &name, uint32_t *value) {
  for (int32_t i = 0; i < mProperties.GetCount(); ++i) {
    auto *p = static_cast<NamedProperty *>(mProperties.GetElement(i));
    if (p->name.Compare(name) == 0) {
      *value = p->value;
      return true;
    }
  }
  *value = 0;
  return false;
}

bool Window::GetLiveResize() {
  mLiveResizeAsked = 1;
  return mLiveResize != 0;
}

void Window::SelectWindow(Window *parent, int32_t relation) {
  mParentWindow = parent;
  mRelation = relation;
}

void Window::LimitDrawersToBounds() {
  for (Window *w = gWindowList; w; w = w->mNextWindow)
    if (w->mType == kWindowTypeDrawer && w->mParentWindow == this)
      w->LimitDrawerToBounds();
}

int32_t Window::getGrowBoxWidth() {
  if (mType != kWindowTypeFloating && mType != kWindowTypeGlobalFloating)
    return 15;
  if (KaleidoscopeInstalled())
    return 14;
  return AppearanceManagerInstalled() ? 10 : 12;
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

// Signal handlers.

gboolean Window::PaintCallBack(GtkWidget *, GdkEventExpose *, Window *w) {
  w->Repaint();
  return FALSE;
}

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
