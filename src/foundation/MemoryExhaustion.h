// What runs before the process ends for lack of memory.
#pragma once

// Filled by the windows area before main; a nil member does nothing.
struct MemoryExhaustionHooks {
  // Leaves no pane or drawing context selected, so nothing draws half-way.
  void (*leaveNoDrawingSelected)();
};
MemoryExhaustionHooks &MemoryExhaustionHooksToFill();
const MemoryExhaustionHooks &GetMemoryExhaustionHooks();

// The platform's out-of-memory report: one line on standard error.
void ReportMemoryExhausted();
