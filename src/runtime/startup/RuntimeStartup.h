// The start-up work main does before GTK+ is initialised, and the services of
// other subsystems it calls.
#pragma once
#include <cstdint>

#include "runtime/startup/RuntimeLifecycle.h"
#include "runtime/startup/StandardFonts.h"

struct RuntimeObject;

// The runtime's globals, the unhandled-exception hook, every built-in class
// and global function, the main stack's budget and the socket layer.
void InitRuntimeServices();

// Every built-in class, the control classes and the global functions, each
// registered with its export names; then the standard button font.
void RegisterBuiltInClasses();

// The image's first call: loads the plug-ins the image carries.
extern "C" void RuntimeInit();
// The image's last call: nothing is left to do, the loader runs the shutdown
// tasks once the image returns.
extern "C" RuntimeObject *RuntimeExit();

// Set up by their own subsystems.
int32_t NetInit();  // the socket layer: 0, or 100 when it cannot start
void LoadPlugins(); // the plug-ins carried in the image
struct GTKHelper {
  static void Init(); // installs the key snooper
};
