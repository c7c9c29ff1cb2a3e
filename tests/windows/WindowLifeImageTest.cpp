// A window's whole life driven by compiled code (the window_life image): the
// order of its events from construction to Quit on Ctrl+Q, a CancelClose
// veto, and the close box, on the tests' private display.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "WindowsTestSupport.h"
#include "XQueries.h"
#include "support/CommandOutput.h"
#include "support/ImageRunner.h"

namespace {

// The image running on the display, its standard error in a file.
class WindowLife : public testing::Test {
protected:
  void SetUp() override {
    if (!HaveDisplay())
      GTEST_SKIP() << "no display";
    mErrors = "/tmp/window_life_" + std::to_string(getpid()) + ".txt";
  }
  void TearDown() override {
    if (mImage > 0) {
      kill(mImage, SIGKILL);
      waitpid(mImage, nullptr, 0);
    }
    unlink(mErrors.c_str());
  }

  void Start(bool veto) {
    mImage = fork();
    if (mImage == 0) {
      if (veto)
        setenv("WINDOW_LIFE_VETO", "1", 1);
      std::string command =
          "exec " + Emulated(TEST_IMAGES_DIR "/window_life") + " 2>" + mErrors;
      execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char *>(nullptr));
      _exit(127);
    }
    ASSERT_TRUE(StepUntil([&] { return !LifeWindow().empty(); }, 600)) << "no window";
  }

  std::string LifeWindow() {
    std::string id = CommandOutput("xdotool search --onlyvisible --name '^Life$' 2>/dev/null");
    return id.substr(0, id.find('\n'));
  }

  std::vector<std::string> Lines() {
    std::ifstream in(mErrors);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
      lines.push_back(line);
    return lines;
  }
  bool Said(const std::string &line) {
    for (const std::string &l : Lines())
      if (l == line)
        return true;
    return false;
  }

  // The image's exit status once it ended, -1 when it did not.
  int Ended() {
    int status = 0;
    bool ended = StepUntil([&] { return waitpid(mImage, &status, WNOHANG) == mImage; }, 600);
    if (!ended)
      return -1;
    mImage = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  pid_t mImage = -1;
  std::string mErrors;
};

const std::vector<std::string> kBuilt{"Layout",       "CreateControls", "SetupBindings",
                                      "Open Button1", "Open Field1$0",  "Open Field1$1",
                                      "Open window"};
const std::vector<std::string> kClosed{"Close Button1", "Close Field1$0", "Close Field1$1",
                                       "Close window", "end"};

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string> &middle,
                              const std::vector<std::string> &b) {
  a.insert(a.end(), middle.begin(), middle.end());
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(WindowLife, CtrlQAsksTheWindowThenClosesControlsInMapOrderAndEnds) {
  ASSERT_NO_FATAL_FAILURE(Start(false));
  const std::string window = LifeWindow();
  ASSERT_TRUE(XDoToolUntil("windowfocus --sync " + window + " key ctrl+q",
                           [&] { return Said("CancelClose true"); }));
  EXPECT_EQ(Ended(), 0);
  EXPECT_EQ(Lines(), Join(kBuilt, {"CancelClose true"}, kClosed));
}

// The veto keeps the window and its controls: the close box later still
// finds them all, and asks without quitting.
TEST_F(WindowLife, AVetoKeepsEverythingOpenAndTheCloseBoxAsksWithoutQuitting) {
  ASSERT_NO_FATAL_FAILURE(Start(true));
  const std::string window = LifeWindow();
  ASSERT_TRUE(XDoToolUntil("windowfocus --sync " + window + " key ctrl+q",
                           [&] { return Said("CancelClose true"); }));
  XSendDeleteWindow(std::stoul(window));
  EXPECT_EQ(Ended(), 0);
  EXPECT_EQ(Lines(), Join(kBuilt, {"CancelClose true", "CancelClose false"}, kClosed));
}

} // namespace
