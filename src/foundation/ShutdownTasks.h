// Shutdown tasks: objects whose destruction at exit does a piece of cleanup
// (open databases, plug-ins, the menu bar). Constructing a task puts it at the
// head of one global list, which then owns it; runShutdownAll deletes the
// tasks newest first. A task deleted earlier by its owner leaves the list.
#pragma once

class runShutdownTask {
public:
  // The name only documents the task at its construction; it is not kept.
  explicit runShutdownTask(const char *name);
  virtual ~runShutdownTask();
  runShutdownTask(const runShutdownTask &) = delete;
  runShutdownTask &operator=(const runShutdownTask &) = delete;

private:
  friend int runShutdownAll();
  runShutdownTask *mNext;
};

// Deletes every registered task, newest first; a task created during another
// task's cleanup runs next. Answers 0.
int runShutdownAll();
