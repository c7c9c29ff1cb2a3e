// A compiled Paint handler (the window_paint image) drawing through the
// Graphics entry points, read back from the X server, and the Graphics it
// keeps past its window's close.
#include <gtest/gtest.h>

#include <string>

#include "support/RunningImage.h"
#include "support/WindowsTestSupport.h"
#include "WindowPixels.h"

namespace {

constexpr uint32_t kGreen = 0x00C000, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

TEST(PaintImage, PaintDrawsExactlyWhereItSaysAndTheKeptGraphicsOutlivesTheWindow) {
  if (!HaveDisplay())
    GTEST_SKIP() << "no display";
  RunningImage image("window_paint");
  ASSERT_TRUE(image.Started());
  const std::string window = image.WindowTitled("Paint");
  ASSERT_FALSE(window.empty()) << "no window";
  ASSERT_TRUE(image.WaitForLine("Painted"));
  // The handler has returned; the expose that called it reaches the screen
  // when GTK+ copies its buffer.
  ASSERT_TRUE(StepUntil([&] { return WindowPixels(window).At(25, 35) == kGreen; }));

  const WindowPixels screen(window);
  EXPECT_EQ(screen.At(20, 30), kGreen) << "the fill's top-left corner";
  EXPECT_EQ(screen.At(59, 39), kGreen) << "its bottom-right corner";
  EXPECT_EQ(screen.At(60, 39), kWhite);
  EXPECT_EQ(screen.At(59, 40), kWhite);
  EXPECT_EQ(screen.At(19, 30), kWhite);
  EXPECT_EQ(screen.At(20, 29), kWhite);
  EXPECT_EQ(screen.At(20, 60), kBlue) << "the line's ends";
  EXPECT_EQ(screen.At(59, 60), kBlue);
  EXPECT_EQ(screen.At(60, 60), kWhite);
  int ink = 0; // the string sits on its baseline, above y = 100
  for (int y = 85; y < 100; ++y)
    for (int x = 100; x < 140; ++x)
      ink += screen.At(x, y) != kWhite;
  EXPECT_GT(ink, 0) << "the string left no ink";

  // A key closes the window; the image then draws with the kept Graphics
  // and releases it.
  ASSERT_TRUE(XDoTool("windowfocus --sync " + window + " key q"));
  EXPECT_EQ(image.WaitForExit(), 0);
  EXPECT_TRUE(image.WaitForLine("Released the kept Graphics"));
  EXPECT_EQ(image.LinesStartingWith("failed check"), std::vector<std::string>{});
}

} // namespace
