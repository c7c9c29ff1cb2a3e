#include "foundation/MemoryExhaustion.h"

#include <unistd.h>

// The pane layer defines the real one; without it nothing can be selected.
__attribute__((weak)) void LeaveNoDrawingSelected() {}

void ReportMemoryExhausted() {
  // write(2) rather than stdio: stdio may need memory that is not there.
  static const char kMessage[] = "Out of memory: the application must quit.\n";
  ssize_t ignored = write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
  (void)ignored;
}
