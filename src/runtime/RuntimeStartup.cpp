#include "runtime/RuntimeStartup.h"

#include "runtime/GlobalFunctions.h"
#include "runtime/ProgramArguments.h"
#include "runtime/RuntimeExceptions.h"
#include "runtime/StackCheck.h"
#include "runtime/application/CommonRuntimeFunctions.h"
#include "runtime/loop/WindowInterface.h"
#include "runtime/startup/BuiltinClassRegistration.h"

void InitRuntimeServices() {
  InitGlobals();
  gInRuntime = 1;
  SetUnhandledExceptionHook(UnhandledExceptionFilter);
  if (InstallWindowsAreaHooks)
    InstallWindowsAreaHooks();
  RegisterBuiltInClasses();
  InitStackChecker(kMainStackBudget);
  NetInit(); // a failure shows up when a socket is used
}

void RegisterBuiltInClasses() {
  CreateApplicationClass();
  CreateControlClasses();
  CreateIntrinsicFunctions();
  RegisterCommonFunctionExports();
  FillStandardButtonFont();
}

extern "C" void RuntimeInit() { LoadPlugins(); }

extern "C" RuntimeObject *RuntimeExit() { return nullptr; }
