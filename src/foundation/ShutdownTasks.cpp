#include "foundation/ShutdownTasks.h"

namespace {
runShutdownTask *sShutdownTasks = nullptr; // newest first
}

runShutdownTask::runShutdownTask(const char *) : mNext(sShutdownTasks) { sShutdownTasks = this; }

runShutdownTask::~runShutdownTask() {
  for (runShutdownTask **link = &sShutdownTasks; *link; link = &(*link)->mNext) {
    if (*link == this) {
      *link = mNext;
      return;
    }
  }
}

int runShutdownAll() {
  while (sShutdownTasks)
    delete sShutdownTasks;
  return 0;
}
