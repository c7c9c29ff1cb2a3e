// MDIWindow: its position properties read and write the stored bounds, the
// limits and Visible are plain fields, and the rest does nothing. DockItem:
// a read-only Graphics that is nil, ResetIcon and UpdateNow.
#include "desktop/InertWindowClasses.h"

#include <iterator>

#include "desktop/InertEntryPoints.h"
#include "foundation/AssertionAlert.h"
#include "graphics/Graphics.h"
#include "graphics/RuntimeGraphics.h"
#include "language/ClassBuilding.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"

namespace {

constexpr AlertSite kDockItemAlert{"../Common/DockItem", 0, "dockItem"};

MDIWindowObject *AsMDI(RuntimeObject *object) {
  return reinterpret_cast<MDIWindowObject *>(object);
}
DockItemObject *AsDockItem(RuntimeObject *object) {
  return reinterpret_cast<DockItemObject *>(object);
}

void MDIWindowConstructor(RuntimeObject *object) {
  MDIWindowObject *w = AsMDI(object);
  w->bounds = QV::Rect{0, 0, 0, 0};
  w->minWidth = w->minHeight = 64;
  w->maxWidth = w->maxHeight = 32000;
  w->visible = 1;
}

void DockItemConstructor(RuntimeObject *object) {
  AsDockItem(object)->state = 0;
  AsDockItem(object)->graphics = nullptr;
}

void DockItemDestructor(RuntimeObject *object) {
  RuntimeObject *graphics = AsDockItem(object)->graphics;
  AsDockItem(object)->graphics = nullptr;
  RuntimeUnlockObject(graphics);
}

PropertyType *const kInteger = &integerType.type;

#define POSITION(name, which)                                                                      \
  {0, name, kInteger, ACCESSOR(MDIWindowPosGetter), ACCESSOR(MDIWindowPosSetter), which, 0}
#define LIMIT(name, field)                                                                         \
  {0, name, kInteger, ACCESSOR(shortGetter), ACCESSOR(shortSetter),                                \
   static_cast<int32_t>(offsetof(MDIWindowObject, field)), 0}
ObjectInstanceTemplate sMDIWindowProperties[] = {
    POSITION("Left", kMDILeft),
    POSITION("Top", kMDITop),
    POSITION("Width", kMDIWidth),
    POSITION("Height", kMDIHeight),
    LIMIT("MinWidth", minWidth),
    LIMIT("MinHeight", minHeight),
    LIMIT("MaxWidth", maxWidth),
    LIMIT("MaxHeight", maxHeight),
    {0, "Title", &stringType.type, ACCESSOR(MDIWindowTitleGetter), ACCESSOR(MDIWindowTitleSetter),
     0, 0},
    {0, "Visible", &booleanType.type, ACCESSOR(MDIWindowVisibleGetter),
     ACCESSOR(MDIWindowVisibleSetter), 0, 0},
    {0, "Handle", kInteger, ACCESSOR(MDIWindowHandleGetter), NO_ACCESSOR, 0, 0},
};
#undef POSITION
#undef LIMIT

PropertyMethod sMDIWindowMethods[] = {
    METHOD("Maximize", MDIWindowMaximize, nullptr, nullptr, 0),
    METHOD("Minimize", MDIWindowMinimize, nullptr, nullptr, 0),
    METHOD("Restore", MDIWindowRestore, nullptr, nullptr, 0),
};

ObjectHookTemplate MDIWindowHooks[] = {
    {0, "Open", "", "", nullptr, 0},     {0, "Resized", "", "", nullptr, 0},
    {0, "Moved", "", "", nullptr, 0},    {0, "Minimize", "", "", nullptr, 0},
    {0, "Maximize", "", "", nullptr, 0}, {0, "Restore", "", "", nullptr, 0},
};

ObjectInstanceTemplate sDockItemProperties[] = {
    {0, "Graphics", nullptr, ACCESSOR(DockItemIconGraphicsGetter), NO_ACCESSOR, 0, 0},
};

PropertyMethod sDockItemMethods[] = {
    METHOD("ResetIcon", DockItemResetIcon, nullptr, nullptr, 0),
    METHOD("UpdateNow", DockItemIconUpdate, nullptr, nullptr, 0),
};

} // namespace

ObjectDefinition *MDIWindowClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  DefineBuiltinClass(defn, {"MDIWindow", sizeof(MDIWindowObject), MDIWindowConstructor, nullptr, true},
                     sMDIWindowProperties, std::size(sMDIWindowProperties), sMDIWindowMethods,
                     std::size(sMDIWindowMethods));
  defn.consoleSafe = 0;
  FillHooks(&defn, MDIWindowHooks, std::size(MDIWindowHooks));
  return &defn;
}

ObjectDefinition *DockItemClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  sDockItemProperties[0].type = GraphicsClass()->AsType();
  DefineBuiltinClass(
      defn, {"DockItem", sizeof(DockItemObject), DockItemConstructor, DockItemDestructor, false},
      sDockItemProperties, std::size(sDockItemProperties), sDockItemMethods,
      std::size(sDockItemMethods));
  defn.consoleSafe = 0;
  return &defn;
}

extern "C" {

int32_t MDIWindowPosGetter(RuntimeObject *self, int32_t which) {
  if (!self)
    return 0;
  const QV::Rect &r = AsMDI(self)->bounds;
  switch (which) {
  case kMDILeft:
    return r.left;
  case kMDITop:
    return r.top;
  case kMDIWidth:
    return r.right - r.left;
  case kMDIHeight:
    return r.bottom - r.top;
  }
  return 0;
}

// Left and Top move the bounds and keep the size; Width and Height move the
// right or bottom edge.
void MDIWindowPosSetter(RuntimeObject *self, int32_t which, int32_t value) {
  if (!self)
    return;
  QV::Rect &r = AsMDI(self)->bounds;
  const auto edge = static_cast<int16_t>(value);
  switch (which) {
  case kMDILeft:
    QV::OffsetRect(&r, static_cast<int16_t>(edge - r.left), 0);
    break;
  case kMDITop:
    QV::OffsetRect(&r, 0, static_cast<int16_t>(edge - r.top));
    break;
  case kMDIWidth:
    r.right = static_cast<int16_t>(r.left + value);
    break;
  case kMDIHeight:
    r.bottom = static_cast<int16_t>(r.top + value);
    break;
  }
}

int32_t MDIWindowVisibleGetter(RuntimeObject *self, int32_t) {
  return self && AsMDI(self)->visible ? 1 : 0;
}

void MDIWindowVisibleSetter(RuntimeObject *self, int32_t, int32_t visible) {
  if (self)
    AsMDI(self)->visible = visible ? 1 : 0;
}

RuntimeObject *DockItemIconGraphicsGetter(RuntimeObject *self, int32_t) {
  if (!self)
    ShowAlert(kDockItemAlert);
  return nullptr;
}

// Only an item with a state and a Graphics has drawing to flush; none here.
void DockItemIconUpdate(RuntimeObject *self) {
  if (self && AsDockItem(self)->state && AsDockItem(self)->graphics)
    if (Graphics *g = reinterpret_cast<RuntimeGraphics *>(AsDockItem(self)->graphics)->context)
      g->Flush();
}

} // extern "C"
