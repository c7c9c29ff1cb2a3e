// Styled text, masks and display formats as compiled code meets them: the
// styled_text image (tests/images) checks the StyledText objects and its
// window's fields from inside and reports through its lines and exit status;
// this test clicks into the window, counts the display's bells and
// answers the alerts of the StyledText read after its window closed.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "BellCounter.h"
#include "support/RunningImage.h"
#include "support/WindowsTestSupport.h"

namespace {

using Lines = std::vector<std::string>;

// The window "Styles": Styled (20, 10), Masked (20, 80), Beeper (20, 110),
// Formatted (20, 140) and Plain (20, 170) fields, and the Done button at
// (280, 170); see tests/images/styled_text.c.
TEST(StyledTextImage, MasksFormatsAndAClosedFieldsStyledText) {
  if (!HaveDisplay())
    GTEST_SKIP() << "no display";
  BellCounter bells;
  RunningImage image("styled_text");
  ASSERT_TRUE(image.Started());
  const std::string window = image.FocusedWindow("Styles", "Open window");
  ASSERT_FALSE(window.empty()) << "no window";
  auto at = [&](int x, int y) {
    return "mousemove --window " + window + " " + std::to_string(x) + " " + std::to_string(y) +
           " click 1";
  };

  // Open set the mask over "12a": Masked's handler heard the whole text and
  // the position after what fits; Beeper, without a handler, rang the bell.
  EXPECT_EQ(image.LinesStartingWith("ValidationError"), Lines{"ValidationError Masked 12a 3"});
  if (bells.Watching())
    EXPECT_GE(bells.WaitFor(1), 1) << "no bell for the field without a handler";
  // The format shows while the field has no focus.
  EXPECT_EQ(image.LinesStartingWith("Open Formatted"), Lines{"Open Formatted 1,234.60"});

  // With the focus the raw text shows; the Format changed in GotFocus shows
  // only once the focus has gone.
  EXPECT_TRUE(image.InputUntilLine(at(60, 152), "GotFocus Formatted 1234.6"));
  EXPECT_TRUE(image.InputUntilLine(at(60, 182), "GotFocus Plain 1235"));
  EXPECT_EQ(image.LinesStartingWith("LostFocus"), Lines{"LostFocus Formatted 1234.6"});

  // Done closes the window; each read of the closed field's StyledText shows
  // the alert, answered with OK until the image has made both reads.
  ASSERT_TRUE(image.InputUntilLine(at(320, 182), "Action Done"));
  bool read = false;
  for (int attempt = 0; attempt < 60 && !read; ++attempt) {
    for (const std::string &w : image.VisibleWindows())
      XDoTool("key --window " + w + " alt+o");
    read = image.WaitForLineWithin("Closed runs read", 1000);
  }
  EXPECT_TRUE(read) << "the reads after the close did not return";
  EXPECT_EQ(image.WaitForExit(), 42);
  EXPECT_EQ(image.LinesStartingWith("failed check"), Lines{});
}

} // namespace
