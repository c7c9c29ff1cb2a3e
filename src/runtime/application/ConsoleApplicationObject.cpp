#include "runtime/application/ConsoleApplicationObject.h"

namespace {
RuntimeObject *sConsoleApplication = nullptr;
} // namespace

void SetConsoleApplicationObject(RuntimeObject *app) {
  RuntimeObject *old = sConsoleApplication;
  if (app)
    RuntimeLockObject(app);
  sConsoleApplication = app;
  if (old)
    RuntimeUnlockObject(old);
}

RuntimeObject *GetConsoleApplicationObject() { return sConsoleApplication; }
