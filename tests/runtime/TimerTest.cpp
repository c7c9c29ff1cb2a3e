// Timers on real GTK+ timeouts: subclasses made the way compiled code makes
// them, with an Action handler that the test steers.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <functional>

#include "ObjectModelFixtures.h"
#include "runtime/loop/Timer.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "support/AlertRecorder.h"

namespace {

int sFired = 0;
std::function<void(RuntimeObject *)> sThen;

void Action(RuntimeObject *timer) {
  ++sFired;
  if (sThen)
    sThen(timer);
}

// A Timer subclass whose Action event is handled.
RuntimeClass *TimerWithAction() {
  static RuntimeClass *cls = SubclassHandling(LookupObjectDefinition(TimerClass()), "TestTimer",
                                              kTimerInstanceSize, "Action",
                                              reinterpret_cast<void *>(Action));
  return cls;
}

TimerObject *AsTimer(RuntimeObject *object) { return reinterpret_cast<TimerObject *>(object); }

// Turns the GTK+ main loop until the condition holds; a timer that never
// fires fails the test through ctest's time limit rather than a clock here.
void IterateUntil(const std::function<bool()> &done) {
  while (!done())
    gtk_main_iteration_do(TRUE);
}

// Turns the loop until a later timeout of the period has fired, so that a
// timer that should stay silent had its chances.
void IterateThroughPeriods(int32_t period, int count) {
  bool passed = false;
  guint id = g_timeout_add(
      period * count + period / 2,
      [](gpointer flag) -> gboolean {
        *static_cast<bool *>(flag) = true;
        return FALSE;
      },
      &passed);
  IterateUntil([&] { return passed; });
  (void)id;
}

class Timers : public testing::Test {
protected:
  void SetUp() override {
    if (!gtk_init_check(nullptr, nullptr))
      GTEST_SKIP() << "no display";
    sFired = 0;
    sThen = nullptr;
  }
  void TearDown() override { sThen = nullptr; }
};

TEST_F(Timers, NewTimerIsOffListedAndPeriodNeverBelowOne) {
  ObjectHolder timer(RuntimeNewObject(TimerWithAction()));
  TimerObject *fields = AsTimer(timer.get());
  EXPECT_EQ(fields->mode, kTimerModeOff);
  EXPECT_EQ(fields->period, 1000);
  EXPECT_EQ(fields->enabled, 1);
  EXPECT_EQ(fields->timeoutId, 0u);
  EXPECT_EQ(GetLiveTimerListHead(), fields);
  for (int32_t period : {0, -5}) {
    timerPeriodSetter(timer.get(), 0, period);
    EXPECT_EQ(fields->period, 1);
  }
  EXPECT_EQ(fields->timeoutId, 0u); // Period alone installs nothing
}

TEST_F(Timers, SingleModeFiresOnceAndTurnsItselfOff) {
  ObjectHolder timer(RuntimeNewObject(TimerWithAction()));
  timerPeriodSetter(timer.get(), 0, 5);
  timerModeSetter(timer.get(), 0, kTimerModeSingle);
  IterateUntil([] { return sFired == 1; });
  EXPECT_EQ(AsTimer(timer.get())->mode, kTimerModeOff);
  EXPECT_EQ(AsTimer(timer.get())->timeoutId, 0u);
  IterateThroughPeriods(5, 3);
  EXPECT_EQ(sFired, 1);
}

TEST_F(Timers, DisabledStopsForGoodUntilModeIsSetAgain) {
  ObjectHolder timer(RuntimeNewObject(TimerWithAction()));
  timerPeriodSetter(timer.get(), 0, 5);
  timerModeSetter(timer.get(), 0, kTimerModeMultiple);
  IterateUntil([] { return sFired == 2; });
  AsTimer(timer.get())->enabled = 0;
  IterateThroughPeriods(5, 3);
  EXPECT_EQ(sFired, 2);
  EXPECT_EQ(AsTimer(timer.get())->timeoutId, 0u);
  AsTimer(timer.get())->enabled = 1; // enabling alone does not restart it
  IterateThroughPeriods(5, 3);
  EXPECT_EQ(sFired, 2);
  timerModeSetter(timer.get(), 0, kTimerModeMultiple);
  IterateUntil([] { return sFired == 4; });
  timerModeSetter(timer.get(), 0, kTimerModeOff);
}

TEST_F(Timers, HandlerSettingModeLeavesExactlyTheTimeoutItInstalled) {
  ObjectHolder timer(RuntimeNewObject(TimerWithAction()));
  TimerObject *fields = AsTimer(timer.get());
  struct Case {
    const char *what;
    int32_t modeBefore;
    int32_t modeSetByHandler; // -1: the handler leaves Mode alone
    int keeps;                // the callback's answer
    int32_t modeAfter;
  } cases[] = {
      {"multiple, untouched", kTimerModeMultiple, -1, TRUE, kTimerModeMultiple},
      {"multiple, set to 0", kTimerModeMultiple, kTimerModeOff, FALSE, kTimerModeOff},
      {"single, set to 2", kTimerModeSingle, kTimerModeMultiple, FALSE, kTimerModeMultiple},
      {"multiple, set to 2 again", kTimerModeMultiple, kTimerModeMultiple, FALSE,
       kTimerModeMultiple},
  };
  for (const Case &c : cases) {
    timerModeSetter(timer.get(), 0, c.modeBefore);
    sThen = [&](RuntimeObject *self) {
      if (c.modeSetByHandler >= 0)
        timerModeSetter(self, 0, c.modeSetByHandler);
    };
    const uint32_t installed = fields->timeoutId;
    // Called as GTK+ calls it for the installed timeout.
    EXPECT_EQ(TimerTimeoutCallback(fields), c.keeps) << c.what;
    EXPECT_EQ(fields->mode, c.modeAfter) << c.what;
    if (c.modeSetByHandler == kTimerModeMultiple) {
      EXPECT_NE(fields->timeoutId, installed) << c.what; // the handler's own timeout drives it
    }
    if (c.keeps) {
      EXPECT_EQ(fields->timeoutId, installed) << c.what;
    }
    timerModeSetter(timer.get(), 0, kTimerModeOff);
  }
}

TEST_F(Timers, HandlerDroppingTheLastReferenceEndsTheTimerAfterItReturns) {
  RuntimeObject *timer = RuntimeNewObject(TimerWithAction());
  timerPeriodSetter(timer, 0, 5);
  timerModeSetter(timer, 0, kTimerModeMultiple);
  const int before = CountAllocatedObjects();
  int liveAfterRelease = -1;
  sThen = [&](RuntimeObject *self) {
    RuntimeUnlockObject(self); // the program's only reference
    // Still alive: the callback holds it. (A freed timer's fields would
    // still read as before; the count of live objects tells.)
    liveAfterRelease = CountAllocatedObjects();
  };
  IterateUntil([] { return sFired == 1; });
  EXPECT_EQ(liveAfterRelease, before);
  EXPECT_EQ(CountAllocatedObjects(), before - 1);
  EXPECT_NE(GetLiveTimerListHead(), AsTimer(timer));
  IterateThroughPeriods(5, 3); // its timeout went with it
  EXPECT_EQ(sFired, 1);
}

TEST_F(Timers, ResetRestartsThePeriodStartAndANilTimerAlerts) {
  ObjectHolder timer(RuntimeNewObject(TimerWithAction()));
  AsTimer(timer.get())->periodStart = TimerClockNow() - 5000;
  RuntimeTimerReset(timer.get());
  EXPECT_GE(AsTimer(timer.get())->periodStart, TimerClockNow() - 1000);
  AlertRecorder recorder;
  RuntimeTimerReset(nullptr);
  ASSERT_EQ(recorder.count(), 1u);
  EXPECT_EQ(recorder.alerts()[0].condition, kNilTimerResetAlert.condition);
  EXPECT_EQ(recorder.alerts()[0].line, kNilTimerResetAlert.line);
}

} // namespace
