// Canvases and shape controls in a window that compiled code builds with the
// kit (the canvas_shapes image): what Paint drew, read from the X server;
// Tab and the focus moving between canvases; clicks near a Line and on a
// disabled Rectangle. Each input is repeated until the line it causes
// arrives, within a bound.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/WindowPixels.h"
#include "support/RunningImage.h"
#include "support/WindowsTestSupport.h"

namespace {

using Lines = std::vector<std::string>;

constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

class CanvasShapesImage : public testing::Test {
protected:
  void SetUp() override {
    if (!HaveDisplay())
      GTEST_SKIP() << "no display";
    ASSERT_TRUE(mImage.Started());
    mWindow = mImage.FocusedWindow("Shapes", "Open window");
    ASSERT_FALSE(mWindow.empty()) << "no window";
  }

  std::string ClickAt(int x, int y) const {
    return "mousemove --window " + mWindow + " " + std::to_string(x) + " " + std::to_string(y) +
           " click 1";
  }

  RunningImage mImage{"canvas_shapes"};
  std::string mWindow;
};

// Plain spans (20, 20) to (80, 70) and fills (5, 5) to (15, 15) of itself in
// red; Tabs spans (100, 20) to (160, 70) and fills (10, 20) to (30, 25) in
// blue. Each fill's corners and the pixels just beside them are read.
TEST_F(CanvasShapesImage, EachCanvasPaintsWhereItsPaintAsksInItsOwnCoordinates) {
  struct Spot {
    int x, y;
    uint32_t colour;
  };
  const Spot spots[] = {{25, 25, kRed},    {34, 34, kRed},    {24, 25, kWhite},
                        {35, 34, kWhite},  {25, 35, kWhite},  {110, 40, kBlue},
                        {129, 44, kBlue},  {109, 40, kWhite}, {130, 44, kWhite},
                        {110, 45, kWhite}, {110, 39, kWhite}};
  auto mismatch = [&]() -> std::string {
    const WindowPixels pixels(mWindow);
    for (const Spot &s : spots)
      if (pixels.At(s.x, s.y) != s.colour)
        return "(" + std::to_string(s.x) + ", " + std::to_string(s.y) + ") is " +
               std::to_string(pixels.At(s.x, s.y));
    return "";
  };
  std::string last;
  EXPECT_TRUE(StepUntil([&] { return (last = mismatch()).empty(); })) << last;
}

// Plain has the focus from Open. Tab leaves it without reaching its KeyDown
// and gives Tabs the focus; Tabs takes Tab itself.
TEST_F(CanvasShapesImage, TabMovesPastAPlainCanvasAndReachesKeyDownOnlyWhereTabsAreTaken) {
  ASSERT_TRUE(mImage.WaitForLine("GotFocus Plain"));
  ASSERT_TRUE(mImage.InputUntilLine("key Tab", "GotFocus Tabs"));
  ASSERT_TRUE(mImage.InputUntilLine("key Tab", "KeyDown Tabs 9"));
  EXPECT_EQ(mImage.LinesStartingWith("KeyDown Plain"), Lines{});
  EXPECT_EQ(mImage.LinesStartingWith("GotFocus"), (Lines{"GotFocus Plain", "GotFocus Tabs"}));
}

// The disabled Line runs from (200, 20) to (230, 60): (219, 37) is 5 pixels
// off it and (218, 34) 6. The disabled Rectangle spans (250, 20) to
// (290, 50). Clicks reach the X server in order, so once the last click has
// arrived the two before it have been dealt with.
TEST_F(CanvasShapesImage, ClicksWithinFivePixelsReachADisabledLineButNoneADisabledRectangle) {
  ASSERT_TRUE(XDoTool(ClickAt(218, 34)));
  ASSERT_TRUE(XDoTool(ClickAt(270, 35)));
  ASSERT_TRUE(mImage.InputUntilLine(ClickAt(219, 37), "MouseDown Slant 19,17"));
  for (const std::string &line : mImage.LinesStartingWith("MouseDown"))
    EXPECT_EQ(line, "MouseDown Slant 19,17") << "relative to the Line's box at (200, 20)";
}

} // namespace
