// A tab panel in a window that compiled code builds with the kit (the
// page_panels image), driven with the mouse. Each input is repeated until
// the line it causes arrives, within a bound.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/RunningImage.h"
#include "support/WindowsTestSupport.h"

namespace {

using Lines = std::vector<std::string>;

class PanelsImage : public testing::Test {
protected:
  void SetUp() override {
    if (!HaveDisplay())
      GTEST_SKIP() << "no display";
    ASSERT_TRUE(mImage.Started());
    mWindow = mImage.FocusedWindow("Panels", "Open window");
    ASSERT_FALSE(mWindow.empty()) << "no window";
  }

  std::string ClickAt(int x, int y) const {
    return "mousemove --window " + mWindow + " " + std::to_string(x) + " " + std::to_string(y) +
           " click 1";
  }

  RunningImage mImage{"page_panels"};
  std::string mWindow;
};

// The panel's tabs run along its top edge from (10, 10): "A" is narrow, so
// x 75 lies on "Second page" whatever the font. The button on page 2 spans
// (40, 80) to (140, 108); while page 1 shows, a click there reaches the
// notebook's page, not the button.
TEST_F(PanelsImage, ClickingTheSecondTabFiresChangeOnceAndShowsItsButton) {
  ASSERT_TRUE(XDoTool(ClickAt(90, 94)));
  ASSERT_TRUE(mImage.InputUntilLine(ClickAt(75, 22), "Change Tabs 1"));
  EXPECT_EQ(mImage.LinesStartingWith("Action"), Lines{}) << "the hidden button took a click";
  ASSERT_TRUE(mImage.InputUntilLine(ClickAt(90, 94), "Action OnTwo"));
  EXPECT_EQ(mImage.LinesStartingWith("Change"), Lines{"Change Tabs 1"});
}

// Assigning another page fires Change twice, assigning the page shown once.
TEST_F(PanelsImage, AssigningValueFiresChangeTwiceForAnotherPageAndOnceForTheSame) {
  ASSERT_TRUE(mImage.InputUntilLine(ClickAt(60, 204), "Assigned"));
  ASSERT_TRUE(mImage.InputUntilLine(ClickAt(60, 204), "Assigned"));
  Lines seen;
  for (const std::string &line : mImage.Lines())
    if (line.rfind("Change", 0) == 0 || line == "Assigned")
      seen.push_back(line);
  EXPECT_EQ(seen, (Lines{"Change Tabs 2", "Change Tabs 2", "Assigned", "Change Tabs 2",
                         "Assigned"}));
}

} // namespace
