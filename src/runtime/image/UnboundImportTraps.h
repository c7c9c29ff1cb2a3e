// Stand-ins for imports the loader could not bind. A call through such an
// import lands in a small stub that shows the assertion alert naming the
// function and returns 0, instead of jumping to whatever the site held.
#pragma once
#include <cstdint>

// The stub for the named function (one per call; the name is copied and kept
// for the process). Nil only when no executable memory can be had.
void *MakeUnboundImportTrap(const char *functionName);

// What every stub calls: shows the alert and answers 0 (in both halves of a
// 64-bit result).
extern "C" uint64_t UnboundImportCalled(const char *functionName);
