// What the window layer reads and fires on the language's control objects.
// The controls area defines the Control class and the control object's
// layout; the window layer reaches them only through these declarations.
#pragma once
#include <cstdint>

#include "foundation/QVGeometry.h"
#include "foundation/StringMap.h"

class ContainerPane;
class SubPane;
struct ObjectDefinition;
struct ObjectHook;
struct RuntimeObject;
struct stringStorage;

// The language's Control class, the interface of window-owned objects that
// are not controls (PaneChildInterface) and the root class Object are the
// controls area's builders, which the window layer reads from
// BuiltinClassHooks.
// Whether the object is a control (false while there is no Control class).
bool IsControl(RuntimeObject *object);
// The slots of the PaneChildInterface's methods.
enum PaneChildSlot : int32_t {
  kPaneChildSetWindow,
  kPaneChildWindow,
  kPaneChildIndex,
  kPaneChildSetIndex
};

// The fields of one control object that windows read and write.
struct ControlFields {
  SubPane **pane;
  uint8_t *visible;
  uint8_t *enabled;
  uint8_t *autoDeactivate;
  uint8_t *mouseInside;
  uint8_t *lockLeft, *lockTop, *lockRight, *lockBottom;
  QV::Rect *bounds;
  int32_t *tabPanelIndex;
  RuntimeObject **window; // its window object, not counted
  stringStorage **balloonHelp, **disabledBalloonHelp, **helpTag;
  StringMap<void *> **menuHandlers; // menu-item name to handler; nil until the first
  stringStorage **name;             // Name, held by the control
  int32_t *index;                   // its control-array index, or INT32_MIN
  ContainerPane **container;        // where its pane is made: the native window
};
// Defined by the controls area, which owns the layout.
ControlFields FieldsOfControl(RuntimeObject *control);

// The events of controls: CreatePane, Open, Close, then the shared mouse and
// drop events MouseMove, MouseEnter, MouseExit, DropObject.
enum class ControlEvent {
  kCreatePane,
  kOpen,
  kClose,
  kMouseMove,
  kMouseEnter,
  kMouseExit,
  kDropObject
};
// The declaration that fires the event; defined by the controls area.
const ObjectHook *ControlEventHook(ControlEvent event);

class RuntimeViewWindow;
// Every tab and page panel of the window re-applies its current page, so
// that only that page's controls show. Defined by the controls area.
void EnforceAllRunViewTabPanels(RuntimeViewWindow *window);
