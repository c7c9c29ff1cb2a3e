// The object model under an application image: the object_model test image
// (tests/images/object_model.c) builds classes and uses objects as compiled
// code does, and reports the first check that failed through its exit status.
#include <gtest/gtest.h>

#include "support/ImageRunner.h"

TEST(ObjectModelImage, CompiledClassesObjectsInterfacesAndEventsBehave) {
  const ProgramRun run = RunTestImage("object_model");
  EXPECT_EQ(run.status, 42) << run.errors; // else the number of the first failed check
}
