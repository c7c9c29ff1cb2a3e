// DoEvents as programs call it from a Timer's Action: it runs what is ready
// and never waits for an event that may not come, and on a thread's stack it
// does not switch stacks in the middle of the toolkit's dispatch.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <signal.h>
#include <unistd.h>

#include <functional>

#include "ObjectModelFixtures.h"
#include "runtime/application/CommonRuntimeFunctions.h"
#include "runtime/loop/RunLoop.h"
#include "runtime/loop/Timer.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/threads/RuntimeThread.h"
#include "runtime/threads/ThreadClasses.h"

namespace {

// The bound within which every test here must finish: a DoEvents that waits
// for the next event would wait for ever where no source is left, so the
// test ends the process with a message instead of hanging.
constexpr unsigned kBoundSeconds = 300;

class Watchdog {
public:
  Watchdog() {
    signal(SIGALRM, [](int) {
      static const char kMessage[] = "DoEvents did not return within the test's bound\n";
      (void)!write(2, kMessage, sizeof kMessage - 1);
      _exit(1);
    });
    alarm(kBoundSeconds);
  }
  ~Watchdog() { alarm(0); }
};

std::function<void(RuntimeObject *)> sAction;
void Action(RuntimeObject *timer) {
  if (sAction)
    sAction(timer);
}
int sSlowFired = 0;
void SlowAction(RuntimeObject *) { ++sSlowFired; }

RuntimeObject *NewTimer(void (*action)(RuntimeObject *), int32_t period, int32_t mode) {
  static RuntimeClass *timerClass = LookupObjectDefinition(TimerClass());
  RuntimeObject *timer = RuntimeNewObject(SubclassHandling(
      timerClass, "DoEventsTimer", kTimerInstanceSize, "Action", reinterpret_cast<void *>(action)));
  timerPeriodSetter(timer, 0, period);
  timerModeSetter(timer, 0, mode);
  return timer;
}

std::function<void(RuntimeObject *)> sRun;
void ThreadRun(RuntimeObject *thread) {
  if (sRun)
    sRun(thread);
}

class DoEvents : public testing::Test {
protected:
  void SetUp() override {
    if (!gtk_init_check(nullptr, nullptr))
      GTEST_SKIP() << "no display";
  }
  void TearDown() override {
    sAction = nullptr;
    sRun = nullptr;
  }
  Watchdog mWatchdog;
};

TEST_F(DoEvents, TenThousandCallsFromAnActionReturnWithoutWaitingForAnEvent) {
  struct Case {
    const char *what;
    int32_t milliseconds;
    bool slowTimerElsewhere;
  } cases[] = {
      {"no other source, the Application's default", -1, false},
      {"a 500 ms timer elsewhere", -1, true},
      {"no other source, DoEvents(0)", 0, false},
  };
  constexpr int kCalls = 10000;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    sSlowFired = 0;
    ObjectHolder slow(c.slowTimerElsewhere ? NewTimer(SlowAction, 500, kTimerModeMultiple)
                                           : nullptr);
    int calls = 0;
    sAction = [&](RuntimeObject *) {
      for (; calls < kCalls; ++calls)
        RuntimeDoEvents(nullptr, c.milliseconds);
    };
    ObjectHolder timer(NewTimer(Action, 1, kTimerModeSingle));
    while (calls < kCalls)
      RunLoopStep();
    // A call that waited for the next event would have waited for one of
    // the slow timer's each time.
    EXPECT_LT(sSlowFired, kCalls / 10);
    if (slow.get())
      timerModeSetter(slow.get(), 0, kTimerModeOff);
  }
}

// A thread loops DoEvents(1) beside a 2 ms timer whose Action loops through
// yield points. When the Action runs inside the thread's own loop step, its
// yields must not switch to the main stack in the middle of that dispatch
// (GLib aborts when the main stack dispatches meanwhile): the main stack
// takes no step while such an Action runs.
TEST_F(DoEvents, ActionInsideAThreadsStepDoesNotSwitchStacksMidDispatch) {
  static RuntimeClass *threadClass = SubclassHandling(
      LookupObjectDefinition(ThreadClass()), "DoEventsThread", sizeof(ThreadObject), "Run",
      reinterpret_cast<void *>(ThreadRun));
  int mainSteps = 0, actionsOnThread = 0, mainStepsInsideThreadActions = 0;
  sAction = [&](RuntimeObject *) {
    if (!RunningOnThreadStack())
      return; // the timer's source stays free for the thread's steps
    ++actionsOnThread;
    const int before = mainSteps;
    for (int i = 0; i < 3; ++i) {
      RuntimeDoEvents(nullptr, 1);
      RuntimeBackgroundTask();
    }
    mainStepsInsideThreadActions += mainSteps - before;
  };
  sRun = [](RuntimeObject *) {
    for (int i = 0; i < 20; ++i)
      RuntimeDoEvents(nullptr, 1);
  };
  ObjectHolder timer(NewTimer(Action, 2, kTimerModeMultiple));
  for (int round = 0; round < 200; ++round) {
    ObjectHolder thread(RuntimeNewObject(threadClass));
    threadRun(thread.get());
    // The main stack alternates between dispatching (where the toolkit
    // aborts on a dispatch left half done) and only yielding (so that the
    // timer is often due in the thread's steps).
    while (ThreadGetID(thread.get(), 0)) {
      if (++mainSteps % 2)
        RuntimeDoEvents(nullptr, 0);
      else
        YieldToNextThread();
    }
  }
  timerModeSetter(timer.get(), 0, kTimerModeOff);
  EXPECT_GT(actionsOnThread, 0); // the case the test is about happened
  EXPECT_EQ(mainStepsInsideThreadActions, 0);
}

} // namespace
