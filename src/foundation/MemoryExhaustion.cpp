#include "foundation/MemoryExhaustion.h"

#include <unistd.h>

namespace {

// Constant-initialised, so that the windows area can fill it while the
// program's static objects are made.
constinit MemoryExhaustionHooks sHooks{};

} // namespace

MemoryExhaustionHooks &MemoryExhaustionHooksToFill() { return sHooks; }
const MemoryExhaustionHooks &GetMemoryExhaustionHooks() { return sHooks; }

void ReportMemoryExhausted() {
  // write(2) rather than stdio: stdio may need memory that is not there.
  static const char kMessage[] = "Out of memory: the application must quit.\n";
  ssize_t ignored = write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
  (void)ignored;
}
