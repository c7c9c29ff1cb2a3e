// The language library under an application image: the language_frames test
// image (tests/images/language_frames.c) frames and parses texts as the
// clipboard application does and reports the first failed check through its
// exit status.
#include <gtest/gtest.h>

#include "runtime/objects/ClassRegistry.h"
#include "runtime/startup/BuiltinClassRegistration.h"
#include "support/ImageRunner.h"

TEST(LanguageImage, FramesTravelExactlyAndShortFramesReadSafely) {
  // The MemoryBlock accessors reach the export table when start-up registers
  // the class; the image cannot bind them before that registration exists.
  CreateApplicationClass();
  if (!getIntrinsicClass(string("MemoryBlock")))
    GTEST_SKIP() << "start-up does not register MemoryBlock yet";
  const ProgramRun run = RunTestImage("language_frames");
  EXPECT_EQ(run.status, 42) << "the number of the first failed check\n" << run.errors;
}
