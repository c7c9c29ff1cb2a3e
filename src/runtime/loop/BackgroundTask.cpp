#include "runtime/loop/BackgroundTask.h"

#include <gtk/gtk.h>

#include "foundation/QVTime.h"
#include "foundation/SimpleVector.h"

int32_t gDisableAutoWaitCursor = 0;

namespace {

SimpleVector<BackgroundTask *> &Tasks() {
  static SimpleVector<BackgroundTask *> tasks;
  return tasks;
}

int32_t sCommandStop = 0;

gboolean RunTaskFromTimeout(gpointer data) {
  static_cast<BackgroundTask *>(data)->PerformTask();
  return TRUE;
}

bool IsListed(BackgroundTask *task) {
  for (BackgroundTask *listed : Tasks())
    if (listed == task)
      return true;
  return false;
}

} // namespace

int32_t BackgroundTaskTimeoutMs(int32_t intervalTicks) {
  return intervalTicks * 1000 / static_cast<int32_t>(QV::kTicksPerSecond);
}

BackgroundTask::BackgroundTask(int32_t intervalTicks)
    : mTimeoutId(0), mLastRun(0), mInterval(intervalTicks) {
  mTimeoutId = gtk_timeout_add(BackgroundTaskTimeoutMs(intervalTicks), RunTaskFromTimeout, this);
  Tasks().push_back(this);
}

BackgroundTask::~BackgroundTask() {
  if (mTimeoutId)
    gtk_timeout_remove(mTimeoutId);
  SimpleVector<BackgroundTask *> &tasks = Tasks();
  for (int32_t i = tasks.count() - 1; i >= 0; --i)
    if (tasks[i] == this)
      tasks.deleteIdx(i);
}

void TriggerBackgroundTasks() {
  const uint32_t now = QV::TickCount();
  SimpleVector<BackgroundTask *> &tasks = Tasks();
  for (int32_t i = tasks.count() - 1; i >= 0 && i < tasks.count(); --i) {
    BackgroundTask *task = tasks[i];
    if (now < static_cast<uint32_t>(task->mLastRun) + static_cast<uint32_t>(task->mInterval))
      continue;
    task->PerformTask();
    // A task may destroy itself (or another task) in PerformTask; only one
    // still listed is there to stamp.
    if (IsListed(task))
      task->mLastRun = static_cast<int32_t>(QV::TickCount());
  }
}

int32_t CountBackgroundTasks() { return Tasks().count(); }

void ClearCommandStop() { sCommandStop = 0; }
int32_t HasCommandStop() { return sCommandStop; }
void CheckCommandStop() {}

extern "C" {
void DisableAutoWaitCursor() { ++gDisableAutoWaitCursor; }
void EnableAutoWaitCursor() { --gDisableAutoWaitCursor; }
}
