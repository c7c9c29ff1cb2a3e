// A top-level window on GTK+: its construction and end, its flat pane list,
// the defaults of its overridable behaviour, its title, background colour
// and named properties.
#include "windows/Window.h"

#include <algorithm>

#include "foundation/AssertionAlert.h"
#include "graphics/Graphics.h"
#include "graphics/GraphicsServices.h"
#include "windows/GTKHelper.h"
#include "windows/MenuServices.h"
#include "windows/RunLoopRegisters.h"
#include "windows/WindowDeferredClose.h"

Window *gWindowList = nullptr;

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
  ForgetDeferredClose(this);
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

int32_t Window::getGrowBoxWidth() {
  if (mType != kWindowTypeFloating && mType != kWindowTypeGlobalFloating)
    return 15;
  if (KaleidoscopeInstalled())
    return 14;
  return AppearanceManagerInstalled() ? 10 : 12;
}
