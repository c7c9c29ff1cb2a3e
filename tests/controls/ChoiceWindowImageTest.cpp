// The choice controls in a window that compiled code builds with the kit
// (the choice_window image), driven with the mouse and keys: what a check
// box tells and in which order, radio buttons excluding each other, a popup
// menu's Change and the edit fields string binders fill from popups, a push
// button's receivers, and a group box following a press dragged out and
// back. An input is sent again until the line it causes arrives, within a
// bound; a later reported input shows that nothing else arrived before it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/RunningImage.h"
#include "support/WindowsTestSupport.h"

namespace {

using Lines = std::vector<std::string>;

constexpr long long kTryMilliseconds = 15 * 1000;
constexpr int kTries = 4;

class ChoiceWindowImage : public testing::Test {
protected:
  void SetUp() override {
    if (!HaveDisplay())
      GTEST_SKIP() << "no display";
    ASSERT_TRUE(mImage.Started());
    // Choices shows its row 0 in an enabled Field; Blank, without rows,
    // leaves Other empty and disabled.
    mWindow = mImage.FocusedWindow("Choices", "Open window 0 Red 1 -1  0");
    ASSERT_FALSE(mWindow.empty()) << "no window, or the bound fields not as their popups say";
  }

  // xdotool's words for the pointer at window coordinates.
  std::string At(int x, int y) const {
    return "mousemove --window " + mWindow + " " + std::to_string(x) + " " + std::to_string(y) +
           " ";
  }
  // Sends the input until the image writes the line.
  bool Until(const std::string &input, const std::string &line) {
    for (int i = 0; i < kTries; ++i)
      if (XDoTool(input) && mImage.WaitForLineWithin(line, kTryMilliseconds))
        return true;
    return false;
  }
  // Clicks Push (180, 20 to 260, 44); its receiver hears of it first.
  bool ClickPush() { return Until(At(220, 32) + "click 1", "Action Push"); }
  // The lines written so far that start with one of the prefixes.
  Lines Starting(const Lines &prefixes) const {
    Lines found;
    for (const std::string &line : mImage.Lines())
      for (const std::string &prefix : prefixes)
        if (line.compare(0, prefix.size(), prefix) == 0) {
          found.push_back(line);
          break;
        }
    return found;
  }

  RunningImage mImage{"choice_window"};
  std::string mWindow;
};

// The check box spans (20, 20) to (140, 44).
TEST_F(ChoiceWindowImage, ACheckBoxClickTellsDataReceiversActionThenTheReceiversOfTheNewState) {
  ASSERT_TRUE(Until(At(30, 32) + "click 1", "Action Check 1"));
  ASSERT_TRUE(Until(At(30, 32) + "click 1", "Action Check 0"));
  ASSERT_TRUE(ClickPush());
  EXPECT_EQ(Starting({"dataChanged", "Action", "PerformAction"}),
            (Lines{"dataChanged R1", "Action Check 1", "PerformAction R2", "dataChanged R1",
                   "Action Check 0", "PerformAction R3", "PerformAction R4", "Action Push"}));
}

// First spans (20, 60) to (140, 84), Second (20, 90) to (140, 114). Each
// Action shows both values: the one clicked selected, the other not.
TEST_F(ChoiceWindowImage, RadioButtonsOfOneWindowExcludeEachOtherAndOnlyTheNewOneFiresAction) {
  ASSERT_TRUE(Until(At(30, 72) + "click 1", "Action First 10"));
  ASSERT_TRUE(Until(At(30, 102) + "click 1", "Action Second 01"));
  ASSERT_TRUE(Until(At(30, 72) + "click 1", "Action First 10"));
  ASSERT_TRUE(ClickPush());
  EXPECT_EQ(Starting({"Action"}),
            (Lines{"Action First 10", "Action Second 01", "Action First 10", "Action Push"}));
}

// Choices spans (20, 130) to (160, 156) and shows Red; Field beside it
// follows it through the string binder. The arrow keys on the popup choose
// the next row.
TEST_F(ChoiceWindowImage, APopupChoiceFiresChangeOnceAndTheBoundFieldFollowsIt) {
  EXPECT_EQ(Starting({"Change", "TextChange"}), Lines{"TextChange Field Red 1"})
      << "row 0 at creation is no Change; binding fills the field";
  ASSERT_TRUE(Until(At(60, 143) + "click 1 key Escape key Down", "Change Choices 1"));
  ASSERT_TRUE(mImage.WaitForLine("TextChange Field Green 1"));
  ASSERT_TRUE(ClickPush());
  EXPECT_EQ(Starting({"Change"}), Lines{"Change Choices 1"});
}

// Group spans (20, 170) to (220, 260): a press at its corner is at 0, 0, and
// the drags and the release follow it out of the box and back, relative to
// the box.
TEST_F(ChoiceWindowImage, AGroupBoxFollowsAPressDraggedOutAndBackInBoxCoordinates) {
  ASSERT_TRUE(Until("mouseup 1 " + At(20, 170) + "mousedown 1", "MouseDown Group 0 0"));
  // A drag is written when its place changes: each try moves off and back.
  ASSERT_TRUE(Until(At(301, 271) + At(300, 270), "MouseDrag Group 280 100"));
  ASSERT_TRUE(Until(At(61, 201) + At(60, 200), "MouseDrag Group 40 30"));
  ASSERT_TRUE(Until("mouseup 1", "MouseUp Group 40 30"));
  ASSERT_TRUE(ClickPush());
  EXPECT_EQ(Starting({"MouseDown", "MouseUp"}),
            (Lines{"MouseDown Group 0 0", "MouseUp Group 40 30"}));
}

} // namespace
