// The control object of the language: the object header, then the fields
// compiled code and the generic accessors address by byte offset.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/QVGeometry.h"
#include "foundation/StringMap.h"
#include "runtime/objects/RuntimeObject.h"

class SubPane;
class ContainerPane;
struct stringStorage;

// Index of a control that is not an element of a control array.
constexpr int32_t kNotInControlArray = INT32_MIN;

struct RuntimeControl {
  RuntimeObject header;
  RuntimeControl *initialParent; // not counted
  int32_t reserved28;
  SubPane *pane; // nil until CreatePane ran and again after Close
  stringStorage *name;
  int32_t index; // 0x80000000: not an element of a control array
  int32_t tabPanelIndex;
  uint8_t visible;
  uint8_t enabled;
  uint8_t autoDeactivate;
  uint8_t mouseInside; // kept by the native window's mouse tracking
  uint8_t reserved52[2];
  uint8_t lockLeft, lockTop, lockRight, lockBottom;
  QV::Rect bounds; // window-content coordinates
  ContainerPane *container;
  RuntimeObject *view; // the window object that owns the control, not counted
  RuntimeObject *mouseCursor;
  stringStorage *balloonHelp;
  stringStorage *disabledBalloonHelp;
  stringStorage *helpTag;
  StringMap<void *> *mMenuHandlers;
  int32_t reserved96;

  // The class's destructor: takes the control out of its window's map,
  // releases its texts, cursor and menu handlers. The pane stays: it
  // belongs to the window's pane tree.
  void ReleaseData();
  // Stores the tab-panel index here and in every control inside this one.
  void SetTabPanelIndex(int32_t index);
};
constexpr int32_t kControlInstanceSize = 100;
static_assert(sizeof(RuntimeControl) == kControlInstanceSize);
static_assert(offsetof(RuntimeControl, initialParent) == 24);
static_assert(offsetof(RuntimeControl, pane) == 32);
static_assert(offsetof(RuntimeControl, name) == 36);
static_assert(offsetof(RuntimeControl, index) == 40);
static_assert(offsetof(RuntimeControl, tabPanelIndex) == 44);
static_assert(offsetof(RuntimeControl, visible) == 48);
static_assert(offsetof(RuntimeControl, enabled) == 49);
static_assert(offsetof(RuntimeControl, autoDeactivate) == 50);
static_assert(offsetof(RuntimeControl, mouseInside) == 51);
static_assert(offsetof(RuntimeControl, lockLeft) == 54);
static_assert(offsetof(RuntimeControl, lockBottom) == 57);
static_assert(offsetof(RuntimeControl, bounds) == 58);
static_assert(offsetof(RuntimeControl, container) == 68);
static_assert(offsetof(RuntimeControl, view) == 72);
static_assert(offsetof(RuntimeControl, mouseCursor) == 76);
static_assert(offsetof(RuntimeControl, balloonHelp) == 80);
static_assert(offsetof(RuntimeControl, disabledBalloonHelp) == 84);
static_assert(offsetof(RuntimeControl, helpTag) == 88);
static_assert(offsetof(RuntimeControl, mMenuHandlers) == 92);
