#include "runtime/loop/Timer.h"

#include <gtk/gtk.h>

#include <iterator>

#include "foundation/AssertionAlert.h"
#include "foundation/QVTime.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"

namespace {

TimerObject *sLiveTimers = nullptr;

TimerObject *AsTimer(RuntimeObject *object) { return reinterpret_cast<TimerObject *>(object); }

ObjectInstanceTemplate TimerProperties[] = {
    {0, "Mode", &integerType.type, ACCESSOR(intGetter), ACCESSOR(timerModeSetter),
     offsetof(TimerObject, mode), 0},
    {0, "Period", &integerType.type, ACCESSOR(intGetter), ACCESSOR(timerPeriodSetter),
     offsetof(TimerObject, period), 0},
    {0, "Enabled", &booleanType.type, ACCESSOR(intGetter), ACCESSOR(intSetter),
     offsetof(TimerObject, enabled), 0},
};

PropertyMethod TimerMethods[] = {
    {"Reset", nullptr, nullptr, 0, {{ACCESSOR(RuntimeTimerReset), {}}, {}}, 0, 0, 0},
};

ObjectHookTemplate TimerHooks[] = {
    {0, "Action", "", "", nullptr, 0},
};

ObjectConstantTemplate TimerConstants[] = {
    {0, "ModeOff", 1, "0"},
    {0, "ModeSingle", 1, "1"},
    {0, "ModeMultiple", 1, "2"},
};

void RemoveTimeout(TimerObject *timer) {
  if (timer->timeoutId) {
    gtk_timeout_remove(timer->timeoutId);
    timer->timeoutId = 0;
  }
}

void InstallTimeout(TimerObject *timer) {
  timer->timeoutId = gtk_timeout_add(timer->period, TimerTimeoutCallback, timer);
}

void TimerInit(RuntimeObject *object) {
  TimerObject *timer = AsTimer(object);
  timer->period = 1000;
  timer->timeoutId = 0;
  timer->enabled = 1;
  timer->periodStart = TimerClockNow();
  timer->next = sLiveTimers;
  sLiveTimers = timer;
}

void TimerDestroy(RuntimeObject *object) {
  TimerObject *timer = AsTimer(object);
  for (TimerObject **link = &sLiveTimers; *link; link = &(*link)->next)
    if (*link == timer) {
      *link = timer->next;
      break;
    }
  RemoveTimeout(timer);
}

} // namespace

int32_t TimerClockNow() {
  return static_cast<int32_t>(
      static_cast<uint32_t>(static_cast<uint64_t>(QV::TickCount()) * 50 / 3));
}

TimerObject *GetLiveTimerListHead() { return sLiveTimers; }

ObjectDefinition *TimerClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string("Timer");
  defn.objectSize = kTimerInstanceSize;
  defn.constructor = TimerInit;
  defn.destructor = TimerDestroy;
  defn.staticTables = 1;
  defn.properties = FillInstances(TimerProperties, std::size(TimerProperties));
  defn.methods = FillMethods(TimerMethods, std::size(TimerMethods));
  FillHooks(&defn, TimerHooks, std::size(TimerHooks));
  FillConstants(&defn, TimerConstants, std::size(TimerConstants));
  return &defn;
}

int TimerTimeoutCallback(void *data) {
  TimerObject *timer = static_cast<TimerObject *>(data);
  if (!timer->enabled) {
    timer->timeoutId = 0;
    return FALSE;
  }
  using ActionHandler = void (*)(RuntimeObject *);
  auto action = reinterpret_cast<ActionHandler>(FindObjectCode(&timer->header, TimerHooks[0].hook));
  const uint32_t dispatching = timer->timeoutId;
  if (timer->mode != kTimerModeMultiple) {
    timer->timeoutId = 0;
    timer->mode = kTimerModeOff;
  }
  // The handler may drop the last reference the program holds; the timer
  // lives on until the handler returns.
  RuntimeLockObject(&timer->header);
  if (action)
    action(&timer->header);
  // A setter called by the handler replaced the timeout being dispatched:
  // the new one drives the timer from now on.
  bool keep = timer->mode == kTimerModeMultiple && timer->timeoutId == dispatching;
  if (timer->header.refCount == 1) {
    // Ours is the last reference: the timer dies below. Its timeout being
    // dispatched is removed by returning FALSE, not by its destructor.
    if (timer->timeoutId == dispatching)
      timer->timeoutId = 0;
    keep = false;
  }
  RuntimeUnlockObject(&timer->header);
  return keep ? TRUE : FALSE;
}

extern "C" {

void timerModeSetter(RuntimeObject *object, int32_t, int32_t mode) {
  TimerObject *timer = AsTimer(object);
  timer->mode = mode;
  timer->periodStart = TimerClockNow();
  RemoveTimeout(timer);
  if (mode != kTimerModeOff)
    InstallTimeout(timer);
}

void timerPeriodSetter(RuntimeObject *object, int32_t, int32_t period) {
  TimerObject *timer = AsTimer(object);
  timer->period = period > 0 ? period : 1;
  RemoveTimeout(timer);
  if (timer->mode != kTimerModeOff)
    InstallTimeout(timer);
}

void RuntimeTimerReset(RuntimeObject *object) {
  if (!object) {
    ShowAlert(kNilTimerResetAlert);
    return;
  }
  AsTimer(object)->periodStart = TimerClockNow();
}

} // extern "C"
