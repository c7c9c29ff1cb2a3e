// The one loop of the process. RuntimeRun turns it until shutdown is
// signalled; modal windows, dialogs and DoEvents turn it one step at a time.
// All waiting happens inside the GTK+ iteration of a step.
#pragma once
#include <cstdint>

#include "foundation/AssertionAlert.h"

inline constexpr AlertSite kNilStepFunctionAlert{"runtimemainloop", 562, "fp"};

// Steps until shutdown is signalled (taking no step when it already is),
// then closes the remaining windows and releases the application object's
// registration reference.
void mainloop();
// One step: window bookkeeping, drags of the capture pane, one GTK+
// iteration (blocking unless a pane holds the capture), deferred updates,
// the focus pane's idle call, pollables, serial ports, sockets, the
// command-stop flag and the AutoQuit test.
void RunLoopStep();
// One step for a nested loop.
void ModalEvents();
// Shows the alert for a nil pointer, then runs one step; the pointer is not
// called.
void CallFunctionWithExceptionHandling(void (*fp)());

// Once set, the loop ends after its current step; never cleared.
void SignalShutdown();
bool IsAppShuttingDown();

// Platform stubs the other areas call.
void *GetModalWindow();                // always nil
bool InBackground();                   // always false
bool IsCommandStop(const void *event); // the stop key is not recognised: false
void ForceMessageLoopUpdate();
void UpdateMouseCursor();
void DebuggerSuspendTimerDispatcher();
void DebuggerResumeTimerDispatcher();

// Services of the networking area the step and the end of the run call.
void RunFireSerial();
void SerialShutdown(); // closes the serial ports, restoring their devices' settings
bool NetIdle(bool onlyUnowned); // true while a socket has bytes to move
int32_t NetTerm();
