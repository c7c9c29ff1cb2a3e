// The language's ScrollBar and Slider: one object layout after the
// control's, a router each that turns the scroller's reports into events,
// the classes with their "CreatePane" handlers, and the exported accessors.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controls/RuntimeControl.h"
#include "controls/Scroller.h"
#include "runtime/objects/ObjectDefinition.h"

class RuntimeScrollerRouter;

struct ScrollerObject {
  RuntimeControl control;
  RuntimeScrollerRouter *router; // owned
  int32_t minimum;
  int32_t value;
  int32_t maximum;
  int32_t lineStep;
  int32_t pageStep;
  uint8_t liveScroll;
  uint8_t reserved[3];
};
constexpr int32_t kScrollerInstanceSize = 128;
static_assert(sizeof(ScrollerObject) == kScrollerInstanceSize);
static_assert(offsetof(ScrollerObject, router) == 100);
static_assert(offsetof(ScrollerObject, minimum) == 104);
static_assert(offsetof(ScrollerObject, value) == 108);
static_assert(offsetof(ScrollerObject, maximum) == 112);
static_assert(offsetof(ScrollerObject, lineStep) == 116);
static_assert(offsetof(ScrollerObject, pageStep) == 120);
static_assert(offsetof(ScrollerObject, liveScroll) == 124);

// Turns a scroller's reports into the object's events. While the counter is
// raised, value changes are not reported: a ValueChanged handler that sets
// Value starts no second ValueChanged, and set-up fires none.
class RuntimeScrollerRouter : public ScrollerDelegate {
public:
  RuntimeScrollerRouter(ScrollerObject *object, bool slider) : mObject(object), mSlider(slider) {}
  virtual ~RuntimeScrollerRouter() = default;
  void ScrollerValueChanged(Scroller *pane, int32_t oldValue, int32_t newValue) override;
  void ScrollerGotFocus(Scroller *pane) override;
  void ScrollerLostFocus(Scroller *pane) override;

  void Raise() { ++mCounter; }
  void Lower() { --mCounter; }

private:
  int32_t mCounter = 0;
  ScrollerObject *mObject; // not counted: the object owns the router
  bool mSlider;
};

// The router of a Slider: the ScrollBar's with the Slider class's events.
class RuntimeSliderRouter final : public RuntimeScrollerRouter {
public:
  explicit RuntimeSliderRouter(ScrollerObject *object) : RuntimeScrollerRouter(object, true) {}
};

ObjectDefinition *ScrollBarClass();
ObjectDefinition *SliderClass();
void ScrollBarCreatePane(RuntimeObject *object);
void SliderCreatePane(RuntimeObject *object);

// The events of both classes, in slot order.
enum class ScrollerEvent { kValueChanged, kGotFocus, kLostFocus, kMouseDown, kMouseDrag, kMouseUp };
// The event of the Slider class when slider is set, else of ScrollBar.
const ObjectHook *ScrollerEventHook(bool slider, ScrollerEvent event);

extern "C" {
void scrollerDestructor(RuntimeObject *object);
int32_t scrollerPropGetter(RuntimeObject *object, int32_t which);
void scrollerPropSetter(RuntimeObject *object, int32_t which, int32_t value);
void ScrollerLiveScrollSetter(RuntimeObject *object, int32_t offset, int32_t on);
void SliderLiveScrollSetter(RuntimeObject *object, int32_t offset, int32_t on);
}
