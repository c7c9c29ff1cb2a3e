// The object model under an application image: the object_model test image
// (tests/images/object_model.c) builds classes and uses objects as compiled
// code does, and reports the first check that failed through its exit status.
#include <gtest/gtest.h>

#include "support/ImageRunner.h"

TEST(ObjectModelImage, CompiledClassesObjectsInterfacesAndEventsBehave) {
  EXPECT_EQ(RunTestImage("object_model"), 42) << "the number of the first failed check";
}
