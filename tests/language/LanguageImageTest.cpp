// The language library under an application image: the language_frames test
// image (tests/images/language_frames.c) frames and parses texts as the
// clipboard application does and reports the first failed check through its
// exit status.
#include <gtest/gtest.h>

#include "support/ImageRunner.h"

TEST(LanguageImage, FramesTravelExactlyAndShortFramesReadSafely) {
  const ProgramRun run = RunTestImage("language_frames");
  EXPECT_EQ(run.status, 42) << run.errors;
}
