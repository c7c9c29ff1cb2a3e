#include <iterator>

#include "controls/Canvas.h"
#include "controls/ControlClasses.h"
#include "graphics/Drawable.h"
#include "graphics/Graphics.h"
#include "graphics/GraphicsServices.h"
#include "graphics/PictureObject.h"
#include "graphics/RuntimeGraphics.h"
#include "runtime/application/CommonRuntimeFunctions.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"
#include "windows/ControlWalk.h"
#include "windows/RuntimeWindow.h"

namespace {

CanvasObject *AsCanvas(RuntimeObject *object) { return reinterpret_cast<CanvasObject *>(object); }

RuntimeCanvas *PaneOf(CanvasObject *c) { return static_cast<RuntimeCanvas *>(c->control.pane); }

#define CODE(function) reinterpret_cast<void *>(function), #function
#define FIELD(name) static_cast<int32_t>(offsetof(CanvasObject, name))

ObjectHookTemplate CanvasHooks[] = {
    {0, "Paint", "g As Graphics", "", nullptr, 0},
    {0, "GotFocus", "", "", nullptr, 0},
    {0, "LostFocus", "", "", nullptr, 0},
    {0, "KeyDown", "Key As String", "Boolean", nullptr, 0},
    {0, "MouseDown", "X As Integer, Y As Integer", "Boolean", nullptr, 0},
    {0, "MouseDrag", "X As Integer, Y As Integer", "", nullptr, 0},
    {0, "MouseUp", "X As Integer, Y As Integer", "", nullptr, 0},
    {0, "EnableMenuItems", "", "", nullptr, 0},
};

enum { kGraphicsRow, kBackdropRow };
ObjectInstanceTemplate CanvasProperties[] = {
    {0, "Graphics", nullptr, CODE(canvasGraphicsGetter), nullptr, nullptr, 0, 0},
    {0, "Backdrop", nullptr, CODE(objGetter), CODE(canvasBackdropSetter), FIELD(backdrop), 0},
    {0, "AcceptFocus", &booleanType.type, CODE(boolGetter), CODE(boolSetter), FIELD(acceptFocus),
     0},
    {0, "AcceptTabs", &booleanType.type, CODE(boolGetter), CODE(boolSetter), FIELD(acceptTabs), 0},
    {0, "UseFocusRing", &booleanType.type, CODE(boolGetter), CODE(boolSetter), FIELD(useFocusRing),
     0},
};

// x, y, width, height and moveControls are optional.
MethodParameter ScrollParameters[] = {
    {"dx", &integerType.type, 0, {}, 0, {}, 0, {}},
    {"dy", &integerType.type, 0, {}, 0, {}, 0, {}},
    {"x", &integerType.type, 0, {}, 1, {}, 0, {}},
    {"y", &integerType.type, 0, {}, 1, {}, 0, {}},
    {"width", &integerType.type, 0, {}, 1, {}, -10000, {}},
    {"height", &integerType.type, 0, {}, 1, {}, -10000, {}},
    {"moveControls", &booleanType.type, 0, {}, 1, {}, 1, {}},
};

PropertyMethod CanvasMethods[] = {
    {"Scroll", nullptr, ScrollParameters, 7, {{CODE(canvasScroll), {}}, {}}, 0, 0, 0},
};

void CanvasDestructor(RuntimeObject *object) {
  CanvasObject *c = AsCanvas(object);
  if (RuntimeCanvas *pane = PaneOf(c))
    pane->ForgetObject();
  RuntimeUnlockObject(c->backdrop);
  c->backdrop = nullptr;
  RuntimeUnlockObject(c->graphics);
  c->graphics = nullptr;
}

// The window's Backdrop when its image changed since the window drew it.
bool WindowBackdropChanged(RuntimeView *view) {
  auto *picture = reinterpret_cast<PictureObject *>(view->backdrop);
  return picture && picture->image &&
         picture->image->getGeneration() != view->drawnBackdropGeneration;
}

} // namespace

const ObjectHook *CanvasEventHook(CanvasEvent event) {
  return CanvasHooks[static_cast<int>(event)].hook;
}

void CanvasCreatePane(RuntimeObject *object) {
  CanvasObject *c = AsCanvas(object);
  auto *pane =
      new RuntimeCanvas(c, c->control.container, c->control.tabPanelIndex, c->control.bounds);
  c->control.pane = pane;
  if (RuntimeControl *parent = c->control.initialParent; parent && parent->pane)
    pane->ReassignParent(parent->pane);
}

ObjectDefinition *CanvasClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string("Canvas");
  defn.super = RectControlClass();
  defn.objectSize = kCanvasInstanceSize;
  defn.destructor = CanvasDestructor;
  defn.staticTables = 1;
  auto *createPane = new ObjectHookInstance;
  createPane->name = string("CreatePane");
  createPane->code = reinterpret_cast<void *>(CanvasCreatePane);
  defn.hookInstances = createPane;
  if (ObjectDefinition *graphics = LanguageGraphicsClass())
    CanvasProperties[kGraphicsRow].type = graphics->AsType();
  if (ObjectDefinition *picture = LanguagePictureClass())
    CanvasProperties[kBackdropRow].type = picture->AsType();
  defn.properties = FillInstances(CanvasProperties, std::size(CanvasProperties));
  defn.methods = FillMethods(CanvasMethods, std::size(CanvasMethods));
  FillHooks(&defn, CanvasHooks, std::size(CanvasHooks));
  return &defn;
}

// A window that is closing is left alone; otherwise the window when its
// Backdrop changed, then each canvas whose Backdrop changed.
void InvalidateChangedBackdrop(RuntimeView *view) {
  if (!view || !view->nativeWindow || view->nativeWindow->IsClosing())
    return;
  if (WindowBackdropChanged(view))
    view->nativeWindow->InvalidatePane(true);
  ControlWalk walk(view);
  for (RuntimeObject *object : walk)
    if (IsObjectOfClass(object, CanvasClass()))
      if (RuntimeCanvas *pane = PaneOf(AsCanvas(object)))
        pane->InvalidateIfBackdropChanged();
}

extern "C" {

// The same object on every read, its context clipped to the pane.
RuntimeObject *canvasGraphicsGetter(RuntimeObject *object, int32_t) {
  if (!object)
    return nullptr;
  CanvasObject *c = AsCanvas(object);
  RuntimeCanvas *pane = PaneOf(c);
  if (!pane)
    return nullptr;
  if (!c->graphics)
    c->graphics = NewGraphicsObject(pane->getGraphics());
  if (!c->graphics)
    return nullptr;
  if (Graphics *context = reinterpret_cast<RuntimeGraphics *>(c->graphics)->context)
    context->ClipRect(pane->Bounds());
  RuntimeLockObject(c->graphics);
  return c->graphics;
}

void canvasBackdropSetter(RuntimeObject *object, int32_t offset, RuntimeObject *picture) {
  if (!object)
    return;
  objSetter(object, offset, picture);
  if (RuntimeCanvas *pane = PaneOf(AsCanvas(object)))
    pane->InvalidatePane(true);
}

void canvasScroll(RuntimeObject *object, int32_t dx, int32_t dy, int32_t x, int32_t y,
                  int32_t width, int32_t height, int32_t moveControls) {
  if (!object || (dx == 0 && dy == 0))
    return;
  CanvasObject *c = AsCanvas(object);
  const QV::Rect &b = c->control.bounds;
  if (width == -10000)
    width = b.right - b.left;
  if (height == -10000)
    height = b.bottom - b.top;
  RuntimeCanvas *pane = PaneOf(c);
  if (!pane)
    return;
  pane->ScrollRect(b.left + x, b.top + y, b.left + x + width, b.top + y + height, dx, dy);
  if (!moveControls)
    return;
  for (int32_t i = 0; i < pane->CountChildren(); ++i) {
    SubPane *child = pane->ChildAt(i);
    QV::Rect moved = child->Bounds();
    QV::OffsetRect(&moved, static_cast<int16_t>(dx), static_cast<int16_t>(dy));
    child->MovePane(moved, false);
  }
}

} // extern "C"
