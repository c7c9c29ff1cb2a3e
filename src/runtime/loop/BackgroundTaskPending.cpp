// Do-nothing bodies of the background tasks until the run loop defines them.
// They are weak: the real definitions, once linked, take their place. A task
// made here is never run.
#include "runtime/loop/BackgroundTask.h"

__attribute__((weak)) BackgroundTask::BackgroundTask(int32_t intervalTicks)
    : mTimeoutId(0), mLastRun(0), mInterval(intervalTicks) {}
__attribute__((weak)) BackgroundTask::~BackgroundTask() {}
