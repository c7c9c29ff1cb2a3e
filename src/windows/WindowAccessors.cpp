// The property accessors of the Window class. Each stores into the window
// object and, while the native window exists, hands the change to it; the
// stored values of a window that is not open yet are handed over when its
// native window is made.
#include "foundation/AssertionAlert.h"
#include "graphics/RuntimeGraphics.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "windows/MenuServices.h"
#include "windows/MouseCursor.h"
#include "windows/RuntimeWindow.h"
#include "windows/WindowClass.h"

namespace {

constexpr char kSource[] = "../Common/ClassLib/RuntimeWindow";

// The window object, or the alert with the condition for a nil one.
bool Checked(RuntimeView *window, int32_t line, const char *condition,
             const char *message = nullptr) {
  if (window)
    return true;
  ShowAlert(AlertSite{kSource, line, condition}, message);
  return false;
}

int16_t Short(int32_t value) { return static_cast<int16_t>(value); }

int16_t *Limit(RuntimeView *window, int32_t which) {
  switch (which) {
  case 0:
    return &window->minWidth;
  case 1:
    return &window->minHeight;
  case 2:
    return &window->maxWidth;
  case 3:
    return &window->maxHeight;
  default:
    return nullptr;
  }
}

} // namespace

extern "C" {

int32_t WindowVisibleGetter(RuntimeView *window, int32_t) { return window && window->visible; }

void WindowVisibleSetter(RuntimeView *window, int32_t, int32_t value) {
  if (!window)
    return;
  window->visible = value != 0;
  if (RuntimeViewWindow *w = Native(window)) {
    if (value)
      w->ShowWindow(); // shown at the next run-loop step
    else
      w->HideWindow();
  }
}

int32_t windowPosGetter(RuntimeView *window, int32_t which) {
  if (!window)
    return 0;
  const QV::Rect &r = window->bounds;
  switch (which) {
  case 0:
    return r.left;
  case 1:
    return r.top;
  case 2:
    return r.right - r.left;
  case 3:
    return r.bottom - r.top;
  default:
    return 0;
  }
}

void windowPosSetter(RuntimeView *window, int32_t which, int32_t value) {
  if (!window || window->fullScreen)
    return; // full-screen bounds belong to the screen
  QV::Rect &r = window->bounds;
  RuntimeViewWindow *w = Native(window);
  switch (which) {
  case 0:
    r.right = Short(value + (r.right - r.left));
    r.left = Short(value);
    if (w)
      w->MoveWindow(r.left, r.top, true);
    break;
  case 1:
    r.bottom = Short(value + (r.bottom - r.top));
    r.top = Short(value);
    if (w)
      w->MoveWindow(r.left, r.top, true);
    break;
  case 2:
    r.right = Short(r.left + value);
    if (w)
      w->SizeWindow(Short(value), r.bottom - r.top, true);
    break;
  case 3:
    r.bottom = Short(r.top + value);
    if (w)
      w->SizeWindow(r.right - r.left, Short(value), true);
    break;
  default:
    break;
  }
}

int32_t windowPlacementGetter(RuntimeView *window, int32_t) {
  return window ? window->placement : 0;
}
void windowPlacementSetter(RuntimeView *window, int32_t, int32_t value) {
  if (window)
    window->placement = value;
}

stringStorage *windowTitleGetter(RuntimeView *window, int32_t) {
  return window ? RuntimeLockString(window->title) : nullptr;
}

void windowTitleSetter(RuntimeView *window, int32_t, stringStorage *value) {
  if (!Checked(window, 1342, "view", "Trying to set the window's title, but there was no window"))
    return;
  RuntimeLockString(value);
  RuntimeUnlockString(window->title);
  window->title = value;
  if (RuntimeViewWindow *w = Native(window))
    w->SetTitle(string::Borrow(value));
}

int32_t windowFullScreenGetter(RuntimeView *window, int32_t) {
  return window && window->fullScreen;
}

int32_t windowMenusVisibleGetter(RuntimeView *window, int32_t) {
  return window && window->menuBarVisible;
}
void windowMenusVisibleSetter(RuntimeView *window, int32_t, int32_t value) {
  if (window && window->menuBarVisible != (value != 0))
    window->menuBarVisible = value != 0;
}

// Plain fields, read by the native window only when it is made.
#define BOOL_FIELD(Getter, Setter, field)                                                          \
  int32_t Getter(RuntimeView *window, int32_t) { return window && window->field; }                 \
  void Setter(RuntimeView *window, int32_t, int32_t value) {                                       \
    if (window)                                                                                    \
      window->field = value != 0;                                                                  \
  }
BOOL_FIELD(windowCloseBoxGetter, windowCloseBoxSetter, closeBox)
BOOL_FIELD(windowGrowIconGetter, windowGrowIconSetter, growIcon)
BOOL_FIELD(windowZoomIconGetter, windowZoomIconSetter, zoomIcon)
#undef BOOL_FIELD

int32_t windowFrameGetter(RuntimeView *window, int32_t) { return window ? window->frame : 0; }
void windowFrameSetter(RuntimeView *window, int32_t, int32_t value) {
  if (window)
    window->frame = value;
}

int32_t windowLiveResizeGetter(RuntimeView *window, int32_t) {
  if (!Checked(window, 1420, "window"))
    return 0;
  RuntimeViewWindow *w = Native(window);
  return w ? w->GetLiveResize() : window->pendingLiveResize != 0;
}

void windowLiveResizeSetter(RuntimeView *window, int32_t, int32_t value) {
  if (!Checked(window, 1431, "window"))
    return;
  if (RuntimeViewWindow *w = Native(window))
    w->SetLiveResize(value != 0);
  else
    window->pendingLiveResize = value != 0;
}

RuntimeObject *windowBackdropGetter(RuntimeView *window, int32_t) {
  if (!window)
    return nullptr;
  RuntimeLockObject(window->backdrop);
  return window->backdrop;
}

void windowBackdropSetter(RuntimeView *window, int32_t, RuntimeObject *picture) {
  if (!window)
    return;
  RuntimeLockUnlockObjects(picture, window->backdrop);
  window->backdrop = picture;
  if (RuntimeViewWindow *w = Native(window))
    w->InvalidatePane(true);
}

RuntimeObject *windowGraphicsGetter(RuntimeView *window, int32_t) {
  RuntimeViewWindow *w = Native(window);
  if (!w)
    return nullptr;
  if (!window->graphics)
    window->graphics = NewGraphicsObject(w->getGraphics()); // the kept reference
  RuntimeLockObject(window->graphics);
  return window->graphics;
}

int32_t windowHasBackColorGetter(RuntimeView *window, int32_t) {
  return window && window->hasBackColor;
}

void windowHasBackColorSetter(RuntimeView *window, int32_t, int32_t value) {
  if (!window)
    return;
  window->hasBackColor = value != 0;
  if (RuntimeViewWindow *w = Native(window)) {
    if (value)
      w->SetBackgroundColour(window->backColor);
    else
      w->UnsetBackgroundColour();
  }
}

int32_t windowBackColorGetter(RuntimeView *window, int32_t) {
  return window ? static_cast<int32_t>(window->backColor) : 0;
}

void windowBackColorSetter(RuntimeView *window, int32_t, int32_t value) {
  if (!window)
    return;
  window->backColor = static_cast<uint32_t>(value);
  if (RuntimeViewWindow *w = Native(window); w && window->hasBackColor)
    w->SetBackgroundColour(window->backColor);
}

void windowBalloonHelpSetter(RuntimeView *window, int32_t offset, stringStorage *value) {
  if (!window)
    return;
  stringSetter(&window->header, offset, value);
  if (RuntimeViewWindow *w = Native(window))
    w->setBalloonHelp(string::Borrow(window->balloonHelp));
}

int32_t windowMinMaxWidthHeightGetter(RuntimeView *window, int32_t which) {
  if (!Checked(window, 1502, "window"))
    return 0;
  int16_t *limit = Limit(window, which);
  return limit ? *limit : 0;
}

// The native window reads the limits when the user resizes the window.
void windowMinMaxWidthHeightSetter(RuntimeView *window, int32_t which, int32_t value) {
  if (!Checked(window, 1513, "window"))
    return;
  if (int16_t *limit = Limit(window, which))
    *limit = Short(value);
}

void formMouseCursorSetter(RuntimeView *window, int32_t, RuntimeObject *cursor) {
  if (!window)
    return;
  RuntimeLockUnlockObjects(cursor, window->mouseCursor);
  window->mouseCursor = cursor;
  if (RuntimeViewWindow *w = Native(window))
    w->setMouseCursor(cursor ? reinterpret_cast<MouseCursorObject *>(cursor)->record : nullptr);
}

int32_t windowControlCountGetter(RuntimeView *window, int32_t) {
  if (!window || !window->controlMap)
    return 0;
  int32_t count = 0;
  StringMapIterator<RuntimeObject *> *it = window->controlMap->NewIterator();
  RuntimeObject *object = nullptr;
  while (it->Next(&object))
    if (IsControl(object))
      ++count;
  delete it;
  return count;
}

int32_t windowMouseXGetter(RuntimeView *window, int32_t) {
  QV::Point p{0, 0};
  if (RuntimeViewWindow *w = Native(window))
    w->GetMouse(&p);
  return p.h;
}

int32_t windowMouseYGetter(RuntimeView *window, int32_t) {
  QV::Point p{0, 0};
  if (RuntimeViewWindow *w = Native(window))
    w->GetMouse(&p);
  return p.v;
}

// No platform window handle on this platform.
int32_t windowWindowPtrGetter(RuntimeView *, int32_t) { return 0; }
int32_t windowHWNDGetter(RuntimeView *, int32_t) { return 0; }

RuntimeObject *WindowDockItemGetter(RuntimeView *window, int32_t) {
  Checked(window, 1580, "win");
  return nullptr;
}

RuntimeObject *WindowMenuBarGetter(RuntimeView *window, int32_t) {
  if (!Checked(window, 1590, "window"))
    return nullptr;
  RuntimeLockObject(window->menuBar);
  return window->menuBar;
}

} // extern "C"
