// The built-in Timer class: fires its Action event after a period, once or
// repeatedly. Each running timer owns one GTK+ timeout, so Action handlers
// run inside the run loop's GTK+ iteration.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/AssertionAlert.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

inline constexpr AlertSite kNilTimerResetAlert{"RunTimer", 297, "obj"};

enum TimerMode : int32_t { kTimerModeOff = 0, kTimerModeSingle = 1, kTimerModeMultiple = 2 };

struct TimerObject {
  RuntimeObject header;
  TimerObject *next;   // the live-timer list, newest first
  int32_t mode;        // TimerMode
  int32_t period;      // milliseconds, at least 1
  int32_t periodStart; // the timer clock when the period last restarted
  int32_t enabled;     // 0 suppresses firing
  uint32_t timeoutId;  // the GTK+ timeout driving the timer, 0 for none
  int32_t reserved[2];
};
constexpr int32_t kTimerInstanceSize = 56;
static_assert(sizeof(TimerObject) == kTimerInstanceSize);
static_assert(offsetof(TimerObject, next) == 24);
static_assert(offsetof(TimerObject, mode) == 28);
static_assert(offsetof(TimerObject, period) == 32);
static_assert(offsetof(TimerObject, periodStart) == 36);
static_assert(offsetof(TimerObject, enabled) == 40);
static_assert(offsetof(TimerObject, timeoutId) == 44);

ObjectDefinition *TimerClass();

// The timer clock: ticks × 50 / 3 (milliseconds), modulo 2^32.
int32_t TimerClockNow();
// The newest live timer; follow next for older ones.
TimerObject *GetLiveTimerListHead();

// The GTK+ timeout's callback: fires Action and answers whether the timeout
// stays installed.
int TimerTimeoutCallback(void *timer);

extern "C" {
void timerModeSetter(RuntimeObject *timer, int32_t param, int32_t mode);
void timerPeriodSetter(RuntimeObject *timer, int32_t param, int32_t period);
void RuntimeTimerReset(RuntimeObject *timer);
}
