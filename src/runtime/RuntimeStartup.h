// The start-up work main does before GTK+ is initialised, and the services of
// other subsystems it calls.
#pragma once
#include <cstdint>

struct RuntimeObject;

// The runtime's globals, the unhandled-exception hook, every built-in class
// and global function, the main stack's budget and the socket layer.
void InitRuntimeServices();

// Set up by their own subsystems.
void InitGlobals();                                      // default fonts
void UnhandledExceptionFilter(RuntimeObject *exception); // the last-resort hook
void RegisterBuiltInClasses();                           // classes and global functions
bool NetInit();                                          // the socket layer
struct GTKHelper {
  static void Init(); // installs the key snooper
};
