// The debuggee stub: what a debug build of an image calls so that it stops
// at its first line, at breakpoints, after steps, at Break statements and on
// exceptions, and obeys the debugger's commands while stopped.
#pragma once
#include <cstdint>

struct stringStorage;
struct RuntimeObject;

extern "C" {
// Marks the program a debug build, then starts the runtime.
void DebugRuntimeInit();
// Keeps the debugger's address (one reference) for the first stop.
void RemoteDebuggerStartup(stringStorage *address);
// Called by compiled code at the start of every line: stops when a step or a
// breakpoint asks for it, and always at the first line.
void RuntimeDebuggerEntry(int32_t line);
// The Break statement: stops when a debugger is connected.
void RuntimeDebuggerBreak();
// Closes the link, then ends the runtime.
void RuntimeDebuggerShutdown();
}

// Makes the next line stop; answers 1.
int32_t DebugBreakASAP();
