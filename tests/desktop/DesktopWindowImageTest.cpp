// Drag and drop, the Keyboard and System modules and a sound resource driven
// from compiled code (the desktop_window image) under the test's X server:
// a DragItem dragged onto a push button, onto nothing and out of every
// window, the modifiers of real key presses, the command line the image was
// started with, and its 'WAVE' resource played with and without a sound
// device.
// Each input is repeated until the line it causes arrives, within a bound.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "graphics/WindowPixels.h"
#include "support/RunningImage.h"
#include "support/WindowsTestSupport.h"

namespace {

using Lines = std::vector<std::string>;

constexpr uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF;

// An ALSA configuration of its own for the image: with a null default PCM
// every frame is taken at once; without any PCM no device opens, as on a
// machine with neither OSS nor ALSA. Both keep the host's cards out.
class AlsaConfiguration {
public:
  explicit AlsaConfiguration(bool nullDevice) {
    char pattern[] = "/tmp/alsaconfXXXXXX";
    const int fd = mkstemp(pattern);
    if (fd >= 0)
      close(fd);
    mPath = pattern;
    std::ofstream(mPath) << (nullDevice ? "pcm.!default { type null }\n" : "");
  }
  ~AlsaConfiguration() { unlink(mPath.c_str()); }
  std::string Environment() const { return "ALSA_CONFIG_PATH=" + mPath; }

private:
  std::string mPath;
};

class DesktopWindowImage : public testing::Test {
protected:
  // Starts the image with the arguments and a sound device or none.
  void Start(const std::string &arguments, bool nullDevice) {
    if (!HaveDisplay())
      GTEST_SKIP() << "no display";
    mAlsa = std::make_unique<AlsaConfiguration>(nullDevice);
    mImage = std::make_unique<RunningImage>("desktop_window", arguments, mAlsa->Environment());
    ASSERT_TRUE(mImage->Started());
    mWindow = mImage->FocusedWindow("Desktop", "Open window");
    ASSERT_FALSE(mWindow.empty()) << "no window";
  }

  std::string At(int x, int y) const {
    return "mousemove --window " + mWindow + " " + std::to_string(x) + " " + std::to_string(y) +
           " ";
  }
  // Whether the window's pixel at (x, y) has the colour, within the bound.
  bool PixelBecomes(int x, int y, uint32_t colour) {
    return StepUntil([&] { return WindowPixels(mWindow).At(x, y) == colour; });
  }

  std::unique_ptr<AlsaConfiguration> mAlsa;
  std::unique_ptr<RunningImage> mImage;
  std::string mWindow;
};

// A press at (40, 40) starts a drag of the bounds (30, 30) to (50, 50),
// outlined in the window. The outline follows the pointer: at (150, 38) its
// top edge runs along y 28 from x 140 to 160. Released over the push button
// at (200, 20) to (300, 50), the item's Text reaches its DropObject.
TEST_F(DesktopWindowImage, ADragFromTheWindowDropsItsTextOnAPushButtonTakingText) {
  Start("", false);
  ASSERT_TRUE(mImage->InputUntilLine(At(40, 40) + "mousedown 1", "Drag starts"));
  EXPECT_TRUE(PixelBecomes(30, 40, kBlack)) << "the outline's left edge";
  ASSERT_TRUE(XDoTool(At(150, 38)));
  EXPECT_TRUE(PixelBecomes(150, 28, kBlack)) << "the outline follows the pointer";
  EXPECT_EQ(WindowPixels(mWindow).At(30, 40), kWhite) << "and left its first place";
  ASSERT_TRUE(XDoTool(At(250, 35)));
  ASSERT_TRUE(mImage->InputUntilLine("mouseup 1", "Drag ended"));
  EXPECT_EQ(mImage->LinesStartingWith("DropObject"), Lines{"DropObject Target: dragged text"});
}

// Released where nothing takes drops, the drag ends without a drop and its
// outline goes; released outside every window of the program, likewise.
TEST_F(DesktopWindowImage, ADragReleasedWhereNothingTakesItEndsWithoutADrop) {
  Start("", false);
  ASSERT_TRUE(mImage->InputUntilLine(At(40, 40) + "mousedown 1", "Drag starts"));
  ASSERT_TRUE(XDoTool(At(150, 38)));
  EXPECT_TRUE(PixelBecomes(150, 28, kBlack)) << "the outline follows the pointer";
  ASSERT_TRUE(mImage->InputUntilLine("mouseup 1", "Drag ended"));
  EXPECT_TRUE(PixelBecomes(150, 28, kWhite)) << "the outline went with the drag";

  ASSERT_TRUE(mImage->InputUntilLine(At(40, 40) + "mousedown 1", "Drag starts"));
  ASSERT_TRUE(XDoTool(At(250, 35)));
  ASSERT_TRUE(XDoTool(At(600, 400)));
  ASSERT_TRUE(mImage->InputUntilLine("mouseup 1", "Drag ended"));
  EXPECT_EQ(mImage->LinesStartingWith("DropObject"), Lines{});
}

// ShiftKey reads the modifiers of the key press being handled; AsyncShiftKey
// reads whether Shift is held now, with no other key pressed.
TEST_F(DesktopWindowImage, ShiftKeyFollowsTheKeyPressAndAsyncShiftKeyTheHeldKey) {
  Start("", false);
  ASSERT_TRUE(mImage->WaitForLine("AsyncShiftKey 0"));
  ASSERT_TRUE(mImage->InputUntilLine("key shift+a", "KeyDown A ShiftKey 1 CommandKey 0"));
  ASSERT_TRUE(mImage->InputUntilLine("key a", "KeyDown a ShiftKey 0 CommandKey 0"));
  ASSERT_TRUE(mImage->InputUntilLine("keydown Shift_L", "AsyncShiftKey 1"));
  ASSERT_TRUE(mImage->InputUntilLine("keyup Shift_L", "AsyncShiftKey 0"));
}

// System.CommandLine joins the program and every argument unquoted.
TEST_F(DesktopWindowImage, CommandLineHoldsTheProgramAndItsArguments) {
  Start("'a b' c", false);
  const Lines lines = mImage->LinesStartingWith("CommandLine ");
  ASSERT_EQ(lines.size(), 1u);
  const std::string &line = lines[0];
  const std::string program = std::string(TEST_IMAGES_DIR) + "/desktop_window";
  EXPECT_NE(line.find(program), std::string::npos) << line;
  EXPECT_EQ(line.substr(line.size() - 6), " a b c") << line;
}

// The 'WAVE' resource becomes a Sound. Where no device opens it stays
// silent: IsPlaying False and no alert. Through a device that takes every
// frame it plays and then ends by itself.
TEST_F(DesktopWindowImage, TheWaveResourceIsSilentWithoutADevice) {
  if (access("/dev/dsp", W_OK) == 0)
    GTEST_SKIP() << "this machine has an OSS device";
  Start("", false);
  EXPECT_EQ(mImage->LinesStartingWith("Sound"), Lines{"Sound IsPlaying 0"});
  EXPECT_EQ(mImage->VisibleWindows().size(), 1u) << "an alert is up";
}

TEST_F(DesktopWindowImage, TheWaveResourcePlaysToTheEndThroughADevice) {
  Start("", true);
  ASSERT_FALSE(mImage->LinesStartingWith("Sound").empty());
  EXPECT_EQ(mImage->LinesStartingWith("Sound")[0], "Sound IsPlaying 1");
  EXPECT_TRUE(mImage->WaitForLine("Sound IsPlaying 0"));
}

} // namespace
