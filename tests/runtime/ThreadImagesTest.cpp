// Cooperative threads under the real loader and unwinder: the threads test
// image (tests/images/threads.c) reports through its exit status (42 when
// every check held, else 128 + one bit per failed check).
#include <gtest/gtest.h>

#include "support/DialogAnswerer.h"
#include "support/ImageRunner.h"

namespace {

TEST(ThreadImages, ThreadsLoopSleepRaiseAndOverflowInCompiledRunHandlers) {
  const ProgramRun run = RunTestImage("threads");
  EXPECT_EQ(run.status, 42) << run.errors;
}

// Nothing in the thread catches its overflow: the Application's
// UnhandledException event, then the real final dialog, answered with Return.
TEST(ThreadImages, UncaughtOverflowInAThreadReachesTheEventAndTheFinalDialog) {
  const AnsweredRun run = RunTestImageAnsweringDialogs("threads_unhandled");
  EXPECT_EQ(run.status, 42) << run.errors;
  EXPECT_EQ(run.dialogs, 1);
}

} // namespace
