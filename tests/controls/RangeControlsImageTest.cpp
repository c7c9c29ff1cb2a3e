// A scroll bar, a slider and a progress bar in a window that compiled code
// builds with the kit (the range_controls image), driven with the mouse and
// read back from the screen. Each input is repeated until the line it
// causes arrives, within a bound.
#include <gtest/gtest.h>

#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "support/RunningImage.h"
#include "support/WindowsTestSupport.h"

namespace {

using Lines = std::vector<std::string>;

// The window's row of pixels at y from x0 to x1 (inclusive), as 0xRRGGBB.
std::vector<uint32_t> Row(const std::string &xid, int y, int x0, int x1) {
  std::vector<uint32_t> row;
  GdkWindow *window = gdk_window_foreign_new(std::stoul(xid));
  if (!window)
    return row;
  GdkPixbuf *pixels = gdk_pixbuf_get_from_drawable(
      nullptr, window, gdk_screen_get_system_colormap(gdk_screen_get_default()), x0, y, 0, 0,
      x1 - x0 + 1, 1);
  g_object_unref(window);
  if (!pixels)
    return row;
  const guchar *c = gdk_pixbuf_get_pixels(pixels);
  for (int x = 0; x <= x1 - x0; ++x, c += gdk_pixbuf_get_n_channels(pixels))
    row.push_back((c[0] << 16) | (c[1] << 8) | c[2]);
  g_object_unref(pixels);
  return row;
}

class RangeControlsImage : public testing::Test {
protected:
  void SetUp() override {
    if (!HaveDisplay())
      GTEST_SKIP() << "no display";
    ASSERT_TRUE(mImage.Started());
    mWindow = mImage.FocusedWindow("Ranges", "Open window");
    ASSERT_FALSE(mWindow.empty()) << "no window";
  }

  std::string At(int x, int y) const {
    return "mousemove --window " + mWindow + " " + std::to_string(x) + " " + std::to_string(y) +
           " ";
  }
  // Sends the input until the line arrives, at most a few times.
  bool Until(const std::string &input, const std::string &line) {
    for (int i = 0; i < 4; ++i)
      if (XDoTool(input) && mImage.WaitForLine(line))
        return true;
    return false;
  }

  RunningImage mImage{"range_controls"};
  std::string mWindow;
};

// The progress bar spans (20, 100) to (220, 120); its row at y 110 is one
// colour while Value is 0, and after the scroll bar gave it 20 the filled
// part at its left differs from the rest. (A press held long on a loaded
// machine may page more than once, so only the ends are read.)
TEST_F(RangeControlsImage, ATroughClickPagesTheScrollBarAndItsValueFillsTheProgressBar) {
  const std::vector<uint32_t> empty = Row(mWindow, 110, 30, 200);
  ASSERT_FALSE(empty.empty());
  EXPECT_EQ(empty.front(), empty.back()) << "nothing filled yet";

  ASSERT_TRUE(Until(At(180, 28) + "click 1", "ValueChanged Bar 20"));
  std::vector<uint32_t> row;
  ASSERT_TRUE(StepUntil([&] {
    row = Row(mWindow, 110, 30, 200);
    return !row.empty() && row.front() != row.back();
  })) << "the progress bar shows no fill";
  EXPECT_EQ(row[40 - 30], row.front()) << "filled up to a fifth";
  EXPECT_EQ(row[195 - 30], row.back()) << "empty at its right end";
}

// Without LiveScroll the knob dragged across the slider reports one value,
// on release; a later scroll-bar change shows that no other came.
TEST_F(RangeControlsImage, ASliderWithoutLiveScrollReportsADragOnceOnRelease) {
  const std::string drag = At(26, 72) + "mousedown 1 " + At(60, 72) + At(120, 72) + At(180, 72) +
                           At(260, 72) + "mouseup 1";
  ASSERT_TRUE(Until(drag, "ValueChanged Slide 100"));
  ASSERT_TRUE(Until(At(180, 28) + "click 1", "ValueChanged Bar 20"));
  EXPECT_EQ(mImage.LinesStartingWith("ValueChanged Slide"), Lines{"ValueChanged Slide 100"});
}

} // namespace
