// The native windows of the language: a RuntimeViewWindow shows one window
// object (RuntimeView) on GTK+ and turns what happens to its pane tree into
// the window object's events and its controls' mouse events.
#pragma once
#include <cstdint>
#include <vector>

#include "runtime/loop/WindowInterface.h"
#include "runtime/objects/ClassTables.h"
#include "windows/ControlServices.h"
#include "windows/PaneDelegate.h"
#include "windows/Window.h"

// A window of the runtime's own, or the base of the language's windows.
class RuntimeWindow : public Window {
public:
  RuntimeWindow(const string &title, const QV::Rect &bounds, WindowType type, bool closeBox,
                bool growIcon, bool zoomIcon, int32_t procId, bool composite, bool liveResize);
  bool IsRuntimeWindow() override;
};

class RuntimeViewWindow : public RuntimeWindow {
public:
  // Makes the native window of a window object (type: the native window
  // type chosen for its frame) and builds it: menu bar, CreateControls, the
  // control panes, SetupBindings. A handler may close the window meanwhile:
  // the rest is skipped and the answer is nil.
  static RuntimeViewWindow *Open(RuntimeView *view, WindowType type);
  ~RuntimeViewWindow() override;

  bool HandleClick(int32_t x, int32_t y, int32_t modifiers) override;
  bool HandleCMMClick(int32_t x, int32_t y, int32_t modifiers) override;
  void HandleMouseDrag(int32_t x, int32_t y) override;
  void HandleMouseUp(int32_t x, int32_t y) override;
  void HandleMouseMove(int32_t x, int32_t y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  bool HandleKeyPress(int32_t ch, int32_t key, int32_t modifiers) override;
  bool HandleUnicodeInput(int32_t code, int32_t key, int32_t modifiers) override;
  void Activate() override;
  void Deactivate() override;
  void Moved() override;
  void Resized() override;
  void Resizing() override;
  void HonorControlLocking(const QV::Rect &r) override;
  void RestrictSize(QV::Rect *limits) override;
  void RedrawBackdrop(Graphics *g) override;
  void DropObject(int32_t x, int32_t y) override;
  bool CloseBoxClicked() override;
  void Close() override;
  void Minimize() override;
  void Maximize() override;
  void Restore() override;

  // CancelClose, then the close itself; true when the close was vetoed.
  bool UnifiedClose();
  void FireWindowCloseEvents();

  RuntimeView *GetView() const { return mView; }
  RuntimeViewWindow *NextRuntimeWindow() const { return mNext; }

private:
  RuntimeViewWindow(RuntimeView *view, WindowType type);
  // The construction steps that run the window's handlers, each skipped once
  // the window is closing.
  void Build();

  // Controls whose mouse-inside flag is set and that are not under (x, y),
  // or all of them when everywhere, hear MouseExit; false when the window
  // closed meanwhile.
  bool ExitControls(bool everywhere, int32_t x, int32_t y);

  RuntimeView *mView;
  RuntimeViewWindow *mNext;
  void *mMinimizeHandler;
  void *mMaximizeHandler;
  void *mRestoreHandler;
};

// The native window of a window object; nil for nil and while it is not open.
inline RuntimeViewWindow *Native(RuntimeView *window) {
  return window ? window->nativeWindow : nullptr;
}

// Every native window of the language, newest first.
extern RuntimeViewWindow *gRuntimeViewWindowList;

// Closes every native window, each once, as the program ends.
void FireCloseEvents();
// Calls fn on a snapshot of the runtime window list, newest first, until one
// answers false; answers false then, true otherwise.
bool IterateRuntimeWindowList(bool (*fn)(RuntimeViewWindow *w, void *arg), void *arg);
// The window objects of the runtime windows still listed when visited.
void IterateLanguageWindows(LanguageWindowVisitor visit, void *ref);

// Gives a control its pane: fires CreatePane, applies the control's states
// and those of the controls that contain it, and attaches a delegate.
void CreateNewControlPane(RuntimeObject *control);

// Ties a control's pane to the control: drops, drawing surfaces and clipping
// to the container.
class RuntimePaneDelegate : public PaneDelegate {
public:
  explicit RuntimePaneDelegate(RuntimeObject *control);
  virtual ~RuntimePaneDelegate();
  void PaneClosing(Pane *p) override;
  void PaneDropObject(Pane *p, int32_t x, int32_t y) override;
  bool PaneEstablishDrawingSurface() override;
  bool PaneResetDrawingSurface() override;
  void PaneClipToBounds(Pane *p, QV::Rect *r) override;

private:
  RuntimeObject *mControl;
};

// The window object's events, in slot order.
enum WindowEvent : int32_t {
  kLayoutEvent,
  kCreateControlsEvent,
  kSetupBindingsEvent,
  kOpenEvent,
  kCloseEvent,
  kCancelCloseEvent,
  kKeyDownEvent,
  kMouseMoveEvent,
  kMouseEnterEvent,
  kMouseExitEvent,
  kPaintEvent,
  kMouseDownEvent,
  kMouseDragEvent,
  kMouseUpEvent,
  kEnableMenuItemsEvent,
  kResizedEvent,
  kResizingEvent,
  kMovedEvent,
  kDropObjectEvent,
  kActivateEvent,
  kDeactivateEvent,
  kMinimizeEvent,
  kMaximizeEvent,
  kRestoreEvent,
  kWindowEventCount
};
extern ObjectHookTemplate WindowBaseHooks[kWindowEventCount];

// The language's Window class (WindowClass.cpp).
ObjectDefinition *WindowBaseClass();

// Fires a window event without arguments; a Boolean event without a handler
// answers false.
bool FireWindowEvent(RuntimeView *view, WindowEvent event);
// Fires a control's event without arguments when it has a handler.
void FireControlEvent(RuntimeObject *control, ControlEvent event);

// The window object's CancelClose; true vetoes the close.
extern "C" int32_t FireCancelCloseEvent(RuntimeObject *view, int32_t appQuitting);
