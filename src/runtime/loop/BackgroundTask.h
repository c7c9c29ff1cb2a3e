// Background tasks: runtime objects whose PerformTask must run periodically
// without the language's code asking (the thread scheduler, the socket
// poller, sound, the deferred closing of windows). Each runs from its own
// GTK+ timeout while the loop turns, and from passes over every task that
// long-running code reaches through its yield points. Also the command-stop
// flag and the wait cursor's nesting counter.
#pragma once
#include <cstdint>

class BackgroundTask {
public:
  // Installs a repeating timeout of the interval (in ticks) and lists the task.
  explicit BackgroundTask(int32_t intervalTicks);
  virtual ~BackgroundTask();
  BackgroundTask(const BackgroundTask &) = delete;
  BackgroundTask &operator=(const BackgroundTask &) = delete;

  virtual void PerformTask() = 0;

  uint32_t mTimeoutId;
  int32_t mLastRun; // tick of the last pass that ran it; 0 at creation
  int32_t mInterval;
};

// The timeout of a task: ticks (1/60 s) in whole milliseconds.
int32_t BackgroundTaskTimeoutMs(int32_t intervalTicks);

// Runs every due task once, newest first, stamping each one still listed
// afterwards with the tick after its run. Tasks created during the pass wait
// for the next one; the pass stops when tasks removed meanwhile leave its
// index past the list's end.
void TriggerBackgroundTasks();
int32_t CountBackgroundTasks();

void ClearCommandStop();
int32_t HasCommandStop(); // nothing on this platform sets the flag
void CheckCommandStop();  // the stop key is not recognised here

extern int32_t gDisableAutoWaitCursor;
extern "C" {
void DisableAutoWaitCursor();
void EnableAutoWaitCursor();
}
