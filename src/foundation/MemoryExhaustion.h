// The two hooks run before the process ends for lack of memory.
#pragma once

// Leaves no pane or drawing context selected, so nothing draws half-way.
void LeaveNoDrawingSelected();
// The platform's out-of-memory report: one line on standard error.
void ReportMemoryExhausted();
