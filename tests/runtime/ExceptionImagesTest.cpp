// Exceptions through real compiled frames: the exceptions and
// exceptions_unhandled test images (tests/images) raise, catch and pass on
// exceptions under the loader and the unwinder, and report through their
// exit status (42 when every check held, else 128 + one bit per failed check).
#include <gtest/gtest.h>

#include "support/ImageRunner.h"

namespace {

TEST(ExceptionImages, CompiledFramesCatchPassOnAndNestHandlers) {
  EXPECT_EQ(RunTestImage("exceptions"), 42);
}

TEST(ExceptionImages, ExceptionsNoCompiledFrameCanTakeGoUnhandledWithoutACrash) {
  EXPECT_EQ(RunTestImage("exceptions_unhandled"), 42);
}

} // namespace
