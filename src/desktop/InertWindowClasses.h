// The MDIWindow and DockItem classes of the language, inert on this
// platform: an MDIWindow keeps its bounds, limits and Visible flag and shows
// nothing; no DockItem is ever made (App.DockItem and Window.DockItem read nil).
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/QVGeometry.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

struct MDIWindowObject {
  RuntimeObject header;
  QV::Rect bounds;
  int32_t reserved32[2];
  int16_t minWidth, minHeight, maxWidth, maxHeight;
  uint8_t visible;
  uint8_t reserved49[3];
  int32_t handle;
};
static_assert(sizeof(MDIWindowObject) == 56);
static_assert(offsetof(MDIWindowObject, bounds) == 24);
static_assert(offsetof(MDIWindowObject, minWidth) == 40);
static_assert(offsetof(MDIWindowObject, minHeight) == 42);
static_assert(offsetof(MDIWindowObject, maxWidth) == 44);
static_assert(offsetof(MDIWindowObject, maxHeight) == 46);
static_assert(offsetof(MDIWindowObject, visible) == 48);
static_assert(offsetof(MDIWindowObject, handle) == 52);

struct DockItemObject {
  RuntimeObject header;
  int32_t state;
  RuntimeObject *graphics; // the icon's Graphics, counted
  int32_t reserved32[30];
};
static_assert(sizeof(DockItemObject) == 152);
static_assert(offsetof(DockItemObject, state) == 24);
static_assert(offsetof(DockItemObject, graphics) == 28);

// Index arguments of MDIWindowPosGetter and MDIWindowPosSetter.
enum MDIWindowPosition : int32_t { kMDILeft = 0, kMDITop = 1, kMDIWidth = 2, kMDIHeight = 3 };

ObjectDefinition *MDIWindowClass();
ObjectDefinition *DockItemClass();

extern "C" {
int32_t MDIWindowPosGetter(RuntimeObject *self, int32_t which);
void MDIWindowPosSetter(RuntimeObject *self, int32_t which, int32_t value);
int32_t MDIWindowVisibleGetter(RuntimeObject *self, int32_t);
void MDIWindowVisibleSetter(RuntimeObject *self, int32_t, int32_t visible);
RuntimeObject *DockItemIconGraphicsGetter(RuntimeObject *self, int32_t);
void DockItemIconUpdate(RuntimeObject *self);
}
