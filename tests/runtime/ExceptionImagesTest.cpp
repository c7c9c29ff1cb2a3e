// Exceptions through real compiled frames: the exceptions and
// exceptions_unhandled test images (tests/images) raise, catch and pass on
// exceptions under the loader and the unwinder, and report through their
// exit status (42 when every check held, else 128 + one bit per failed check).
#include <gtest/gtest.h>

#include "support/DialogAnswerer.h"
#include "support/ImageRunner.h"

namespace {

TEST(ExceptionImages, CompiledFramesCatchPassOnAndNestHandlers) {
  const ProgramRun run = RunTestImage("exceptions");
  EXPECT_EQ(run.status, 42) << run.errors;
}

// The first unhandled exception shows the final dialog and signals the
// shutdown; the second, raised afterwards, is passed over.
TEST(ExceptionImages, ExceptionsNoCompiledFrameCanTakeGoUnhandledWithoutACrash) {
  AnsweredRun run = RunTestImageAnsweringDialogs("exceptions_unhandled");
  EXPECT_EQ(run.status, 42) << run.errors;
  EXPECT_EQ(run.dialogs, 1);
}

} // namespace
