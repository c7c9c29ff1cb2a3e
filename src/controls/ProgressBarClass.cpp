#include "controls/ProgressBarClass.h"

#include <iterator>

#include "controls/ControlClasses.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/SimplePropertyTypes.h"

namespace {

ProgressBarObject *AsBar(RuntimeObject *object) {
  return reinterpret_cast<ProgressBarObject *>(object);
}

ProgressBar *PaneOf(ProgressBarObject *b) { return static_cast<ProgressBar *>(b->control.pane); }

#define CODE(function) reinterpret_cast<void *>(function), #function

ObjectHookTemplate ProgressBarHooks[] = {
    {0, "MouseDown", "X As Integer, Y As Integer", "Boolean", nullptr, 0},
    {0, "MouseDrag", "X As Integer, Y As Integer", "", nullptr, 0},
    {0, "MouseUp", "X As Integer, Y As Integer", "", nullptr, 0},
};

ObjectInstanceTemplate ProgressBarProperties[] = {
    {0, "Value", &integerType.type, CODE(progressValueGetter), CODE(progressValueSetter), 0, 0},
    {0, "Maximum", &integerType.type, CODE(progressMaximumGetter), CODE(progressMaximumSetter), 0,
     0},
};

void ProgressBarDestructor(RuntimeObject *object) {
  if (ProgressBar *pane = PaneOf(AsBar(object)))
    pane->SetObject(nullptr);
}

} // namespace

const ObjectHook *ProgressBarEventHook(ProgressBarEvent event) {
  return ProgressBarHooks[static_cast<int>(event)].hook;
}

void ProgressBarCreatePane(RuntimeObject *object) {
  ProgressBarObject *b = AsBar(object);
  auto *pane = new ProgressBar(b->control.container, b->control.tabPanelIndex, b->control.bounds,
                               b->value, b->maximum);
  b->control.pane = pane;
  if (RuntimeControl *parent = b->control.initialParent; parent && parent->pane)
    pane->ReassignParent(parent->pane);
  pane->SetObject(b);
}

ObjectDefinition *ProgressBarClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string("ProgressBar");
  defn.super = RectControlClass();
  defn.objectSize = kProgressBarInstanceSize;
  defn.destructor = ProgressBarDestructor;
  defn.staticTables = 1;
  auto *createPane = new ObjectHookInstance;
  createPane->name = string("CreatePane");
  createPane->code = reinterpret_cast<void *>(ProgressBarCreatePane);
  defn.hookInstances = createPane;
  defn.properties = FillInstances(ProgressBarProperties, std::size(ProgressBarProperties));
  FillHooks(&defn, ProgressBarHooks, std::size(ProgressBarHooks));
  return &defn;
}

extern "C" {

int32_t progressValueGetter(RuntimeObject *object, int32_t) {
  return object ? AsBar(object)->value : 0;
}

void progressValueSetter(RuntimeObject *object, int32_t, int32_t value) {
  if (!object)
    return;
  ProgressBarObject *b = AsBar(object);
  if (ProgressBar *pane = PaneOf(b))
    pane->SetValue(value);
  b->value = value;
}

int32_t progressMaximumGetter(RuntimeObject *object, int32_t) {
  return object ? AsBar(object)->maximum : 0;
}

void progressMaximumSetter(RuntimeObject *object, int32_t, int32_t maximum) {
  if (!object)
    return;
  ProgressBarObject *b = AsBar(object);
  if (ProgressBar *pane = PaneOf(b))
    pane->SetMaximum(maximum);
  b->maximum = maximum;
}

} // extern "C"
