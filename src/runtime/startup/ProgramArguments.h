// The command line as main received it, and whether the code runs as a built
// application.
#pragma once
#include <cstdint>

extern int32_t gArgc;
extern char **gArgv; // the array GTK+ later edits in place
extern uint8_t gInRuntime;
