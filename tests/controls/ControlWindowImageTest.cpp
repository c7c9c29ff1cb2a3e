// Push buttons and a label in a window that compiled code builds with the
// kit (the control_window image), driven with the mouse and keys, and an
// exception its button leaves unhandled. Each check waits for the line the
// image writes; a later event that the image reports (a label click) shows
// that nothing else arrived before it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/RunningImage.h"
#include "support/WindowsTestSupport.h"

namespace {

using Lines = std::vector<std::string>;

class ControlWindowImage : public testing::Test {
protected:
  void SetUp() override {
    if (!HaveDisplay())
      GTEST_SKIP() << "no display";
    ASSERT_TRUE(mImage.Started());
    mWindow = mImage.FocusedWindow("Controls", "Open window");
    ASSERT_FALSE(mWindow.empty()) << "no window";
  }

  // xdotool's words for the pointer at window coordinates.
  std::string At(int x, int y) const {
    return "mousemove --window " + mWindow + " " + std::to_string(x) + " " + std::to_string(y) +
           " ";
  }
  // Clicks the label 7 and 5 pixels into it until it reports.
  bool ClickLabel() { return mImage.InputUntilLine(At(27, 53) + "click 1", "MouseDown Label 7 5"); }

  RunningImage mImage{"control_window"};
  std::string mWindow;
};

// Push spans (20, 20) to (100, 44); the label starts at (20, 48).
TEST_F(ControlWindowImage, AClickFiresActionOnReleaseInsideOnlyAndTheLabelHearsPaneRelativeDowns) {
  ASSERT_TRUE(mImage.InputUntilLine(At(60, 32) + "click 1", "Action Push"));
  ASSERT_TRUE(XDoTool(At(60, 32) + "mousedown 1 " + At(380, 230) + "mouseup 1"));
  ASSERT_TRUE(ClickLabel());
  EXPECT_EQ(mImage.LinesStartingWith("Action"), Lines{"Action Push"});
  EXPECT_EQ(mImage.LinesStartingWith("MouseDown"), Lines{"MouseDown Label 7 5"});
}

// With the focus on Push (a button that is neither), Return reaches OK, the
// default button, and Escape Cancel, each once.
TEST_F(ControlWindowImage, ReturnFiresTheDefaultButtonOnceAndEscapeTheCancelButton) {
  ASSERT_TRUE(mImage.InputUntilLine(At(60, 32) + "click 1", "Action Push"));
  ASSERT_TRUE(mImage.InputUntilLine("key Return", "Action OK"));
  ASSERT_TRUE(mImage.InputUntilLine("key Escape", "Action Cancel"));
  ASSERT_TRUE(ClickLabel());
  EXPECT_EQ(mImage.LinesStartingWith("Action"),
            (Lines{"Action Push", "Action OK", "Action Cancel"}));
}

// The check box spans (310, 60) to (390, 84), the radio buttons First and
// Second (310, 100) and (310, 130), each 80 by 24. Each click fires Action
// on the control clicked only: of the radio buttons, only on the one newly
// selected.
TEST_F(ControlWindowImage, CheckBoxAndRadioButtonClicksFireActionOnTheControlThatChanged) {
  ASSERT_TRUE(mImage.InputUntilLine(At(320, 72) + "click 1", "Action Check"));
  ASSERT_TRUE(mImage.InputUntilLine(At(320, 112) + "click 1", "Action First"));
  ASSERT_TRUE(mImage.InputUntilLine(At(320, 142) + "click 1", "Action Second"));
  ASSERT_TRUE(ClickLabel()); // reported after anything the clicks fired
  EXPECT_EQ(mImage.LinesStartingWith("Action"),
            (Lines{"Action Check", "Action First", "Action Second"}));
}

// Raise's Action raises a RuntimeException that no compiled frame handles:
// the final dialog comes up over the window, and once Return dismisses it
// the run loop ends and the process exits with status 0.
TEST_F(ControlWindowImage, AnUnhandledExceptionShowsTheFinalDialogAndReturnEndsTheProcessWithZero) {
  ASSERT_TRUE(mImage.InputUntilLine(At(150, 32) + "click 1", "Action Raise"));
  Lines dialogs;
  ASSERT_TRUE(StepUntil([&] {
    dialogs = mImage.VisibleWindows();
    dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), mWindow), dialogs.end());
    return !dialogs.empty();
  })) << "no dialog";
  EXPECT_EQ(dialogs.size(), 1u);
  // Return again while the dialog still shows.
  ASSERT_TRUE(XDoToolUntil("windowfocus --sync " + dialogs.front() + " key Return", [&] {
    const Lines shown = mImage.VisibleWindows();
    return std::find(shown.begin(), shown.end(), dialogs.front()) == shown.end();
  }));
  EXPECT_EQ(mImage.WaitForExit(), 0);
  EXPECT_EQ(mImage.LinesStartingWith("Action"), Lines{"Action Raise"});
  EXPECT_EQ(mImage.LinesStartingWith("failed check"), Lines{});
}

} // namespace
