// The kit's conventions against the runtime's loader and unwinder: the
// kit_conventions test image raises, cleans up, re-raises and catches, and
// reports through its exit status.
#include <gtest/gtest.h>

#include "support/ImageRunner.h"

namespace {

TEST(CompiledCodeKit, ExceptionTravelsThroughCatchAllIntoCallersProtectedRegion) {
  // 17 = the clean-up ran once (16) + the caught exception holds one reference
  // (1), argument counts balanced, the string constant made ready, and no
  // code ran after a raise. See tests/images/kit_conventions.c.
  const ProgramRun run = RunTestImage("kit_conventions");
  EXPECT_EQ(run.status, 17) << run.errors;
}

} // namespace
