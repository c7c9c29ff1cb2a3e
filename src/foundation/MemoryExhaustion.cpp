#include "foundation/MemoryExhaustion.h"

#include <unistd.h>

void LeaveNoDrawingSelected() {
  // Pending: Pane::AboutToYield() once the pane layer exists.
}

void ReportMemoryExhausted() {
  // write(2) rather than stdio: stdio may need memory that is not there.
  static const char kMessage[] = "Out of memory: the application must quit.\n";
  ssize_t ignored = write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
  (void)ignored;
}
