// Background tasks run by passes (the yield point of compiled loops) and the
// command-stop and wait-cursor registers.
#include <gtest/gtest.h>
#include <sys/mman.h>

#include <functional>
#include <memory>
#include <new>
#include <string>

#include "foundation/QVTime.h"
#include "runtime/application/CommonRuntimeFunctions.h"
#include "runtime/loop/BackgroundTask.h"

namespace {

std::string sLog;

class LoggingTask : public BackgroundTask {
public:
  LoggingTask(char name, int32_t interval) : BackgroundTask(interval), mName(name) {}
  void PerformTask() override {
    sLog += mName;
    if (then)
      then();
  }
  std::function<void()> then;

private:
  char mName;
};

TEST(BackgroundTask, TicksBecomeWholeMilliseconds) {
  struct Case {
    int32_t ticks, ms;
  } cases[] = {{1, 16}, {6, 100}, {0, 0}, {60, 1000}};
  for (const Case &c : cases)
    EXPECT_EQ(BackgroundTaskTimeoutMs(c.ticks), c.ms) << c.ticks << " ticks";
}

TEST(BackgroundTask, PassRunsDueTasksNewestFirstAndStampsThem) {
  sLog.clear();
  const int32_t before = CountBackgroundTasks();
  LoggingTask a('a', 0), b('b', 0), slow('s', 1000);
  slow.mLastRun = static_cast<int32_t>(QV::TickCount()); // not due for 1000 ticks
  TriggerBackgroundTasks();
  EXPECT_EQ(sLog, "ba");
  EXPECT_NE(a.mLastRun, 0);
  sLog.clear();
  slow.mLastRun -= 1000; // now due
  const int32_t due = slow.mLastRun;
  TriggerBackgroundTasks();
  EXPECT_EQ(sLog, "sba");
  EXPECT_GE(slow.mLastRun, due + 1000); // stamped with the tick after its run
  EXPECT_EQ(CountBackgroundTasks(), before + 3);
}

TEST(BackgroundTask, TaskCreatedDuringAPassWaitsForTheNext) {
  sLog.clear();
  std::unique_ptr<LoggingTask> late;
  LoggingTask a('a', 0);
  a.then = [&] {
    if (!late)
      late = std::make_unique<LoggingTask>('n', 0);
  };
  TriggerBackgroundTasks();
  EXPECT_EQ(sLog, "a");
  sLog.clear();
  TriggerBackgroundTasks();
  EXPECT_EQ(sLog, "na");
}

// A task whose memory cannot be touched once deleted: any use of it after
// its delete faults, in every build. Its pages are never handed back.
class PoisonedWhenDeleted : public LoggingTask {
public:
  using LoggingTask::LoggingTask;
  static void *operator new(size_t size) {
    void *block = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
      throw std::bad_alloc();
    return block;
  }
  static void operator delete(void *block, size_t size) { mprotect(block, size, PROT_NONE); }
};

TEST(BackgroundTask, TaskThatDestroysItselfIsNotStampedAndThePassGoesOn) {
  sLog.clear();
  auto *older = new LoggingTask('o', 0);
  auto *self = new PoisonedWhenDeleted('x', 0);
  self->then = [&] { delete self; }; // the pass must not touch it afterwards
  TriggerBackgroundTasks();
  EXPECT_EQ(sLog, "xo");
  delete older;
}

TEST(BackgroundTask, RemovingOlderTasksStopsThePassAtTheShortenedEnd) {
  sLog.clear();
  auto *first = new LoggingTask('1', 0);
  auto *second = new LoggingTask('2', 0);
  LoggingTask third('3', 0);
  third.then = [&] {
    delete first;
    delete second;
  };
  TriggerBackgroundTasks();
  EXPECT_EQ(sLog, "3");
}

TEST(BackgroundTask, YieldPointRunsAtMostOnePassPerTick) {
  sLog.clear();
  LoggingTask counter('c', 0);
  const uint32_t start = QV::TickCount();
  for (int i = 0; i < 1000; ++i)
    RuntimeBackgroundTask();
  const uint32_t ticks = QV::TickCount() - start + 1;
  EXPECT_GE(sLog.size(), 1u);
  EXPECT_LE(sLog.size(), ticks); // one pass per tick at most, however many calls
}

TEST(BackgroundTask, CommandStopAndWaitCursorRegisters) {
  ClearCommandStop();
  EXPECT_EQ(HasCommandStop(), 0);
  EXPECT_EQ(getUserCancelled(), 0);
  const int32_t depth = gDisableAutoWaitCursor;
  DisableAutoWaitCursor();
  DisableAutoWaitCursor();
  EnableAutoWaitCursor();
  EXPECT_EQ(gDisableAutoWaitCursor, depth + 1);
  EnableAutoWaitCursor();
}

} // namespace
