#include "runtime/RuntimeStartup.h"

#include "runtime/GlobalFunctions.h"
#include "runtime/ProgramArguments.h"
#include "runtime/RuntimeExceptions.h"
#include "runtime/StackCheck.h"

void InitRuntimeServices() {
  InitGlobals();
  gInRuntime = 1;
  SetUnhandledExceptionHook(UnhandledExceptionFilter);
  RegisterBuiltInClasses();
  InitStackChecker(kMainStackBudget);
  NetInit(); // a failure shows up when a socket is used
}

void RegisterBuiltInClasses() {
  CreateApplicationClass();
  CreateControlClasses();
  CreateIntrinsicFunctions();
  FillStandardButtonFont();
}

extern "C" void RuntimeInit() { LoadPlugins(); }

extern "C" RuntimeObject *RuntimeExit() { return nullptr; }
