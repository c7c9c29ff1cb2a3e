// Images that run as applications do: registered application object, run
// loop, timers, Quit and the final dialog, under the display (see
// tests/images/app_*.c for what each checks; 42 is success).
#include <gtest/gtest.h>

#include "support/DialogAnswerer.h"

namespace {

TEST(ApplicationImages, OpenThenThreeTimerActionsThenQuitClosesWithoutADialog) {
  const AnsweredRun run = RunTestImageAnsweringDialogs("app_timer");
  EXPECT_EQ(run.status, 42) << run.errors;
  EXPECT_EQ(run.dialogs, 0);
}

TEST(ApplicationImages, StartUpFindsTheClassesAndAutoQuitEndsAfterOneStep) {
  const AnsweredRun run = RunTestImageAnsweringDialogs("app_startup");
  EXPECT_EQ(run.status, 42) << run.errors;
  EXPECT_EQ(run.dialogs, 0);
}

TEST(ApplicationImages, TwoTimersRaisingWhileTheFinalDialogIsUpShowOneDialog) {
  const AnsweredRun run = RunTestImageAnsweringDialogs("app_raising_timers");
  EXPECT_EQ(run.status, 42) << run.errors;
  EXPECT_EQ(run.dialogs, 1);
}

// The dialog shows on the thread's stack while the main stack goes on
// turning RuntimeRun's loop, which must not end before it is answered.
TEST(ApplicationImages, ThreadRaisingWhileTheLoopTurnsShowsTheFinalDialogThenEnds) {
  const AnsweredRun run = RunTestImageAnsweringDialogs("thread_raise_in_loop");
  EXPECT_EQ(run.status, 42) << run.errors;
  EXPECT_EQ(run.dialogs, 1);
}

// A program that registers an application object needs the display: where
// none can be opened it says so in one line and ends with a failure status.
TEST(ApplicationImages, WithoutADisplayAWindowedProgramSaysSoInOneLine) {
  for (const char *display : {"", ":9999"}) {
    const std::string setting = *display ? std::string("DISPLAY=") + display : "-u DISPLAY";
    const ProgramRun run = RunCapturingErrors(
        "env " + setting + " " + Emulated(std::string(TEST_IMAGES_DIR) + "/app_startup") +
        " </dev/null");
    EXPECT_EQ(run.status, 1) << display << run.errors;
    EXPECT_NE(run.errors.find("app_startup: "), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("this program shows windows and needs one."), std::string::npos)
        << run.errors;
    EXPECT_EQ(run.errors.find('\n'), run.errors.size() - 1) << run.errors; // one line
  }
}

TEST(ApplicationImages, OpenDocumentOncePerArgumentGtkLeavesAfterOpen) {
  struct Case {
    const char *arguments;
    int documents;
  } cases[] = {{"", 0}, {" notes.txt", 1}, {" one --sync two", 2}};
  for (const Case &c : cases) {
    const ProgramRun run =
        RunCapturingErrors(Emulated(std::string(TEST_IMAGES_DIR) + "/app_documents" + c.arguments));
    EXPECT_EQ(run.status, 40 + c.documents) << c.arguments << run.errors;
  }
}

} // namespace
