// The one loop of the process. RuntimeRun turns it until shutdown is
// signalled; modal windows, dialogs and DoEvents turn it one step at a time.
// All waiting happens inside the GTK+ iteration of a step.
#pragma once
#include <cstdint>

#include "foundation/AssertionAlert.h"

inline constexpr AlertSite kNilStepFunctionAlert{"runtimemainloop", 562, "fp"};

extern uint8_t gInMainLoop; // 1 while RuntimeRun turns the loop

// What a step needs of the cooperative threads, which sit above the loop and
// fill this once their first thread starts. Until then no thread stack runs:
// a nil member answers false or does nothing.
struct ThreadStepHooks {
  bool (*RunningOnThreadStack)();
  // Ends a thread's step: lets the other stacks have their turn.
  void (*YieldToNextThread)();
};
// Copies the hooks; nil restores the do-nothing ones.
void InstallThreadStepHooks(const ThreadStepHooks *hooks);
const ThreadStepHooks &GetThreadStepHooks();

// How deep the toolkit's dispatch of event sources is nested on the process
// thread right now: 0 outside any dispatch.
int32_t ToolkitDispatchDepth();

// Steps until shutdown is signalled (taking no step when it already is),
// then closes the remaining windows and releases the application object's
// registration reference.
void mainloop();
// One step: window bookkeeping, drags of the capture pane, one GTK+
// iteration (blocking unless a pane holds the capture or a thread's stack
// runs), deferred updates, the focus pane's idle call, pollables, serial
// ports, sockets, the command-stop flag and the AutoQuit test; a thread's
// step ends by yielding to the other stacks.
void RunLoopStep();
// One step for a nested loop that waits for its own end (a modal window or
// dialog): it may block in the toolkit until an event arrives.
void ModalEvents();
// One step that runs only what is ready and never waits for an event that
// may not come (DoEvents).
void ReadyEvents();
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
