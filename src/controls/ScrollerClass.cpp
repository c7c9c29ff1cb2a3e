#include "controls/ScrollerClass.h"

#include <algorithm>
#include <iterator>

#include "controls/ControlClasses.h"
#include "controls/ControlEventFiring.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"

namespace {

ScrollerObject *AsScroller(RuntimeObject *object) {
  return reinterpret_cast<ScrollerObject *>(object);
}

Scroller *PaneOf(ScrollerObject *s) { return static_cast<Scroller *>(s->control.pane); }

#define CODE(function) reinterpret_cast<void *>(function), #function
#define FIELD(name) static_cast<int32_t>(offsetof(ScrollerObject, name))

// The rows both classes list; each class fills its own copy, since filling
// a row records the class's event in it.
const ObjectHookTemplate kHookRows[] = {
    {0, "ValueChanged", "", "", nullptr, 0},
    {0, "GotFocus", "", "", nullptr, 0},
    {0, "LostFocus", "", "", nullptr, 0},
    {0, "MouseDown", "X As Integer, Y As Integer", "Boolean", nullptr, 0},
    {0, "MouseDrag", "X As Integer, Y As Integer", "", nullptr, 0},
    {0, "MouseUp", "X As Integer, Y As Integer", "", nullptr, 0},
};
constexpr int kHookCount = static_cast<int>(std::size(kHookRows));
ObjectHookTemplate ScrollBarHooks[kHookCount];
ObjectHookTemplate SliderHooks[kHookCount];

const ObjectInstanceTemplate kPropertyRows[] = {
    {0, "Minimum", &integerType.type, CODE(scrollerPropGetter), CODE(scrollerPropSetter), 0, 0},
    {0, "Value", &integerType.type, CODE(scrollerPropGetter), CODE(scrollerPropSetter), 1, 0},
    {0, "Maximum", &integerType.type, CODE(scrollerPropGetter), CODE(scrollerPropSetter), 2, 0},
    {0, "LineStep", &integerType.type, CODE(scrollerPropGetter), CODE(scrollerPropSetter), 3, 0},
    {0, "PageStep", &integerType.type, CODE(scrollerPropGetter), CODE(scrollerPropSetter), 4, 0},
    {0x80, "LiveScroll", &booleanType.type, CODE(boolGetter), nullptr, nullptr, FIELD(liveScroll),
     0},
};
constexpr int kPropertyCount = static_cast<int>(std::size(kPropertyRows));
constexpr int kLiveScrollRow = kPropertyCount - 1;
ObjectInstanceTemplate ScrollBarProperties[kPropertyCount];
ObjectInstanceTemplate SliderProperties[kPropertyCount];

enum Which { kMinimum, kValue, kMaximum, kLineStep, kPageStep };

const ObjectHook *Hook(bool slider, ScrollerEvent event) {
  return (slider ? SliderHooks : ScrollBarHooks)[static_cast<int>(event)].hook;
}

// LiveScroll's setter differs by class: it is the one row not shared.
ObjectDefinition *BuildClass(ObjectDefinition &defn, const char *name, ObjectProc createPane,
                             ObjectInstanceTemplate *properties, ObjectHookTemplate *hooks,
                             void *liveScrollSetter, const char *liveScrollSetterName) {
  if (!defn.className.IsEmpty())
    return &defn;
  std::copy(std::begin(kPropertyRows), std::end(kPropertyRows), properties);
  properties[kLiveScrollRow].setter = liveScrollSetter;
  properties[kLiveScrollRow].setterExportName = liveScrollSetterName;
  std::copy(std::begin(kHookRows), std::end(kHookRows), hooks);
  defn.className = string(name);
  defn.super = RectControlClass();
  defn.objectSize = kScrollerInstanceSize;
  defn.destructor = scrollerDestructor;
  defn.staticTables = 1;
  auto *hook = new ObjectHookInstance;
  hook->name = string("CreatePane");
  hook->code = reinterpret_cast<void *>(createPane);
  defn.hookInstances = hook;
  defn.properties = FillInstances(properties, kPropertyCount);
  FillHooks(&defn, hooks, kHookCount);
  return &defn;
}

// Makes the pane for the object and applies its stored numbers with the
// router's counter raised, so that set-up reports no change. A slider lowers
// the counter before its steps are applied, a scroll bar after.
void CreatePane(ScrollerObject *s, bool slider) {
  if (!s->router)
    s->router = slider ? new RuntimeSliderRouter(s) : new RuntimeScrollerRouter(s, false);
  Scroller *pane =
      (slider ? newSlider : newScroller)(s->router, s->control.container, s->control.tabPanelIndex,
                                         s->control.bounds, s->liveScroll != 0);
  s->control.pane = pane;
  if (RuntimeControl *parent = s->control.initialParent; parent && parent->pane)
    pane->ReassignParent(parent->pane);
  pane->SetObject(&s->control.header);
  s->router->Raise();
  pane->SetMinimum(s->minimum);
  pane->SetMaximum(s->maximum);
  if (slider) {
    pane->SetValue(s->value);
    s->router->Lower();
  }
  pane->SetLineStep(s->lineStep);
  pane->SetPageStep(s->pageStep);
  if (!slider) {
    pane->SetValue(s->value);
    s->router->Lower();
  }
}

} // namespace

const ObjectHook *ScrollerEventHook(bool slider, ScrollerEvent event) {
  return Hook(slider, event);
}

// The object is held while ValueChanged runs, so the router is still there
// after it; it is lowered only if the object still has it.
void RuntimeScrollerRouter::ScrollerValueChanged(Scroller *, int32_t, int32_t) {
  if (mCounter != 0)
    return;
  ScrollerObject *s = mObject;
  RuntimeObject *object = &s->control.header;
  RuntimeLockObject(object);
  mCounter = 1;
  FireEvent(object, Hook(mSlider, ScrollerEvent::kValueChanged));
  if (s->router == this)
    mCounter = 0;
  RuntimeUnlockObject(object);
}

void RuntimeScrollerRouter::ScrollerGotFocus(Scroller *pane) {
  FireFocusEvent(&mObject->control.header, pane, Hook(mSlider, ScrollerEvent::kGotFocus));
}

void RuntimeScrollerRouter::ScrollerLostFocus(Scroller *pane) {
  FireFocusEvent(&mObject->control.header, pane, Hook(mSlider, ScrollerEvent::kLostFocus));
}

void ScrollBarCreatePane(RuntimeObject *object) { CreatePane(AsScroller(object), false); }

void SliderCreatePane(RuntimeObject *object) { CreatePane(AsScroller(object), true); }

ObjectDefinition *ScrollBarClass() {
  static ObjectDefinition defn;
  return BuildClass(defn, "ScrollBar", ScrollBarCreatePane, ScrollBarProperties, ScrollBarHooks,
                    CODE(ScrollerLiveScrollSetter));
}

ObjectDefinition *SliderClass() {
  static ObjectDefinition defn;
  return BuildClass(defn, "Slider", SliderCreatePane, SliderProperties, SliderHooks,
                    CODE(SliderLiveScrollSetter));
}

extern "C" {

void scrollerDestructor(RuntimeObject *object) {
  ScrollerObject *s = AsScroller(object);
  if (Scroller *pane = PaneOf(s)) {
    pane->SetDelegate(nullptr); // the router goes below
    pane->SetObject(nullptr);
  }
  delete s->router;
  s->router = nullptr;
}

int32_t scrollerPropGetter(RuntimeObject *object, int32_t which) {
  if (!object)
    return 0;
  ScrollerObject *s = AsScroller(object);
  Scroller *pane = PaneOf(s);
  switch (which) {
  case kMinimum:
    return pane ? pane->GetMinimum() : s->minimum;
  case kValue:
    return pane ? pane->GetValue() : s->value;
  case kMaximum:
    return pane ? pane->GetMaximum() : s->maximum;
  case kLineStep:
    return pane ? pane->GetLineStep() : s->lineStep;
  case kPageStep:
    return pane ? pane->GetPageStep() : s->pageStep;
  default:
    return 0;
  }
}

void scrollerPropSetter(RuntimeObject *object, int32_t which, int32_t value) {
  if (!object)
    return;
  ScrollerObject *s = AsScroller(object);
  Scroller *pane = PaneOf(s);
  switch (which) {
  case kMinimum:
    s->minimum = value;
    if (pane)
      pane->SetMinimum(value);
    break;
  case kValue:
    s->value = value;
    if (pane)
      pane->SetValue(value);
    break;
  case kMaximum:
    s->maximum = value;
    if (pane)
      pane->SetMaximum(value);
    break;
  case kLineStep:
    s->lineStep = value;
    if (pane)
      pane->SetLineStep(value);
    break;
  case kPageStep:
    s->pageStep = value;
    if (pane)
      pane->SetPageStep(value);
    break;
  default:
    break;
  }
}

// The widget's update policy follows the flag only when the pane is made.
void ScrollerLiveScrollSetter(RuntimeObject *object, int32_t offset, int32_t on) {
  boolSetter(object, offset, on);
}

void SliderLiveScrollSetter(RuntimeObject *object, int32_t offset, int32_t on) {
  boolSetter(object, offset, on);
}

} // extern "C"
