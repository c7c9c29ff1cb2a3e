// Edit fields in a window that compiled code builds with the kit (the
// control_window image): the clipboard application's view, made from its
// property stream, holding 100 kB of UTF-8, and a multi-line field with a
// KeyDown handler beside a default button; driven with xdotool and read
// through xclip.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/CommandOutput.h"
#include "support/RunningImage.h"
#include "support/WindowsTestSupport.h"

namespace {

using Lines = std::vector<std::string>;

std::string ClipboardText() {
  return CommandOutput("xclip -o -selection clipboard -t UTF8_STRING 2>/dev/null");
}

class EditFieldImage : public testing::Test {
protected:
  void SetUp() override {
    if (!HaveDisplay())
      GTEST_SKIP() << "no display";
    ASSERT_TRUE(mImage.Started());
    mWindow = mImage.FocusedWindow("Controls", "Open window");
    ASSERT_FALSE(mWindow.empty()) << "no window";
  }

  RunningImage mImage{"control_window"};
  std::string mWindow;
};

// The window's Open set the text with editTextSetter, compared what
// editTextGetter gave back, and selected all of it; showing the window gave
// the field the focus, as the application's first control.
TEST_F(EditFieldImage, TheClipboardViewHoldsALargeTextAndCtrlCCopiesItsSelection) {
  std::string expected;
  for (int i = 0; i < 4096; ++i)
    expected += "lines \xC3\xA9\xE2\x82\xAC\t\"quoted\" ok\r\n";
  ASSERT_EQ(expected.size(), 100u * 1024);
  EXPECT_TRUE(XDoToolUntil("key ctrl+c", [&] { return ClipboardText() == expected; }))
      << ClipboardText().size() << " bytes on the clipboard";
  EXPECT_EQ(mImage.LinesStartingWith("failed check"), Lines{});
}

// Notes (from (20, 160)) answers KeyDown True for "x" only; OK is the
// window's default button.
TEST_F(EditFieldImage, KeyDownTrueKeepsAKeyOutAndReturnPressesTheDefaultButtonWithoutALineBreak) {
  ASSERT_TRUE(mImage.InputUntilLine("mousemove --window " + mWindow + " 60 180 click 1 type a",
                                    "TextChange Notes a"));
  ASSERT_TRUE(mImage.InputUntilLine("type xb", "TextChange Notes ab"));
  ASSERT_TRUE(mImage.InputUntilLine("key Return", "Action OK"));
  ASSERT_TRUE(mImage.InputUntilLine("type c", "TextChange Notes abc"));
  EXPECT_EQ(mImage.LinesStartingWith("TextChange"),
            (Lines{"TextChange Notes a", "TextChange Notes ab", "TextChange Notes abc"}));
  EXPECT_EQ(mImage.LinesStartingWith("Action"), Lines{"Action OK"});
}

} // namespace
