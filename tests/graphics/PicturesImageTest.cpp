// Pictures as a compiled program reaches them (the pictures image): its own
// checks of the Picture class, packer and 'BMP ' resource, then its window's
// Backdrop read from the X server and its clipboard picture read by another
// client.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "WindowPixels.h"
#include "Within.h"
#include "support/CommandOutput.h"
#include "support/RunningImage.h"
#include "support/WindowsTestSupport.h"

namespace {

constexpr uint32_t kBackdrop = 0xC00000, kWhite = 0xFFFFFF;

// The clipboard's PIXMAP as another client reads it, asked again until it
// holds at least a header and two pixels or the tries run out.
std::string ClipboardPixmap() {
  std::string served;
  for (int attempt = 0; attempt < 20 && served.size() < 22; ++attempt)
    served = CommandOutput("timeout 10 xclip -selection clipboard -o -t PIXMAP 2>/dev/null");
  return served;
}

TEST(PicturesImage, PicturesReachTheWindowAndTheClipboard) {
  if (!HaveDisplay())
    GTEST_SKIP() << "no display";
  RunningImage image("pictures");
  ASSERT_TRUE(image.Started());
  ASSERT_TRUE(image.WaitForLine("Checked pictures"));
  const std::string window = image.WindowTitled("Pictures");
  ASSERT_FALSE(window.empty()) << "no window";
  ASSERT_TRUE(image.WaitForLine("Clipboard set"));

  // The Backdrop is drawn at the window's top left, at its own size.
  ASSERT_TRUE(StepUntil([&] { return WindowPixels(window).At(5, 5) == kBackdrop; }));
  const WindowPixels screen(window);
  EXPECT_EQ(screen.At(0, 0), kBackdrop);
  EXPECT_EQ(screen.At(39, 29), kBackdrop);
  EXPECT_EQ(screen.At(40, 29), kWhite);
  EXPECT_EQ(screen.At(39, 30), kWhite);

  // The clipboard serves the 2 x 1 picture: a header with height 1 and
  // width 2 at bytes 8 and 12, then red and blue as RGB.
  std::string served = ClipboardPixmap();
  ASSERT_GE(served.size(), 22u);
  int32_t header[4];
  std::memcpy(header, served.data(), sizeof header);
  EXPECT_EQ(header[2], 1) << "height";
  EXPECT_EQ(header[3], 2) << "width";
  EXPECT_EQ(served.substr(16, 6), std::string("\xFF\0\0\0\0\xFF", 6));

  // A key closes the window; pressed again until the window is gone.
  bool closed = false;
  for (int attempt = 0; attempt < 20 && !closed; ++attempt) {
    XDoTool("windowfocus --sync " + window + " key q");
    closed = Within(3000, [&] { return image.VisibleWindows().empty(); });
  }
  EXPECT_TRUE(closed);
  EXPECT_EQ(image.WaitForExit(), 0);
  EXPECT_EQ(image.LinesStartingWith("failed check"), std::vector<std::string>{});
}

} // namespace
