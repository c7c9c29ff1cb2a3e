// The debuggee stub in a debug-build test image, run as a child process of
// a scripted debugger peer (debug_peer.py, raw sockets) on the fixed local
// path and TCP port. Each scenario is one run; the script names the check
// that failed.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "DebugLinkLock.h"
#include "support/ImageRunner.h"

namespace {

constexpr int kSkipped = 77;

struct PeerRun {
  int status;
  std::string output;
};

PeerRun RunPeer(const std::string &scenario) {
  const char *dataDir = std::getenv("TEST_DATA_DIR");
  const std::string script = std::string(dataDir ? dataDir : ".") + "/debug_peer.py";
  const std::string command = "timeout 900 python3 " + script + " " + scenario + " " +
                              TEST_IMAGES_DIR + "/debuggee '" + I386_EMULATOR + "' 2>&1";
  PeerRun run{-1, {}};
  FILE *pipe = popen(command.c_str(), "r");
  if (!pipe)
    return run;
  char buffer[4096];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
    run.output.append(buffer, got);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

class DebuggeeSessionTest : public ::testing::TestWithParam<const char *> {};

TEST_P(DebuggeeSessionTest, ThePeerDrivesTheImage) {
  DebugLinkLock lock;
  const PeerRun run = RunPeer(GetParam());
  if (run.status == kSkipped)
    GTEST_SKIP() << run.output;
  EXPECT_EQ(run.status, 0) << run.output;
}

// session: stepping, breakpoints, Break, TRAP, monitors, every inspection
//   reply and write on the local link, ending with the status it wrote;
// tcp: the first stop, PID and QUIT (status 1) over TCP;
// drop: the peer closes while the program is stopped (status 1);
// no_debugger: nobody listens: the alert, then status 1;
// hostile: bad, misaligned and stale addresses, a self-linked frame, 20,000
//   random and mutated lines, then a 100 MB line without end (status 1);
// stranger: a listener of another user is no debugger (needs root).
INSTANTIATE_TEST_SUITE_P(Scenarios, DebuggeeSessionTest,
                         ::testing::Values("session", "tcp", "drop", "no_debugger", "hostile",
                                           "stranger"));

} // namespace
