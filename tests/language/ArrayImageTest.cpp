// Arrays driven by compiled code: the arrays test image (tests/images) calls
// every slot as the language's compiler does and reports through its exit
// status (42 when every check held, else 128 + one bit per failed check).
#include <gtest/gtest.h>

#include "support/ImageRunner.h"

namespace {

TEST(ArrayImage, CompiledCodeUsesArraysThroughTheirSlots) {
  const ProgramRun run = RunTestImage("arrays");
  EXPECT_EQ(run.status, 42) << run.errors;
}

} // namespace
