// The life of a window object: its construction (Layout, placement, the
// maps, the native window with its controls), the language constructor that
// opens its controls and then the window, and the release of its fields.
#include <iterator>

#include "runtime/objects/ValueEntryPoints.h"
#include "windows/ControlWalk.h"
#include "windows/RuntimeWindow.h"
#include "windows/WindowClass.h"

namespace {

struct FrameKind {
  Window::WindowType type;
  int32_t placement;
};

// Indexed by Frame (0 to 10).
constexpr FrameKind kFrameKinds[] = {
    {Window::kWindowTypeDocument, 4},       // document: staggered
    {Window::kWindowTypeMovableModal, 2},   // movable modal: main screen
    {Window::kWindowTypeModal, 2},          // modal
    {Window::kWindowTypeFloating, 0},       // floating
    {Window::kWindowTypePlainBox, 2},       // plain box
    {Window::kWindowTypeShadowedBox, 2},    // shadowed box
    {Window::kWindowTypeRounded, 4},        // rounded
    {Window::kWindowTypeGlobalFloating, 0}, // global floating
    {Window::kWindowTypeSheet, 0},          // sheet
    {Window::kWindowTypeMetal, 4},          // metal
    {Window::kWindowTypeDrawer, 0},         // drawer
};

const FrameKind &KindOfFrame(int32_t frame) {
  bool known = frame >= 0 && frame < static_cast<int32_t>(std::size(kFrameKinds));
  return kFrameKinds[known ? frame : 0];
}

bool IsOpen(RuntimeView *window) { return window->nativeWindow != nullptr; }

} // namespace

Window::WindowType NativeWindowTypeOfFrame(int32_t frame) { return KindOfFrame(frame).type; }
int32_t DefaultPlacementOfFrame(int32_t frame) { return KindOfFrame(frame).placement; }

void WindowConstructor(RuntimeObject *object) {
  auto *window = reinterpret_cast<RuntimeView *>(object);
  FillImplicitWindowPlaceholder(window);
  FireWindowEvent(window, kLayoutEvent);
  Window::WindowType type = NativeWindowTypeOfFrame(window->frame);
  int32_t placement = window->placement ? window->placement : DefaultPlacementOfFrame(window->frame);
  WindowPlacement(&window->bounds, placement, type);
  window->laidOutBounds = window->bounds;
  window->savedBounds = window->bounds;
  if (!window->controlMap)
    window->controlMap = new StringMap<RuntimeObject *>(256);
  if (!window->mMenuHandlers)
    window->mMenuHandlers = new StringMap<void *>(256);
  if (RuntimeViewWindow *w = RuntimeViewWindow::Open(window, type))
    EnforceAllRunViewTabPanels(w);
}

void WindowDestructor(RuntimeObject *object) {
  auto *window = reinterpret_cast<RuntimeView *>(object);
  RuntimeObject *reserved = window->reserved124;
  window->reserved124 = nullptr;
  RuntimeUnlockObject(reserved);
  if (StringMap<RuntimeObject *> *map = window->controlMap) {
    // Controls that outlive the window forget it.
    StringMapIterator<RuntimeObject *> *it = map->NewIterator();
    RuntimeObject *entry = nullptr;
    while (it->Next(&entry))
      if (IsControl(entry) && *FieldsOfControl(entry).window == object)
        *FieldsOfControl(entry).window = nullptr;
    delete it;
    window->controlMap = nullptr;
    delete map;
  }
  delete window->mMenuHandlers;
  window->mMenuHandlers = nullptr;
  RuntimeUnlockString(window->title);
  RuntimeUnlockObject(window->graphics);
  RuntimeUnlockObject(window->backdrop);
  RuntimeUnlockObject(window->mouseCursor);
  RuntimeUnlockString(window->balloonHelp);
  RuntimeUnlockString(window->floaterProcess);
  window->title = window->balloonHelp = window->floaterProcess = nullptr;
  window->graphics = window->backdrop = window->mouseCursor = nullptr;
}

extern "C" void WindowDefaultConstructor(RuntimeView *window) {
  if (!window || !IsOpen(window))
    return; // closed during its construction
  // The handlers may close the window and drop every other reference.
  RuntimeLockObject(&window->header);
  {
    ControlWalk walk(window);
    for (RuntimeObject *c : walk)
      FireControlEvent(c, ControlEvent::kOpen);
  }
  if (IsOpen(window))
    FireWindowEvent(window, kOpenEvent);
  RuntimeUnlockObject(&window->header);
}
