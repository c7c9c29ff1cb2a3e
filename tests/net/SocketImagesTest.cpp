// Compiled code subclassing TCPSocket, started as a whole program: start-up
// registers the socket classes, the run loop services the sockets.
#include <gtest/gtest.h>

#include "support/ImageRunner.h"

namespace {

TEST(SocketImages, SubclassesTalkOverLoopbackThroughTheRunLoop) {
  const ProgramRun run = RunTestImage("net_sockets");
  EXPECT_EQ(run.status, 42) << run.errors;
}

} // namespace
