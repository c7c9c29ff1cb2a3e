#include "runtime/startup/ProgramArguments.h"

int32_t gArgc = 0;
char **gArgv = nullptr;
uint8_t gInRuntime = 0;
