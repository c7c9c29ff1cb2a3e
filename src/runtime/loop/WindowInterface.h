// The language's window object as the runtime sees it, and what the run loop,
// the Application class and the common functions need of windows. Windows
// belong to the windows area, which fills WindowHooks at start-up; until then
// the runtime window list is empty and every hook does nothing.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/QVGeometry.h"
#include "foundation/String.h"
#include "foundation/StringMap.h"
#include "runtime/objects/RuntimeObject.h"

class RuntimeViewWindow; // the native window, defined by the windows area

// A window object: the object header, then the fields compiled code and the
// Window class's generic accessors address by byte offset. Subclasses of
// Window place their own fields from kRuntimeViewInstanceSize on.
struct RuntimeView {
  RuntimeObject header;
  uint8_t visible; // the Visible property
  uint8_t closeBox;
  uint8_t growIcon;
  uint8_t zoomIcon;
  uint8_t composite;
  uint8_t pendingLiveResize;
  uint8_t align30[2];
  RuntimeViewWindow *nativeWindow; // nil before construction and after closing
  RuntimeObject *graphics;
  QV::Rect bounds;
  QV::Rect laidOutBounds;
  QV::Rect savedBounds;
  stringStorage *title;
  RuntimeObject *backdrop;
  int32_t drawnBackdropGeneration;
  int32_t frame;
  int32_t placement;
  uint32_t backColor;
  int16_t minWidth, minHeight, maxWidth, maxHeight;
  RuntimeObject *mouseCursor;
  stringStorage *balloonHelp;
  uint8_t hasBackColor;
  uint8_t menuBarVisible;
  uint8_t fullScreen;
  uint8_t pendingFullScreen;
  stringStorage *floaterProcess;
  int32_t macProcId;
  StringMap<RuntimeObject *> *controlMap; // name (or name$index) to control
  RuntimeObject *menuBar;
  RuntimeObject *reserved124;
  uint8_t opened;
  uint8_t align129[3];
  StringMap<void *> *mMenuHandlers;
};
constexpr int32_t kRuntimeViewInstanceSize = 136;
static_assert(sizeof(RuntimeView) == kRuntimeViewInstanceSize);
static_assert(offsetof(RuntimeView, visible) == 24);
static_assert(offsetof(RuntimeView, composite) == 28);
static_assert(offsetof(RuntimeView, nativeWindow) == 32);
static_assert(offsetof(RuntimeView, graphics) == 36);
static_assert(offsetof(RuntimeView, bounds) == 40);
static_assert(offsetof(RuntimeView, laidOutBounds) == 48);
static_assert(offsetof(RuntimeView, savedBounds) == 56);
static_assert(offsetof(RuntimeView, title) == 64);
static_assert(offsetof(RuntimeView, backdrop) == 68);
static_assert(offsetof(RuntimeView, drawnBackdropGeneration) == 72);
static_assert(offsetof(RuntimeView, frame) == 76);
static_assert(offsetof(RuntimeView, placement) == 80);
static_assert(offsetof(RuntimeView, backColor) == 84);
static_assert(offsetof(RuntimeView, minWidth) == 88);
static_assert(offsetof(RuntimeView, maxHeight) == 94);
static_assert(offsetof(RuntimeView, mouseCursor) == 96);
static_assert(offsetof(RuntimeView, balloonHelp) == 100);
static_assert(offsetof(RuntimeView, hasBackColor) == 104);
static_assert(offsetof(RuntimeView, pendingFullScreen) == 107);
static_assert(offsetof(RuntimeView, floaterProcess) == 108);
static_assert(offsetof(RuntimeView, macProcId) == 112);
static_assert(offsetof(RuntimeView, controlMap) == 116);
static_assert(offsetof(RuntimeView, menuBar) == 120);
static_assert(offsetof(RuntimeView, reserved124) == 124);
static_assert(offsetof(RuntimeView, opened) == 128);
static_assert(offsetof(RuntimeView, mMenuHandlers) == 132);

// Visits a window object; answers false to end the walk.
using LanguageWindowVisitor = bool (*)(RuntimeView *window, void *ref);

struct WindowHooks {
  // Run-loop step 1: report moved and resized windows, show those marked
  // visible but not shown yet.
  void (*AboutToYield)();
  // Whether the runtime window list is empty (run-loop step 10).
  bool (*RuntimeWindowListIsEmpty)();
  // Closes every remaining window, firing their close events.
  void (*FireCloseEvents)();
  // The windows of the language on the runtime window list, newest first,
  // over a snapshot: a window taken off the list meanwhile is skipped.
  void (*IterateLanguageWindows)(LanguageWindowVisitor visit, void *ref);
  // The native window's operations.
  void (*ShowWindow)(RuntimeViewWindow *window);
  void (*SelectWindow)(RuntimeViewWindow *window);
  void (*HideWindow)(RuntimeViewWindow *window);
  bool (*IsVisible)(RuntimeViewWindow *window);
  void (*CloseWindow)(RuntimeViewWindow *window); // the unified close
  // The window's CancelClose event; true vetoes the close.
  bool (*FireCancelCloseEvent)(RuntimeView *window, bool appQuitting);
  // The native window's own close, without asking CancelClose (the quit
  // test has asked every window already).
  void (*CloseNativeWindow)(RuntimeViewWindow *window);
};

// Copies the hooks; a nil member does nothing (the window list counts as
// empty, IsVisible and FireCancelCloseEvent answer false). Nil restores the
// do-nothing hooks.
void InstallWindowHooks(const WindowHooks *hooks);
const WindowHooks &GetWindowHooks();

// The window entry points compiled code calls with a window object; each
// does nothing for nil.
extern "C" {
void RuntimeShowWindow(RuntimeView *window);
void RuntimeHideWindow(RuntimeView *window);
void RuntimeCloseWindow(RuntimeView *window);
void RuntimeShowModal(RuntimeView *window);
}
