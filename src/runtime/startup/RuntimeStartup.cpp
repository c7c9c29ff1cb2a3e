#include "runtime/startup/RuntimeStartup.h"

#include "runtime/application/CommonRuntimeFunctions.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/exceptions/StackCheck.h"
#include "runtime/exports/GlobalFunctions.h"
#include "runtime/startup/BuiltinClassRegistration.h"
#include "runtime/startup/ProgramArguments.h"
#include "runtime/startup/UpperAreaHooks.h"

void InitRuntimeServices() {
  InitGlobals();
  gInRuntime = 1;
  SetUnhandledExceptionHook(UnhandledExceptionFilter);
  if (const UpperAreaHooks &hooks = GetUpperAreaHooks(); hooks.installWindowsAreaHooks)
    hooks.installWindowsAreaHooks();
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
