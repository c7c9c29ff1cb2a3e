// The language's ProgressBar: the object's fields after the control's, the
// class, its "CreatePane" handler and the exported accessors.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controls/ProgressBar.h"
#include "controls/RuntimeControl.h"
#include "runtime/objects/ObjectDefinition.h"

struct ProgressBarObject {
  RuntimeControl control;
  int32_t value;
  int32_t maximum;
};
constexpr int32_t kProgressBarInstanceSize = 108;
static_assert(sizeof(ProgressBarObject) == kProgressBarInstanceSize);
static_assert(offsetof(ProgressBarObject, value) == 100);
static_assert(offsetof(ProgressBarObject, maximum) == 104);

ObjectDefinition *ProgressBarClass();
void ProgressBarCreatePane(RuntimeObject *object);
// The events the pane fires, in slot order.
enum class ProgressBarEvent { kMouseDown, kMouseDrag, kMouseUp };
const ObjectHook *ProgressBarEventHook(ProgressBarEvent event);

extern "C" {
int32_t progressValueGetter(RuntimeObject *object, int32_t);
void progressValueSetter(RuntimeObject *object, int32_t, int32_t value);
int32_t progressMaximumGetter(RuntimeObject *object, int32_t);
void progressMaximumSetter(RuntimeObject *object, int32_t, int32_t maximum);
}
