// Bevel buttons in a real window: a press that leaves the button clicks
// nothing unless it comes back, the value and sort direction, and the title
// cut to fit when drawn offscreen.
#include <gtest/gtest.h>

#include "controls/BevelButton.h"
#include "runtime/loop/PaneInterface.h"
#include "support/OffscreenPixels.h"
#include "windows/WindowsTestSupport.h"

namespace {

using Strings = std::vector<std::string>;

class RecordingBevelDelegate final : public BevelButtonDelegate {
public:
  void BevelButtonClicked(BevelButton *) override { Log().push_back("clicked"); }
  void BevelButtonDown(BevelButton *) override { Log().push_back("down"); }
};

class BevelButtons : public testing::Test {
protected:
  void SetUp() override {
    if (!HaveDisplay())
      GTEST_SKIP() << "no display";
    Log().clear();
    w = new RecordingWindow(MakeRect(50, 60, 350, 260));
    FontStructure font;
    button = new BevelButton(&d, font, w, 0, MakeRect(20, 20, 140, 44), string("Name"), 0);
    ASSERT_TRUE(StepUntil([&] { return GTK_WIDGET_MAPPED(button->GetWidget()); }));
    ASSERT_TRUE(XDoTool("windowfocus --sync " + std::to_string(XidOf(w))));
    Log().clear();
  }
  void TearDown() override {
    if (w)
      w->Close();
    StepUntil([] { return true; });
  }
  std::string At(int x, int y) {
    return "mousemove --window " + std::to_string(XidOf(w)) + " " + std::to_string(x) + " " +
           std::to_string(y) + " ";
  }
  // Presses at (40, 30), moves through the points, releases at the last.
  void PressMoveRelease(std::vector<std::pair<int, int>> path) {
    ASSERT_TRUE(
        XDoToolUntil(At(40, 30) + "mousedown 1", [&] { return GetCaptureMouse() == button; }));
    for (auto [x, y] : path) {
      const bool inside = x >= 20 && x < 140 && y >= 20 && y < 44;
      ASSERT_TRUE(XDoToolUntil(At(x, y), [&] { return button->IsPressed() == inside; }))
          << x << "," << y;
    }
    ASSERT_TRUE(XDoToolUntil("mouseup 1", [&] { return GetCaptureMouse() == nullptr; }));
    for (int i = 0; i < 10; ++i)
      PaneLoopStep();
  }

  RecordingWindow *w = nullptr;
  BevelButton *button = nullptr;
  RecordingBevelDelegate d;
};

TEST_F(BevelButtons, APressDraggedOutClicksNothingAndOneBroughtBackClicksOnce) {
  PressMoveRelease({{200, 150}});
  EXPECT_EQ(Log(), Strings{"down"});
  Log().clear();
  PressMoveRelease({{200, 150}, {60, 32}});
  EXPECT_EQ(Log(), (Strings{"down", "clicked"}));
}

TEST_F(BevelButtons, SettingOneAgainReversesTheSortAndOtherRepeatsChangeNothing) {
  button->setValue(0);
  EXPECT_EQ(button->getValue(), 0);
  EXPECT_EQ(button->SortDirection(), 1);
  button->setValue(1);
  EXPECT_EQ(button->SortDirection(), 1) << "a new value keeps the direction";
  button->setValue(1);
  EXPECT_EQ(button->SortDirection(), -1);
  button->setValue(1);
  EXPECT_EQ(button->SortDirection(), 1);
  EXPECT_EQ(button->getValue(), 1);
}

TEST_F(BevelButtons, ADisabledButtonIgnoresPresses) {
  button->EnablePane(false, true);
  ASSERT_TRUE(XDoTool(At(40, 30) + "click 1"));
  for (int i = 0; i < 20; ++i)
    PaneLoopStep();
  EXPECT_EQ(Log(), Strings{});
  EXPECT_FALSE(button->IsPressed());
}

TEST_F(BevelButtons, ATitleWiderThanTheButtonIsCutInsideItsMargins) {
  DrawablePane *pixmap = NewOffscreen(300, 200);
  Graphics *g = pixmap->getGraphics();
  const string longTitle("A title far too long for this header cell");
  ASSERT_GT(g->StringWidth(longTitle), 110);
  button->setTitle(longTitle);
  button->DrawIntoOffscreen(g);
  Graphics::Release(g);
  // Dark text pixels lie only between 5 pixels in from either edge.
  QV::Rect text = DarkBounds(pixmap, 22, 22, 116, 20, 64);
  ASSERT_GT(text.right, text.left) << "a title was drawn";
  EXPECT_GE(text.left, 25);
  EXPECT_LE(text.right, 135);
  pixmap->removeReference();
}

} // namespace
